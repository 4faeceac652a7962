// Printing the marked customers to a PDF file with the stored choices and no window; the pages
// are also kept as pictures for a look by eye, in the folder named by PELLOR3_SAMPLE_OUT or a
// fixed folder under the temp folder.

#include "../common/TestEnv.h"
#include "PdfPages.h"
#include "PrintTestData.h"
#include "core/IniFile.h"
#include "core/SqlText.h"

#include <QDir>
#include <QTest>

namespace {

constexpr double kSampleDpi = 100;

void StoreChoices(TestEnv &env, const PrintSettings &settings) {
    IniFile ini(SenderConfPath(env.dataPath()));
    ini.Load();
    WritePrintSettings(ini, settings);
    WriteSenderData(ini, SampleSender(), {});
    QVERIFY(ini.Save());
}

// Marked customers, every third at its company, the first with two joint names.
QList<int> AddCustomers(TestEnv &env, int count) {
    QList<int> ids;
    for (int i = 0; i < count; ++i) {
        const int id =
            env.AddCustomer(QStringLiteral("山田　太郎%1").arg(i + 1),
                            QStringLiteral("ﾔﾏﾀﾞ%1").arg(i, 4, 10, QLatin1Char('0')), true);
        env.Run(QStringLiteral("update Usertbl set Zip='263-0023', "
                               "Address1='千葉県千葉市稲毛区緑町3丁目30-8', "
                               "Address2='郵便ビル403号', Office='株式会社ブリスコ商事', "
                               "OfficeZip='110-0016', OfficeAddress1='東京都台東区台東5-6-3', "
                               "OfficeAddress2='ABCビル10F', OfficePost='営業部', "
                               "OfficeExecutive='部長', UseType=%1, PrintCtrl=%2, CheckRen1=%3, "
                               "Renmei1='山田　花子', RenNameTitle1='様', CheckRen2=%3, "
                               "Renmei2='さくら', RenNameTitle2='ちゃん' where UserId=%4")
                    .arg(i % 3 == 2 ? 1 : 0)
                    .arg(i % 3 == 2 ? 1 : 0)
                    .arg(i == 0 ? 1 : 0)
                    .arg(id));
        ids << id;
    }
    return ids;
}

PrintSettings Labels(int maker, int row) {
    PrintSettings s;
    s.Type = 1;
    s.Vertical = false;
    s.PrintCostom = true;
    s.PMaker = maker;
    s.PIndex = row;
    s.Frames = LabelTabFrames(LabelPanelSize({86.4, 50.8}));
    return s;
}

} // namespace

Q_DECLARE_METATYPE(PrintSettings)

class TestHeadlessPrint : public QObject {
    Q_OBJECT

private slots:
    void printsStoredChoices_data() {
        QTest::addColumn<PrintSettings>("settings");
        QTest::addColumn<int>("customers");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSizeF>("pageMm");
        QTest::addColumn<QString>("sample");
        QTest::newRow("vertical postcards with sender and barcode")
            << PostcardSettings(true, true) << 3 << 3 << QSizeF(100, 148)
            << QStringLiteral("postcard_v");
        QTest::newRow("horizontal postcards") << PostcardSettings(false, true) << 3 << 3
                                              << QSizeF(100, 148) << QStringLiteral("postcard_h");
        QTest::newRow("envelope 長形3号") << PostcardSettings(true, true, 5) << 1 << 1
                                          << QSizeF(120, 235) << QStringLiteral("envelope_tyou3");
        QTest::newRow("ten labels on a ten-label sheet")
            << Labels(1, 1) << 10 << 1 << QSizeF(210, 297) << QStringLiteral("labels_10");
    }
    void printsStoredChoices() {
        QFETCH(PrintSettings, settings);
        QFETCH(int, customers);
        QFETCH(int, pages);
        QFETCH(QSizeF, pageMm);
        QFETCH(QString, sample);
        TestEnv env;
        StoreChoices(env, settings);
        const QList<int> ids = AddCustomers(env, customers);
        const QString path = env.root() + QStringLiteral("faces.pdf");
        QString error;
        QCOMPARE(PrintAddressesToPdf(env.db(), env.dataPath(), ids, path, &error), 0);
        QCOMPARE(PdfPageCount(path), pages);
        QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
        QCOMPARE(QFile::permissions(path) & 0x0077, QFileDevice::Permissions{});
        if (!HasPdfToPpm())
            QSKIP("pdftoppm is not installed");
        for (int n = 1; n <= pages; ++n) {
            const QString png =
                sample.isEmpty() ? QString()
                                 : QDir(SampleOutputFolder(QStringLiteral("pellor3-print-samples")))
                                       .filePath(QStringLiteral("%1_p%2.png").arg(sample).arg(n));
            const std::optional<QImage> page = RenderPdfPage(path, n, kSampleDpi, png);
            QVERIFY(page);
            // PDF pages are whole points.
            QVERIFY(qAbs(page->width() - pageMm.width() * kSampleDpi / 25.4) < 2);
            QVERIFY(qAbs(page->height() - pageMm.height() * kSampleDpi / 25.4) < 2);
        }
    }

    void refusesWhatCannotBePrinted_data() {
        QTest::addColumn<PrintSettings>("settings");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing marked")
            << PostcardSettings(true, true) << false << "印刷対象がありません。";
        QTest::newRow("bad label sheet") << Labels(0, 0) << true << "印刷用紙が正しくありません。";
        QTest::newRow("stored sheet not there")
            << Labels(1, 9999) << true << "印刷用紙が選択されていません。";
    }
    void refusesWhatCannotBePrinted() {
        QFETCH(PrintSettings, settings);
        QFETCH(bool, marked);
        QFETCH(QString, message);
        TestEnv env;
        StoreChoices(env, settings);
        NewSheetInput broken{
            {"50", "40", "10", "10", "10", "10", "0", "5"}, QStringLiteral("列なし"), false};
        QCOMPARE(AddOriginalSheet(env.dataPath() + kPaperFileName, broken), AddSheetResult::Added);
        QList<int> ids = AddCustomers(env, 2);
        if (!marked)
            env.Run(QStringLiteral("update Usertbl set Print=0"));
        // A file already there stays as it was.
        const QString path = env.root() + QStringLiteral("faces.pdf");
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("earlier");
        old.close();
        QString error;
        QVERIFY(PrintAddressesToPdf(env.db(), env.dataPath(), ids, path, &error) != 0);
        QCOMPARE(error, message);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("earlier"));
    }

    // A full disk: every write of the file fails with ENOSPC, as /dev/full does.
    void fullDiskFailsAndLeavesNothing() {
        TestEnv env;
        StoreChoices(env, PostcardSettings(true, true));
        const QList<int> ids = AddCustomers(env, 2);
        const QString path = env.root() + QStringLiteral("faces.pdf");
        const QString part = path + QStringLiteral(".part");
        QVERIFY(QFile::link(QStringLiteral("/dev/full"), part));
        QString error;
        QVERIFY(PrintAddressesToPdf(env.db(), env.dataPath(), ids, path, &error) != 0);
        QCOMPARE(error, kPdfWriteFailed.arg(path));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFileInfo(part).isSymLink() && !QFile::exists(part));
    }

    // A first print from a script: the file names only the sheet, so the label's own frames
    // are used, not the postcard's.
    void labelsWithoutStoredFramesTakeTheLabelFrames() {
        TestEnv env;
        IniFile ini(SenderConfPath(env.dataPath()));
        ini.LoadFromText(QStringLiteral("[PRINT_CONF]\r\nTYPE=1\r\nP_MAKER=1\r\nP_INDEX=1\r\n"
                                        "PRINT_COSTOM=1\r\n"));
        QVERIFY(ini.Save());
        const QList<int> ids = AddCustomers(env, 2);
        QStringList problems;
        QString error;
        QCOMPARE(CheckAddressesHeadless(env.db(), env.dataPath(), ids, &problems, &error), 0);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'|')));
    }

    void checkListsTheCustomersWithProblems() {
        TestEnv env;
        StoreChoices(env, PostcardSettings(true, false));
        const QList<int> ids = AddCustomers(env, 2);
        QStringList problems;
        QString error;
        QCOMPARE(CheckAddressesHeadless(env.db(), env.dataPath(), ids, &problems, &error), 0);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'|')));
        env.Run(QStringLiteral("update Usertbl set Zip='' where UserId=%1").arg(ids.first()));
        QCOMPARE(CheckAddressesHeadless(env.db(), env.dataPath(), ids, &problems, &error), 3);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems.first().endsWith(QStringLiteral(": 郵便番号がありません")),
                 qPrintable(problems.first()));
    }
};

QTEST_MAIN(TestHeadlessPrint)
#include "tst_headlessprint.moc"
