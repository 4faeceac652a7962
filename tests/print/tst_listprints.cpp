#include "PdfPages.h"

#include "core/Clock.h"

#include "print/CustomerCardPrint.h"
#include "print/PhoneListPrint.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTest>

namespace {

constexpr double Dpi = 100;

std::vector<CustomerRecord> Customers(int count) {
    std::vector<CustomerRecord> customers;
    for (int i = 0; i < count; ++i) {
        CustomerRecord c;
        c.userId = i + 1;
        c.name = QStringLiteral("顧客%1").arg(i + 1);
        c.office = QStringLiteral("株式会社%1").arg(i + 1);
        c.telNo1 = QStringLiteral("03-1234-%1").arg(i, 4, 10, QLatin1Char('0'));
        c.print = true;
        customers.push_back(c);
    }
    return customers;
}

void OutputToPdf(QPrinter &printer, const QString &path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

QString PageText(const QString &pdf, int page) {
    QProcess pdftotext;
    pdftotext.start("pdftotext",
                    {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    pdftotext.waitForFinished(60000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// Whether the page has ink within a millimetre of the point.
bool InkNear(const QImage &page, double xMm, double yMm) {
    const int cx = qRound(xMm * Dpi / 25.4), cy = qRound(yMm * Dpi / 25.4);
    const int reach = qRound(Dpi / 25.4);
    for (int y = cy - reach; y <= cy + reach; ++y)
        for (int x = cx - reach; x <= cx + reach; ++x)
            if (page.valid(x, y) && qGray(page.pixel(x, y)) < 128)
                return true;
    return false;
}

// The longest run of ink along a line of the page, in millimetres.
double LongestInkRun(const QImage &page, QPointF fromMm, QPointF stepMm, int steps) {
    int best = 0, run = 0;
    for (int i = 0; i < steps; ++i) {
        const QPointF at = (fromMm + stepMm * i) * Dpi / 25.4;
        run = qGray(page.pixel(at.toPoint())) < 128 ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best * std::hypot(stepMm.x(), stepMm.y());
}

// Whether the page has ink inside the rectangle (millimetres).
bool InkIn(const QImage &page, const QRectF &mm, double dpi) {
    const QRect area = QRectF(mm.topLeft() * dpi / 25.4, mm.size() * dpi / 25.4).toRect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (page.valid(x, y) && qGray(page.pixel(x, y)) < 128)
                return true;
    return false;
}

// The page's table origin (X0, Y0) in millimetres from the paper's corner.
QPointF PhoneTableOrigin(const QPrinter &printer) {
    const QRectF paper = printer.paperRect(QPrinter::Millimeter);
    const QRectF printable = printer.pageRect(QPrinter::Millimeter);
    return {printable.left() - paper.left() + (printable.width() - 170) / 2,
            printable.top() - paper.top() + (printable.height() - 255) / 2};
}

// Rows of the picture inked across most of [left, right): the rules of a table, as runs of
// pixel rows (first row, count).
QList<QPair<int, int>> Rules(const QImage &page, int left, int right, int top, int bottom) {
    QList<QPair<int, int>> rules;
    for (int y = top; y < bottom; ++y) {
        int inked = 0;
        for (int x = left; x < right; ++x)
            inked += qGray(page.pixel(x, y)) < 128;
        if (inked * 10 < (right - left) * 9)
            continue;
        if (!rules.isEmpty() && rules.last().first + rules.last().second == y)
            ++rules.last().second;
        else
            rules.append({y, 1});
    }
    return rules;
}

} // namespace

class TestListPrints : public QObject {
    Q_OBJECT
private slots:
    void byteLimits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QString>("printed");
        QTest::newRow("fits") << "03-1234-5678" << 13 << "03-1234-5678";
        QTest::newRow("ascii cut") << "03-1234-5678-99" << 13 << "03-1234-5678-";
        QTest::newRow("kanji not halved") << "株式会社" << 7 << "株式会";
        QTest::newRow("half-width kana one byte") << "ｱｲｳｴｵ" << 3 << "ｱｲｳ";
    }
    void byteLimits() {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QTEST(CutToBytes(text, bytes), "printed");
    }

    void sixteenCustomersMakeTwoNumberedPages() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("phone.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        QString error;
        QVERIFY2(PrintPhoneBook(printer, Customers(16), &error), qPrintable(error));
        QCOMPARE(PdfPageCount(pdf), 2);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        const QString first = PageText(pdf, 1), second = PageText(pdf, 2);
        QVERIFY(first.contains("1/2") && first.contains("顧客15") && !first.contains("顧客16"));
        QVERIFY(second.contains("2/2") && second.contains("顧客16"));
        const std::optional<QImage> page = RenderPdfPage(pdf, 2, Dpi);
        QVERIFY(page);
        // The table sits centred: its outline from (20, 21) to (190, 261) mm on a page with
        // no unprintable margins, with every ruled row drawn on the second page too.
        const QRectF paper = printer.paperRect(QPrinter::Millimeter);
        const QRectF printable = printer.pageRect(QPrinter::Millimeter);
        const double left = printable.left() - paper.left() + (printable.width() - 170) / 2;
        const double top = printable.top() - paper.top() + (printable.height() - 255) / 2;
        QVERIFY(InkNear(*page, left, top + 120));
        QVERIFY(InkNear(*page, left + 170, top + 120));
        QVERIFY(InkNear(*page, left + 40, top + 240));
        QVERIFY(InkNear(*page, left + 40, top + 225));
        QVERIFY(!InkNear(*page, left + 40, top + 232));
    }

    // Numbers print whole, smaller where the cell needs it, or cut with a mark; the page says
    // what it is and when it was printed.
    void phoneNumbersPrintWholeInTheirCells_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("printed");
        QTest::newRow("with an extension") << "03-1234-5678(内線123)"
                                           << "03-1234-5678(内線123)";
        QTest::newRow("free dial") << "0120-123-456-789"
                                   << "0120-123-456-789";
        QTest::newRow("full width") << "０３－１２３４－５６７８"
                                    << "０３－１２３４－５６７８";
        QTest::newRow("longer than any size fits")
            << "03-1234-5678(代表)内線1234受付時間平日9時から17時まで"
            << "03-1234-5678(代表)内線1234";
    }
    void phoneNumbersPrintWholeInTheirCells() {
        QFETCH(QString, number);
        QFETCH(QString, printed);
        if (!HasPdfToPpm() || QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils are not installed");
        Clock::SetFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        QTemporaryDir dir;
        const QString pdf = dir.filePath("phone.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        std::vector<CustomerRecord> customers = Customers(1);
        customers[0].telNo1 = number;
        customers[0].officeFax = number;
        QString error;
        QVERIFY2(PrintPhoneBook(printer, customers, &error), qPrintable(error));
        Clock::Reset();
        const QString text = PageText(pdf, 1).remove(' ');
        QVERIFY2(text.contains(kPhoneListTitle) && text.contains("印刷日2026/12/10"),
                 qPrintable(text));
        QCOMPARE(text.count(printed), 2);
        QCOMPARE(text.contains(QStringLiteral("…")), printed != number);
        // Nothing inked in the 0.65 mm before the lines that end the two number columns,
        // between the lines of the three numbers.
        constexpr double dpi = 300;
        const std::optional<QImage> page = RenderPdfPage(pdf, 1, dpi);
        QVERIFY(page);
        const QPointF origin = PhoneTableOrigin(printer);
        for (const double lineAt : {130.0, 170.0}) {
            // Where the line is, in a row left empty.
            const int empty = qRound((origin.y() + 100) * dpi / 25.4);
            double line = lineAt - 0.9;
            while (line < lineAt + 0.9 &&
                   qGray(page->pixel(qRound((origin.x() + line) * dpi / 25.4), empty)) >= 128)
                line += 25.4 / dpi;
            for (int n = 0; n < 3; ++n)
                QVERIFY2(
                    !InkIn(*page,
                           QRectF(origin.x() + line - 0.8, origin.y() + 15.6 + 5 * n, 0.65, 3.8),
                           dpi),
                    qPrintable(QStringLiteral("%1 mm, line %2").arg(line).arg(n)));
        }
    }

    // Every text of a card keeps a clearance from the rules above and below it, joint names
    // included; values too long for their cell are cut with a mark.
    void cardTextsKeepOffTheRules() {
        if (!HasPdfToPpm() || QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("poppler-utils are not installed");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("card.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        std::vector<CustomerRecord> customers = Customers(2);
        for (CustomerRecord &c : customers) {
            c.kana = QStringLiteral("ヤマダ　タロウ");
            c.birthDay = QDate(1980, 4, 1);
            c.sex = QStringLiteral("男");
            c.zip = QStringLiteral("263-0023");
            c.address1 = QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8");
            c.address2 = QStringLiteral("郵便ビル403号");
            c.mail1 = QStringLiteral("yjgpq@example.jp");
            c.telNo2 = c.faxNo = c.telNo1;
            c.mail2 = QString(30, u'W');
            c.renmei = {QStringLiteral("山田　花子"), QString(), QStringLiteral("さくら"),
                        QStringLiteral("齋藤　鬱子")};
            c.renNameTitle = {QStringLiteral("様"), QString(), QStringLiteral("ちゃん"),
                              QStringLiteral("様")};
        }
        QString error;
        QVERIFY2(
            PrintCustomerCards(printer, customers, {{}, {}, dir.path() + "/", QDate()}, &error),
            qPrintable(error));
        const QString text = PageText(pdf, 1).remove(' ').remove(QChar(0x3000));
        for (const QString name : {"山田花子様、さくらちゃん、", "齋藤", "鬱子様"})
            QVERIFY2(text.count(name) == 2, qPrintable(name));

        constexpr double dpi = 400;
        const std::optional<QImage> page = RenderPdfPage(pdf, 1, dpi);
        QVERIFY(page);
        const auto px = [&](double inches) { return qRound(inches * dpi); };
        const int clearance = qRound(0.15 * dpi / 25.4);
        // The value column, on the upper and the lower card.
        for (const double cardTopMm : {3.0, 150.0}) {
            const int top = qRound(cardTopMm * dpi / 25.4);
            const QList<QPair<int, int>> rules =
                Rules(*page, px(1.85), px(5.45), top + px(0.75), top + px(5.5));
            // Personal, company and common tables: 15, 13 and 5 rules (none between the memo's
            // two lines).
            QCOMPARE(rules.size(), 33);
            for (int i = 1; i < rules.size(); ++i) {
                const int cellTop = rules[i - 1].first + rules[i - 1].second;
                const int cellBottom = rules[i].first;
                int inkTop = -1, inkBottom = -1;
                for (int y = cellTop; y < cellBottom; ++y)
                    for (int x = px(1.85); x < px(5.45); ++x)
                        if (qGray(page->pixel(x, y)) < 128) {
                            inkTop = inkTop < 0 ? y : inkTop;
                            inkBottom = y;
                        }
                if (inkTop < 0)
                    continue;
                QVERIFY2(inkTop - cellTop >= clearance && cellBottom - 1 - inkBottom >= clearance,
                         qPrintable(QStringLiteral("row %1: %2 and %3 dots from the rules")
                                        .arg(i)
                                        .arg(inkTop - cellTop)
                                        .arg(cellBottom - 1 - inkBottom)));
            }
        }
    }

    void threeCardsMakeTwoPagesWithCutMarks() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("cards.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        std::vector<CustomerRecord> customers = Customers(3);
        customers[0].name = QString(25, QChar(u'長'));
        customers[1].note = QString(100, QChar(u'メ'));
        customers[2].note = QString(30, QChar(u'上')) + "\n" + QString(30, QChar(u'下')) + "\r\n";
        QString error;
        QVERIFY2(
            PrintCustomerCards(printer, customers, {{}, {}, dir.path() + "/", QDate()}, &error),
            qPrintable(error));
        QCOMPARE(PdfPageCount(pdf), 2);
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        const std::optional<QImage> page1 = RenderPdfPage(pdf, 1, Dpi);
        const std::optional<QImage> page2 = RenderPdfPage(pdf, 2, Dpi);
        QVERIFY(page1 && page2);
        // Cut marks at 148 mm, 10 to 13 mm and 197 to 200 mm from the left; nothing between.
        for (const QImage &page : {*page1, *page2}) {
            QVERIFY(InkNear(page, 11.5, 148));
            QVERIFY(InkNear(page, 198.5, 148));
        }
        // The frame's top line of the lower card: 150 mm + 0.7 in.
        const double lowerFrameTop = 150 + 0.7 * 25.4;
        QVERIFY(InkNear(*page1, 100, lowerFrameTop));
        QVERIFY(!InkNear(*page2, 100, lowerFrameTop));
        // The upper card's frame: 3 mm + 0.7 in from the top, 0.7 in from the left.
        QVERIFY(InkNear(*page1, 100, 3 + 0.7 * 25.4));
        QVERIFY(InkNear(*page2, 0.7 * 25.4, 60));
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            return;
        const QString text = PageText(pdf, 1).remove('\n').remove(' ');
        QVERIFY(text.contains(QString(20, QChar(u'長'))));
        QVERIFY(!text.contains(QString(21, QChar(u'長'))));
        QVERIFY(text.contains(QString(45, QChar(u'メ'))));
        QVERIFY(!text.contains(QString(91, QChar(u'メ'))));
        // The memo's line breaks take no room: the first printed line is 45 visible characters.
        const QString lastCard = PageText(pdf, 2).remove(' ');
        QVERIFY2(lastCard.contains(QString(30, QChar(u'上')) + QString(15, QChar(u'下')) + "\n" +
                                   QString(15, QChar(u'下')) + "\n"),
                 qPrintable(lastCard));
    }

    void longPrintReportsProgressAndStops_data() {
        QTest::addColumn<bool>("cards");
        QTest::addColumn<int>("lastDone");
        QTest::newRow("phone list") << false << 30;
        QTest::newRow("cards") << true << 39;
    }
    void longPrintReportsProgressAndStops() {
        QFETCH(bool, cards);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("list.pdf");
        const auto print = [&](const PrintProgress &progress, QString *error) {
            QPrinter printer(QPrinter::HighResolution);
            OutputToPdf(printer, pdf);
            return cards ? PrintCustomerCards(printer, Customers(40), {{}, {}, dir.path(), {}},
                                              error, progress)
                         : PrintPhoneBook(printer, Customers(40), error, progress);
        };
        QList<int> reported;
        QString error;
        QVERIFY(print(
            [&](int done, int total) {
                reported << done;
                return total == 40;
            },
            &error));
        QTEST(reported.last(), "lastDone");
        QVERIFY(std::is_sorted(reported.begin(), reported.end()));
        // Stopped half-way: no half document is left behind, and no error to show.
        QVERIFY(!print([](int done, int) { return done < 20; }, &error));
        QVERIFY(error.isEmpty());
        QVERIFY(!QFile::exists(pdf + ".part"));
    }

    void earlierFileStaysUntilTheNewOneIsWhole_data() {
        QTest::addColumn<bool>("cards");
        QTest::addColumn<int>("stopAt");
        QTest::addColumn<int>("pages"); // of the new file; none when the run was stopped
        QTest::newRow("phone list cancelled") << false << 10 << 0;
        QTest::newRow("phone list printed") << false << 99 << 2;
        QTest::newRow("cards cancelled") << true << 2 << 0;
        QTest::newRow("cards printed") << true << 99 << 10;
    }
    void earlierFileStaysUntilTheNewOneIsWhole() {
        QFETCH(bool, cards);
        QFETCH(int, stopAt);
        QFETCH(int, pages);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("list.pdf");
        const auto held = [&pdf] {
            QFile file(pdf);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QFile earlier(pdf);
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier run") > 0);
        earlier.close();
        bool heldWhilePrinting = true;
        const PrintProgress progress = [&](int done, int) {
            heldWhilePrinting = heldWhilePrinting && held() == "earlier run";
            return done < stopAt;
        };
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        QString error;
        const bool printed = cards ? PrintCustomerCards(printer, Customers(20),
                                                        {{}, {}, dir.path(), {}}, &error, progress)
                                   : PrintPhoneBook(printer, Customers(20), &error, progress);
        QCOMPARE(printed, pages > 0);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(heldWhilePrinting);
        if (printed)
            QCOMPARE(PdfPageCount(pdf), pages);
        else
            QCOMPARE(held(), QByteArray("earlier run"));
        QCOMPARE(printer.outputFileName(), pdf);
        QVERIFY(!QFile::exists(pdf + ".part"));
    }

    void widePictureTakesTheBoxWidth() {
        QTemporaryDir dir;
        QImage picture(300, 100, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QVERIFY(picture.save(dir.filePath("wide.png")));
        std::vector<CustomerRecord> customers = Customers(1);
        customers[0].img1 = "wide.png";
        const QString pdf = dir.filePath("card.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        QString error;
        QVERIFY(
            PrintCustomerCards(printer, customers, {{}, {}, dir.path() + "/", QDate()}, &error));
        const std::optional<QImage> page = RenderPdfPage(pdf, 1, Dpi);
        if (!page)
            QSKIP("pdftoppm is not installed");
        // The box runs from 0.8 + 4.7 + 0.2 to 0.8 + 6.4 inches: 38.1 mm wide, so 12.7 mm high.
        const double height = LongestInkRun(*page, {165, 20}, {0, 0.1}, 1000);
        QVERIFY2(std::abs(height - 12.7) < 1, qPrintable(QString::number(height)));
        // Between the frame's top line and the company table, right of the personal table, only
        // the picture is inked.
        double width = 0;
        for (double y = 25; y < 70; y += 0.5)
            width = std::max(width, LongestInkRun(*page, {141, y}, {0.1, 0}, 490));
        QVERIFY2(std::abs(width - 38.1) < 1, qPrintable(QString::number(width)));
    }
};

QTEST_MAIN(TestListPrints)
#include "tst_listprints.moc"
