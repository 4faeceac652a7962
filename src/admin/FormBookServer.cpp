#include "admin/FormBookServer.h"

#include "platform/Prompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormBookServer::TFormBookServer(QWidget *parent, ConnectionTry tryConnection)
    : QDialog(parent), tryConnection_(std::move(tryConnection)) {
    setObjectName(QStringLiteral("FormBookServer"));
    setWindowTitle(QStringLiteral("サーバーの指定"));
    const auto edit = [this](const char *name, const QString &text = {}) {
        auto *field = new QLineEdit(text, this);
        field->setObjectName(QLatin1String(name));
        field->setAttribute(Qt::WA_InputMethodEnabled, false);
        return field;
    };
    EditHost = edit("EditHost");
    SpinPort = new QSpinBox(this);
    SpinPort->setObjectName(QStringLiteral("SpinPort"));
    SpinPort->setRange(1, 65535);
    SpinPort->setValue(BookServer::DefaultPort);
    EditDatabase = edit("EditDatabase", QStringLiteral("pellor3"));
    EditUser = edit("EditUser");
    EditPassword = edit("EditPassword");
    EditPassword->setEchoMode(QLineEdit::Password);
    CheckRequireSsl = new QCheckBox(QStringLiteral("暗号化された接続だけを使う（require）"), this);
    CheckRequireSsl->setObjectName(QStringLiteral("CheckRequireSsl"));
    BtnConnect = new QPushButton(QStringLiteral("接続して保存"), this);
    BtnConnect->setObjectName(QStringLiteral("BtnConnect"));
    BtnConnect->setDefault(true);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("ホスト名"), EditHost);
    fields->addRow(QStringLiteral("ポート番号"), SpinPort);
    fields->addRow(QStringLiteral("データベース名"), EditDatabase);
    fields->addRow(QStringLiteral("ユーザー名"), EditUser);
    fields->addRow(QStringLiteral("パスワード"), EditPassword);
    fields->addRow(QString(), CheckRequireSsl);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnConnect);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnConnect, &QPushButton::clicked, this, &TFormBookServer::BtnConnectClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

BookServer::Address TFormBookServer::TypedAddress() const {
    return {EditUser->text().trimmed(), EditHost->text().trimmed(), SpinPort->value(),
            EditDatabase->text().trimmed(), CheckRequireSsl->isChecked()};
}

void TFormBookServer::BtnConnectClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString problem = KeepServer(TypedAddress(), EditPassword->text(), tryConnection_);
    QApplication::restoreOverrideCursor();
    if (!problem.isEmpty()) {
        prompt().Error(problem);
        return;
    }
    accept();
}
