#include "MailTestContext.h"

#include "core/ShiftJis.h"
#include "mail/MailSettings.h"
#include "mail/PassEdit.h"
#include "platform/Prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class TestMailSettings : public QObject {
    Q_OBJECT

private slots:
    void init();
    void StoredPasswordForm_data();
    void StoredPasswordForm();
    void SettingsWindowSavesKeysInOrderPrivately();
    void SecurityChoiceMovesTheStandardPort();
    void SenderReadsPorts_data();
    void SenderReadsPorts();
    void SendingDropsBlanksAroundNames();
    void CompleteNeedsAddressAndServer_data();
    void CompleteNeedsAddressAndServer();

private:
    void WriteConfig(const QByteArray &text);
    std::unique_ptr<QTemporaryDir> dir_;
    QString dataPath_;
};

void TestMailSettings::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    dataPath_ = dir_->path() + u'/';
    Prompt::Install(std::make_unique<ScriptedPrompt>());
}

void TestMailSettings::WriteConfig(const QByteArray &text) {
    QFile file(ConfigIniPath(dataPath_));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void TestMailSettings::StoredPasswordForm_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("ascii") << "ab"
                           << "3B38";
    QTest::newRow("japanese") << "あ"
                              << "D8FA";
}

void TestMailSettings::StoredPasswordForm() {
    QFETCH(QString, password);
    QFETCH(QString, stored);
    QCOMPARE(EncodeStoredPassword(password), stored);
    QCOMPARE(DecodeStoredPassword(stored), password);
}

void TestMailSettings::SettingsWindowSavesKeysInOrderPrivately() {
    WriteConfig("[OTHER]\r\nKEY=1\r\n");
    MailTestContext context(dataPath_);
    T_pass_edit window(context);
    window.show();
    QCOMPARE(window.findChild<QTabWidget *>("PageControl1")->currentWidget()->objectName(),
             QString("TabSheet2"));
    const auto edit = [&](const char *name) { return window.findChild<QLineEdit *>(name); };
    QCOMPARE(edit("EditSmtpPort")->text(), QString("25"));
    QCOMPARE(edit("LblEditPopPort")->text(), QString("110"));
    QVERIFY(!edit("LblEditPopServer")->isEnabled());
    edit("EditName")->setText("販売部");
    edit("EditMail")->setText("shop@example.jp");
    edit("EditSmtpServer")->setText("smtp.example.jp");
    edit("EditSmtpPort")->setText("abc");
    edit("EditSmtpPassword")->setText("ab");
    window.findChild<QCheckBox *>("CBUsePOP")->setChecked(true);
    edit("LblEditPopServer")->setText("pop.example.jp");
    window.findChild<QCheckBox *>("CBUsePOP")->setChecked(false);
    QVERIFY(!edit("LblEditPopServer")->isEnabled());
    window.findChild<QPushButton *>("Btn_OK")->click();

    QFile file(ConfigIniPath(dataPath_));
    // Owner bits only: nothing for the group or others.
    QCOMPARE(file.permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(ShiftJis::Decode(file.readAll()),
             QString("[OTHER]\r\nKEY=1\r\n\r\n"
                     "[SMTP]\r\nNAME=販売部\r\nMAIL=shop@example.jp\r\nSERVER=smtp.example.jp\r\n"
                     "PORT=abc\r\nUSERID=\r\nPASSWORD=3B38\r\n\r\n"
                     "[POP3]\r\nUSE_POP_BEFORE=0\r\nSERVER=pop.example.jp\r\nPORT=110\r\n"
                     "USERID=\r\nPASSWORD=\r\n\r\n"));
    window.show();
    QCOMPARE(edit("EditSmtpPort")->text(), QString("abc"));
    QCOMPARE(edit("EditSmtpPassword")->text(), QString("ab"));
    QCOMPARE(ReadMailSettings(dataPath_).SmtpPort, 25);
}

// The port follows the choice while it is a standard one; a typed port stays.
void TestMailSettings::SecurityChoiceMovesTheStandardPort() {
    MailTestContext context(dataPath_);
    T_pass_edit window(context);
    window.show();
    auto *choice = window.findChild<QComboBox *>("CBSmtpSecurity");
    auto *port = window.findChild<QLineEdit *>("EditSmtpPort");
    QCOMPARE(choice->currentText(), QString("STARTTLS"));
    const auto choose = [&](int index) {
        choice->setCurrentIndex(index);
        emit choice->activated(index);
    };
    choose(2);
    QCOMPARE(port->text(), QString("465"));
    choose(1);
    QCOMPARE(port->text(), QString("587"));
    port->setText("2525");
    choose(0);
    QCOMPARE(port->text(), QString("2525"));
    choose(2);
    window.findChild<QLineEdit *>("EditMail")->setText("shop@example.jp");
    window.findChild<QPushButton *>("Btn_OK")->click();
    const MailSettings settings = ReadMailSettings(dataPath_);
    QCOMPARE(settings.SmtpSecurity, MailSecurity::Tls);
    QCOMPARE(settings.SmtpPort, 2525);
}

void TestMailSettings::SenderReadsPorts_data() {
    QTest::addColumn<QByteArray>("smtpPort");
    QTest::addColumn<int>("smtp");
    QTest::addColumn<int>("pop");
    QTest::newRow("decimal") << QByteArray("587") << 587 << 110;
    QTest::newRow("hexadecimal") << QByteArray("0x24B") << 587 << 110;
    QTest::newRow("not a number") << QByteArray("abc") << 25 << 110;
    QTest::newRow("leading zero is decimal") << QByteArray("025") << 25 << 110;
    QTest::newRow("above the last port") << QByteArray("65562") << 25 << 110;
}

void TestMailSettings::SenderReadsPorts() {
    QFETCH(QByteArray, smtpPort);
    QFETCH(int, smtp);
    QFETCH(int, pop);
    WriteConfig("[SMTP]\r\nPORT=" + smtpPort +
                "\r\nPASSWORD=3B38\r\n[POP3]\r\nUSE_POP_BEFORE=1\r\n");
    const MailSettings settings = ReadMailSettings(dataPath_);
    QCOMPARE(settings.SmtpPort, smtp);
    QCOMPARE(settings.PopPort, pop);
    QCOMPARE(settings.SmtpPassword, QString("ab"));
    QVERIFY(settings.UsePopBeforeSmtp);
}

void TestMailSettings::SendingDropsBlanksAroundNames() {
    WriteConfig("[SMTP]\r\nMAIL= a@example.jp \r\nSERVER=\tsmtp.example.jp \r\n"
                "[POP3]\r\nSERVER= pop.example.jp\r\n");
    const MailSettings settings = ReadMailSettings(dataPath_);
    QCOMPARE(settings.SenderMail, QString("a@example.jp"));
    QCOMPARE(settings.SmtpServer, QString("smtp.example.jp"));
    QCOMPARE(settings.PopServer, QString("pop.example.jp"));
}

void TestMailSettings::CompleteNeedsAddressAndServer_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<bool>("complete");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("address of spaces") << QByteArray("[SMTP]\r\nMAIL=   \r\nSERVER=s\r\n") << false;
    QTest::newRow("both set") << QByteArray("[SMTP]\r\nMAIL=a@b\r\nSERVER=s\r\n") << true;
}

void TestMailSettings::CompleteNeedsAddressAndServer() {
    QFETCH(QByteArray, config);
    QFETCH(bool, complete);
    if (!config.isEmpty())
        WriteConfig(config);
    MailSettings settings;
    QCOMPARE(MailSettingsComplete(dataPath_, settings), complete);
}

QTEST_MAIN(TestMailSettings)
#include "tst_mailsettings.moc"
