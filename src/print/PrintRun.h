#pragma once

// The print run of the address print window and of printing without a window: one page per
// postcard or envelope, or the labels of a sheet in its grid, a new page for every sheet.

#include "print/FaceSettings.h"
#include "print/PaperSheets.h"
#include "print/PrintList.h"

#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <functional>
#include <optional>

class QPainter;
class QPrinter;

// One print run: the rows still marked, whole, in list order, and how to draw them.
struct PrintRunRequest {
    QList<PrintRow> Rows;
    FaceSettings Face;
    std::optional<SheetGeometry> Sheet; // the label tab's sheet; none on postcards and envelopes
    int PaperKind = 0;                  // the postcard or envelope kind; 0 on label sheets
    // The label of the first sheet the run starts at (from 0), so a partly used sheet is used up.
    int FirstLabel = 0;
    // The printer adjustment of the paper: millimetres to the right and downwards.
    QPointF OffsetMm;
};

// Gives the printer the page the faces are laid out for: the card or envelope, or the A4
// sheet, turned the way the face or sheet is turned.
void SetPaperOf(QPrinter &printer, const PrintRunRequest &request);
// The printable area the preview marks on a card or envelope of `paperMm`: the printer's, once
// its page is that paper as the print run will set it.
struct PrinterArea;
PrinterArea PrinterAreaFor(QPrinter &printer, const QSizeF &paperMm);
// Label sheets as their direction says; a card or envelope as its face is turned, so a face
// laid out wider than high is never cut off by a portrait page.
QPageLayout::Orientation PaperOrientation(const PrintRunRequest &request);

// Draws one face (white background, then the texts) on a painter whose origin is the face's
// top left, at the given resolutions; `itemGap` is the gap between lines in dots.
using FaceDrawer = std::function<void(QPainter &painter, const FaceSettings &face, int dpiX,
                                      int dpiY, int itemGap, const PrintRow &row)>;

// Called before each face with the faces done so far and the total; false stops the run.
using PrintProgress = std::function<bool(int done, int total)>;

// Stops the job so that as little as possible comes out: the printer drops it where it can,
// and a half-written PDF file is removed.
void AbandonJob(QPrinter &printer, QPainter &painter);

enum class PrintRunResult { Printed, Cancelled, Failed };

// What the user is told once the faces went to the printer (or into its PDF file).
QString PrintSentText(const QPrinter &printer, qsizetype faces);

inline const QString kNothingToPrint = QStringLiteral("印刷対象がありません。");
inline const QString kPrintStartFailed = QStringLiteral("印刷を開始できませんでした。");
inline const QString kPrintPageFailed = QStringLiteral("印刷中にエラーが発生しました。");
inline const QString kPdfWriteFailed =
    QStringLiteral("%1 を書き込めませんでした。ディスクの空きと書き込み権限を確かめてください。");

// Prints the request's rows on `printer`, set up as wanted (orientation, page size, output).
// Each face is drawn by `drawFace` with the paper's corner (or the label's) as origin, the
// printer's physical offset taken off. Failed, with the reason in *error, when there is nothing
// to print, the sheet holds no labels or not the first label, the job cannot start, a page cannot
// be added or a PDF file did not reach the disk whole (it is removed); Cancelled when `progress`
// says stop: the job is aborted where the printer can, and a PDF file that was being written is
// removed. `progress` may be empty.
PrintRunResult RunPrint(QPrinter &printer, const PrintRunRequest &request,
                        const FaceDrawer &drawFace, const PrintProgress &progress, QString *error);
