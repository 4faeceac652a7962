// "印刷" of the wired address print window: the marked customers printed, a printer that
// cannot start reported.

#include "../common/TestEnv.h"
#include "../print/PdfPages.h"
#include "PrintUiContext.h"
#include "print/PrintRun.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/PrintAddressSetup.h"

#include <QPrinter>
#include <QtTest>

class TestPrintAddressRun : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(folder.isValid()); }

    void windowPrintsMarkedCustomers_data() {
        QTest::addColumn<bool>("printerStarts");
        QTest::newRow("printed") << true;
        QTest::newRow("printer cannot start") << false;
    }
    void windowPrintsMarkedCustomers() {
        QFETCH(bool, printerStarts);
        TestEnv env;
        PrintUiContext context(env);
        context.Listed << env.AddCustomer(QStringLiteral("青木 一郎"), QStringLiteral("ｱｵｷ"), true)
                       << env.AddCustomer(QStringLiteral("伊藤 二郎"), QStringLiteral("ｲﾄｳ"), false)
                       << env.AddCustomer(QStringLiteral("上田 三郎"), QStringLiteral("ｳｴﾀﾞ"),
                                          true);
        TFPrintSenderCfg senderCfg;
        auto window = MakePrintAddressWindow(context, senderCfg);
        window->FormShow();
        const QString path = folder.filePath(printerStarts ? QStringLiteral("window.pdf")
                                                           : QStringLiteral("missing/window.pdf"));
        SetUpPdf(window->Printer(), path);
        window->ButtonPrintClick();
        if (printerStarts) {
            QCOMPARE(PdfPageCount(path), 2);
            QCOMPARE(env.prompt().Texts(QStringLiteral("error")), QStringList());
        } else {
            QCOMPARE(env.prompt().Texts(QStringLiteral("error")), QStringList{kPrintStartFailed});
        }
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TestPrintAddressRun)
#include "tst_printaddressrun.moc"
