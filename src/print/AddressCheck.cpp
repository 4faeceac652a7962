#include "print/AddressCheck.h"

#include "core/PostalCode.h"
#include "platform/FontResolver.h"
#include "print/ComposeFace.h"

#include <QPainter>
#include <QRawFont>
#include <algorithm>

namespace {

// Anti-aliased edges of a character may reach this far past its box.
constexpr double kInkMarginMm = 0.5;
// Japan Post keeps this much blank around the bars.
constexpr double kBarcodeQuietZoneMm = 2;

int ToDots(double mm, int dpi) {
    return qRound(mm * dpi / 25.4);
}

struct RenderedFace {
    QImage Image;
    FaceReport Report;
};

RenderedFace Render(const PrintRow &row, const FaceSettings &face, const TSenderBuff &sender,
                    int dpi) {
    RenderedFace out{QImage(ToDots(face.PaperMm.width(), dpi), ToDots(face.PaperMm.height(), dpi),
                            QImage::Format_RGB32),
                     {}};
    out.Image.fill(Qt::white);
    QPainter painter(&out.Image);
    out.Report = ComposeFace(painter, face, dpi, dpi, ToDots(0.2, dpi), row, sender);
    return out;
}

bool HasInkIn(const QImage &image, const QRect &area) {
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(line[x]) < 160)
                return true;
    }
    return false;
}

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

QList<QString> ProblemsOf(const PrintRow &row, const FaceSettings &face, const TSenderBuff &sender,
                          int dpi) {
    QList<QString> problems;
    const FaceTexts texts = GatherFaceTexts(row);
    const bool noPostalCode = texts.PostalCode.trimmed().isEmpty();
    if (noPostalCode)
        problems << QStringLiteral("郵便番号がありません");
    else if (!NormalisedPostalCode(texts.PostalCode))
        problems << QStringLiteral("郵便番号が7桁ではありません");
    if ((texts.Address1 + texts.Address2).trimmed().isEmpty())
        problems << QStringLiteral("住所がありません");

    const RenderedFace rendered = Render(row, face, sender, dpi);
    const FaceReport &report = rendered.Report;
    if (report.BarcodeOutcome == FaceReport::Barcode::NotBuildable && !noPostalCode)
        problems << QStringLiteral("カスタマーバーコードを作れません");
    if (report.BarcodeOutcome == FaceReport::Barcode::LeftOut)
        problems << QStringLiteral(
            "カスタマーバーコードの枠が狭く、8ポイントでは印刷できないため省きます");
    if (report.BarcodeOutcome == FaceReport::Barcode::Printed) {
        FaceSettings withoutBarcode = face;
        withoutBarcode.PrintCostom = false;
        const int quiet = ToDots(kBarcodeQuietZoneMm, dpi);
        if (HasInkIn(Render(row, withoutBarcode, sender, dpi).Image,
                     report.BarcodeArea.adjusted(-quiet, -quiet, quiet, quiet)))
            problems << QStringLiteral("カスタマーバーコードがほかの印字に重なります");
    }
    const double address = report.AddressSize;
    if (address > 0 && address < kAddressBreakSize)
        problems << QStringLiteral("住所が%1ポイントまで小さくなります").arg(address, 0, 'f', 1);
    const double smallest = report.SmallestTextSize;
    if (smallest > 0 && smallest < kSmallestReadableSize && (address == 0 || smallest < address))
        problems << QStringLiteral("文字が%1ポイントまで小さくなります").arg(smallest, 0, 'f', 1);
    if (HasInkOutside(rendered.Image, report.InkAreas, ToDots(kInkMarginMm, dpi)))
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
                                     const TSenderBuff &sender, int dpi,
                                     const CheckProgress &progress, const QSet<int> &mourners) {
    QList<AddressProblem> problems;
    const int total = static_cast<int>(rows.size());
    for (int n = 0; n < total; ++n) {
        if (progress && !progress(n, total))
            return problems;
        if (mourners.contains(rows.at(n).UserId()))
            problems.append({CustomerNameOf(rows.at(n)), kMourningProblem});
        for (const QString &text : ProblemsOf(rows.at(n), face, sender, dpi))
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
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qGray(line[x]) < 160 &&
                std::none_of(grown.cbegin(), grown.cend(),
                             [&](const QRect &area) { return area.contains(x, y); }))
                return true;
    }
    return false;
}
