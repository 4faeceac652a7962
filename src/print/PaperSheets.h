#pragma once

// The label sheets of "paper.cfg" in the data folder: records of ten Shift-JIS lines, the
// first "*" + maker + "," + model, then direction, label width and height, top, bottom, left
// and right margin, columns and rows, each value followed by "'".

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <optional>

inline const QString kPaperFileName = QStringLiteral("paper.cfg");
inline const QString kOriginalMaker = QStringLiteral("オリジナル");
inline const QString kBadSheetMessage = QStringLiteral("印刷用紙が正しくありません。");
constexpr int kSheetRecordLines = 10;

// The maker tabs, in tab order; the first holds the user's own sheets.
const QStringList &MakerTabs();

// The eight numbers of a sheet as stored or typed, in the order of the file.
struct SheetMeasures {
    QString LabelWidth;
    QString LabelHeight;
    QString TopMargin;
    QString BottomMargin;
    QString LeftMargin;
    QString RightMargin;
    QString Columns;
    QString Rows;

    QStringList Values() const;
};

// One record as stored: every value is the text before its "'", trimmed.
struct LabelSheet : SheetMeasures {
    QString Maker;
    QString Model;
    QString Direction; // "0" portrait, anything else landscape

    // The sub-items of the sheet list: width, height, the four margins, columns, rows and
    // direction.
    QStringList ListColumns() const;
};

// Whole records only; a trailing partial record is left out.
QList<LabelSheet> ParsePaperLines(const QStringList &lines);
QList<LabelSheet> SheetsOfMaker(const QList<LabelSheet> &sheets, const QString &maker);

// False (with the reason) when the file cannot be read.
bool ReadPaperFile(const QString &path, QList<LabelSheet> &sheets, QString *error = nullptr);

// A sheet in numbers, in millimetres.
struct SheetGeometry {
    QSizeF SheetMm; // A4 in the sheet's direction
    QSizeF LabelMm;
    double TopMargin = 0;
    double BottomMargin = 0;
    double LeftMargin = 0;
    double RightMargin = 0;
    int Columns = 1;
    int Rows = 1;
    bool Landscape = false;
};

inline const QString kSheetTooLargeMessage = QStringLiteral(
    "ラベルが用紙(A4)からはみ出します。ラベルの大きさ、余白、列数と段数を確かめて下さい");

// True when the margins and the labels side by side (and one below the other) stay on the sheet.
bool FitsOnSheet(const SheetGeometry &sheet);

// The sheet in numbers; nothing when a value is not a number or out of its range (a label
// of no size, a negative margin, no columns or rows) or the labels do not fit on the sheet,
// which could not be printed.
std::optional<SheetGeometry> SheetGeometryOf(const LabelSheet &sheet);

// What the registration window takes; the counts as the window names them (EditLow columns,
// EditColumn rows).
struct NewSheetInput : SheetMeasures {
    QString Title;
    bool Landscape = false;
};

// The message for the first empty or unusable field, or an empty text when all are good.
QString CheckNewSheet(const NewSheetInput &input);

// True when a line of the file names an own sheet of this title (letter case ignored).
bool HasOriginalTitle(const QStringList &lines, const QString &title);

enum class AddSheetResult { Added, Duplicate, Failed };

// Appends the sheet's record under "オリジナル" and saves the file; a missing file is started,
// blank lines at its end are dropped. Failed (with the reason) when the file cannot be read or
// written, or its last record is cut short, which would hide the new one.
AddSheetResult AddOriginalSheet(const QString &path, const NewSheetInput &input,
                                QString *error = nullptr);

// Removes the own sheet of that model and saves the file. False (with the reason) when the
// file cannot be read or written; true also when no such record was there.
bool DeleteOriginalSheet(const QString &path, const QString &model, QString *error = nullptr);
