#include "../common/TestEnv.h"

#include "store/BookChanges.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/PostgresEngine.h"

#include <QSignalSpy>
#include <QTest>

// Two PCs on one book, each hearing of the other's stored changes.
class TestBookChanges : public QObject {
    Q_OBJECT

private slots:
    void anotherPcsChangeIsHeardWithinTwoSeconds_data() {
        QTest::addColumn<QString>("change");
        for (const char *change : {"save", "mark", "add", "delete", "own save"})
            QTest::newRow(change) << change;
    }
    void anotherPcsChangeIsHeardWithinTwoSeconds() {
        QFETCH(QString, change);
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        BookChanges heard1(env.db(), "PC1");
        BookChanges heard2(pc2, "PC2");
        QSignalSpy changed(&heard1, &BookChanges::Changed);
        Query query2(pc2);
        Query query1(env.db());
        Query &by = change == "own save" ? query1 : query2;
        CustomerRecord row = *LoadCustomerRecord(by, id);
        if (change == "save" || change == "own save") {
            row.name = "青木一郎";
            QCOMPARE(SaveCustomerRecord(by, row), SaveOutcome::Saved);
        } else if (change == "mark") {
            QVERIFY(SetPrintMark(by, id, true));
        } else if (change == "add") {
            InsertCustomer(by, "馬場", "ﾊﾞﾊﾞ");
        } else {
            QVERIFY(DeleteCustomerRow(by, id));
        }
        // The local book has no one to tell; a PC is not told its own changes.
        const bool heard = env.onServer() && change != "own save";
        QCOMPARE(changed.wait(heard ? 2000 : 700), heard);
        if (env.onServer())
            QCOMPARE(env.db().GetEngine().OtherPcs(), QStringList{"PC2"});
    }

    // The window asks before it reconnects, so a server that is gone costs no frozen window.
    void whetherTheServerAnswersIsAskedWithoutLoggingIn() {
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        QUrl server(TestServerUri());
        server.setUserName("nobody");
        QVERIFY(PostgresEngine::Answers(server.toString()));
        server.setPort(1);
        QVERIFY(!PostgresEngine::Answers(server.toString()));
    }

    void aBrokenConnectionIsToldOnce() {
        TestEnv env;
        if (!env.onServer())
            QSKIP("a local book has no connection to lose");
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        BookChanges heard1(env.db(), "PC1");
        QSignalSpy lost(&heard1, &BookChanges::ConnectionLost);
        Query(pc2, "select pg_terminate_backend(pid) from pg_stat_activity where "
                   "application_name = 'PC1'")
            .Open();
        QVERIFY(lost.wait(2000));
        QTest::qWait(1200);
        QCOMPARE(lost.size(), 1);
        QVERIFY(!env.db().GetEngine().IsConnected());
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestBookChanges)
#include "tst_bookchanges.moc"
