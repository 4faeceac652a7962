// The print run: pages per card and per label sheet, where faces land on the paper (from the
// chosen first label, moved by the printer adjustment), a printer that cannot start, and
// cancelling.

#include "../common/TestEnv.h"
#include "PdfPages.h"
#include "core/IniFile.h"
#include "print/LabelGrid.h"
#include "print/PaperPicture.h"
#include "print/PrintAdjust.h"
#include "print/PrintRun.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"

#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(SheetGeometry)

namespace {

constexpr double kRenderDpi = 25.4 * 4; // 4 pixels per millimetre

PrintRunRequest Request(int rows, const std::optional<SheetGeometry> &sheet) {
    PrintRunRequest request;
    for (int i = 0; i < rows; ++i) {
        PrintRow row;
        row.Marked = true;
        row.Customer.userId = i + 1;
        request.Rows << row;
    }
    request.Sheet = sheet;
    request.Face.PaperMm = sheet ? sheet->LabelMm : QSizeF(100, 148);
    return request;
}

SheetGeometry Sheet(int columns, int rows, QSizeF labelMm, double top, double left,
                    double bottom = 10, double right = 10) {
    SheetGeometry sheet;
    sheet.SheetMm = QSizeF(210, 297);
    sheet.LabelMm = labelMm;
    sheet.TopMargin = top;
    sheet.LeftMargin = left;
    sheet.BottomMargin = bottom;
    sheet.RightMargin = right;
    sheet.Columns = columns;
    sheet.Rows = rows;
    return sheet;
}

// Fills the face black and remembers the rows drawn.
struct BlackFaces {
    QList<int> drawn;
    FaceDrawer Drawer() {
        return [this](QPainter &painter, const FaceSettings &face, int dpiX, int dpiY, int,
                      const PrintRow &row) {
            painter.fillRect(QRectF(0, 0, face.PaperMm.width() * dpiX / 25.4,
                                    face.PaperMm.height() * dpiY / 25.4),
                             Qt::black);
            drawn << row.UserId();
        };
    }
};

bool IsInk(const QImage &image, double xMm, double yMm) {
    return qGray(image.pixel(qRound(xMm * 4), qRound(yMm * 4))) < 128;
}

} // namespace

class TestPrintRun : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder.isValid()); }

    void pagesPerRun_data() {
        QTest::addColumn<int>("faces");
        QTest::addColumn<std::optional<SheetGeometry>>("sheet");
        QTest::addColumn<int>("pages");
        const SheetGeometry tenLabels = Sheet(2, 5, {86.4, 50.8}, 21.2, 18.6, 21.8, 18.6);
        QTest::newRow("ten labels on a ten-label sheet") << 10 << std::optional(tenLabels) << 1;
        QTest::newRow("eleven labels") << 11 << std::optional(tenLabels) << 2;
        QTest::newRow("three cards") << 3 << std::optional<SheetGeometry>() << 3;
    }
    void pagesPerRun() {
        QFETCH(int, faces);
        QFETCH(std::optional<SheetGeometry>, sheet);
        QFETCH(int, pages);
        const QString path = folder.filePath(QStringLiteral("run.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path);
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, Request(faces, sheet), black.Drawer(), {}, &error),
                 PrintRunResult::Printed);
        QCOMPARE(PdfPageCount(path), pages);
        QCOMPARE(black.drawn.size(), faces);
        QCOMPARE(black.drawn.first(), 1);
        QCOMPARE(black.drawn.last(), faces);
    }

    void placesFacesOnThePaper_data() {
        QTest::addColumn<SheetGeometry>("sheet");
        QTest::addColumn<bool>("fullPage");
        QTest::addColumn<QList<QPointF>>("corners"); // mm, one per label, first page
        QTest::newRow("one column: every label at the left margin")
            << Sheet(1, 3, {80, 60}, 20, 25) << true
            << QList<QPointF>{{25, 20}, {25, 123.5}, {25, 227}};
        QTest::newRow("one row: every label at the top margin")
            << Sheet(3, 1, {50, 40}, 30, 10) << true
            << QList<QPointF>{{10, 30}, {80, 30}, {150, 30}};
        QTest::newRow("printer margins are taken off")
            << Sheet(1, 1, {60, 40}, 5, 5) << false << QList<QPointF>{{5, 5}};
    }
    void placesFacesOnThePaper() {
        QFETCH(SheetGeometry, sheet);
        QFETCH(bool, fullPage);
        QFETCH(QList<QPointF>, corners);
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        const QString path = folder.filePath(QStringLiteral("placed.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path, fullPage);
        if (!fullPage)
            printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, Request(int(corners.size()), sheet), black.Drawer(), {}, &error),
                 PrintRunResult::Printed);
        const std::optional<QImage> page = RenderPdfPage(path, 1, kRenderDpi);
        QVERIFY(page);
        const double w = sheet.LabelMm.width(), h = sheet.LabelMm.height();
        for (const QPointF &c : corners) {
            const QString where = QStringLiteral("label at %1, %2").arg(c.x()).arg(c.y());
            QVERIFY2(IsInk(*page, c.x() + 1, c.y() + 1), qPrintable(where));
            QVERIFY2(IsInk(*page, c.x() + w - 1, c.y() + h - 1), qPrintable(where));
            QVERIFY2(!IsInk(*page, c.x() - 1, c.y() + 1), qPrintable(where));
            QVERIFY2(!IsInk(*page, c.x() + 1, c.y() - 1), qPrintable(where));
        }
    }

    // A partly used ten-label sheet: the run starts at label N, fills the sheet and goes on from
    // label 1 of the next; the printer adjustment moves every face.
    void startsAtTheChosenLabel_data() {
        QTest::addColumn<int>("first"); // from 1, as the user counts
        QTest::addColumn<QPointF>("offsetMm");
        QTest::addColumn<QPointF>("cornerMm");
        QTest::addColumn<int>("pages");
        QTest::newRow("label 1") << 1 << QPointF() << QPointF(18.6, 21.2) << 1;
        QTest::newRow("label 4: second row, right") << 4 << QPointF() << QPointF(105, 72) << 1;
        QTest::newRow("label 10, the rest on the next sheet")
            << 10 << QPointF() << QPointF(105, 224.4) << 2;
        QTest::newRow("label 4, moved 1.5 mm right and 0.7 mm up")
            << 4 << QPointF(1.5, -0.7) << QPointF(106.5, 71.3) << 1;
    }
    void startsAtTheChosenLabel() {
        QFETCH(int, first);
        QFETCH(QPointF, offsetMm);
        QFETCH(QPointF, cornerMm);
        QFETCH(int, pages);
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        const QString path = folder.filePath(QStringLiteral("first.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path);
        PrintRunRequest request = Request(3, Sheet(2, 5, {86.4, 50.8}, 21.2, 18.6, 21.8, 18.6));
        request.FirstLabel = first - 1;
        request.OffsetMm = offsetMm;
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, request, black.Drawer(), {}, &error), PrintRunResult::Printed);
        QCOMPARE(PdfPageCount(path), pages);
        // 20 dots a millimetre: the face's top left corner within 0.1 mm.
        const std::optional<QImage> page = RenderPdfPage(path, 1, 25.4 * 20);
        QVERIFY(page);
        QPoint topLeft(-1, -1);
        for (int y = 0; y < page->height() && topLeft.y() < 0; ++y)
            for (int x = 0; x < page->width(); ++x)
                if (qGray(page->pixel(x, y)) < 128) {
                    topLeft = QPoint(x, y);
                    break;
                }
        const QString where =
            QStringLiteral("%1, %2 mm").arg(topLeft.x() / 20.0).arg(topLeft.y() / 20.0);
        QVERIFY2(qAbs(topLeft.x() / 20.0 - cornerMm.x()) <= 0.1, qPrintable(where));
        QVERIFY2(qAbs(topLeft.y() / 20.0 - cornerMm.y()) <= 0.1, qPrintable(where));
    }

    void firstLabelOutsideTheSheetIsRefused() {
        const SheetGeometry sheet = Sheet(2, 5, {86.4, 50.8}, 21.2, 18.6, 21.8, 18.6);
        PrintRunRequest request = Request(1, sheet);
        request.FirstLabel = 10;
        QPrinter printer;
        SetUpPdf(printer, folder.filePath(QStringLiteral("outside.pdf")));
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, request, black.Drawer(), {}, &error), PrintRunResult::Failed);
        QCOMPARE(error, QStringLiteral("開始位置は1から10の間で指定して下さい。"));
        QVERIFY(black.drawn.isEmpty());
    }

    // The test print: the red postal code boxes of a postcard where the card has them, moved
    // by the adjustment.
    void testSheetShowsThePostalBoxes_data() {
        QTest::addColumn<QPointF>("offsetMm");
        QTest::newRow("not moved") << QPointF();
        QTest::newRow("0.8 mm left, 1.2 mm down") << QPointF(-0.8, 1.2);
    }
    void testSheetShowsThePostalBoxes() {
        QFETCH(QPointF, offsetMm);
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        const QString path = folder.filePath(QStringLiteral("test.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path);
        constexpr int kPlainPostcard = 1;
        PrintRunRequest request = Request(0, std::nullopt);
        request.OffsetMm = offsetMm;
        SetPaperOf(printer, request);
        QString error;
        QCOMPARE(PrintTestSheet(printer, request, kPlainPostcard, &error), PrintRunResult::Printed);
        QCOMPARE(PdfPageCount(path), 1);
        const std::optional<QImage> page = RenderPdfPage(path, 1, 25.4 * 20);
        QVERIFY(page);
        const auto red = [&](int x, int y) {
            const QRgb p = page->pixel(x, y);
            return qRed(p) > 160 && qGreen(p) < 100 && qBlue(p) < 100;
        };
        for (const QRectF &box : PostalBoxesMm(kPlainPostcard)) {
            const QRectF moved = box.translated(offsetMm);
            const int midY = qRound(moved.center().y() * 20);
            int left = qRound((moved.left() - 1) * 20);
            while (!red(left, midY) && left < moved.right() * 20)
                ++left;
            const int midX = qRound(moved.center().x() * 20);
            int top = qRound((moved.top() - 1) * 20);
            while (!red(midX, top) && top < moved.bottom() * 20)
                ++top;
            QVERIFY2(qAbs(left / 20.0 - moved.left()) <= 0.15, qPrintable(QString::number(left)));
            QVERIFY2(qAbs(top / 20.0 - moved.top()) <= 0.15, qPrintable(QString::number(top)));
        }
    }

    void printerThatCannotStartPrintsNothing() {
        QPrinter printer;
        SetUpPdf(printer, folder.filePath(QStringLiteral("missing/folder/run.pdf")));
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, Request(2, std::nullopt), black.Drawer(), {}, &error),
                 PrintRunResult::Failed);
        QCOMPARE(error, kPrintStartFailed);
        QVERIFY(black.drawn.isEmpty());
    }

    // A PDF on a full disk: every write fails with ENOSPC, as /dev/full does. The PDF is
    // written beside the named file first.
    void fullDiskIsReportedAndLeavesNoHalfFile() {
        const QString path = folder.filePath(QStringLiteral("full.pdf"));
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), path + QStringLiteral(".part")));
        QPrinter printer;
        SetUpPdf(printer, path);
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, Request(2, std::nullopt), black.Drawer(), {}, &error),
                 PrintRunResult::Failed);
        QCOMPARE(error, kPdfWriteFailed.arg(path));
        QVERIFY(!QFile::exists(path) && !QFileInfo::exists(path + QStringLiteral(".part")));
        QVERIFY(!QFileInfo(path + QStringLiteral(".part")).isSymLink());
    }

    void unprintableSheetIsRefused_data() {
        QTest::addColumn<SheetGeometry>("sheet");
        QTest::addColumn<QString>("message");
        QTest::newRow("no labels") << Sheet(0, 5, {50, 40}, 10, 10) << kBadSheetMessage;
        QTest::newRow("labels beyond A4")
            << Sheet(3, 5, {86.4, 50.8}, 21.2, 18.6) << kSheetTooLargeMessage;
    }
    void unprintableSheetIsRefused() {
        QFETCH(SheetGeometry, sheet);
        QFETCH(QString, message);
        const QString path = folder.filePath(QStringLiteral("none.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path);
        BlackFaces black;
        QString error;
        QCOMPARE(RunPrint(printer, Request(2, sheet), black.Drawer(), {}, &error),
                 PrintRunResult::Failed);
        QCOMPARE(error, message);
        QVERIFY(!QFile::exists(path));
    }

    void earlierFileStaysUntilTheNewOneIsWhole_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::addColumn<int>("result");
        QTest::newRow("cancelled") << 2 << int(PrintRunResult::Cancelled);
        QTest::newRow("printed") << 99 << int(PrintRunResult::Printed);
    }
    void earlierFileStaysUntilTheNewOneIsWhole() {
        QFETCH(int, stopAfter);
        QFETCH(int, result);
        const QString path = folder.filePath(QStringLiteral("again.pdf"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier run");
        earlier.close();
        QPrinter printer;
        SetUpPdf(printer, path);
        BlackFaces black;
        QString error;
        const auto stop = [stopAfter](int done, int) { return done < stopAfter; };
        QCOMPARE(int(RunPrint(printer, Request(5, std::nullopt), black.Drawer(), stop, &error)),
                 result);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        const QByteArray held = earlier.readAll();
        if (result == int(PrintRunResult::Cancelled))
            QCOMPARE(held, QByteArray("earlier run"));
        else
            QCOMPARE(PdfPageCount(path), 5);
        QCOMPARE(printer.outputFileName(), path);
        QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
    }

    void cancellingLeavesNoHalfFile() {
        const QString path = folder.filePath(QStringLiteral("cancelled.pdf"));
        QPrinter printer;
        SetUpPdf(printer, path);
        BlackFaces black;
        QString error;
        const auto stopAfterTwo = [](int done, int) { return done < 2; };
        QCOMPARE(RunPrint(printer, Request(5, std::nullopt), black.Drawer(), stopAfterTwo, &error),
                 PrintRunResult::Cancelled);
        QCOMPARE(black.drawn, (QList<int>{1, 2}));
        QVERIFY(!QFile::exists(path));
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TestPrintRun)
#include "tst_printrun.moc"
