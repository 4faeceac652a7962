#include "../common/TestEnv.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "platform/Installer.h"
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    void freshInstallationOnAnEmptyHome() {
        QTemporaryDir home;
        qputenv("PELLOR3_REGISTRY", home.filePath("registry.ini").toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("share").toUtf8());
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

    void gunzipRefusesCorruptData() {
        QCOMPARE(Installer::Gunzip("not gzip at all"), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
