#pragma once

// Printer adjustment: printers feed cards and sheets a little off, so per paper kind the user
// shifts everything printed by tenths of a millimetre, and checks it with a test print on plain
// paper that shows the postal code boxes and the frames where they will print.

#include "print/PrintRun.h"
#include "print/PrintSettings.h"

#include <QPointF>

// The entry of the offsets for the label tab or a paper kind.
int OffsetIndex(bool labelSheets, int paperKind);
QPointF OffsetMm(const QPoint &tenths);
// The printer an adjustment belongs to; empty for a print to a file.
QString AdjustedPrinterName(const QPrinter &printer);

// Draws, on a face whose origin is its top left, the outlines of the frames the face settings
// show (blue) and, for a paper kind with them, its recipient postal code boxes (red).
void DrawTestSheet(QPainter &painter, const FaceSettings &face, int paperKind, int dpiX, int dpiY);

// One page of the test: the card or envelope, or every label of the sheet, drawn through
// RunPrint so the offset of the request applies as it does to the faces.
PrintRunResult PrintTestSheet(QPrinter &printer, const PrintRunRequest &request, int paperKind,
                              QString *error);
