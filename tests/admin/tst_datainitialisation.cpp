#include "../common/TestContext.h"

#include "admin/DataInitialisation.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestDataInitialisation : public QObject {
    Q_OBJECT
private slots:
    void resetsOnlyAfterTwoYes_data() {
        QTest::addColumn<QList<Prompt::Answer>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("reset");
        using A = Prompt::Answer;
        QTest::newRow("yes, yes, backup") << QList<A>{A::Yes, A::Yes} << 3 << true;
        QTest::newRow("yes, no") << QList<A>{A::Yes, A::No} << 2 << false;
        QTest::newRow("no") << QList<A>{A::No} << 1 << false;
    }
    void resetsOnlyAfterTwoYes() {
        QFETCH(QList<Prompt::Answer>, answers);
        QFETCH(bool, reset);
        TestEnv env;
        TestContext context(env);
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        env.Run(QString("insert into Historytbl (UserId, MakeDay, Title) values(%1, "
                        "'2024/05/15', 'x')")
                    .arg(id));
        env.Run("Update Classtbl2 set Name='得意先' where ClassId = 11");
        const QString img = env.dbPath() + "img/";
        for (const char *name : {"a.jpg", "locked.jpg"}) {
            QFile file(img + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFile::setPermissions(img + "locked.jpg", QFile::ReadOwner);
        for (Prompt::Answer answer : answers)
            env.prompt().PushAnswer(answer);

        QCOMPARE(IBtnFormatClick(context), reset);

        QTEST(int(env.prompt().Texts("confirm").size()), "questions");
        for (const auto &call : env.prompt().calls())
            if (call.kind == "confirm")
                QCOMPARE(call.title, QString("警告"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), reset ? "0" : "1");
        QCOMPARE(env.Scalar("select count(*) from Historytbl"), reset ? "0" : "1");
        QCOMPARE(env.Scalar("select Name from Classtbl2 where ClassId = 11"),
                 reset ? "項目12" : "得意先");
        QCOMPARE(QDir(img).entryList(QDir::Files),
                 reset ? QStringList({"locked.jpg"}) : QStringList({"a.jpg", "locked.jpg"}));
    }

    void enterOnEveryQuestionChangesNothing() {
        TestEnv env;
        TestContext context(env);
        env.AddCustomer("青木", "ｱｵｷ");
        env.prompt().PushEnter();
        QVERIFY(!IBtnFormatClick(context));
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
    }
};

QTEST_MAIN(TestDataInitialisation)
#include "tst_datainitialisation.moc"
