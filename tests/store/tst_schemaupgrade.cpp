#include "../common/TestEnv.h"

#include "core/TextFile.h"
#include "store/CustomerColumns.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"

#include <QFile>
#include <QTest>

class TestSchemaUpgrade : public QObject {
    Q_OBJECT

    // In lower case, as the server spells them.
    static QStringList Columns(Database &database) {
        Query query(database, "select * from Usertbl");
        query.Open();
        return query.FieldNames().join(',').toLower().split(',');
    }
    static QStringList AllColumns() {
        return (CustomerColumnNames() + QStringList{"RowVersion"}).join(',').toLower().split(',');
    }

    // The test's book as an older version delivered it.
    static Database &OlderBook(TestEnv &env) {
        Query drop(env.db());
        for (const char *table :
             {"usertbl", "historytbl", "classtbl", "classtbl2", "greetingtbl", "distincttbl"})
            drop.Execute(QString("DROP TABLE %1").arg(table));
        Schema::CreateTables(env.db(), false);
        return env.db();
    }

private slots:
    void upgradesAnOlderTable() {
        TestEnv env;
        Database &old = OlderBook(env);
        Query insert(old, "insert into Usertbl (Kana, Name) values('ｱ', 'a')");
        insert.Execute();
        QCOMPARE(Columns(old).size(), 35);

        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        QCOMPARE(RunSchemaUpgrade(old, env.dataPath()), QString());
        QCOMPARE(Columns(old), AllColumns());
        QVERIFY(!QFile::exists(env.dataPath() + "vDb.udb"));
        Query row(old, "select * from Usertbl");
        row.Open();
        QVERIFY(row.IsNull("Renmei1"));
        QCOMPARE(row.AsInteger("CheckRen4"), 0);
        QCOMPARE(row.AsString("RowVersion"), QString("0"));
        for (const QString &table : Schema::TableNames())
            QVERIFY2(old.GetEngine().HasColumn(table, "RowVersion"), qPrintable(table));

        // The greeting record arrives empty and keeps one row per customer, season and kind.
        QVERIFY(old.GetEngine().HasTable("greetingtbl"));
        Query greeting(old, "insert into greetingtbl (UserId, Season, Kind) values(1, 2027, 1)");
        QCOMPARE(greeting.Execute(), 1);
        QVERIFY_THROWS_EXCEPTION(EngineError, greeting.Execute());
    }

    void alreadyUpgradedTableStaysAndMarkerGoes() {
        TestEnv env;
        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        RunSchemaUpgrade(env.db(), env.dataPath());
        QCOMPARE(Columns(env.db()), AllColumns());
        QVERIFY(!QFile::exists(env.dataPath() + "vDb.udb"));
        QVERIFY(env.prompt().calls().empty());
    }

    void aPartlyUpgradedTableIsCompletedWithoutAMarker() {
        TestEnv env;
        Database &partial = OlderBook(env);
        Query alter(partial, "ALTER TABLE Usertbl ADD CheckRen1 INTEGER, ADD CheckRen2 INTEGER");
        alter.Execute();
        QCOMPARE(RunSchemaUpgrade(partial, env.dataPath()), QString());
        QCOMPARE(Columns(partial), AllColumns());
    }

    void aFailedUpgradeChangesNothingAndKeepsTheMarker() {
        TestEnv env;
        Database &old = OlderBook(env);
        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        Query lock(old, env.onServer() ? "SET default_transaction_read_only = on"
                                       : "PRAGMA query_only = 1");
        lock.Execute();
        const QString problem = RunSchemaUpgrade(old, env.dataPath());
        QVERIFY2(problem.contains(old.Location()), qPrintable(problem));
        QCOMPARE(Columns(old).size(), 35);
        QVERIFY(QFile::exists(env.dataPath() + "vDb.udb"));
    }

    void storedReadingsBecomeHalfWidthKatakanaOnce() {
        TestEnv env;
        const int id = env.AddCustomer("後藤", "ごとう はじめ");
        env.Run(QString("update Usertbl set OfficeKana = 'カブシキガイシャ' where UserId = %1")
                    .arg(id));
        env.db().GetEngine().SetUserVersion(0);
        QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        QCOMPARE(env.Scalar("select Kana || '/' || OfficeKana from Usertbl"),
                 QString("ｺﾞﾄｳ ﾊｼﾞﾒ/ｶﾌﾞｼｷｶﾞｲｼｬ"));
        env.Run(QString("update Usertbl set Kana = 'あ' where UserId = %1").arg(id));
        QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        QCOMPARE(env.Scalar("select Kana from Usertbl"), QString("あ"));
    }

    void unsetClassesAndPrintFlagBecomeZeroOnce() {
        TestEnv env;
        const int id = env.AddCustomer("後藤", "ｺﾞﾄｳ");
        env.Run(QString("update Usertbl set Class = NULL, Class2 = NULL, Print = NULL where "
                        "UserId = %1")
                    .arg(id));
        env.db().GetEngine().SetUserVersion(1);
        QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        QCOMPARE(env.Scalar("select Class || '/' || Class2 || '/' || Print from Usertbl"),
                 QString("0/0/0"));
        QVERIFY(env.db().GetEngine().UserVersion() >= 2);
    }

    void otherVersionsAreLeftAlone_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("older") << QStringList{"1.03"};
        QTest::newRow("blank first line") << QStringList{"", "1.04"};
        QTest::newRow("with trailing text") << QStringList{"1.04 "};
    }
    void otherVersionsAreLeftAlone() {
        QFETCH(QStringList, lines);
        TestEnv env;
        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", lines));
        RunSchemaUpgrade(env.db(), env.dataPath());
        QVERIFY(QFile::exists(env.dataPath() + "vDb.udb"));
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
