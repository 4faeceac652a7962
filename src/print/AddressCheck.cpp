#include "print/AddressCheck.h"

#include "platform/FontResolver.h"
#include "print/ComposeFace.h"

#include <QPainter>
#include <QRawFont>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Fine enough to see a character outside its frame, coarse enough for long lists.
constexpr int kCheckDpi = 150;
// Anti-aliased edges of a character may reach this far past its box.
constexpr double kInkMarginMm = 0.5;

QString CustomerNameOf(const PrintRow &row) {
    const QString name = row.Customer.name.trimmed();
    return name.isEmpty() ? row.Customer.office.trimmed() : name;
}

// The characters of the texts that the face itself has no glyph for.
QString MissingCharacters(const QString &faceName, const QString &texts) {
    // The face alone, without the fallback fonts that would draw in another design.
    const QRawFont face =
        QRawFont::fromFont(FontResolver::MakeFont(faceName, 48, false, false, false));
    QString missing;
    for (const uint code : texts.toUcs4()) {
        const QString ch = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        if (code > u' ' && code != 0x3000 && !face.supportsCharacter(code) && !missing.contains(ch))
            missing += ch;
    }
    return missing;
}

QList<QString> ProblemsOf(const PrintRow &row, const FaceSettings &face,
                          const TSenderBuff &sender) {
    QList<QString> problems;
    const FaceTexts texts = GatherFaceTexts(row);
    static const QRegularExpression hyphens(QStringLiteral("[―ー\\-－‐]"));
    const QString digits = QString(texts.PostalCode).remove(hyphens).trimmed();
    static const QRegularExpression sevenDigits(QStringLiteral("^[0-9０-９]{7}$"));
    if (digits.isEmpty())
        problems << QStringLiteral("郵便番号がありません");
    else if (!sevenDigits.match(digits).hasMatch())
        problems << QStringLiteral("郵便番号が7桁ではありません");
    if ((texts.Address1 + texts.Address2).trimmed().isEmpty())
        problems << QStringLiteral("住所がありません");

    const QSize size(qRound(face.PaperMm.width() * kCheckDpi / 25.4),
                     qRound(face.PaperMm.height() * kCheckDpi / 25.4));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    FaceReport report;
    {
        QPainter painter(&image);
        report = ComposeFace(painter, face, kCheckDpi, kCheckDpi, qRound(kCheckDpi * 0.2 / 25.4),
                             row, sender);
    }
    if (report.BarcodeOutcome == FaceReport::Barcode::NotBuildable && !digits.isEmpty())
        problems << QStringLiteral("カスタマーバーコードを作れません");
    if (report.BarcodeOutcome == FaceReport::Barcode::LeftOut)
        problems << QStringLiteral(
            "カスタマーバーコードの枠が狭く、8ポイントでは印刷できないため省きます");
    if (report.SmallestTextSize > 0 && report.SmallestTextSize < kSmallestReadableSize)
        problems << QStringLiteral("文字が%1ポイントまで小さくなります")
                        .arg(report.SmallestTextSize, 0, 'f', 1);
    if (HasInkOutside(image, report.InkAreas, qRound(kInkMarginMm * kCheckDpi / 25.4)))
        problems << QStringLiteral("枠からはみ出す文字があります");
    QString printed = texts.Name + texts.Honorific + texts.Company + texts.Department +
                      texts.Position + texts.Address1 + texts.Address2;
    for (const QString &joint : texts.JointNames)
        printed += joint;
    const QString missing = MissingCharacters(face.FaceName, printed);
    if (!missing.isEmpty())
        problems << QStringLiteral("選んだフォントで印刷できない文字があります: %1").arg(missing);
    return problems;
}

} // namespace

QList<AddressProblem> CheckAddresses(const QList<PrintRow> &rows, const FaceSettings &face,
                                     const TSenderBuff &sender, const CheckProgress &progress) {
    QList<AddressProblem> problems;
    const int total = static_cast<int>(rows.size());
    for (int n = 0; n < total; ++n) {
        if (progress && !progress(n, total))
            return problems;
        for (const QString &text : ProblemsOf(rows.at(n), face, sender))
            problems.append({CustomerNameOf(rows.at(n)), text});
    }
    if (progress)
        progress(total, total);
    return problems;
}

QStringList ProblemLines(const QList<AddressProblem> &problems) {
    QStringList lines;
    for (const AddressProblem &problem : problems)
        lines << problem.CustomerName + QStringLiteral(": ") + problem.Text;
    return lines;
}

bool HasInkOutside(const QImage &image, const QList<QRect> &areas, int marginDots) {
    QList<QRect> grown;
    for (const QRect &area : areas)
        grown << area.adjusted(-marginDots, -marginDots, marginDots, marginDots);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160 &&
                std::none_of(grown.cbegin(), grown.cend(),
                             [&](const QRect &area) { return area.contains(x, y); }))
                return true;
    return false;
}
