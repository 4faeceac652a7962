#include "admin/FormPassInput.h"

#include "admin/StartupPassword.h"
#include "platform/Prompt.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TPass_Input::TPass_Input(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Pass_Input"));
    setWindowTitle(QStringLiteral("パスワード入力"));
    auto *label = new QLabel(QStringLiteral("パスワードを入力してください。"), this);
    Edt_Pass = new QLineEdit(this);
    Edt_Pass->setObjectName(QStringLiteral("Edt_Pass"));
    Edt_Pass->setEchoMode(QLineEdit::Password);
    Edt_Pass->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Edt_Pass->setAttribute(Qt::WA_InputMethodEnabled, false);
    label->setBuddy(Edt_Pass);
    Btn_Auth = new QPushButton(QStringLiteral("開く"), this);
    Btn_Auth->setObjectName(QStringLiteral("Btn_Auth"));
    Btn_Exit = new QPushButton(QStringLiteral("終了"), this);
    Btn_Exit->setObjectName(QStringLiteral("Btn_Exit"));
    // Enter in the edit is handled by the edit alone, so it never also presses a button.
    for (QPushButton *button : {Btn_Auth, Btn_Exit})
        button->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_Auth);
    buttons->addWidget(Btn_Exit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Edt_Pass);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Edt_Pass, &QLineEdit::returnPressed, this, &TPass_Input::Btn_AuthClick);
    connect(Btn_Auth, &QPushButton::clicked, this, &TPass_Input::Btn_AuthClick);
    connect(Btn_Exit, &QPushButton::clicked, this, &TPass_Input::Btn_ExitClick);
}

bool TPass_Input::FormShow() {
    if (!PasswordKeyReadable()) {
        prompt().Error(QStringLiteral("パスワード情報が正常に取得できません。"));
        return false;
    }
    expected_ = ReadStoredPassword();
    if (expected_.isEmpty()) {
        prompt().Error(TamperMessage());
        return false;
    }
    return true;
}

bool TPass_Input::Ask() {
    Edt_Pass->clear();
    exitPressed_ = false;
    if (!FormShow())
        return false;
    return exec() == QDialog::Accepted;
}

bool TPass_Input::TypedIsExpected() const {
    return PasswordMatches(Edt_Pass->text(), expected_);
}

void TPass_Input::Btn_AuthClick() {
    if (TypedIsExpected()) {
        accept();
        return;
    }
    prompt().Message(QStringLiteral("パスワードが正しくありません。"));
}

void TPass_Input::Btn_ExitClick() {
    exitPressed_ = true;
    reject();
}

void TPass_Input::done(int) {
    QDialog::done(!exitPressed_ && TypedIsExpected() ? QDialog::Accepted : QDialog::Rejected);
}

bool AskStartupPassword(QWidget *mainWindow) {
    TPass_Input window(mainWindow);
    return window.Ask();
}
