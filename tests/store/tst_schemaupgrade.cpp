#include "../common/TestEnv.h"

#include "core/TextFile.h"
#include "store/CustomerColumns.h"
#include "store/Schema.h"
#include "store/SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QtTest>

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
        RunSchemaUpgrade(old, env.dataPath());
        QCOMPARE(Columns(old), CustomerColumnNames());
        QVERIFY(!QFile::exists(env.dataPath() + "vDb.udb"));
        Query row(old, "select * from Usertbl");
        row.Open();
        QVERIFY(row.IsNull("Renmei1"));
        QCOMPARE(row.AsInteger("CheckRen4"), 0);
    }

    void alreadyUpgradedTableStaysAndMarkerGoes() {
        TestEnv env;
        QVERIFY(TextFile::WriteLines(env.dataPath() + "vDb.udb", {"1.04"}));
        RunSchemaUpgrade(env.db(), env.dataPath());
        QCOMPARE(Columns(env.db()), CustomerColumnNames());
        QVERIFY(!QFile::exists(env.dataPath() + "vDb.udb"));
        QVERIFY(env.prompt().calls().empty());
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

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
