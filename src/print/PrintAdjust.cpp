#include "print/PrintAdjust.h"

#include "core/TextHelpers.h"
#include "print/LabelGrid.h"
#include "print/LayoutEngine.h"
#include "print/PaperPicture.h"
#include "print/PdfWrittenBeside.h"

#include <QPainter>
#include <QPrinter>

int OffsetIndex(bool labelSheets, int paperKind) {
    if (labelSheets || !IsPaperKind(paperKind))
        return kLabelSheetOffset;
    return paperKind;
}

QPointF OffsetMm(const QPoint &tenths) {
    return QPointF(tenths) / 10.0;
}

QString AdjustedPrinterName(const QPrinter &printer) {
    return WritesPdfFile(printer) ? QString() : printer.printerName();
}

void DrawTestSheet(QPainter &painter, const FaceSettings &face, int paperKind, int dpiX, int dpiY) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::blue, std::max(1, Rnd(0.2 * dpiX / 25.4))));
    for (const PrintFrame frame : kAllFrames) {
        const bool sender = frame == PrintFrame::Sender || frame == PrintFrame::UnderPostCode;
        if ((sender && !face.PrintSender) || (frame == PrintFrame::Costomer && !face.PrintCostom))
            continue;
        const LayoutBox box =
            ShapeToDeviceBox(FrameOf(face.Frames, frame), face.PreviewPixelsPerMm, dpiX, dpiY);
        painter.drawRect(box.Left, box.Top, box.Width, box.Height);
    }
    if (!face.LabelTab && IsPaperKind(paperKind)) {
        painter.setPen(QPen(Qt::red, std::max(1, Rnd(0.2 * dpiX / 25.4))));
        for (const QRectF &mm : PostalBoxesMm(paperKind))
            painter.drawRect(QRectF(mm.left() * dpiX / 25.4, mm.top() * dpiY / 25.4,
                                    mm.width() * dpiX / 25.4, mm.height() * dpiY / 25.4));
    }
    painter.restore();
}

PrintRunResult PrintTestSheet(QPrinter &printer, const PrintRunRequest &request, int paperKind,
                              QString *error) {
    PrintRunRequest test = request;
    test.FirstLabel = 0;
    test.Rows = QList<PrintRow>(test.Sheet ? std::max(LabelsPerPage(*test.Sheet), 1) : 1);
    const auto draw = [paperKind](QPainter &painter, const FaceSettings &face, int dpiX, int dpiY,
                                  int, const PrintRow &) {
        DrawTestSheet(painter, face, paperKind, dpiX, dpiY);
    };
    return RunPrint(printer, test, draw, {}, error);
}
