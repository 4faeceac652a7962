#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
QByteArray ReadBytes(const QString &path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
} // namespace

class TestTextFiles : public QObject {
    Q_OBJECT
private slots:
    void splitsEveryLineEnd_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
        QTest::newRow("LF") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("CR") << "a\rb\r" << QStringList{"a", "b"};
        QTest::newRow("mixed with empty line") << "a\r\n\nb\rc" << QStringList{"a", "", "b", "c"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitsEveryLineEnd() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::SplitLines(text), lines);
    }

    void writesShiftJisWithCrLf() {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        QVERIFY(TextFile::WriteLines(path, {"日付,項目", "a"}));
        QCOMPARE(ReadBytes(path), ShiftJis::Encode("日付,項目") + "\r\na\r\n");
        QStringList lines;
        QVERIFY(TextFile::ReadLines(path, lines));
        QCOMPARE(lines, QStringList({"日付,項目", "a"}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"});
    }

    void unwritableTargetIsReported() {
        QTemporaryDir dir;
        QVERIFY(TextFile::WriteLines(dir.filePath("file"), {"x"}));
        QString error;
        QVERIFY(!TextFile::WriteLines(dir.filePath("file/inside.txt"), {"new"}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"file"});
    }

    // A full disk: the old file stays whole and the failure names the file.
    void fullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a small tmpfs here");
        const auto unmount = qScopeGuard([&] { ::umount(mountPoint.constData()); });
        IniFile ini(dir.filePath("conf.ini"));
        ini.WriteString("SENDER", "NAME", "山田 太郎");
        QVERIFY(ini.Save());
        const QByteArray saved = ReadBytes(ini.path());
        ini.WriteString("SENDER", "MEMO", QString(80 * 1024, u'あ'));
        QString error;
        QVERIFY(!ini.Save(&error));
        QVERIFY2(error.contains("conf.ini"), qPrintable(error));
        QCOMPARE(ReadBytes(ini.path()), saved);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"conf.ini"});
    }

    void staleTemporariesAreRemoved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("old");
        QTest::addColumn<bool>("removed");
        QTest::newRow("killed download") << "zip.dat.a1B2c3" << true << true;
        QTest::newRow("written by a running copy") << "zip.dat.a1B2c3" << false << false;
        QTest::newRow("no file of that name beside it") << "other.txt.a1B2c3" << true << false;
        QTest::newRow("not six characters") << "zip.dat.old" << true << false;
        QTest::newRow("the file itself") << "zip.dat" << true << false;
    }
    void staleTemporariesAreRemoved() {
        QFETCH(QString, name);
        QFETCH(bool, old);
        QTemporaryDir dir;
        for (const QString &file : {QStringLiteral("zip.dat"), name}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
            QVERIFY(f.flush());
            if (old)
                QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                      QFileDevice::FileModificationTime));
        }
        TextFile::RemoveStaleTemporaries(dir.path(), QDateTime::currentDateTime().addSecs(-60));
        QTEST(!QFile::exists(dir.filePath(name)), "removed");
        QVERIFY(QFile::exists(dir.filePath("zip.dat")));
    }

    void iniRefusesLineBreaks_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("pasted value") << "NAME"
                                      << "山田 太郎\r\n[PRINT_CONF]\r\nTYPE=1";
        QTest::newRow("LF in value") << "NAME"
                                     << "a\nb";
        QTest::newRow("CR in key") << "NA\rME"
                                   << "x";
    }
    void iniRefusesLineBreaks() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QTemporaryDir dir;
        IniFile ini(dir.filePath("conf.ini"));
        ini.WriteString("SENDER", "ZIP", "1000001");
        QVERIFY(ini.Save());
        const QByteArray saved = ReadBytes(ini.path());
        QVERIFY(!ini.WriteString("SENDER", key, value));
        QString error;
        QVERIFY(!ini.Save(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadBytes(ini.path()), saved);
    }

    void iniKeepsOrderAndOtherSections() {
        QTemporaryDir dir;
        const QString path = dir.filePath("conf.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ShiftJis::Encode(
            "[SENDER]\r\nName=山田\r\nZip=100-0001\r\n[PRINT_CONF]\nFont=ＭＳ 明朝\rTop=12\n"));
        file.close();

        IniFile ini(path);
        QVERIFY(ini.Load());
        QCOMPARE(ini.ReadString("SENDER", "Name"), QString("山田"));
        QCOMPARE(ini.ReadString("print_conf", "font"), QString("ＭＳ 明朝"));
        ini.WriteString("SENDER", "Zip", "060-0906");
        ini.WriteString("SENDER", "Tel", "03");
        ini.WriteInteger("NEW", "Count", 3);
        QVERIFY(ini.Save());

        IniFile again(path);
        QVERIFY(again.Load());
        QCOMPARE(again.Sections(), QStringList({"SENDER", "PRINT_CONF", "NEW"}));
        QCOMPARE(again.Keys("SENDER"), QStringList({"Name", "Zip", "Tel"}));
        QCOMPARE(again.ReadString("SENDER", "Zip"), QString("060-0906"));
        QCOMPARE(again.ReadString("PRINT_CONF", "Font"), QString("ＭＳ 明朝"));
        QVERIFY(ReadBytes(path).startsWith(ShiftJis::Encode("[SENDER]\r\nName=山田\r\n")));
    }

    // A socket stands in for a settings file the user may not read: it exists, and opening it
    // fails even for root.
    void unreadableSettingsAreNotOverwritten() {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath("conf.ini"));
        const int endpoint = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        QCOMPARE(bind(endpoint, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

        IniFile ini(dir.filePath("conf.ini"));
        QVERIFY(!ini.Load());
        ini.WriteString("SENDER", "Name", "山田");
        QString error;
        QVERIFY(!ini.Save(&error));
        QVERIFY(error.contains("読み込めなかったため"));
        QVERIFY(!QFileInfo(dir.filePath("conf.ini")).isFile());
        close(endpoint);
    }

    void iniNumbersAndBooleans_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("integer");
        QTest::addColumn<bool>("boolean");
        QTest::newRow("one") << "1" << 1 << true;
        QTest::newRow("zero") << "0" << 0 << false;
        QTest::newRow("other non-zero") << "2" << 2 << true;
        QTest::newRow("not a number falls back") << "abc" << 7 << true;
        QTest::newRow("empty falls back") << "" << 7 << true;
    }
    void iniNumbersAndBooleans() {
        QFETCH(QString, stored);
        QFETCH(int, integer);
        QFETCH(bool, boolean);
        IniFile ini;
        ini.LoadFromText("[S]\r\nK=" + stored + "\r\n");
        QCOMPARE(ini.ReadInteger("S", "K", 7), integer);
        QCOMPARE(ini.ReadBool("S", "K", true), boolean);
        QCOMPARE(ini.ReadInteger("S", "Missing", 7), 7);
    }

    void quotingHelper_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("literal");
        QTest::newRow("plain") << "abc"
                               << "'abc'";
        QTest::newRow("quote doubled") << "O'Brien"
                                       << "'O''Brien'";
        QTest::newRow("crafted") << "x' OR '1'='1"
                                 << "'x'' OR ''1''=''1'";
        QTest::newRow("empty") << ""
                               << "''";
    }
    void quotingHelper() {
        QFETCH(QString, value);
        QFETCH(QString, literal);
        QCOMPARE(QuoteSql(value), literal);
    }

    void datesAndRounding() {
        QCOMPARE(SqlDate(QDate(1994, 5, 15)), QString("\"05/15/1994\""));
        QCOMPARE(SqlDate(QDate()), QString("NULL"));
        QCOMPARE(ShortDateText(QDate(2008, 1, 2)), QString("2008/01/02"));
        QCOMPARE(ParseShortDate("2008/1/2"), QDate(2008, 1, 2));
        QVERIFY(!ParseShortDate("2008-01-02").isValid());
        for (const char *outOfRange : {"19900/1/5", "0/1/5", "-5/1/5"})
            QVERIFY2(!ParseShortDate(outOfRange).isValid(), outOfRange);
        QCOMPARE(Rnd(0.5), 0);
        QCOMPARE(Rnd(1.5), 2);
        QCOMPARE(Rnd(2.5), 2);
        QCOMPARE(Rnd(-1.5), -2);
        QCOMPARE(Rnd(2.51), 3);
        QCOMPARE(ScramblePassword(ScramblePassword("pass")), QByteArray("pass"));
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
