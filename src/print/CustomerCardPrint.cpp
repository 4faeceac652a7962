#include "print/CustomerCardPrint.h"

#include "core/TextHelpers.h"
#include "print/ListPrintCommon.h"

#include <QFontMetrics>
#include <QImageReader>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace {

constexpr double LeftInches = 0.8;
constexpr double TopInches = 0.8;

// Forty rows fit a half page. The text is smaller than the row by a clearance above and below,
// so that it keeps off the rules, which are 0.2 mm wide (5 pixels at 600 dpi).
constexpr double kRowMm = 3.0;
constexpr double kRuleMm = 0.2;
constexpr double kTextSize = 7;
constexpr double kTitleSize = 12;
constexpr int kFrameBottomRow = 40;

// The card's text: one "a" to the right of the point, with the ink of kanji and of letters
// that reach below the line centred in the row below it.
void DrawCardText(QPainter &painter, const QFont &font, int x, int y, int rowHeight,
                  const QString &text) {
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("漢gy"));
    const int baseline = y + std::max(1, (rowHeight - ink.height()) / 2) - ink.top();
    painter.drawText(x + metrics.horizontalAdvance(u'a'), baseline, text);
}

// The joint names with their honorifics, as entered.
QString JointNames(const CustomerRecord &c) {
    QStringList names;
    for (size_t i = 0; i < c.renmei.size(); ++i)
        if (!c.renmei[i].trimmed().isEmpty())
            names << (c.renmei[i].trimmed() + u' ' + c.renNameTitle[i]).trimmed();
    return names.join(QStringLiteral("、"));
}

// The picture's size in the box: the box's width (or height) and the other side in proportion.
QSize FittedSize(const QSize &picture, const QSize &box) {
    if (picture.width() > picture.height())
        return {box.width(), Rnd(picture.height() * double(box.width()) / picture.width())};
    if (picture.height() > picture.width())
        return {Rnd(picture.width() * double(box.height()) / picture.height()), box.height()};
    return box;
}

QString DateText(const QDate &date) {
    return date.isValid() ? ShortDateText(date) : QString();
}

} // namespace

void DrawCustomerCard(QPainter &painter, int dpiX, int dpiY, const CustomerRecord &c,
                      const CardSources &sources) {
    const auto ix = [dpiX](double inches) { return InchToPixels(inches, dpiX); };
    const auto iy = [dpiY](double inches) { return InchToPixels(inches, dpiY); };
    const int pageWidth = MmToPixels(210, dpiX);
    const int pageHeight = MmToPixels(297, dpiY);
    painter.fillRect(QRect(0, 0, pageWidth, pageHeight), Qt::white);
    painter.setBrush(Qt::NoBrush);

    const int pitch = MmToPixels(kRowMm, dpiY);
    const QFont cardFont = ListPrintFont(kTextSize, dpiY);
    const int left = ix(LeftInches);
    const int valueColumn = ix(LeftInches + 1);
    const auto row = [&](double n) { return iy(TopInches) + Rnd(n * pitch); };
    const auto text = [&](int x, double n, const QString &value, const QFont &font) {
        DrawCardText(painter, font, x, row(n), pitch, value);
    };
    const auto table = [&](int firstRow, double rightInches, const QStringList &labels,
                           const QStringList &values) {
        const int right = ix(LeftInches + rightInches);
        // Values too long for their cell are made smaller, or cut with a mark.
        const int valueWidth = right - valueColumn -
                               2 * QFontMetrics(cardFont, painter.device()).horizontalAdvance(u'a');
        for (int i = 0; i < labels.size(); ++i) {
            const int r = firstRow + i;
            if (!labels[i].isEmpty())
                painter.drawLine(left, row(r), right, row(r));
            text(left, r, labels[i], cardFont);
            const FittedText value =
                FitToWidth(values.value(i), kTextSize, dpiY, valueWidth, painter.device());
            text(valueColumn, r, value.Text, value.Font);
        }
        const int last = firstRow + static_cast<int>(labels.size());
        painter.drawLine(left, row(last), right, row(last));
        for (const int x : {left, valueColumn, right})
            painter.drawLine(x, row(firstRow), x, row(last));
        return last;
    };

    text(left, 1, c.name.left(20), ListPrintFont(kTitleSize, dpiY, true));
    painter.setPen(QPen(Qt::black, std::max(1, MmToPixels(kRuleMm, dpiY))));
    const QString age =
        c.birthDay.isValid() ? QString::number(CalcAge(c.birthDay, sources.today)) : QString();
    const int personalEnd =
        table(3, 4.7,
              {QStringLiteral("名前"), QStringLiteral("フリガナ"), QStringLiteral("連名"),
               QStringLiteral("生年月日"), QStringLiteral("年齢"), QStringLiteral("性別"),
               QStringLiteral("郵便番号"), QStringLiteral("住所１"), QStringLiteral("住所２"),
               QStringLiteral("電話１"), QStringLiteral("電話２"), QStringLiteral("メール１"),
               QStringLiteral("メール２"), QStringLiteral("ＦＡＸ")},
              {c.name.left(20), c.kana.left(40), JointNames(c), DateText(c.birthDay), age,
               c.sex.left(20), c.zip, c.address1.left(30), c.address2.left(30), c.telNo1, c.telNo2,
               c.mail1.left(30), c.mail2.left(30), c.faxNo});
    text(left, personalEnd + 1, QStringLiteral("会社情報"), cardFont);
    const int companyEnd = table(
        personalEnd + 2, 6.4,
        {QStringLiteral("会社名"), QStringLiteral("フリガナ"), QStringLiteral("郵便番号"),
         QStringLiteral("住所１"), QStringLiteral("住所２"), QStringLiteral("電話１"),
         QStringLiteral("電話２"), QStringLiteral("メール１"), QStringLiteral("メール２"),
         QStringLiteral("ＦＡＸ"), QStringLiteral("部署"), QStringLiteral("役職")},
        {c.office.left(25), c.officeKana.left(35), c.officeZip, c.officeAddress1.left(30),
         c.officeAddress2.left(30), c.officeTel1, c.officeTel2, c.officeMail1.left(30),
         c.officeMail2.left(30), c.officeFax, c.officePost.left(25), c.officeExecutive.left(25)});
    text(left, companyEnd + 1, QStringLiteral("共通項目"), cardFont);
    // The editor keeps line breaks as LF, imported memos may hold CR LF; none of them prints.
    const QString memo = QString(c.note).remove(u'\r').remove(u'\n');
    table(companyEnd + 2, 6.4,
          {QStringLiteral("分類１"), QStringLiteral("分類２"), QStringLiteral("登録日"),
           QStringLiteral("備考"), QString()},
          {sources.classNames1.value(c.classId), sources.classNames2.value(c.classId2),
           DateText(c.makeDay), memo.left(45), memo.mid(45, 45)});

    const QRect box(QPoint(ix(LeftInches + 4.7 + 0.2), row(2)),
                    QPoint(ix(LeftInches + 6.4), row(13.5)));
    if (!c.img1.isEmpty() && sources.picture) {
        const QImage picture = sources.picture(c.img1);
        if (!picture.isNull())
            painter.drawImage(QRect(box.topLeft(), FittedSize(picture.size(), box.size())),
                              picture);
    }

    const int frameLeft = ix(0.7);
    const int frameRight = pageWidth - ix(0.7);
    const int frameTop = iy(0.7);
    painter.drawLine(frameLeft, frameTop, frameLeft, row(kFrameBottomRow));
    painter.drawLine(frameRight, frameTop, frameRight, row(kFrameBottomRow));
    painter.drawLine(frameLeft, frameTop, frameRight, frameTop);
    painter.drawLine(frameLeft, row(kFrameBottomRow), frameRight, row(kFrameBottomRow));
}

bool PrintCustomerCards(QPrinter &printer, const std::vector<CustomerRecord> &customers,
                        const CardSources &sources, QString *error, const PrintProgress &progress) {
    PdfWrittenBeside pdf(printer);
    QPainter painter;
    if (!BeginListPrint(printer, painter, pdf, QStringLiteral("顧客印刷"), error))
        return false;
    const int dpi = printer.resolution();
    const auto mm = [dpi](double value) { return MmToPixels(value, dpi); };
    // Positions are measured from the paper's edge, not from the printable area.
    const QPoint paperOrigin = -printer.pageLayout().paintRectPixels(dpi).topLeft();
    const int count = static_cast<int>(customers.size());
    for (size_t k = 0; k < customers.size(); ++k) {
        if (!ContinueListPrint(progress, static_cast<int>(k), count, printer, painter, error))
            return false;
        painter.resetTransform();
        painter.translate(paperOrigin);
        const bool upper = k % 2 == 0;
        painter.translate(0, mm(upper ? 3 : 150));
        DrawCustomerCard(painter, dpi, dpi, customers[k], sources);
        if (upper) {
            // After the card, whose white ground would cover them.
            painter.resetTransform();
            painter.translate(paperOrigin);
            painter.setPen(QPen(Qt::black, 5));
            painter.drawLine(mm(10), mm(148), mm(13), mm(148));
            painter.drawLine(mm(197), mm(148), mm(200), mm(148));
        }
        if (!upper && k + 1 < customers.size() && !printer.newPage()) {
            *error = QStringLiteral("印刷を続けられません");
            painter.end();
            return false;
        }
    }
    return EndListPrint(painter, pdf, error);
}
