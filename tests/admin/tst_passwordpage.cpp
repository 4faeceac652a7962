#include "../common/TestEnv.h"

#include "admin/PasswordPage.h"
#include "admin/StartupPassword.h"
#include "core/TextFile.h"
#include "platform/Registry.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

QChar MarkerChar(TestEnv &env) {
    QStringList lines;
    TextFile::ReadLines(env.dbPath() + "usertbl.DM", lines);
    const QString line = lines.value(11);
    return line.size() > 7 ? line[7] : QChar();
}

} // namespace

// The page's controls, found by name.
template <typename Control> Control *Child(QWidget &page, const char *name) {
    return page.findChild<Control *>(QLatin1String(name));
}

class TestPasswordPage : public QObject {
    Q_OBJECT
private slots:
    void everyPasswordIsStoredWhole_data() {
        QTest::addColumn<QString>("password");
        QTest::newRow("letters") << "secret";
        QTest::newRow("key byte, line ends") << "PWZ\tP";
        QTest::newRow("escape sign") << "%41%";
        QTest::newRow("japanese") << "パスワード漢字";
    }
    void everyPasswordIsStoredWhole() {
        QFETCH(QString, password);
        TestEnv env;
        QVERIFY(WriteStoredPassword(password));
        QCOMPARE(ReadStoredPassword(), password);
        QCOMPARE(int(QFile::permissions(Registry::FilePath()) & 0x7777), 0x6600);
        const QByteArray file = [] {
            QFile f(Registry::FilePath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(!file.contains(password.toUtf8()));
    }

    void refusedPasteIsTold() {
        TestEnv env;
        TPasswordPage page(env.dbPath());
        QGuiApplication::clipboard()->setText("pass😀");
        page.findChild<QLineEdit *>("Edt_Pass1")->paste();
        QCoreApplication::processEvents();
        QCOMPARE(env.prompt().Texts("warning").size(), 1);
        QVERIFY(env.prompt().Texts("warning").first().contains("😀 (U+1F600)"));
    }

    void okNeedsTwoEqualEntries_data() {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("off") << false << ""
                             << "x" << true;
        QTest::newRow("equal") << true << "abc"
                               << "abc" << true;
        QTest::newRow("different") << true << "abc"
                                   << "abd" << false;
        QTest::newRow("both empty") << true << ""
                                    << "" << false;
    }
    void okNeedsTwoEqualEntries() {
        QFETCH(bool, ticked);
        QFETCH(QString, first);
        QFETCH(QString, second);
        TestEnv env;
        TPasswordPage page(env.dbPath());
        Child<QCheckBox>(page, "CB_PassUse")->setChecked(ticked);
        Child<QLineEdit>(page, "Edt_Pass1")->setText(first);
        Child<QLineEdit>(page, "Edt_Pass2")->setText(second);
        QTEST(page.OkAllowed(), "allowed");
        QCOMPARE(Child<QLineEdit>(page, "Edt_Pass1")->isEnabled(), ticked);
    }

    void switchingOnAndOff() {
        TestEnv env;
        TPasswordPage page(env.dbPath());
        page.Load();
        QVERIFY(!Child<QCheckBox>(page, "CB_PassUse")->isChecked());
        Child<QCheckBox>(page, "CB_PassUse")->setChecked(true);
        Child<QLineEdit>(page, "Edt_Pass1")->setText("pw");
        Child<QLineEdit>(page, "Edt_Pass2")->setText("pw");
        env.prompt().PushAnswer(Prompt::Answer::No);
        QVERIFY(!page.Accept());
        QCOMPARE(MarkerChar(env), QChar('O'));
        QVERIFY(page.Accept());
        page.Save();
        QCOMPARE(MarkerChar(env), QChar('0'));
        QCOMPARE(ReadStoredPassword(), QString("pw"));

        TPasswordPage again(env.dbPath());
        again.Load();
        QVERIFY(Child<QCheckBox>(again, "CB_PassUse")->isChecked());
        QCOMPARE(Child<QLineEdit>(again, "Edt_Pass2")->text(), QString("pw"));
        Child<QCheckBox>(again, "CB_PassUse")->setChecked(false);
        // Switched off only by whoever knows it.
        QVERIFY(!again.Accept());
        env.prompt().PushPassword("wrong");
        QVERIFY(!again.Accept());
        QCOMPARE(env.prompt().Texts("error"), QStringList{"パスワードが正しくありません。"});
        QCOMPARE(MarkerChar(env), QChar('0'));
        env.prompt().PushPassword("pw");
        QVERIFY(again.Accept());
        again.Save();
        QCOMPARE(MarkerChar(env), QChar('O'));
        QCOMPARE(Registry::ReadString(Registry::PasswordKey, "PASS"), QString());
    }

    // Whichever store cannot be written, the next start never finds the marker "on" without
    // the password it asks for.
    void failedSwitchKeepsTheStartOpen_data() {
        QTest::addColumn<bool>("switchOn");
        QTest::newRow("on, registry cannot be written") << true;
        QTest::newRow("off, marker file cannot be written") << false;
    }
    void failedSwitchKeepsTheStartOpen() {
        QFETCH(bool, switchOn);
        TestEnv env;
        const QString marker = env.dbPath() + "usertbl.DM";
        TPasswordPage page(env.dbPath());
        if (!switchOn) {
            QStringList lines;
            QVERIFY(ReadMarkerLines(env.dbPath(), lines, nullptr));
            QVERIFY(WriteMarker(env.dbPath(), lines, true, nullptr));
            QVERIFY(WriteStoredPassword("pw"));
        }
        page.Load();
        Child<QCheckBox>(page, "CB_PassUse")->setChecked(switchOn);
        Child<QLineEdit>(page, "Edt_Pass1")->setText("new");
        Child<QLineEdit>(page, "Edt_Pass2")->setText("new");
        env.prompt().PushPassword("pw");
        QVERIFY(page.Accept());
        const QByteArray registry = qgetenv("PELLOR3_REGISTRY");
        if (switchOn)
            qputenv("PELLOR3_REGISTRY", "/proc/no-registry.ini");
        else
            QVERIFY(QFile::rename(marker, marker + ".kept") && QDir().mkpath(marker + "/busy"));
        page.Save();
        qputenv("PELLOR3_REGISTRY", registry);
        if (!switchOn)
            QVERIFY(QDir(marker).removeRecursively() && QFile::rename(marker + ".kept", marker));

        QVERIFY(!env.prompt().Texts("error").isEmpty());
        QCOMPARE(MarkerChar(env), switchOn ? QChar('O') : QChar('0'));
        QCOMPARE(ReadStoredPassword(), switchOn ? QString() : QString("pw"));
    }

    void shortMarkerFileWritesNothing() {
        TestEnv env;
        QVERIFY(TextFile::WriteLines(env.dbPath() + "usertbl.DM", {"a", "b"}));
        TPasswordPage page(env.dbPath());
        page.Load();
        Child<QCheckBox>(page, "CB_PassUse")->setChecked(true);
        Child<QLineEdit>(page, "Edt_Pass1")->setText("pw");
        Child<QLineEdit>(page, "Edt_Pass2")->setText("pw");
        QVERIFY(!page.Accept());
        QCOMPARE(env.prompt().Texts("error").size(), 2);
        QStringList lines;
        QVERIFY(TextFile::ReadLines(env.dbPath() + "usertbl.DM", lines));
        QCOMPARE(lines, QStringList({"a", "b"}));
    }
};

QTEST_MAIN(TestPasswordPage)
#include "tst_passwordpage.moc"
