#include "admin/PasswordPage.h"

#include "admin/StartupPassword.h"
#include "platform/Prompt.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit *PasswordEdit(const char *name, QWidget *parent) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    GuardShiftJis(edit);
    return edit;
}

const QString KeyFailure = QStringLiteral("パスワード情報が正常に処理出来ません");

} // namespace

TPasswordPage::TPasswordPage(const QString &dbPath, QWidget *parent)
    : QWidget(parent), dbPath_(dbPath) {
    setObjectName(QStringLiteral("TabSheet1"));
    CB_PassUse = new QCheckBox(QStringLiteral("ソフト使用時にパスワードを尋ねる"), this);
    CB_PassUse->setObjectName(QStringLiteral("CB_PassUse"));
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Edt_Pass1 = PasswordEdit("Edt_Pass1", Panel1);
    Edt_Pass2 = PasswordEdit("Edt_Pass2", Panel1);
    auto *panel = new QVBoxLayout(Panel1);
    panel->addWidget(new QLabel(QStringLiteral("■パスワード"), Panel1));
    panel->addWidget(Edt_Pass1);
    panel->addWidget(new QLabel(QStringLiteral("■パスワード（確認用）"), Panel1));
    panel->addWidget(Edt_Pass2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(CB_PassUse);
    layout->addWidget(Panel1);
    layout->addStretch();

    connect(CB_PassUse, &QCheckBox::toggled, this, &TPasswordPage::UpdatePasswordPage);
    connect(Edt_Pass1, &QLineEdit::textChanged, this, &TPasswordPage::UpdatePasswordPage);
    connect(Edt_Pass2, &QLineEdit::textChanged, this, &TPasswordPage::UpdatePasswordPage);
    UpdatePasswordPage();
}

void TPasswordPage::Load() {
    QString error;
    if (!ReadMarkerLines(dbPath_, markerLines_, &error)) {
        prompt().Error(error);
        return;
    }
    switch (MarkerOf(markerLines_)) {
    case PasswordMarker::Off:
        Edt_Pass1->clear();
        Edt_Pass2->clear();
        CB_PassUse->setChecked(false);
        break;
    case PasswordMarker::On:
        if (PasswordKeyReadable()) {
            Edt_Pass1->setText(ReadStoredPassword());
            Edt_Pass2->setText(Edt_Pass1->text());
        } else {
            prompt().Error(QStringLiteral("パスワード情報が正常に取得できません"));
        }
        CB_PassUse->setChecked(true);
        break;
    case PasswordMarker::Unknown:
        break;
    }
    UpdatePasswordPage();
}

bool TPasswordPage::OkAllowed() const {
    return !CB_PassUse->isChecked() ||
           (!Edt_Pass1->text().isEmpty() && Edt_Pass1->text() == Edt_Pass2->text());
}

void TPasswordPage::UpdatePasswordPage() {
    Edt_Pass1->setEnabled(CB_PassUse->isChecked());
    Edt_Pass2->setEnabled(CB_PassUse->isChecked());
    emit OkConditionChanged();
}

bool TPasswordPage::Accept() {
    QString error;
    if (!ReadMarkerLines(dbPath_, markerLines_, &error)) {
        prompt().Error(error);
        return false;
    }
    if (!CurrentPasswordGiven())
        return false;
    return !CB_PassUse->isChecked() ||
           prompt().Confirm(QStringLiteral("パスワードを設定します。\r\nよろしいですか？\r\n\r\n"
                                           "パスワードを忘れるとソフトを起動することができなく"
                                           "なります。"));
}

bool TPasswordPage::CurrentPasswordGiven() {
    if (MarkerOf(markerLines_) != PasswordMarker::On)
        return true;
    const QString stored = ReadStoredPassword();
    if (CB_PassUse->isChecked() && Edt_Pass1->text() == stored)
        return true;
    const QString typed = prompt().AskPassword(
        QStringLiteral("パスワードを解除・変更するには、現在のパスワードを入力してください。"),
        QStringLiteral("パスワード入力"));
    if (typed.isEmpty())
        return false;
    if (PasswordMatches(typed, stored))
        return true;
    prompt().Error(QStringLiteral("パスワードが正しくありません。"));
    return false;
}

bool TPasswordPage::SaveMarker(bool on) {
    QString error;
    if (WriteMarker(dbPath_, markerLines_, on, &error))
        return true;
    prompt().Error(
        QStringLiteral("%1 に書き込めません。\n%2").arg(PasswordMarkerPath(dbPath_), error));
    return false;
}

// The stores are written in the order that never leaves the marker asking for a password the
// registry does not hold: a start that finds that ends the program as tampered with.
void TPasswordPage::Save() {
    if (CB_PassUse->isChecked()) {
        if (!WriteStoredPassword(Edt_Pass1->text())) {
            prompt().Error(KeyFailure);
            return;
        }
        SaveMarker(true);
    } else if (SaveMarker(false) && !WriteStoredPassword(QString())) {
        prompt().Error(KeyFailure);
    }
}
