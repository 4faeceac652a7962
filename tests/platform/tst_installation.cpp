#include "../common/TestEnv.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "platform/Installer.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// A home of its own: registry and data folder inside `home`, answers from a scripted prompt.
ScriptedPrompt &UseHome(const QTemporaryDir &home) {
    qputenv("PELLOR3_REGISTRY", home.filePath("config/registry.ini").toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath("share").toUtf8());
    auto prompt = std::make_unique<ScriptedPrompt>();
    ScriptedPrompt &scripted = *prompt;
    Prompt::Install(std::move(prompt));
    return scripted;
}

QStringList TablesOf(const QString &dbFolder) {
    Database database;
    database.Open(dbFolder);
    QStringList names;
    for (const char *table : {"usertbl", "historytbl", "classtbl", "classtbl2"}) {
        try {
            Query query(database, QStringLiteral("select * from %1").arg(table));
            query.Open();
            names << table;
        } catch (const EngineError &) {
        }
    }
    return names;
}

const QStringList AllTables{"usertbl", "historytbl", "classtbl", "classtbl2"};

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void freshInstallationOnAnEmptyHome() {
        QTemporaryDir home;
        qputenv("PELLOR3_REGISTRY", home.filePath("registry.ini").toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("share").toUtf8());
        // The empty lock of an earlier start killed before it wrote anything.
        QFile killedStartLock(home.filePath("install.lock"));
        QVERIFY(killedStartLock.open(QIODevice::WriteOnly));
        killedStartLock.close();
        QString error;
        const QString folder = Installer::EnsureInstalled(&error);
        QVERIFY2(!folder.isEmpty(), qPrintable(error));
        QCOMPARE(folder, home.filePath("share") + "/pellor3/");
        QCOMPARE(Registry::ReadString(Registry::ProgramKey, "DataFolder"), folder);
        QCOMPARE(QFile::permissions(home.filePath("registry.ini")) & 0x0077, QFile::Permissions());
        for (const char *file : {"Data/DB/pellor3.db", "Data/DB/DBDWORK.INI", "Data/DB/usertbl.DM",
                                 "Data/zip/zip.dat", "Data/zip/version.txt", "Data/paper.cfg"})
            QVERIFY2(QFile::exists(folder + file), file);
        QVERIFY(QDir(folder + "Data/DB/img").exists());

        QStringList marker;
        QVERIFY(TextFile::ReadLines(folder + "Data/DB/usertbl.DM", marker));
        QVERIFY(marker.size() >= 12);
        QCOMPARE(marker[11].size(), 182);
        QCOMPARE(marker[11].at(7), QChar('O'));

        QStringList zip;
        QVERIFY(TextFile::ReadLines(folder + "Data/zip/zip.dat", zip));
        QVERIFY(zip.contains("1000001,東京都千代田区千代田"));
        QStringList paper;
        QVERIFY(TextFile::ReadLines(folder + "Data/paper.cfg", paper));
        QCOMPARE(paper.size() % 10, 0);
        QVERIFY(paper.contains("*ヒサゴ,ELM006 10面"));
    }

    void existingInstallationIsNotOverwritten() {
        TestEnv env;
        env.AddCustomer("残す", "ﾉｺｽ");
        QVERIFY(TextFile::WriteLines(env.dataPath() + "paper.cfg", {"*オリジナル,mine"}));
        env.db().Close();
        QString error;
        QVERIFY(Installer::LayOut(env.root(), &error));
        QCOMPARE(Installer::EnsureInstalled(&error), env.root());
        env.db().Open(env.dbPath());
        QCOMPARE(env.Scalar("select Name from Usertbl"), QString("残す"));
        QStringList paper;
        QVERIFY(TextFile::ReadLines(env.dataPath() + "paper.cfg", paper));
        QCOMPARE(paper, QStringList{"*オリジナル,mine"});
    }

    void unwritableFolderIsReported() {
        QTemporaryDir home;
        QFile blocker(home.filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(!Installer::LayOut(home.filePath("blocker") + "/inst/", &error));
        QVERIFY(!error.isEmpty());
    }

    void unreadableRegistryReadsAsMissing() {
        QTemporaryDir home;
        qputenv("PELLOR3_REGISTRY", home.filePath("nothing/registry.ini").toUtf8());
        QCOMPARE(Registry::ReadString(Registry::ProgramKey, "DataFolder"), QString());
    }

    void concurrentFirstStartsMakeOneSoundInstallation() {
        QTemporaryDir home;
        UseHome(home);
        QList<QString> folders(4), errors(4);
        QList<QThread *> starts;
        for (int i = 0; i < 4; ++i)
            starts << QThread::create(
                [&, i] { folders[i] = Installer::EnsureInstalled(&errors[i]); });
        for (QThread *start : starts)
            start->start();
        for (QThread *start : starts) {
            start->wait();
            delete start;
        }
        const QString folder = home.filePath("share") + "/pellor3/";
        for (int i = 0; i < 4; ++i)
            QVERIFY2(folders[i] == folder, qPrintable(errors[i]));
        QCOMPARE(TablesOf(folder + "Data/DB/"), AllTables);
        QCOMPARE(QDir(folder + "Data/DB").entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList({"DBDWORK.INI", "img", "pellor3.db", "usertbl.DM"}));
    }

    void installationIsPrivate() {
        QTemporaryDir home;
        UseHome(home);
        QString error;
        const QString folder = Installer::EnsureInstalled(&error);
        QVERIFY2(!folder.isEmpty(), qPrintable(error));
        const auto mode = [](const QString &path) {
            return int(QFile::permissions(path)) & 0x0777;
        };
        // Qt's permission bits: 0x0700 owner, 0x0070 group, 0x0007 others (user bits are 0x0600).
        for (const char *path : {"", "Data", "Data/DB", "Data/DB/img", "Data/zip"})
            QVERIFY2(mode(folder + path) == 0x0700, path);
        for (const char *path : {"Data/DB/pellor3.db", "Data/DB/usertbl.DM", "Data/DB/DBDWORK.INI",
                                 "Data/paper.cfg", "Data/zip/zip.dat", "Data/zip/version.txt"})
            QVERIFY2(mode(folder + path) == 0x0600, path);
        QCOMPARE(mode(Registry::FilePath()), 0x0600);
        QVERIFY(TextFile::WriteLines(folder + "Data/paper.cfg", {"*オリジナル,mine"}));
        QCOMPARE(mode(folder + "Data/paper.cfg"), 0x0600);
    }

    void tableFileWithoutTables_data() {
        QTest::addColumn<bool>("withCustomer");
        QTest::newRow("empty file is rebuilt") << false;
        QTest::newRow("customers are kept and reported") << true;
    }
    void tableFileWithoutTables() {
        QFETCH(bool, withCustomer);
        TestEnv env;
        if (withCustomer)
            env.AddCustomer("残す", "ﾉｺｽ");
        env.Run("drop table historytbl");
        env.Run("drop table classtbl2");
        if (!withCustomer) {
            env.db().Close();
            QFile::resize(env.dbPath() + "pellor3.db", 0);
        }
        env.db().Close();
        QString error;
        const QString folder = Installer::EnsureInstalled(&error);
        if (!withCustomer) {
            QCOMPARE(folder, env.root());
            QCOMPARE(TablesOf(env.dbPath()), AllTables);
            return;
        }
        QVERIFY(folder.isEmpty());
        QVERIFY2(error.contains("historytbl") && error.contains(env.dbPath() + "pellor3.db"),
                 qPrintable(error));
        env.db().Open(env.dbPath());
        QCOMPARE(env.Scalar("select Name from Usertbl"), QString("残す"));
    }

    void unreadableRegistryAsksForTheDataFolder_data() {
        QTest::addColumn<QByteArray>("registry");
        QTest::newRow("emptied") << QByteArray();
        QTest::newRow("garbled") << QByteArray("\x00\xff\xfe garbage\r\n[", 14);
    }
    void unreadableRegistryAsksForTheDataFolder() {
        QFETCH(QByteArray, registry);
        TestEnv env;
        QVERIFY(TextFile::WriteFileAtomically(Registry::FilePath(), registry));
        ScriptedPrompt &prompt = env.prompt();
        QString error;
        QCOMPARE(Installer::EnsureInstalled(&error), QString());
        QVERIFY2(error.contains(Registry::FilePath()), qPrintable(error));

        // Cancelled: nothing installed, nothing recorded.
        prompt.PushAnswer(Prompt::Answer::Cancel);
        QCOMPARE(Installer::EnsureInstalled(&error, Installer::UnreadableRegistry::AskUser),
                 QString());
        QVERIFY(error.isEmpty());
        QVERIFY(!QFile::exists(Installer::DefaultInstallFolder()));

        // A folder without data is refused, then the data folder is chosen.
        prompt.PushAnswer(Prompt::Answer::Yes);
        prompt.PushPath(env.dataPath() + "zip");
        prompt.PushAnswer(Prompt::Answer::Yes);
        prompt.PushPath(env.dataPath());
        QCOMPARE(Installer::EnsureInstalled(&error, Installer::UnreadableRegistry::AskUser),
                 env.root());
        QCOMPARE(prompt.Texts("error").size(), 1);
        QCOMPARE(Registry::ReadString(Registry::ProgramKey, "DataFolder"), env.root());
        QVERIFY(!QFile::exists(Installer::DefaultInstallFolder()));
    }

    void unreadableRegistryMayInstallAnew() {
        TestEnv env;
        QVERIFY(TextFile::WriteFileAtomically(Registry::FilePath(), {}));
        env.prompt().PushAnswer(Prompt::Answer::No);
        QString error;
        QCOMPARE(Installer::EnsureInstalled(&error, Installer::UnreadableRegistry::AskUser),
                 Installer::DefaultInstallFolder());
        QCOMPARE(TablesOf(Installer::DefaultInstallFolder() + "Data/DB/"), AllTables);
    }

    void relativeXdgFoldersStillFindTheSameBookFromAnotherFolder() {
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.filePath("start1")) && QDir().mkpath(home.filePath("start2")));
        const QString oldCwd = QDir::currentPath();
        const QByteArray oldHome = qgetenv("HOME"), oldRegistry = qgetenv("PELLOR3_REGISTRY");
        qputenv("HOME", home.path().toUtf8());
        qunsetenv("PELLOR3_REGISTRY");
        qputenv("XDG_DATA_HOME", "share");
        qputenv("XDG_CONFIG_HOME", "config");
        QString error;
        QDir::setCurrent(home.filePath("start1"));
        const QString first = Installer::EnsureInstalled(&error);
        {
            Database database;
            database.Open(first + "Data/DB/");
            Query(database, "insert into usertbl (Name, Kana) values('残す', 'ﾉｺｽ')").Execute();
        }
        QDir::setCurrent(home.filePath("start2"));
        const QString second = Installer::EnsureInstalled(&error);
        int customers = 0;
        {
            Database database;
            database.Open(second + "Data/DB/");
            Query count(database, "select count(*) as n from usertbl");
            count.Open();
            customers = count.AsInteger("n");
        }
        QDir::setCurrent(oldCwd);
        qputenv("HOME", oldHome);
        qputenv("PELLOR3_REGISTRY", oldRegistry);
        QCOMPARE(second, home.filePath(".local/share/pellor3/"));
        QCOMPARE(customers, 1);
    }

    void gunzipRefusesCorruptData() {
        QCOMPARE(Installer::Gunzip("not gzip at all"), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
