#include "../common/TestEnv.h"

#include "core/TextFile.h"
#include "store/CustomerColumns.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestSchemaUpgrade : public QObject {
    Q_OBJECT

    static QStringList Columns(Database &database) {
        Query query(database, "select * from Usertbl");
        query.Open();
        return query.FieldNames();
    }

private slots:
    void upgradesAnOlderTable() {
        TestEnv env;
        const QString oldFolder = env.root() + "old/";
        QDir().mkpath(oldFolder);
        Database old;
        old.Open(oldFolder, true);
        Schema::CreateTables(old, false);
        Query insert(old, "insert into Usertbl (Kana, Name) values('ｱ', 'a')");
        insert.Execute();
        QCOMPARE(Columns(old).size(), 35);

        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        QCOMPARE(RunSchemaUpgrade(old, env.dataPath()), QString());
        QCOMPARE(Columns(old), CustomerColumnNames() + QStringList{"RowVersion"});
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
        QCOMPARE(Columns(env.db()).join(',').toLower(),
                 (CustomerColumnNames() + QStringList{"RowVersion"}).join(',').toLower());
        QVERIFY(!QFile::exists(env.dataPath() + "vDb.udb"));
        QVERIFY(env.prompt().calls().empty());
    }

    void aPartlyUpgradedTableIsCompletedWithoutAMarker() {
        TestEnv env;
        const QString folder = env.root() + "partial/";
        QDir().mkpath(folder);
        Database partial;
        partial.Open(folder, true);
        Schema::CreateTables(partial, false);
        Query alter(partial, "ALTER TABLE Usertbl ADD CheckRen1 INTEGER, ADD CheckRen2 INTEGER");
        alter.Execute();
        QCOMPARE(RunSchemaUpgrade(partial, env.dataPath()), QString());
        QCOMPARE(Columns(partial), CustomerColumnNames() + QStringList{"RowVersion"});
    }

    void aFailedUpgradeChangesNothingAndKeepsTheMarker() {
        TestEnv env;
        const QString folder = env.root() + "readonly/";
        QDir().mkpath(folder);
        {
            Database old;
            old.Open(folder, true);
            Schema::CreateTables(old, false);
        }
        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        Database old;
        old.Open(folder);
        Query lock(old, "PRAGMA query_only = 1");
        lock.Execute();
        const QString problem = RunSchemaUpgrade(old, env.dataPath());
        QVERIFY(problem.contains(old.FilePath()));
        QCOMPARE(Columns(old).size(), 35);
        QVERIFY(QFile::exists(env.dataPath() + "vDb.udb"));
    }

    void storedReadingsBecomeHalfWidthKatakanaOnce() {
        TestEnv env;
        const int id = env.AddCustomer("後藤", "ごとう はじめ");
        env.Run(QString("update Usertbl set OfficeKana = 'カブシキガイシャ' where UserId = %1")
                    .arg(id));
        env.Run("PRAGMA user_version = 0");
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
        env.Run("PRAGMA user_version = 1");
        QCOMPARE(RunSchemaUpgrade(env.db(), env.dataPath()), QString());
        QCOMPARE(env.Scalar("select Class || '/' || Class2 || '/' || Print from Usertbl"),
                 QString("0/0/0"));
        QCOMPARE(env.Scalar("PRAGMA user_version"), QString("2"));
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
