#include "print/PhoneListPrint.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "print/ListPrintCommon.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace {

// A number cell is 40 mm wide; the text keeps a millimetre from each line.
constexpr double kNumberCellMm = 38;

// Writes with the top-left of the text cell at (x, y).
void TextAt(QPainter &painter, int x, int y, const QString &text) {
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

// Writes with the text's right end at `right` and the bottom of its cell at `bottom`.
void TextRightBottom(QPainter &painter, int right, int bottom, const QString &text) {
    const QFontMetrics metrics = painter.fontMetrics();
    painter.drawText(right - metrics.horizontalAdvance(text), bottom - metrics.descent(), text);
}

QBrush DottedBrush() {
    QImage dot(8, 8, QImage::Format_RGB32);
    dot.fill(Qt::white);
    QPainter painter(&dot);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(QPoint(3, 3), QPoint(5, 5)));
    painter.end();
    return QBrush(dot);
}

} // namespace

QString CutToBytes(const QString &text, int maxBytes) {
    QString cut;
    int bytes = 0;
    for (const QChar c : text) {
        const int size = static_cast<int>(ShiftJis::Encode(QString(c)).size());
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        cut += c;
    }
    return cut;
}

bool PrintPhoneBook(QPrinter &printer, const std::vector<CustomerRecord> &customers, QString *error,
                    const PrintProgress &progress) {
    PdfWrittenBeside pdf(printer);
    QPainter painter;
    if (!BeginListPrint(printer, painter, pdf, QStringLiteral("電話帳印刷"), error))
        return false;
    const int dpi = printer.resolution();
    const auto mm = [dpi](double value) { return MmToPixels(value, dpi); };
    const QRectF paper = printer.paperRect(QPrinter::Millimeter);
    const QRectF printable = printer.pageRect(QPrinter::Millimeter);
    const int marginLeft = Rnd(printable.left() - paper.left());
    const int marginTop = Rnd(printable.top() - paper.top());
    const int marginRight = Rnd(paper.right() - printable.right());
    const int marginBottom = Rnd(paper.bottom() - printable.bottom());
    const int width = mm(210 - marginLeft - marginRight);
    const int height = mm(297 - marginTop - marginBottom);
    const int x0 = Rnd((width - mm(170)) / 2.0);
    const int y0 = Rnd((height - mm(255)) / 2.0);
    const auto x = [&](double offset) { return x0 + mm(offset); };
    const auto y = [&](double offset) { return y0 + mm(offset); };

    const int count = static_cast<int>(customers.size());
    const int pages = count / PhoneListRowsPerPage + (count % PhoneListRowsPerPage ? 1 : 0);
    const QBrush dotted = DottedBrush();
    const QFont text = ListPrintFont(10, dpi);
    const QFont pageNumber = ListPrintFont(15, dpi);
    const QFont title = ListPrintFont(14, dpi, true);
    const int textAscent = QFontMetrics(text, painter.device()).ascent();
    const QString printed = ShortDateText(Clock::Today());
    for (int page = 0; page < pages; ++page) {
        if (!ContinueListPrint(progress, page * PhoneListRowsPerPage, count, printer, painter,
                               error))
            return false;
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        painter.setPen(QPen(Qt::black, 10, Qt::SolidLine));
        painter.setBrush(dotted);
        painter.drawRect(QRect(QPoint(x0, y0), QPoint(x(170), y(15))));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(x0, y0), QPoint(x(170), y(240))));
        painter.drawLine(x(90), y0, x(90), y(240));
        for (int row = 1; row <= 16; ++row)
            painter.drawLine(x0, y(15 * row), x(170), y(15 * row));
        painter.setPen(QPen(Qt::black, 5, Qt::SolidLine));
        painter.drawLine(x(130), y0, x(130), y(240));
        for (int line = 1; line <= 47; ++line)
            painter.drawLine(x(90), y(5 * line), x(170), y(5 * line));

        painter.setFont(title);
        TextAt(painter, x0, y(-11), kPhoneListTitle);
        painter.setFont(text);
        TextRightBottom(painter, x(170), y(-2), QStringLiteral("印刷日 ") + printed);
        TextAt(painter, x(1), y(1), QStringLiteral("会社名"));
        TextRightBottom(painter, x(89), y(14), QStringLiteral("名前"));
        const QString headers[] = {
            QStringLiteral("会社電話番号１"), QStringLiteral("会社電話番号２"),
            QStringLiteral("会社FAX"),        QStringLiteral("個人電話番号１"),
            QStringLiteral("個人電話番号２"), QStringLiteral("個人FAX")};
        for (int i = 0; i < 6; ++i)
            TextAt(painter, x(i < 3 ? 91 : 131), y(1 + 5 * (i % 3)), headers[i]);

        for (int i = 0; i < PhoneListRowsPerPage; ++i) {
            const int index = page * PhoneListRowsPerPage + i;
            if (index >= count)
                break;
            const CustomerRecord &c = customers[static_cast<size_t>(index)];
            const double top = 15 + 15 * i;
            TextAt(painter, x(1), y(top + 1), CutToBytes(c.office, 50));
            TextRightBottom(painter, x(89), y(top + 14), CutToBytes(c.name, 40));
            const QString numbers[] = {c.officeTel1, c.officeTel2, c.officeFax,
                                       c.telNo1,     c.telNo2,     c.faxNo};
            for (int n = 0; n < 6; ++n) {
                // Whole numbers, made smaller to fit the cell; on the baseline of the others.
                const FittedText number =
                    FitToWidth(numbers[n], 10, dpi, mm(kNumberCellMm), painter.device());
                painter.setFont(number.Font);
                painter.drawText(x(n < 3 ? 91 : 131), y(top + 1 + 5 * (n % 3)) + textAscent,
                                 number.Text);
            }
            painter.setFont(text);
        }
        painter.setFont(pageNumber);
        TextAt(painter, width / 2 - mm(5), y(245),
               QStringLiteral("%1/%2").arg(page + 1).arg(pages));
        if (page + 1 < pages && !printer.newPage()) {
            *error = QStringLiteral("印刷を続けられません");
            painter.end();
            return false;
        }
    }
    return EndListPrint(painter, pdf, error);
}
