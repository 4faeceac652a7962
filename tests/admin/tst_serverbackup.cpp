#include "../common/TestEnv.h"

#include "admin/Backup.h"
#include "admin/ServerBackup.h"
#include "store/PictureStorage.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestServerBackup : public QObject {
    Q_OBJECT

private slots:
    void init() {
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set: no server book to back up");
    }

    // A backup holds the book as the day's dump; a restore brings back its customers and
    // pictures in place of what came after, the book open again on the server.
    void dumpAndRestore_data() {
        QTest::addColumn<bool>("automatic");
        QTest::newRow("backup window") << false;
        QTest::newRow("daily backup") << true;
    }
    void dumpAndRestore() {
        QFETCH(bool, automatic);
        TestEnv env(SqlTarget::Postgres);
        const int kept = env.AddCustomer("残る顧客", "ﾉｺﾙ");
        PictureStorage pictures(env.db(), env.dbPath());
        pictures.Write(kept, 0, "BM-picture");
        QStringList leftOut;
        QString error;
        QString folder;
        if (automatic) {
            QVERIFY2(Backup::RunAutoBackup(env.db(), env.dataPath(), env.dbPath(),
                                           QDateTime(QDate(2024, 5, 15), QTime(18, 0)), &leftOut,
                                           &error),
                     qPrintable(error));
            folder = Backup::Root(env.dataPath()) + "auto-20240515-180000/";
        } else {
            const QString name = Backup::MakeBackupInRoot(env.db(), env.dataPath(), env.dbPath(),
                                                          Backup::Kind::Manual, &leftOut, &error);
            QVERIFY2(!name.isEmpty(), qPrintable(error));
            folder = Backup::Root(env.dataPath()) + name + "/";
        }
        QVERIFY(ServerBackup::IsBookDump(folder + ServerBackup::DumpFileName));
        QVERIFY(!QFile::exists(folder + Database::FileName));
        QVERIFY(Backup::IsRestorable(folder, &error));

        env.AddCustomer("後の顧客", "ｱﾄ");
        pictures.Remove(kept, 0);
        QVERIFY2(Backup::RestoreFromBackup(env.db(), folder, env.dbPath(), &error),
                 qPrintable(error));
        QVERIFY(env.db().IsOnServer());
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
        QCOMPARE(PictureStorage(env.db(), env.dbPath()).Read(PictureStorage::FileName(kept, 0)),
                 QByteArray("BM-picture"));
    }

    // The backup list shows a server backup's customers as it does a local one's; a note of
    // several lines is one customer.
    void theListCountsTheDumpsCustomers_data() {
        QTest::addColumn<int>("customers");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("three") << 3;
    }
    void theListCountsTheDumpsCustomers() {
        QFETCH(int, customers);
        TestEnv env(SqlTarget::Postgres);
        for (int i = 0; i < customers; ++i)
            env.Run(QString("update Usertbl set Note = '一行目\r\n二行目\t\\.' where UserId = %1")
                        .arg(env.AddCustomer("顧客", "ｺｷｬｸ")));
        QStringList leftOut;
        QString error;
        const QString name = Backup::MakeBackupInRoot(env.db(), env.dataPath(), env.dbPath(),
                                                      Backup::Kind::Manual, &leftOut, &error);
        QVERIFY2(!name.isEmpty(), qPrintable(error));
        const QList<Backup::Entry> entries = Backup::Entries(Backup::Root(env.dataPath()));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].customers, customers);
    }

    void aLocalBackupIsNoServerBackup() {
        TestEnv local;
        QStringList leftOut;
        QString error;
        const QString name = Backup::MakeBackupInRoot(local.db(), local.dataPath(), local.dbPath(),
                                                      Backup::Kind::Manual, &leftOut, &error);
        TestEnv env(SqlTarget::Postgres);
        env.AddCustomer("顧客", "ｺｷｬｸ");
        QVERIFY(!Backup::RestoreFromBackup(env.db(), Backup::Root(local.dataPath()) + name + "/",
                                           env.dbPath(), &error));
        QVERIFY(error.contains("サーバーの台帳のバックアップではありません"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
    }
};

QTEST_GUILESS_MAIN(TestServerBackup)
#include "tst_serverbackup.moc"
