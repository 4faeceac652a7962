#include "print/PrintRun.h"

#include "core/TextHelpers.h"
#include "print/LabelGrid.h"
#include "print/LayoutEngine.h"
#include "print/PdfWrittenBeside.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace {

void SetError(QString *error, const QString &text) {
    if (error)
        *error = text;
}

QSizeF PaperMmOf(const PrintRunRequest &request) {
    return request.Sheet ? request.Sheet->SheetMm : request.Face.PaperMm;
}

} // namespace

void AbandonJob(QPrinter &printer, QPainter &painter) {
    printer.abort();
    painter.end();
    if (WritesPdfFile(printer))
        QFile::remove(printer.outputFileName());
}

QPageLayout::Orientation PaperOrientation(const PrintRunRequest &request) {
    const bool landscape = request.Sheet ? request.Sheet->Landscape
                                         : PaperMmOf(request).width() > PaperMmOf(request).height();
    return landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void SetPaperOf(QPrinter &printer, const PrintRunRequest &request) {
    const QSizeF paper = PaperMmOf(request);
    const QSizeF portrait(std::min(paper.width(), paper.height()),
                          std::max(paper.width(), paper.height()));
    printer.setPageSize(
        QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(PaperOrientation(request));
}

PrinterArea PrinterAreaFor(QPrinter &printer, const QSizeF &paperMm) {
    PrintRunRequest paper;
    paper.Face.PaperMm = paperMm;
    SetPaperOf(printer, paper);
    return PrinterAreaOf(printer);
}

PrintRunResult RunPrint(QPrinter &printer, const PrintRunRequest &request,
                        const FaceDrawer &drawFace, const PrintProgress &progress, QString *error) {
    const int count = static_cast<int>(request.Rows.size());
    if (count == 0) {
        SetError(error, kNothingToPrint);
        return PrintRunResult::Failed;
    }
    if (request.Sheet && LabelsPerPage(*request.Sheet) <= 0) {
        SetError(error, kBadSheetMessage);
        return PrintRunResult::Failed;
    }
    if (request.Sheet &&
        (request.FirstLabel < 0 || request.FirstLabel >= LabelsPerPage(*request.Sheet))) {
        SetError(error, FirstLabelRangeMessage(*request.Sheet));
        return PrintRunResult::Failed;
    }
    if (request.Sheet && !FitsOnSheet(*request.Sheet)) {
        SetError(error, kSheetTooLargeMessage);
        return PrintRunResult::Failed;
    }
    PdfWrittenBeside pdf(printer);
    QPainter painter;
    if (!painter.begin(&printer)) {
        SetError(error, kPrintStartFailed);
        return PrintRunResult::Failed;
    }
    const PrinterArea area = PrinterAreaOf(printer);
    const int gap = Rnd(area.DpiY * 0.2 / 25.4);
    const QPoint adjustment(Rnd(request.OffsetMm.x() * area.DpiX / 25.4),
                            Rnd(request.OffsetMm.y() * area.DpiY / 25.4));
    int page = 0;
    for (int n = 0; n < count; ++n) {
        if (progress && !progress(n, count)) {
            AbandonJob(printer, painter);
            return PrintRunResult::Cancelled;
        }
        QPoint origin = -area.PhysicalOffset;
        int facePage = n;
        if (request.Sheet) {
            const LabelPlacement placement = PlaceLabel(*request.Sheet, request.FirstLabel + n,
                                                        area.DpiX, area.DpiY, area.PhysicalOffset);
            origin = placement.Position;
            facePage = placement.Page;
        }
        if (facePage != page) {
            page = facePage;
            if (!printer.newPage()) {
                AbandonJob(printer, painter);
                SetError(error, kPrintPageFailed);
                return PrintRunResult::Failed;
            }
        }
        painter.save();
        painter.translate(origin + adjustment);
        drawFace(painter, request.Face, area.DpiX, area.DpiY, gap, request.Rows.at(n));
        painter.restore();
    }
    if (progress)
        progress(count, count);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        SetError(error, kPrintPageFailed);
        return PrintRunResult::Failed;
    }
    if (!pdf.Complete()) {
        SetError(error, kPdfWriteFailed.arg(pdf.ShownName()));
        return PrintRunResult::Failed;
    }
    return PrintRunResult::Printed;
}

QString PrintSentText(const QPrinter &printer, qsizetype faces) {
    if (!printer.outputFileName().isEmpty())
        return QStringLiteral("%1件の宛名を %2 に書き出しました。")
            .arg(faces)
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("%1件の宛名をプリンタ「%2」へ送りました。")
        .arg(faces)
        .arg(printer.printerName());
}
