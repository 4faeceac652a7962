#include "print/ListPrintCommon.h"

#include "core/TextHelpers.h"
#include "store/TableEngine.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

bool BeginListPrint(QPrinter &printer, QPainter &painter, const PdfWrittenBeside &pdf,
                    const QString &title, QString *error) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(title);
    printer.setCreator(QStringLiteral("Brisko Pellor3"));
    if (painter.begin(&printer))
        return true;
    *error = printer.outputFileName().isEmpty()
                 ? QStringLiteral("印刷を開始できません")
                 : QStringLiteral("%1 に書き込めません").arg(pdf.ShownName());
    return false;
}

bool ContinueListPrint(const PrintProgress &progress, int done, int total, QPrinter &printer,
                       QPainter &painter, QString *error) {
    if (!progress || progress(done, total))
        return true;
    AbandonJob(printer, painter);
    error->clear();
    return false;
}

bool EndListPrint(QPainter &painter, PdfWrittenBeside &pdf, QString *error) {
    if (!painter.end()) {
        *error = kPrintPageFailed;
        return false;
    }
    if (!pdf.Complete()) {
        *error = kPdfWriteFailed.arg(pdf.ShownName());
        return false;
    }
    return true;
}

QFont ListPrintFont(double size, int dpi, bool bold) {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic")});
    font.setPixelSize(std::max(1, Rnd(size * dpi / 72.0)));
    font.setBold(bold);
    return font;
}

FittedText FitToWidth(const QString &text, double size, int dpi, int width,
                      const QPaintDevice *device) {
    const auto advance = [&](const QFont &font, const QString &shown) {
        return QFontMetrics(font, device).horizontalAdvance(shown);
    };
    for (double s = size; s >= kSmallestListSize; s -= 0.5) {
        const QFont font = ListPrintFont(s, dpi);
        if (advance(font, text) <= width)
            return {font, text};
    }
    const QFont smallest = ListPrintFont(kSmallestListSize, dpi);
    const QString mark = QStringLiteral("…");
    QString cut = text;
    while (!cut.isEmpty() && advance(smallest, cut + mark) > width)
        cut.chop(1);
    return {smallest, cut + mark};
}

int MmToPixels(double mm, int dpi) {
    return Rnd(mm * dpi / 25.4);
}

int InchToPixels(double inches, int dpi) {
    return Rnd(inches * dpi);
}
