#include "MailTestContext.h"

#include "mail/FormSendMail.h"
#include "mail/PassEdit.h"
#include "platform/Prompt.h"
#include "store/CustomerRecord.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
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

    QFile utf8(dir.filePath("utf8.mtl"));
    QVERIFY(utf8.open(QIODevice::WriteOnly));
    utf8.write(QString("件名\r\n本文\r\n").toUtf8());
    utf8.close();
    prompt_->PushPath(utf8.fileName());
    form.BtnOpenClick();
    QCOMPARE(prompt_->Texts("error").size(), 1);
    QCOMPARE(subject->text(), QString("ご案内"));
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
