#include "print/PaperSheets.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {

constexpr double kA4Short = 210;
constexpr double kA4Long = 297;
constexpr int kMaxCount = 99;

enum class FieldKind { Size, Margin, Count };

struct FieldRule {
    const char *caption;
    FieldKind kind;
};

// Label width, label height, top, bottom, left, right, columns, rows.
constexpr FieldRule valueRules[] = {
    {"ラベル幅", FieldKind::Size}, {"ラベル高さ", FieldKind::Size}, {"上余白", FieldKind::Margin},
    {"下余白", FieldKind::Margin}, {"左余白", FieldKind::Margin},   {"右余白", FieldKind::Margin},
    {"列数", FieldKind::Count},    {"段数", FieldKind::Count},
};

bool IsUsable(const QString &text, FieldKind kind) {
    bool ok = false;
    if (kind == FieldKind::Count) {
        const int count = text.trimmed().toInt(&ok);
        return ok && count >= 1 && count <= kMaxCount;
    }
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    return kind == FieldKind::Size ? value > 0 && value <= kA4Long : value >= 0 && value < kA4Long;
}

QString UnusableMessage(const FieldRule &rule) {
    const QString caption = QString::fromUtf8(rule.caption);
    switch (rule.kind) {
    case FieldKind::Size:
        return caption + QStringLiteral("には0より大きく297以下の数値を入力して下さい");
    case FieldKind::Margin:
        return caption + QStringLiteral("には0以上297未満の数値を入力して下さい");
    case FieldKind::Count:
        break;
    }
    return caption + QStringLiteral("には1から99までの整数を入力して下さい");
}

QString RecordHead(const QString &title) {
    return QStringLiteral("*") + kOriginalMaker + QStringLiteral(",") + title;
}

// The reason the platform gives is not in the user's language; the file's name is.
bool ReadPaperLines(const QString &path, QStringList &lines, QString *error) {
    QString reason;
    if (TextFile::ReadLines(path, lines, &reason))
        return true;
    if (error)
        *error =
            QStringLiteral("%1 を読み込めません。\n%2").arg(QDir::toNativeSeparators(path), reason);
    return false;
}

QString ValueOf(const QString &line) {
    return line.section(QLatin1Char('\''), 0, 0).trimmed();
}

} // namespace

const QStringList &MakerTabs() {
    static const QStringList tabs = {kOriginalMaker, QStringLiteral("ヒサゴ"),
                                     QStringLiteral("エーワン"), QStringLiteral("マクセル"),
                                     QStringLiteral("サンワサプライ")};
    return tabs;
}

QStringList SheetMeasures::Values() const {
    return {LabelWidth, LabelHeight, TopMargin, BottomMargin,
            LeftMargin, RightMargin, Columns,   Rows};
}

QStringList LabelSheet::ListColumns() const {
    return Values() << Direction;
}

QList<LabelSheet> ParsePaperLines(const QStringList &lines) {
    QList<LabelSheet> sheets;
    for (qsizetype i = 0; i + kSheetRecordLines <= lines.size(); i += kSheetRecordLines) {
        LabelSheet sheet;
        const QString head = lines.at(i).mid(1);
        const qsizetype comma = head.indexOf(QLatin1Char(','));
        sheet.Maker = comma < 0 ? head : head.left(comma);
        sheet.Model = comma < 0 ? QString() : head.mid(comma + 1);
        sheet.Direction = ValueOf(lines.at(i + 1));
        sheet.LabelWidth = ValueOf(lines.at(i + 2));
        sheet.LabelHeight = ValueOf(lines.at(i + 3));
        sheet.TopMargin = ValueOf(lines.at(i + 4));
        sheet.BottomMargin = ValueOf(lines.at(i + 5));
        sheet.LeftMargin = ValueOf(lines.at(i + 6));
        sheet.RightMargin = ValueOf(lines.at(i + 7));
        sheet.Columns = ValueOf(lines.at(i + 8));
        sheet.Rows = ValueOf(lines.at(i + 9));
        sheets << sheet;
    }
    return sheets;
}

QList<LabelSheet> SheetsOfMaker(const QList<LabelSheet> &sheets, const QString &maker) {
    QList<LabelSheet> found;
    for (const LabelSheet &sheet : sheets)
        if (sheet.Maker == maker)
            found << sheet;
    return found;
}

bool ReadPaperFile(const QString &path, QList<LabelSheet> &sheets, QString *error) {
    QStringList lines;
    if (!ReadPaperLines(path, lines, error))
        return false;
    sheets = ParsePaperLines(lines);
    return true;
}

std::optional<SheetGeometry> SheetGeometryOf(const LabelSheet &sheet) {
    const QStringList values = sheet.Values();
    for (qsizetype i = 0; i < values.size(); ++i)
        if (!IsUsable(values.at(i), valueRules[i].kind))
            return std::nullopt;
    SheetGeometry g;
    g.Landscape = sheet.Direction != QStringLiteral("0");
    g.SheetMm = g.Landscape ? QSizeF(kA4Long, kA4Short) : QSizeF(kA4Short, kA4Long);
    g.LabelMm = QSizeF(sheet.LabelWidth.toDouble(), sheet.LabelHeight.toDouble());
    g.TopMargin = sheet.TopMargin.toDouble();
    g.BottomMargin = sheet.BottomMargin.toDouble();
    g.LeftMargin = sheet.LeftMargin.toDouble();
    g.RightMargin = sheet.RightMargin.toDouble();
    g.Columns = sheet.Columns.toInt();
    g.Rows = sheet.Rows.toInt();
    if (!FitsOnSheet(g))
        return std::nullopt;
    return g;
}

bool FitsOnSheet(const SheetGeometry &sheet) {
    // A hundredth of a millimetre for the rounding of published figures.
    constexpr double kTolerance = 0.01;
    return sheet.LeftMargin + sheet.Columns * sheet.LabelMm.width() + sheet.RightMargin <=
               sheet.SheetMm.width() + kTolerance &&
           sheet.TopMargin + sheet.Rows * sheet.LabelMm.height() + sheet.BottomMargin <=
               sheet.SheetMm.height() + kTolerance;
}

QString CheckNewSheet(const NewSheetInput &input) {
    if (input.Title.trimmed().isEmpty())
        return QStringLiteral("ラベルのタイトルを入力して下さい");
    const QStringList values = input.Values();
    for (qsizetype i = 0; i < values.size(); ++i)
        if (values.at(i).trimmed().isEmpty())
            return QString::fromUtf8(valueRules[i].caption) + QStringLiteral("を入力して下さい");
    for (qsizetype i = 0; i < values.size(); ++i)
        if (!IsUsable(values.at(i), valueRules[i].kind))
            return UnusableMessage(valueRules[i]);
    LabelSheet sheet;
    static_cast<SheetMeasures &>(sheet) = input;
    sheet.Direction = input.Landscape ? QStringLiteral("1") : QStringLiteral("0");
    if (!SheetGeometryOf(sheet))
        return kSheetTooLargeMessage;
    return {};
}

bool HasOriginalTitle(const QStringList &lines, const QString &title) {
    const QString head = RecordHead(title.trimmed());
    for (const QString &line : lines)
        if (line.compare(head, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

AddSheetResult AddOriginalSheet(const QString &path, const NewSheetInput &input, QString *error) {
    QStringList lines;
    if (QFileInfo::exists(path) && !ReadPaperLines(path, lines, error))
        return AddSheetResult::Failed;
    if (HasOriginalTitle(lines, input.Title))
        return AddSheetResult::Duplicate;
    // Records are read ten lines at a time from the top: the new one must start on a boundary.
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.size() % kSheetRecordLines != 0) {
        if (error)
            *error = QStringLiteral("%1 の最後の用紙の記述が途中で切れているため、登録できません。")
                         .arg(kPaperFileName);
        return AddSheetResult::Failed;
    }
    lines << RecordHead(input.Title.trimmed())
          << (input.Landscape ? QStringLiteral("1'") : QStringLiteral("0'"));
    for (const QString &value : input.Values())
        lines << value.trimmed() + QLatin1Char('\'');
    return TextFile::WriteLines(path, lines, error) ? AddSheetResult::Added
                                                    : AddSheetResult::Failed;
}

bool DeleteOriginalSheet(const QString &path, const QString &model, QString *error) {
    QStringList lines;
    if (!ReadPaperLines(path, lines, error))
        return false;
    const QString head = RecordHead(model);
    for (qsizetype i = 0; i + kSheetRecordLines <= lines.size(); i += kSheetRecordLines) {
        if (lines.at(i) == head) {
            lines.remove(i, kSheetRecordLines);
            return TextFile::WriteLines(path, lines, error);
        }
    }
    return true;
}
