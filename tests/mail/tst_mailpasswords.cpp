#include "../common/TestEnv.h"

#include "core/IniFile.h"
#include "mail/MailSettings.h"
#include "platform/SecretStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The mail passwords against a real Secret Service: a throw-away session bus and keyring daemon
// of this test's own, so the desktop's keyring is never touched.
class TestMailPasswords : public QObject {
    Q_OBJECT
    QTemporaryDir keyringHome;
    QProcess bus;
    QProcess keyring;
    QString keyringMissing;

    QString StartKeyring() {
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
        if (!bus.waitForStarted(5'000) || !bus.waitForReadyRead(5'000))
            return QStringLiteral("dbus-daemon cannot start");
        const QByteArray address = bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), keyringHome.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), keyringHome.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), keyringHome.path());
        keyring.setProcessEnvironment(environment);
        keyring.start(QStringLiteral("gnome-keyring-daemon"),
                      {QStringLiteral("--foreground"), QStringLiteral("--unlock"),
                       QStringLiteral("--components=secrets")});
        if (!keyring.waitForStarted(5'000))
            return QStringLiteral("gnome-keyring-daemon cannot start");
        keyring.write("test-only");
        keyring.closeWriteChannel();
        // Until the daemon holds its name, a first call would have the bus start another,
        // locked keyring of its own.
        for (int attempt = 0; attempt < 50; ++attempt) {
            QProcess ask;
            ask.start(QStringLiteral("dbus-send"),
                      {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                       QStringLiteral("--dest=org.freedesktop.DBus"), QStringLiteral("/"),
                       QStringLiteral("org.freedesktop.DBus.NameHasOwner"),
                       QStringLiteral("string:org.freedesktop.secrets")});
            if (ask.waitForFinished(5'000) && ask.readAllStandardOutput().contains("true"))
                return KeyringSecretStore().Write(QStringLiteral("probe"), QStringLiteral("ready"))
                           ? QString()
                           : QStringLiteral("the keyring daemon refuses to store a secret");
            QTest::qWait(100);
        }
        return QStringLiteral("the keyring daemon does not answer on its session bus");
    }

private slots:
    void initTestCase() { keyringMissing = StartKeyring(); }

    void cleanupTestCase() {
        for (QProcess *process : {&keyring, &bus}) {
            process->kill();
            process->waitForFinished(5'000);
        }
    }

    void passwordsLeaveTheFileWhenAKeyringAnswers_data() {
        QTest::addColumn<bool>("withKeyring");
        QTest::addColumn<bool>("scrambledBefore");
        QTest::newRow("keyring, first save") << true << false;
        QTest::newRow("keyring, file from before") << true << true;
        QTest::newRow("bare session") << false << false;
        QTest::newRow("bare session, file from before") << false << true;
    }
    void passwordsLeaveTheFileWhenAKeyringAnswers() {
        QFETCH(bool, withKeyring);
        QFETCH(bool, scrambledBefore);
        TestEnv env;
        if (withKeyring) {
            if (!keyringMissing.isEmpty())
                QSKIP(qPrintable(keyringMissing));
            SecretStore::Install(std::make_unique<KeyringSecretStore>());
        }
        const QString config = env.dataPath() + "Config.ini";
        if (scrambledBefore) {
            IniFile ini(config);
            ini.WriteString("SMTP", "PASSWORD", EncodeStoredPassword("古い秘密"));
            QVERIFY(ini.Save());
            QCOMPARE(LoadMailPageValues(env.dataPath()).smtpPassword, QString("古い秘密"));
        }
        MailPageValues values = LoadMailPageValues(env.dataPath());
        values.smtpPassword = "送信の秘密";
        values.popPassword = "pop-secret";
        PasswordPlace place;
        QVERIFY(SaveMailPageValues(env.dataPath(), values, nullptr, &place));
        QCOMPARE(place, withKeyring ? PasswordPlace::Keyring : PasswordPlace::SettingsFile);

        QFile written(config);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        for (const QString &password : {values.smtpPassword, values.popPassword}) {
            const bool inFile = bytes.contains(EncodeStoredPassword(password).toLatin1());
            QCOMPARE(inFile, !withKeyring);
        }
        const MailSettings read = ReadMailSettings(env.dataPath());
        QCOMPARE(read.SmtpPassword, values.smtpPassword);
        QCOMPARE(read.PopPassword, values.popPassword);
    }
};

QTEST_MAIN(TestMailPasswords)
#include "tst_mailpasswords.moc"
