#include "print/PrintRun.h"

#include "core/TextHelpers.h"
#include "print/LabelGrid.h"
#include "print/LayoutEngine.h"

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <unistd.h>

namespace {

void SetError(QString *error, const QString &text) {
    if (error)
        *error = text;
}

QSizeF PaperMmOf(const PrintRunRequest &request) {
    return request.Sheet ? request.Sheet->SheetMm : request.Face.PaperMm;
}

// A PDF written whole ends in its trailer and reached the disk; a full disk leaves it cut short.
bool IsCompletePdf(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || file.size() < 64 || !file.seek(file.size() - 64))
        return false;
    const bool trailer = file.read(64).trimmed().endsWith("%%EOF");
    return trailer && ::fsync(file.handle()) == 0;
}

bool IsPdfFile(const QPrinter &printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

// A PDF is written beside the file the user named and renamed over it once whole, so a
// cancelled or failed run leaves an earlier file of that name as it was.
class PdfWrittenBeside {
public:
    explicit PdfWrittenBeside(QPrinter &printer) : printer_(printer) {
        if (!IsPdfFile(printer))
            return;
        target_ = printer.outputFileName();
        printer.setOutputFileName(target_ + QStringLiteral(".part"));
    }
    ~PdfWrittenBeside() {
        if (target_.isEmpty())
            return;
        if (!replaced_)
            QFile::remove(printer_.outputFileName());
        printer_.setOutputFileName(target_);
    }
    PdfWrittenBeside(const PdfWrittenBeside &) = delete;
    PdfWrittenBeside &operator=(const PdfWrittenBeside &) = delete;

    // The name the user knows the file by.
    QString ShownName() const {
        return QDir::toNativeSeparators(target_.isEmpty() ? printer_.outputFileName() : target_);
    }
    bool Replace() {
        if (target_.isEmpty())
            return true;
        replaced_ = ::rename(QFile::encodeName(printer_.outputFileName()).constData(),
                             QFile::encodeName(target_).constData()) == 0;
        return replaced_;
    }

private:
    QPrinter &printer_;
    QString target_;
    bool replaced_ = false;
};

} // namespace

void AbandonJob(QPrinter &printer, QPainter &painter) {
    printer.abort();
    painter.end();
    if (IsPdfFile(printer))
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
    if (IsPdfFile(printer) && (!IsCompletePdf(printer.outputFileName()) || !pdf.Replace())) {
        SetError(error, kPdfWriteFailed.arg(pdf.ShownName()));
        return PrintRunResult::Failed;
    }
    return PrintRunResult::Printed;
}
