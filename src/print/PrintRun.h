#pragma once

// The print run of the address print window and of printing without a window: one page per
// postcard or envelope, or the labels of a sheet in its grid, a new page for every sheet.

#include "print/PrintAddress.h"

#include <QString>
#include <functional>

class QPrinter;

// Called before each face with the faces done so far and the total; false stops the run.
using PrintProgress = std::function<bool(int done, int total)>;

enum class PrintRunResult { Printed, Cancelled, Failed };

inline const QString kNothingToPrint = QStringLiteral("印刷対象がありません。");
inline const QString kPrintStartFailed = QStringLiteral("印刷を開始できませんでした。");
inline const QString kPrintPageFailed = QStringLiteral("印刷中にエラーが発生しました。");

// Prints the request's rows on `printer`, set up as wanted (orientation, page size, output).
// Each face is drawn by `drawFace` with the paper's corner (or the label's) as origin, the
// printer's physical offset taken off. Failed, with the reason in *error, when there is nothing
// to print, the sheet holds no labels, the job cannot start or a page cannot be added; Cancelled
// when `progress` says stop: the job is aborted where the printer can, and a PDF file that was
// being written is removed. `progress` may be empty.
PrintRunResult RunPrint(QPrinter &printer, const PrintRunRequest &request,
                        const TPrintAddress::FaceDrawer &drawFace, const PrintProgress &progress,
                        QString *error);
