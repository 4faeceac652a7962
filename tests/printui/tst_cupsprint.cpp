// The print window's real path to a printer: a CUPS queue of its own (cupsd on a private socket,
// the cups-pdf backend) gets the job from Qt's native print engine, and the page that comes out
// is measured against the one Qt's PDF writer makes of the same run.
#include "../common/TestContext.h"
#include "../common/TestEnv.h"
#include "../print/PdfPages.h"

#include "core/IniFile.h"
#include "print/PrintAdjust.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/PrintAddressSetup.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString Queue = QStringLiteral("pellor3test");
constexpr double Dpi = 150;
constexpr double DotsPerMm = Dpi / 25.4;

bool Inked(const QImage &image, int x, int y) {
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
           qGray(image.pixel(x, y)) < 128;
}

QRect InkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Inked(image, x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

// The share of `printed`'s ink that `expected`, moved by `shift` dots, has within a dot.
double Matching(const QImage &printed, const QImage &expected, QPoint shift) {
    int ink = 0;
    int matched = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x) {
            if (!Inked(printed, x, y))
                continue;
            ++ink;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = Inked(expected, x - shift.x() + dx, y - shift.y() + dy);
            matched += near;
        }
    return ink == 0 ? 0 : double(matched) / ink;
}

} // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT
    QTemporaryDir cups;
    QProcess cupsd;
    QString missing;
    QDir output;

    bool Run(const QString &program, const QStringList &arguments) {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(30'000) && process.exitCode() == 0;
    }

    QString StartCups() {
        const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
        if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd")) || !QFile::exists(ppd))
            return QStringLiteral("cupsd or the cups-pdf driver is not installed");
        // cupsd runs the cups-pdf backend only as root.
        if (geteuid() != 0)
            return QStringLiteral("the cups-pdf backend needs cupsd running as root");
        const QString root = cups.path();
        for (const char *folder : {"spool", "cache", "state", "log", "ppd"})
            QDir(root).mkpath(folder);
        QFile conf(root + "/cupsd.conf");
        QFile files(root + "/cups-files.conf");
        if (!conf.open(QIODevice::WriteOnly) || !files.open(QIODevice::WriteOnly))
            return QStringLiteral("cannot write the CUPS configuration");
        conf.write(QStringLiteral("Listen %1/cups.sock\nWebInterface No\n"
                                  "<Location />\nOrder allow,deny\nAllow all\n</Location>\n")
                       .arg(root)
                       .toUtf8());
        files.write(QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                   "StateDir %1/state\nTempDir %1/spool\n"
                                   "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n")
                        .arg(root)
                        .toUtf8());
        conf.close();
        files.close();
        // Set before anything asks CUPS for printers: libcups keeps the first server it finds.
        qputenv("CUPS_SERVER", (root + "/cups.sock").toUtf8());
        cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                    {"-f", "-c", root + "/cupsd.conf", "-s", root + "/cups-files.conf"});
        if (!cupsd.waitForStarted(5'000))
            return QStringLiteral("cupsd cannot start");
        for (int attempt = 0; attempt < 50 && !QFile::exists(root + "/cups.sock"); ++attempt)
            QTest::qWait(100);
        if (!Run("lpadmin", {"-p", Queue, "-E", "-v", "cups-pdf:/", "-P", ppd}))
            return QStringLiteral("lpadmin cannot add the cups-pdf queue");
        // cups-pdf writes into PDF/ of the home of the job's owner.
        output = QDir(QString::fromLocal8Bit(getpwuid(geteuid())->pw_dir) + "/PDF");
        return {};
    }

    // The file cups-pdf wrote for the job, once it stops growing.
    QString AwaitPrinted(const QStringList &before) {
        for (int attempt = 0; attempt < 300; ++attempt) {
            QTest::qWait(100);
            const QStringList now = output.entryList({"*.pdf"}, QDir::Files);
            for (const QString &name : now)
                if (!before.contains(name)) {
                    const QString path = output.filePath(name);
                    const qint64 size = QFileInfo(path).size();
                    QTest::qWait(500);
                    if (size > 0 && QFileInfo(path).size() == size)
                        return path;
                }
        }
        return {};
    }

private slots:
    void initTestCase() { missing = StartCups(); }

    void cleanupTestCase() {
        cupsd.terminate();
        cupsd.waitForFinished(10'000);
    }

    // A run and its printer adjustment, through the queue, against the same run written by the
    // PDF writer: the paper's page, the same ink, moved by the adjustment.
    void printedThroughTheQueue_data() {
        QTest::addColumn<bool>("labels");
        QTest::addColumn<QSizeF>("pageMm");
        QTest::newRow("postcard") << false << QSizeF(100, 148);
        QTest::newRow("label sheet") << true << QSizeF(210, 297);
    }
    void printedThroughTheQueue() {
        QFETCH(bool, labels);
        QFETCH(QSizeF, pageMm);
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        TestEnv env;
        TestContext context(env);
        const int id = env.AddCustomer(QStringLiteral("青木 一郎"), QStringLiteral("ｱｵｷ"), true);
        env.Run(QStringLiteral("update Usertbl set Zip = '263-0023', Address1 = "
                               "'千葉県千葉市稲毛区緑町3丁目30-8' where UserId = %1")
                    .arg(id));
        context.listed = {id};
        const QPoint adjustTenths(30, 20);
        {
            IniFile ini(SenderConfPath(env.dataPath()));
            ini.Load();
            PrintSettings settings = ReadPrintSettings(ini);
            settings.Offsets.Set(Queue, OffsetIndex(labels, settings.PostcardIndex), adjustTenths);
            WritePrintSettings(ini, settings);
            QVERIFY(ini.Save());
        }
        TFPrintSenderCfg senderCfg(env.dataPath());
        auto window = MakePrintAddressWindow(context, senderCfg);
        window->FormShow();
        if (labels) {
            window->findChild<QTabWidget *>("PCPrintType")->setCurrentIndex(1);
            window->findChild<QTableWidget *>("ListViewPaper")->selectRow(0);
        }

        QTemporaryDir folder;
        const QString written = folder.filePath("written.pdf");
        SetUpPdf(window->Printer(), written);
        window->ButtonPrintClick();
        QVERIFY2(PdfPageCount(written) == 1, qPrintable(env.prompt().Texts().join(" / ")));

        QVERIFY(QPrinterInfo::availablePrinterNames().contains(Queue));
        window->Printer().setOutputFileName({});
        window->Printer().setOutputFormat(QPrinter::NativeFormat);
        window->Printer().setPrinterName(Queue);
        QCOMPARE(window->Printer().outputFormat(), QPrinter::NativeFormat);
        const QStringList before = output.entryList({"*.pdf"}, QDir::Files);
        window->ButtonPrintClick();
        const QString printed = AwaitPrinted(before);
        QVERIFY2(!printed.isEmpty(), "the queue wrote no file");
        const auto removePrinted = qScopeGuard([&printed] { QFile::remove(printed); });

        const std::optional<QImage> expected = RenderPdfPage(written, 1, Dpi);
        const std::optional<QImage> out = RenderPdfPage(printed, 1, Dpi);
        QVERIFY(expected && out);
        const QSizeF outMm = QSizeF(out->size()) / DotsPerMm;
        QVERIFY2(qAbs(outMm.width() - pageMm.width()) < 1 &&
                     qAbs(outMm.height() - pageMm.height()) < 1,
                 qPrintable(QStringLiteral("%1 x %2 mm").arg(outMm.width()).arg(outMm.height())));
        const QPoint shift = (QPointF(adjustTenths) / 10 * DotsPerMm).toPoint();
        const QRect expectedInk = InkBox(*expected).translated(shift);
        const QRect outInk = InkBox(*out);
        QVERIFY2((outInk.topLeft() - expectedInk.topLeft()).manhattanLength() <= 3,
                 qPrintable(QStringLiteral("ink at %1,%2 dots, expected %3,%4")
                                .arg(outInk.left())
                                .arg(outInk.top())
                                .arg(expectedInk.left())
                                .arg(expectedInk.top())));
        // The barcode, the digits and the text: every mark where the PDF writer put it.
        const double share = Matching(*out, *expected, shift);
        QVERIFY2(share > 0.97, qPrintable(QString::number(share)));
    }
};

QTEST_MAIN(TestCupsPrint)
#include "tst_cupsprint.moc"
