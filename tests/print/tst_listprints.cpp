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
        // Numbers print whole, smaller where the cell needs it; one too long ends in "…".
        std::vector<CustomerRecord> customers = Customers(16);
        customers[0].telNo1 = "03-1234-5678(内線123)";
        customers[0].officeFax = "０３－１２３４－５６７８";
        customers[1].telNo2 = QString(40, u'9');
        Clock::SetFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        QString error;
        QVERIFY2(PrintPhoneBook(printer, customers, &error), qPrintable(error));
        Clock::Reset();
        QCOMPARE(PdfPageCount(pdf), 2);
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed");
        const QString first = PageText(pdf, 1), second = PageText(pdf, 2);
        QVERIFY(first.contains("1/2") && first.contains("顧客15") && !first.contains("顧客16"));
        QVERIFY(second.contains("2/2") && second.contains("顧客16"));
        for (const QString shown : {"電話番号一覧", "印刷日 2026/12/10", "03-1234-5678(内線123)",
                                    "０３－１２３４－５６７８", "99999999999999999999…"})
            QVERIFY2(first.contains(shown), qPrintable(shown));
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

    // On both cards of a page every value keeps 0.2 mm from the rules above and below it.
    void cardTextsKeepOffTheRules() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("cards.pdf");
        QPrinter printer(QPrinter::HighResolution);
        OutputToPdf(printer, pdf);
        std::vector<CustomerRecord> customers = Customers(2);
        for (CustomerRecord &c : customers) {
            c.address1 = QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8");
            c.mail1 = QStringLiteral("yjgpq@example.jp");
            c.officePost = QStringLiteral("鬱");
        }
        QString error;
        QVERIFY(PrintCustomerCards(printer, customers, {{}, {}, {}, QDate()}, &error));
        constexpr double dpi = 400;
        const std::optional<QImage> page = RenderPdfPage(pdf, 1, dpi);
        if (!page)
            QSKIP("pdftoppm is not installed");
        const auto px = [dpi](double mm) { return qRound(mm * dpi / 25.4); };
        const auto inked = [&](int x, int y) { return qGray(page->pixel(x, y)) < 128; };
        const int ruleX = px(1.8 * 25.4 + 0.5); // in every rule, left of every value
        int cellTop = 0, inkTop = -1, inkBottom = -1, cells = 0;
        for (int y = 0; y < page->height(); ++y) {
            if (inked(ruleX, y)) {
                if (inkTop >= 0) {
                    QVERIFY2(inkTop - cellTop >= px(0.2) && y - 1 - inkBottom >= px(0.2),
                             qPrintable(QStringLiteral("%1 mm").arg(y * 25.4 / dpi)));
                    ++cells;
                }
                cellTop = y + 1;
                inkTop = -1;
            }
            for (int x = px(1.85 * 25.4); x < px(5.4 * 25.4) && !inked(ruleX, y); ++x)
                if (inked(x, y)) {
                    inkTop = inkTop < 0 ? y : inkTop;
                    inkBottom = y;
                }
        }
        QCOMPARE(cells, 2 * 6);
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
        customers[2].renmei = {QStringLiteral("山田　花子"), QString(), QStringLiteral("さくら")};
        customers[2].renNameTitle = {QStringLiteral("様"), QString(), QStringLiteral("ちゃん")};
        QString error;
        QVERIFY2(PrintCustomerCards(printer, customers, {{}, {}, {}, QDate()}, &error),
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
        QVERIFY(lastCard.contains(QStringLiteral("山田花子様、さくらちゃん")));
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
            return cards ? PrintCustomerCards(printer, Customers(40), {{}, {}, {}, {}}, error,
                                              progress)
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
        const bool printed =
            cards ? PrintCustomerCards(printer, Customers(20), {{}, {}, {}, {}}, &error, progress)
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
        const auto fromFolder = [&dir](const QString &name) { return QImage(dir.filePath(name)); };
        QVERIFY(PrintCustomerCards(printer, customers, {{}, {}, fromFolder, QDate()}, &error));
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
