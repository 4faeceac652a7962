// "印刷" of the wired address print window: the marked customers printed, a printer that
// cannot start reported, and the check before printing between the two.

#include "../common/TestContext.h"
#include "../common/TestEnv.h"
#include "../print/PdfPages.h"
#include "print/PrintRun.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/PrintAddressSetup.h"

#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

namespace {

// Answers the check window, when it opens, with the button `objectName`; the lines it listed go
// into *shown.
void AnswerCheckWindow(TPrintAddress &window, const QString &objectName, QStringList *shown) {
    QTimer::singleShot(0, &window, [&window, objectName, shown] {
        auto *check = window.findChild<QDialog *>(QStringLiteral("FormPrintCheck"));
        if (!check || !check->isVisible())
            return;
        auto *list = check->findChild<QListWidget *>(QStringLiteral("ListProblems"));
        for (int i = 0; i < list->count(); ++i)
            *shown << list->item(i)->text();
        check->findChild<QPushButton *>(objectName)->click();
    });
}

void GiveAddress(TestEnv &env, int id) {
    env.Run(QStringLiteral("update Usertbl set Zip = '263-0023', Address1 = "
                           "'千葉県千葉市稲毛区緑町3丁目30-8' where UserId = %1")
                .arg(id));
}

} // namespace

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
        TestContext context(env);
        context.listed = {
            env.AddCustomer(QStringLiteral("青木 一郎"), QStringLiteral("ｱｵｷ"), true),
            env.AddCustomer(QStringLiteral("伊藤 二郎"), QStringLiteral("ｲﾄｳ"), false),
            env.AddCustomer(QStringLiteral("上田 三郎"), QStringLiteral("ｳｴﾀﾞ"), true)};
        TFPrintSenderCfg senderCfg(env.dataPath());
        auto window = MakePrintAddressWindow(context, senderCfg);
        window->FormShow();
        const QString path = folder.filePath(printerStarts ? QStringLiteral("window.pdf")
                                                           : QStringLiteral("missing/window.pdf"));
        SetUpPdf(window->Printer(), path);
        QStringList shown;
        AnswerCheckWindow(*window, QStringLiteral("ButtonPrintAnyway"), &shown);
        window->ButtonPrintClick();
        if (printerStarts) {
            QCOMPARE(PdfPageCount(path), 2);
            QCOMPARE(env.prompt().Texts(QStringLiteral("error")), QStringList());
        } else {
            QCOMPARE(env.prompt().Texts(QStringLiteral("error")), QStringList{kPrintStartFailed});
        }
    }

    // Problems listed by customer name; "戻る" prints nothing, and without a problem no window.
    void checkBeforePrinting_data() {
        QTest::addColumn<bool>("addresses");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("expectedLines");
        QTest::addColumn<bool>("printed");
        const QStringList lines = {QStringLiteral("青木 一郎: 郵便番号がありません"),
                                   QStringLiteral("青木 一郎: 住所がありません"),
                                   QStringLiteral("上田 三郎: 郵便番号がありません"),
                                   QStringLiteral("上田 三郎: 住所がありません")};
        QTest::newRow("print anyway") << false << "ButtonPrintAnyway" << lines << true;
        QTest::newRow("back") << false << "ButtonBack" << lines << false;
        QTest::newRow("no problem") << true << "ButtonBack" << QStringList() << true;
    }
    void checkBeforePrinting() {
        QFETCH(bool, addresses);
        QFETCH(QString, button);
        QFETCH(QStringList, expectedLines);
        QFETCH(bool, printed);
        TestEnv env;
        TestContext context(env);
        context.listed = {
            env.AddCustomer(QStringLiteral("青木 一郎"), QStringLiteral("ｱｵｷ"), true),
            env.AddCustomer(QStringLiteral("上田 三郎"), QStringLiteral("ｳｴﾀﾞ"), true)};
        if (addresses)
            for (const int id : context.listed)
                GiveAddress(env, id);
        TFPrintSenderCfg senderCfg(env.dataPath());
        auto window = MakePrintAddressWindow(context, senderCfg);
        window->FormShow();
        const QString path = folder.filePath(QStringLiteral("checked.pdf"));
        QFile::remove(path);
        SetUpPdf(window->Printer(), path);
        QStringList shown;
        AnswerCheckWindow(*window, button, &shown);
        window->ButtonPrintClick();
        QCOMPARE(shown, expectedLines);
        QCOMPARE(QFile::exists(path), printed);
        QCOMPARE(env.prompt().Texts(QStringLiteral("printer")).size(), printed ? 1 : 0);
    }

    // On 年賀はがき the check names the customer in mourning, and a finished run is handed on.
    void greetingHooksSeeTheNewYearRun() {
        TestEnv env;
        TestContext context(env);
        context.listed = {
            env.AddCustomer(QStringLiteral("青木 一郎"), QStringLiteral("ｱｵｷ"), true),
            env.AddCustomer(QStringLiteral("上田 三郎"), QStringLiteral("ｳｴﾀﾞ"), true)};
        for (const int id : context.listed)
            GiveAddress(env, id);
        GreetingHooks hooks;
        int askedKind = -1;
        hooks.mournersFor = [&](int paperKind) {
            askedKind = paperKind;
            return QSet<int>{context.listed.back()};
        };
        std::optional<PrintRunRequest> printed;
        hooks.afterPrinted = [&printed](const PrintRunRequest &request) { printed = request; };
        TFPrintSenderCfg senderCfg(env.dataPath());
        auto window = MakePrintAddressWindow(context, senderCfg, hooks);
        window->FormShow();
        SetUpPdf(window->Printer(), folder.filePath(QStringLiteral("newyear.pdf")));
        QStringList shown;
        AnswerCheckWindow(*window, QStringLiteral("ButtonPrintAnyway"), &shown);
        window->ButtonPrintClick();
        QCOMPARE(askedKind, kNewYearCardKind);
        QCOMPARE(shown, QStringList{QStringLiteral("上田 三郎: ") + kMourningProblem});
        QVERIFY(printed && printed->PaperKind == kNewYearCardKind && printed->Rows.size() == 2);
    }

private:
    QTemporaryDir folder;
};

QTEST_MAIN(TestPrintAddressRun)
#include "tst_printaddressrun.moc"
