#include "../common/TestContext.h"

#include "admin/DataInitialisation.h"
#include "store/BookChanges.h"

#include <QTest>

// Initialising a book another PC has open would pull the customers from under it.
class TestOfficeBook : public QObject {
    Q_OBJECT

private slots:
    void initialisingRefusesWhileAnotherPcHasTheBookOpen() {
        TestEnv env;
        TestContext context(env);
        env.AddCustomer("青木", "ｱｵｷ");
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        BookChanges joined(pc2, "受付のPC");
        // Answer "no" to the first warning: a local book gets that far.
        env.prompt().PushAnswer(Prompt::Answer::No);
        QVERIFY(!IBtnFormatClick(context));
        if (env.onServer())
            QCOMPARE(
                env.prompt().Texts("message"),
                QStringList{"ほかのパソコンがこの顧客データを開いています。\r\n受付のPC\r\n\r\n"
                            "初期化の前に、ほかのすべてのパソコンでプログラムを終了して"
                            "下さい。"});
        QCOMPARE(env.prompt().Texts("confirm").size(), env.onServer() ? 0 : 1);
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
        pc2.Close();
        QTRY_VERIFY_WITH_TIMEOUT(NoOtherPcConnected(context, "初期化"), 2000);
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestOfficeBook)
#include "tst_officebook.moc"
