#include "mail/PassEdit.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *NewEdit(const QString &name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    GuardShiftJis(edit);
    return edit;
}

// なし / STARTTLS / SSL/TLS, the port beside it following the choice.
QComboBox *NewSecurityChoice(const QString &name, QLineEdit *port, bool pop, QWidget *parent) {
    auto *choice = new QComboBox(parent);
    choice->setObjectName(name);
    for (const SecurityChoice &c : SecurityChoices())
        choice->addItem(c.caption);
    choice->setProperty("previous", 0);
    QObject::connect(choice, &QComboBox::activated, choice, [choice, port, pop](int index) {
        port->setText(
            PortForSecurityChoice(port->text(), choice->property("previous").toInt(), index, pop));
        choice->setProperty("previous", index);
    });
    return choice;
}

QString StoredSecurity(const QComboBox *choice, const QString &loaded, const QString &port) {
    if (loaded.isEmpty() && choice->currentIndex() == SecurityChoiceIndex(loaded, port))
        return {};
    return SecurityChoices()[static_cast<size_t>(choice->currentIndex())].key;
}

void ShowSecurity(QComboBox *choice, const QString &key, const QString &port) {
    choice->setCurrentIndex(SecurityChoiceIndex(key, port));
    choice->setProperty("previous", choice->currentIndex());
}

} // namespace

TMailSettingsPage::TMailSettingsPage(AppContext &context, QWidget *parent)
    : TPassEditPage(parent), context_(context) {
    setObjectName(QStringLiteral("TabSheet2"));
    EditName = NewEdit(QStringLiteral("EditName"), this);
    EditMail = NewEdit(QStringLiteral("EditMail"), this);
    EditSmtpServer = NewEdit(QStringLiteral("EditSmtpServer"), this);
    EditSmtpPort = NewEdit(QStringLiteral("EditSmtpPort"), this);
    EditSmtpUserID = NewEdit(QStringLiteral("EditSmtpUserID"), this);
    EditSmtpPassword = NewEdit(QStringLiteral("EditSmtpPassword"), this);
    EditSmtpPassword->setEchoMode(QLineEdit::Password);

    auto *GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    CBUsePOP = new QCheckBox(QStringLiteral("POP before SMTPを使用する"), GroupBox1);
    CBUsePOP->setObjectName(QStringLiteral("CBUsePOP"));
    LblEditPopServer = NewEdit(QStringLiteral("LblEditPopServer"), GroupBox1);
    LblEditPopPort = NewEdit(QStringLiteral("LblEditPopPort"), GroupBox1);
    LblEditPopUserID = NewEdit(QStringLiteral("LblEditPopUserID"), GroupBox1);
    LblEditPopPassword = NewEdit(QStringLiteral("LblEditPopPassword"), GroupBox1);
    LblEditPopPassword->setEchoMode(QLineEdit::Password);
    CBSmtpSecurity = NewSecurityChoice(QStringLiteral("CBSmtpSecurity"), EditSmtpPort, false, this);
    CBPopSecurity =
        NewSecurityChoice(QStringLiteral("CBPopSecurity"), LblEditPopPort, true, GroupBox1);

    auto *layout = new QFormLayout(this);
    layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    layout->addRow(QStringLiteral("■名前"), EditName);
    layout->addRow(QStringLiteral("■メールアドレス"), EditMail);
    layout->addRow(QStringLiteral("■SMTPサーバー"), EditSmtpServer);
    layout->addRow(QStringLiteral("■接続の保護"), CBSmtpSecurity);
    layout->addRow(QStringLiteral("■SMTPサーバーポート（標準 25)"), EditSmtpPort);
    layout->addRow(QStringLiteral("■ユーザID"), EditSmtpUserID);
    layout->addRow(QStringLiteral("■パスワード"), EditSmtpPassword);
    auto *popLayout = new QFormLayout(GroupBox1);
    popLayout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    popLayout->addRow(CBUsePOP);
    const std::pair<QString, QLineEdit *> popRows[] = {
        {QStringLiteral("■POPサーバー"), LblEditPopServer},
        {QStringLiteral("■POPサーバーポート(標準 110)"), LblEditPopPort},
        {QStringLiteral("■POPの接続の保護"), nullptr},
        {QStringLiteral("■ユーザーID"), LblEditPopUserID},
        {QStringLiteral("■パスワード"), LblEditPopPassword},
    };
    for (const auto &[label, edit] : popRows) {
        if (!edit) {
            popLayout->addRow(label, CBPopSecurity);
            continue;
        }
        edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        popLayout->addRow(label, edit);
        connect(edit, &QLineEdit::textChanged, this, &TPassEditPage::OkConditionChanged);
    }
    layout->addRow(GroupBox1);
    connect(CBUsePOP, &QCheckBox::toggled, this, &TMailSettingsPage::CBUsePOPClick);
}

void TMailSettingsPage::CBUsePOPClick() {
    for (QLineEdit *edit : {LblEditPopServer, LblEditPopPort, LblEditPopUserID, LblEditPopPassword})
        edit->setEnabled(CBUsePOP->isChecked());
    CBPopSecurity->setEnabled(CBUsePOP->isChecked());
}

void TMailSettingsPage::LoadMailSettings() {
    const MailPageValues values = LoadMailPageValues(context_.GetDataPath());
    EditName->setText(values.name);
    EditMail->setText(values.mail);
    EditSmtpServer->setText(values.smtpServer);
    EditSmtpPort->setText(values.smtpPort);
    EditSmtpUserID->setText(values.smtpUserId);
    EditSmtpPassword->setText(values.smtpPassword);
    CBUsePOP->setChecked(values.usePopBeforeSmtp);
    LblEditPopServer->setText(values.popServer);
    LblEditPopPort->setText(values.popPort);
    LblEditPopUserID->setText(values.popUserId);
    LblEditPopPassword->setText(values.popPassword);
    loadedSmtpSecurity_ = values.smtpSecurity;
    loadedPopSecurity_ = values.popSecurity;
    ShowSecurity(CBSmtpSecurity, values.smtpSecurity, values.smtpPort);
    ShowSecurity(CBPopSecurity, values.popSecurity, values.popPort);
    CBUsePOPClick();
}

void TMailSettingsPage::SaveMailSettings() {
    MailPageValues values;
    values.name = EditName->text();
    values.mail = EditMail->text();
    values.smtpServer = EditSmtpServer->text();
    values.smtpPort = EditSmtpPort->text();
    values.smtpUserId = EditSmtpUserID->text();
    values.smtpPassword = EditSmtpPassword->text();
    values.usePopBeforeSmtp = CBUsePOP->isChecked();
    values.popServer = LblEditPopServer->text();
    values.popPort = LblEditPopPort->text();
    values.popUserId = LblEditPopUserID->text();
    values.popPassword = LblEditPopPassword->text();
    values.smtpSecurity = StoredSecurity(CBSmtpSecurity, loadedSmtpSecurity_, values.smtpPort);
    values.popSecurity = StoredSecurity(CBPopSecurity, loadedPopSecurity_, values.popPort);
    QString error;
    PasswordPlace place = PasswordPlace::Keyring;
    if (!SaveMailPageValues(context_.GetDataPath(), values, &error, &place)) {
        prompt().Error(QStringLiteral("メール送信設定を保存できません\r\n%1").arg(error));
        return;
    }
    // Said once a session: the user cannot change it from here, only learn where the passwords are.
    static bool toldNoKeyring = false;
    if (place == PasswordPlace::SettingsFile && !toldNoKeyring &&
        !(values.smtpPassword.isEmpty() && values.popPassword.isEmpty())) {
        toldNoKeyring = true;
        prompt().Message(
            QStringLiteral("デスクトップのキーリングが応答しないため、パスワードはこれまでどおり"
                           "設定ファイル（Config.ini）に保存しました。"));
    }
}

T_pass_edit::T_pass_edit(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("T_pass_edit"));
    setWindowTitle(QStringLiteral("設定"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    Btn_OK = new QPushButton(QStringLiteral("設定"), this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_Cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_OK);
    buttons->addWidget(Btn_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    mailPage_ = new TMailSettingsPage(context);
    AddPage(mailPage_, QStringLiteral("メール送信設定"));
    PageControl1->setCurrentWidget(mailPage_);
    connect(Btn_OK, &QPushButton::clicked, this, &T_pass_edit::Btn_OKClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void T_pass_edit::AddPage(TPassEditPage *page, const QString &caption, int index) {
    QWidget *current = PageControl1->currentWidget();
    PageControl1->insertTab(index, page, caption);
    if (current)
        PageControl1->setCurrentWidget(current);
    pages_.insert(index < 0 ? pages_.end() : pages_.begin() + index, page);
    connect(page, &TPassEditPage::OkConditionChanged, this, &T_pass_edit::UpdateOkButton);
}

void T_pass_edit::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void T_pass_edit::FormShow() {
    for (TPassEditPage *page : pages_)
        page->Load();
    UpdateOkButton();
}

void T_pass_edit::UpdateOkButton() {
    bool allowed = true;
    for (TPassEditPage *page : pages_)
        allowed = allowed && page->OkAllowed();
    Btn_OK->setEnabled(allowed);
}

void T_pass_edit::Btn_OKClick() {
    for (TPassEditPage *page : pages_)
        if (!page->Accept())
            return;
    accept();
    for (TPassEditPage *page : pages_)
        page->Save();
}
