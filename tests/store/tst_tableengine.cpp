#include "../common/TestEnv.h"

#include "core/SqlText.h"
#include "store/CustomerColumns.h"
#include "store/Schema.h"
#include "store/SqlDialect.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <sys/mount.h>

class TestTableEngine : public QObject {
    Q_OBJECT
private slots:
    // `onServer` empty: PostgreSQL reads the same as SQLite.
    void translation_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QStringList>("onServer");
        QTest::newRow("date literal")
            << "select * from Usertbl where BirthDay < \"05/15/1994\""
            << QStringList{"select * from Usertbl where BirthDay < '1994-05-15'"} << QStringList{};
        QTest::newRow("quoted NULL in update")
            << "update Usertbl set BirthDay = \"NULL\" where UserId = 1"
            << QStringList{"update Usertbl set BirthDay = NULL where UserId = 1"} << QStringList{};
        QTest::newRow("empty text in condition")
            << "select * from Usertbl where Zip = '' and Name != ''"
            << QStringList{"select * from Usertbl where Zip IS NULL and Name IS NOT NULL"}
            << QStringList{};
        QTest::newRow("empty text in insert")
            << "insert into Usertbl (Kana, Name) values('', 'a')"
            << QStringList{"insert into Usertbl (Kana, Name) values(NULL, 'a')"} << QStringList{};
        QTest::newRow("empty text touching a keyword")
            << "update Classtbl set Name=''where ClassId = 0"
            << QStringList{"update Classtbl set Name=NULL where ClassId = 0"} << QStringList{};
        QTest::newRow("quote inside literal stays")
            << "select * from Usertbl where Name = 'O''Brien \"x\"'"
            << QStringList{"select * from Usertbl where Name = 'O''Brien \"x\"'"} << QStringList{};
        QTest::newRow("extract month")
            << "select * from Usertbl where EXTRACT(MONTH FROM BirthDay) = 5"
            << QStringList{"select * from Usertbl where CAST(strftime('%m', BirthDay) AS "
                           "INTEGER) = 5"}
            << QStringList{"select * from Usertbl where CAST(EXTRACT(MONTH FROM CAST(BirthDay AS "
                           "DATE)) AS INTEGER) = 5"};
        QTest::newRow("alter with several columns")
            << "ALTER TABLE Usertbl ADD CheckRen1 SMALLINT, ADD Renmei1 varchar(100);"
            << QStringList{"ALTER TABLE Usertbl ADD COLUMN CheckRen1 SMALLINT",
                           "ALTER TABLE Usertbl ADD COLUMN Renmei1 varchar(100)"}
            << QStringList{"ALTER TABLE Usertbl ADD COLUMN CheckRen1 INTEGER, ADD COLUMN Renmei1 "
                           "TEXT COLLATE \"C\""};
        QTest::newRow("table definition")
            << "CREATE TABLE h (HistoryId INTEGER PRIMARY KEY AUTOINCREMENT, UserId SMALLINT, "
               "Title VARCHAR(50), Note TEXT)"
            << QStringList{"CREATE TABLE h (HistoryId INTEGER PRIMARY KEY AUTOINCREMENT, UserId "
                           "SMALLINT, Title VARCHAR(50), Note TEXT)"}
            << QStringList{"CREATE TABLE h (HistoryId SERIAL PRIMARY KEY, UserId INTEGER, Title "
                           "TEXT COLLATE \"C\", Note TEXT COLLATE \"C\")"};
        QTest::newRow("like without escape")
            << "select * from Usertbl where Name LIKE '%a\\b%' or Kana NOT LIKE 'ｱ%'"
            << QStringList{"select * from Usertbl where Name LIKE '%a\\b%' or Kana NOT LIKE 'ｱ%'"}
            << QStringList{"select * from Usertbl where Name ILIKE '%a\\b%' ESCAPE '' or Kana NOT "
                           "ILIKE 'ｱ%' ESCAPE ''"};
        QTest::newRow("like with escape")
            << "select * from Usertbl where Name LIKE '%\\%%' ESCAPE '\\'"
            << QStringList{"select * from Usertbl where Name LIKE '%\\%%' ESCAPE '\\'"}
            << QStringList{"select * from Usertbl where Name ILIKE '%\\%%' ESCAPE '\\'"};
    }
    void translation() {
        QFETCH(QString, statement);
        QFETCH(QStringList, expected);
        QFETCH(QStringList, onServer);
        QCOMPARE(TranslateStatement(statement, SqlTarget::Sqlite), expected);
        QCOMPARE(TranslateStatement(statement, SqlTarget::Postgres),
                 onServer.isEmpty() ? expected : onServer);
    }

    void parametersAreNumberedForTheServer() {
        const NumberedStatement numbered = NumberParameters(
            "update Usertbl set Note = :MEMOETC, Name = ?, Kana = ? where Note = ':x' or "
            "Office = :MEMOETC");
        QCOMPARE(numbered.text, QString("update Usertbl set Note = $1, Name = $2, Kana = $3 where "
                                        "Note = ':x' or Office = $1"));
        QCOMPARE(numbered.names, QStringList({":MEMOETC", "?", "?"}));
    }

    void unterminatedLiteralIsRefused() {
        QVERIFY_THROWS_EXCEPTION(
            EngineError, TranslateStatement("select * from a where b = 'x", SqlTarget::Sqlite));
    }

    void freshTablesHaveAllColumnsInOrder() {
        TestEnv env;
        Query query(env.db(), "select * from Usertbl");
        query.Open();
        // The server spells the names it was given unquoted in lower case.
        QCOMPARE(query.FieldNames().join(',').toLower(),
                 (CustomerColumnNames() + QStringList{"RowVersion"}).join(',').toLower());
        QCOMPARE(query.FieldNames().size(), 52);
        QCOMPARE(env.Scalar("select Name from Classtbl2 where ClassId = 11"), QString("項目12"));
    }

    void storesAndFindsValues() {
        TestEnv env;
        const QString name = "O'Brien, \"株\"";
        env.Run(QString("insert into usertbl (Kana, Name, Zip, Print, BirthDay, Class) "
                        "values('ｵﾌﾞﾗｲｴﾝ', %1, '', '1', \"02/29/1996\", 3)")
                    .arg(QuoteSql(name)));
        env.Run(QString("insert into usertbl (Kana, Name, Print) values('ｱ', 'b', '0')"));
        Query query(env.db(), QString("select * from Usertbl where Name = %1").arg(QuoteSql(name)));
        query.Open();
        QVERIFY(!query.AtEnd());
        QCOMPARE(query.AsString("name"), name);
        QCOMPARE(query.AsInteger("PRINT"), 1);
        QCOMPARE(query.AsDate("BirthDay"), QDate(1996, 2, 29));
        QVERIFY(query.IsNull("Zip"));
        QCOMPARE(query.AsString("Zip"), QString());
        QCOMPARE(query.AsInteger("CheckRen1"), 0);
        QCOMPARE(query.AsInteger("UserId"), 1);
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Zip = ''"), QString("2"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl where BirthDay > \"01/01/1990\""),
                 QString("1"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl where EXTRACT(MONTH FROM BirthDay) = 2"),
                 QString("1"));
        QCOMPARE(env.Scalar("select Kana from Usertbl order by Kana"), QString("ｱ"));
    }

    // Both engines order text by code point and match LIKE ignoring the case of Latin letters
    // only, as the local book always has.
    void textOrderAndLikeAsTheLocalBook() {
        TestEnv env;
        for (const char *name : {"b", "ｶﾞ", "B", "ａ", "ｶ", "Ａ", "a_b", "a\\b"})
            env.AddCustomer(name, "ｱ");
        Query query(env.db(), "select Name from Usertbl order by Name");
        QStringList names;
        for (query.Open(); !query.AtEnd(); query.Next())
            names << query.AsString("Name");
        QCOMPARE(names, QStringList({"B", "a\\b", "a_b", "b", "Ａ", "ａ", "ｶ", "ｶﾞ"}));
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Name LIKE 'b%'"), QString("2"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Name LIKE 'ａ%'"), QString("1"));
        QCOMPARE(env.Scalar("select Name from Usertbl where Name LIKE 'a\\b'"), QString("a\\b"));
    }

    void memoParameter() {
        TestEnv env;
        const int id = env.AddCustomer("a", "ｱ");
        Query query(env.db(),
                    QString("update Usertbl set Note = :MEMOETC where UserId = %1").arg(id));
        const QString memo = QString("行1\r\n'quoted'").repeated(500);
        query.SetMemo(memo);
        QCOMPARE(query.Execute(), 1);
        QCOMPARE(env.Scalar("select Note from Usertbl"), memo);
    }

    void rowCountAndWalk() {
        TestEnv env;
        for (int i = 0; i < 5; ++i)
            env.AddCustomer(QString::number(i), QString("ｱ%1").arg(4 - i));
        Query query(env.db(), "select * from Usertbl order by Kana");
        query.Open();
        QCOMPARE(query.RowCount(), 5);
        QStringList names;
        for (; !query.AtEnd(); query.Next())
            names << query.AsString("Name");
        QCOMPARE(names, QStringList({"4", "3", "2", "1", "0"}));
    }

    void refusedStatementRaises() {
        TestEnv env;
        Query query(env.db(), "select * from NoSuchTable");
        QVERIFY_THROWS_EXCEPTION(EngineError, query.Open());
        query.SetText("ALTER TABLE Usertbl ADD CheckRen1 INTEGER");
        QVERIFY_THROWS_EXCEPTION(EngineError, query.Execute());
    }

    void aBookLockedByAnotherProgramIsToldInJapanese() {
        TestEnv env;
        env.AddCustomer("a", "ｱ");
        Database other;
        Query lock(other);
        if (env.onServer()) {
            other.OpenServer(env.db().ServerUri());
            other.Begin();
            lock.Execute("update Usertbl set Name = 'c'");
        } else {
            other.Open(env.dbPath());
            lock.Execute("BEGIN EXCLUSIVE");
        }
        QString message;
        try {
            env.Run("update Usertbl set Name = 'b'");
        } catch (const EngineError &error) {
            message = error.message();
        }
        other.Rollback();
        QVERIFY2(message.section(u'\n', 0, 0).contains("ほかのプログラムが使用中"),
                 qPrintable(message));
        QCOMPARE(env.Scalar("select Name from Usertbl"), QString("a"));
    }

    // A connection the server ended is made again for the next statement; the transaction it
    // ended is never reported as stored.
    void aConnectionTheServerEndedIsMadeAgain() {
        TestEnv env;
        if (!env.onServer())
            QSKIP("a case of the server's connection");
        env.AddCustomer("a", "ｱ");
        Database other;
        other.OpenServer(env.db().ServerUri());
        QString message;
        try {
            Transaction transaction(env.db());
            env.Run("update Usertbl set Name = 'b'");
            Query(other).Execute("select pg_terminate_backend(pid) from pg_stat_activity where "
                                 "datname = current_database() and pid <> pg_backend_pid()");
            transaction.Commit();
        } catch (const EngineError &error) {
            message = error.message();
        }
        QVERIFY2(message.contains("保存されていない"), qPrintable(message));
        QCOMPARE(env.Scalar("select Name from Usertbl"), QString("a"));
    }

    void notADatabaseIsReported() {
        TestEnv env;
        if (env.onServer())
            QSKIP("a case of the local book's file");
        env.db().Close();
        QFile file(env.dbPath() + "pellor3.db");
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, 'x'));
        file.close();
        Database other;
        QVERIFY_THROWS_EXCEPTION(EngineError, other.Open(env.dbPath()));
    }

    void closeAndReopenAroundCopy() {
        TestEnv env;
        if (env.onServer())
            QSKIP("a case of the local book's file");
        env.AddCustomer("a", "ｱ");
        Query open(env.db(), "select * from Usertbl");
        open.Open();
        env.db().Close();
        QVERIFY(!open.IsActive());
        QVERIFY(QFile::copy(env.dbPath() + "pellor3.db", env.root() + "copy.db"));
        env.db().Open(env.dbPath());
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
    }

    // The engine ends the transaction itself when the disk fills; the commit offered after
    // that names the full disk in Japanese.
    void fullDiskIsNamedAtCommit() {
        TestEnv env;
        if (env.onServer())
            QSKIP("a case of the local book's file");
        env.db().Close();
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=512k") != 0)
            QSKIP("cannot mount a small tmpfs here");
        const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });
        QVERIFY(QFile::copy(env.dbPath() + "pellor3.db", dir.filePath("pellor3.db")));
        Database book;
        book.Open(dir.path() + "/");
        Query insert(book);
        QString message;
        try {
            Transaction transaction(book);
            try {
                for (int i = 0; i < 100; ++i)
                    insert.Execute(QStringLiteral("insert into Usertbl (Name) values ('%1')")
                                       .arg(QString(20000, u'x')));
            } catch (const EngineError &) {
                // Kept lines are offered; the user keeps them.
            }
            transaction.Commit();
        } catch (const EngineError &error) {
            message = error.message();
        }
        QVERIFY2(message.startsWith("ディスクがいっぱい"), qPrintable(message));
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestTableEngine)
#include "tst_tableengine.moc"
