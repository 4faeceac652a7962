#include "print/LabelGrid.h"

#include "core/TextHelpers.h"

#include <QPainter>
#include <algorithm>

int LabelsPerPage(const SheetGeometry &sheet) {
    return sheet.Columns * sheet.Rows;
}

double LabelStepX(const SheetGeometry &sheet) {
    if (sheet.Columns <= 1)
        return 0;
    return (sheet.SheetMm.width() - sheet.LeftMargin - sheet.RightMargin - sheet.LabelMm.width()) /
           (sheet.Columns - 1);
}

double LabelStepY(const SheetGeometry &sheet) {
    if (sheet.Rows <= 1)
        return 0;
    return (sheet.SheetMm.height() - sheet.TopMargin - sheet.BottomMargin -
            sheet.LabelMm.height()) /
           (sheet.Rows - 1);
}

int LabelPageCount(const SheetGeometry &sheet, int labelCount) {
    const int perPage = LabelsPerPage(sheet);
    if (perPage <= 0 || labelCount <= 0)
        return 0;
    return (labelCount + perPage - 1) / perPage;
}

LabelPlacement PlaceLabel(const SheetGeometry &sheet, int n, int dpiX, int dpiY,
                          const QPoint &physicalOffset) {
    LabelPlacement placement;
    const int perPage = LabelsPerPage(sheet);
    if (perPage <= 0)
        return placement;
    placement.Page = n / perPage;
    placement.Row = (n % perPage) / sheet.Columns;
    placement.Column = n % sheet.Columns;
    const double xMm = placement.Column * LabelStepX(sheet) + sheet.LeftMargin;
    const double yMm = placement.Row * LabelStepY(sheet) + sheet.TopMargin;
    placement.Position = QPoint(Rnd(xMm * dpiX / 25.4) - physicalOffset.x(),
                                Rnd(yMm * dpiY / 25.4) - physicalOffset.y());
    return placement;
}

QString FirstLabelRangeMessage(const SheetGeometry &sheet) {
    return QStringLiteral("開始位置は1から%1の間で指定して下さい。").arg(LabelsPerPage(sheet));
}

void DrawSheetMap(QPainter &painter, const SheetGeometry &sheet, int firstLabel,
                  const QRectF &target) {
    if (sheet.SheetMm.isEmpty())
        return;
    const double scale =
        std::min(target.width() / sheet.SheetMm.width(), target.height() / sheet.SheetMm.height());
    const QPointF corner = target.topLeft();
    painter.save();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(corner, sheet.SheetMm * scale));
    for (int n = 0; n < LabelsPerPage(sheet); ++n) {
        const double x = sheet.LeftMargin + (n % sheet.Columns) * LabelStepX(sheet);
        const double y = sheet.TopMargin + (n / sheet.Columns) * LabelStepY(sheet);
        painter.setBrush(n < firstLabel    ? QColor(Qt::lightGray)
                         : n == firstLabel ? QColor(Qt::red)
                                           : QColor(Qt::white));
        painter.drawRect(QRectF(corner + QPointF(x, y) * scale, sheet.LabelMm * scale));
    }
    painter.restore();
}
