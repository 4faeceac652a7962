#include "../common/MailTestServers.h"
#include "MailTestContext.h"

#include "core/ShiftJis.h"
#include "mail/FormSendMail.h"
#include "mail/FormSendResult.h"
#include "mail/FormSendStatus.h"
#include "mail/MailSettings.h"
#include "mail/PassEdit.h"
#include "platform/Prompt.h"
#include "store/CustomerRecord.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrlQuery>

namespace {

MailCustomer Customer(int id, const QString &name, int useType) {
    MailCustomer c;
    c.userId = id;
    c.name = name;
    c.nameTitle = QStringLiteral("様");
    c.useType = useType;
    c.mail1 = name + QStringLiteral("@home.jp");
    c.mail2 = name + QStringLiteral("@mobile.jp");
    c.officeMail1 = name + QStringLiteral("@office.jp");
    c.sashikomi = {QStringLiteral("春"), {}, {}, {}};
    return c;
}

// A data folder whose mail settings send through the test's server.
QString SettingsForServer(const QTemporaryDir &dir, const MailTestServers &servers) {
    const QString dataPath = dir.path() + u'/';
    MailPageValues values;
    values.mail = QStringLiteral("shop@example.jp");
    values.smtpServer = QStringLiteral("127.0.0.1");
    values.smtpPort = QString::number(servers.SmtpPort());
    SaveMailPageValues(dataPath, values);
    return dataPath;
}

} // namespace

class TestFormSendMail : public QObject {
    Q_OBJECT

private slots:
    void init();
    void ListPreviewAndAddressChanges();
    void RemovingEveryRowCloses();
    void TemplatesKeepTheText();
    void MailtoValuesAreEncoded();
    void RefusedPasteIsToldWithTheCharacter();
    void StatusWindowTakesKeysOverTheModalMailWindow();
    void ResultListsEveryRecipientAndResendsTheOnesNotReached();

private:
    ScriptedPrompt *prompt_ = nullptr;
};

void TestFormSendMail::init() {
    auto prompt = std::make_unique<ScriptedPrompt>();
    prompt_ = prompt.get();
    Prompt::Install(std::move(prompt));
}

void TestFormSendMail::ListPreviewAndAddressChanges() {
    MailTestContext context{QString()};
    TFormSendMail form(context);
    form.SetListedCustomers({Customer(1, "yamada", 0), Customer(2, "sato", 1)});
    form.show();
    QCOMPARE(form.Recipients()[0].address, QString("yamada@home.jp"));
    QCOMPARE(form.Recipients()[1].address, QString("sato@office.jp"));

    auto *list = form.findChild<QTreeWidget *>("LVAddress");
    form.findChild<QLineEdit *>("EditSubject")->setText("[name][Name_Title] [sashikomi1]");
    list->topLevelItem(1)->setSelected(true);
    QCOMPARE(form.findChild<QLineEdit *>("EditPrevSubject")->text(), QString("sato様 春"));
    list->topLevelItem(0)->setSelected(true);
    QCOMPARE(form.findChild<QLineEdit *>("EditPrevSubject")->text(),
             QString("[name][Name_Title] [sashikomi1]"));

    form.N1Click(2);
    QCOMPARE(list->topLevelItem(0)->text(2), QString("yamada@mobile.jp"));
    QCOMPARE(form.Recipients()[1].address, QString("sato@mobile.jp"));
    form.SetListedCustomers({});
    form.N1Click(1);
    QCOMPARE(form.Recipients()[0].address, QString("#error"));
}

void TestFormSendMail::RemovingEveryRowCloses() {
    MailTestContext context{QString()};
    TFormSendMail form(context);
    form.SetListedCustomers({Customer(1, "a", 0), Customer(2, "b", 0), Customer(3, "c", 0)});
    form.show();
    auto *list = form.findChild<QTreeWidget *>("LVAddress");
    list->topLevelItem(0)->setSelected(true);
    list->topLevelItem(2)->setSelected(true);
    form.N4Click();
    QCOMPARE(form.Recipients().size(), size_t(1));
    QCOMPARE(list->topLevelItem(0)->text(0), QString("b"));
    QVERIFY(form.isVisible());
    list->selectAll();
    form.N4Click();
    QCOMPARE(prompt_->Texts("message"),
             QStringList{"送信先がありません。\r\nメイン画面に戻ります。"});
    QVERIFY(!form.isVisible());
}

void TestFormSendMail::TemplatesKeepTheText() {
    QTemporaryDir dir;
    MailTestContext context{QString()};
    TFormSendMail form(context);
    form.SetListedCustomers({Customer(1, "a", 0)});
    form.show();
    auto *subject = form.findChild<QLineEdit *>("EditSubject");
    auto *body = form.findChild<QPlainTextEdit *>("MemoBody");
    subject->setText("ご案内");
    body->setPlainText("一行目\n二行目");
    prompt_->PushPath(dir.filePath("t"));
    form.BtnSaveClick();
    QFile saved(dir.filePath("t.mtl"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray("\x82\xb2\x88\xc4\x93\xe0\r\n\x88\xea\x8d\x73\x96\xda\r\n"
                                         "\x93\xf1\x8d\x73\x96\xda\r\n"));
    form.show();
    prompt_->PushPath(saved.fileName());
    form.BtnOpenClick();
    QCOMPARE(subject->text(), QString("ご案内"));
    QCOMPARE(body->toPlainText(), QString("一行目\n二行目\n"));

    // "t" again: the question is about "t.mtl", the file that would be replaced.
    prompt_->PushPath(dir.filePath("t"));
    prompt_->PushAnswer(Prompt::Answer::No);
    subject->setText("別件");
    form.BtnSaveClick();
    QVERIFY(prompt_->Texts("confirm").last().contains("t.mtl"));
    QVERIFY(saved.seek(0));
    QVERIFY(saved.readAll().startsWith("\x82\xb2\x88\xc4\x93\xe0\r\n"));
    subject->setText("ご案内");

    const std::pair<QByteArray, QString> unreadable[] = {
        {QString("件名\r\n本文\r\n").toUtf8(), "Shift-JIS"},
        {"Sale\r\nline\r\nbad \x80 byte\r\n", "3行目"},
        {"Sale\r\n\xa0\r\n", "2行目"},
        {"Sale \xfd\r\n", "1行目"},
        {"Sale\r\nbell \x07\r\n", "2行目"},
    };
    for (const auto &[bytes, named] : unreadable) {
        QFile bad(dir.filePath("bad.mtl"));
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write(bytes);
        bad.close();
        prompt_->PushPath(bad.fileName());
        form.BtnOpenClick();
        QVERIFY2(prompt_->Texts("error").last().contains(named), bytes.constData());
        QCOMPARE(subject->text(), QString("ご案内"));
    }
}

void TestFormSendMail::MailtoValuesAreEncoded() {
    CustomerRecord data;
    data.name = "A&B #1";
    data.nameTitle = "様";
    data.address1 = "100%?x=1";
    const QUrl url = BasicDataMailUrl("me+x@example.jp", data);
    QCOMPARE(url.scheme(), QString("mailto"));
    QCOMPARE(url.path(), QString("me+x@example.jp"));
    const QUrlQuery query(url);
    QCOMPARE(query.queryItemValue("Subject", QUrl::FullyDecoded), QString("A&B #1 様の情報"));
    const QString body = query.queryItemValue("Body", QUrl::FullyDecoded);
    QVERIFY(body.startsWith("名前：A&B #1（）\r\n\r\n個人〒：\r\n個人住所：100%?x=1\r\n"));
    QVERIFY(body.endsWith("会社メール2："));
    QCOMPARE(MailLinkUrl("a#b@example.jp").toEncoded(), QByteArray("mailto:a%23b@example.jp"));
}

// As the program runs it: the mail window modal over the main window, the status window opened
// from it. Keys go through the window system, which drops them for a window a modal one blocks.
void TestFormSendMail::StatusWindowTakesKeysOverTheModalMailWindow() {
    MailTestServers servers;
    QVERIFY(servers.Ready());
    QTemporaryDir dir;
    const QString dataPath = SettingsForServer(dir, servers);
    MailTestContext context{dataPath};
    QWidget main;
    main.show();
    TFormSendMail form(context, &main);
    form.SetListedCustomers({Customer(1, "a", 0)});
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.findChild<QLineEdit *>("EditSubject")->setText("ご案内");
    form.BtnSendClick();
    auto *status = main.findChild<TFormSendStatus *>();
    QVERIFY(status && status->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(status));
    QSignalSpy cancel(status, &TFormSendStatus::CancelRequested);
    QTest::keyClick(status->windowHandle(), Qt::Key_Escape);
    QCOMPARE(cancel.count(), 1);
    // Sent before the key came, or cancelled: the run ends either way.
    QTRY_VERIFY_WITH_TIMEOUT(
        !prompt_->Texts("message").isEmpty() || form.findChild<TFormSendResult *>(), 20000);
    QTRY_VERIFY(!main.findChild<TFormSendStatus *>());
}

void TestFormSendMail::ResultListsEveryRecipientAndResendsTheOnesNotReached() {
    MailTestServers servers({"--refuse", "nobody@home.jp"});
    QVERIFY(servers.Ready());
    QTemporaryDir dir;
    const QString dataPath = SettingsForServer(dir, servers);
    MailTestContext context{dataPath};
    TFormSendMail form(context);
    MailCustomer none = Customer(3, "none", 0);
    none.mail1.clear();
    form.SetListedCustomers({Customer(1, "yamada", 0), Customer(2, "nobody", 0), none});
    form.show();
    form.findChild<QLineEdit *>("EditSubject")->setText("ご案内");
    form.BtnSendClick();
    TFormSendResult *result = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((result = form.findChild<TFormSendResult *>()), 20000);
    auto *list = result->findChild<QTreeWidget *>("LVResult");
    QCOMPARE(list->topLevelItemCount(), 3);
    QCOMPARE(list->topLevelItem(0)->text(2), QString("送信"));
    QCOMPARE(list->topLevelItem(1)->text(2), QString("拒否"));
    QVERIFY(list->topLevelItem(1)->text(3).startsWith("550"));
    QCOMPARE(list->topLevelItem(2)->text(2), QString("送信しない（アドレスなし）"));
    QCOMPARE(QDir(dataPath + "sendlog").entryList(QDir::Files).size(), 1);

    prompt_->PushPath(dir.filePath("result"));
    result->findChild<QPushButton *>("BtnSave")->click();
    QFile saved(dir.filePath("result.csv"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(ShiftJis::Decode(saved.readAll()).contains("nobody,nobody@home.jp,拒否,550"));

    result->findChild<QPushButton *>("BtnResend")->click();
    QCOMPARE(form.Recipients().size(), size_t(1));
    QCOMPARE(form.Recipients()[0].address, QString("nobody@home.jp"));
    QCOMPARE(form.findChild<QTreeWidget *>("LVAddress")->topLevelItemCount(), 1);
}

QTEST_MAIN(TestFormSendMail)
// A mail field refuses what ISO-2022-JP via code page 932 cannot carry; the user is told what.
void TestFormSendMail::RefusedPasteIsToldWithTheCharacter() {
    MailTestContext context{QString()};
    TFormSendMail form(context);
    T_pass_edit settings(context);
    QGuiApplication::clipboard()->setText(QStringLiteral("ご案内🎉"));
    form.findChild<QLineEdit *>("EditSubject")->paste();
    form.findChild<QPlainTextEdit *>("MemoBody")->paste();
    settings.findChild<QLineEdit *>("EditName")->paste();
    QCoreApplication::processEvents();
    const QStringList warnings = prompt_->Texts("warning");
    QCOMPARE(warnings.size(), 3);
    for (const QString &warning : warnings)
        QVERIFY2(warning.contains("🎉 (U+1F389)"), qPrintable(warning));
    QCOMPARE(form.findChild<QLineEdit *>("EditSubject")->text(), QString());
}

#include "tst_formsendmail.moc"
