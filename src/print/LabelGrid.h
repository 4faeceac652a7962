#pragma once

// Where the labels of a print run go on the sheets.

#include "print/PaperSheets.h"

#include <QPoint>
#include <QRectF>
#include <QString>

class QPainter;

int LabelsPerPage(const SheetGeometry &sheet);
// Millimetres from one label's left (top) edge to the next; 0 with one column (row).
double LabelStepX(const SheetGeometry &sheet);
double LabelStepY(const SheetGeometry &sheet);
int LabelPageCount(const SheetGeometry &sheet, int labelCount);

struct LabelPlacement {
    int Page = 0;
    int Row = 0;
    int Column = 0;
    // The label's top left in device dots of the page, relative to the printable area's
    // corner (the physical offset taken off).
    QPoint Position;
};

// Label n (from 0) of a run: its page, row, column and position for a printer of that
// resolution and physical offset (dots).
LabelPlacement PlaceLabel(const SheetGeometry &sheet, int n, int dpiX, int dpiY,
                          const QPoint &physicalOffset);

// Refuses a first label outside the sheet: "開始位置は1から<labels>の間で指定して下さい。"
QString FirstLabelRangeMessage(const SheetGeometry &sheet);

// The sheet in miniature inside `target`: the labels before `firstLabel` (from 0) grey as used,
// the first label of the run red, the rest white.
void DrawSheetMap(QPainter &painter, const SheetGeometry &sheet, int firstLabel,
                  const QRectF &target);
