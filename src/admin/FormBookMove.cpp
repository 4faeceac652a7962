#include "admin/FormBookMove.h"

#include "admin/BookMove.h"
#include "platform/AppContext.h"
#include "platform/BookServer.h"
#include "platform/Prompt.h"
#include "store/EngineError.h"
#include "widgets/ProgressWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormBookMove::TFormBookMove(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FormBookMove"));
    setWindowTitle(QStringLiteral("台帳の移動"));
    EditServerUri = new QLineEdit(BookServer::StoredUri(), this);
    EditServerUri->setObjectName(QStringLiteral("EditServerUri"));
    EditServerUri->setPlaceholderText(
        QStringLiteral("postgresql://ユーザー名@ホスト名:5432/データベース名"));
    EditServerUri->setMinimumWidth(420);
    RadioToServer =
        new QRadioButton(QStringLiteral("このパソコンの台帳をサーバーの空のデータベースへ"), this);
    RadioToServer->setObjectName(QStringLiteral("RadioToServer"));
    RadioToServer->setChecked(true);
    RadioFromServer =
        new QRadioButton(QStringLiteral("サーバーの台帳をこのパソコンの空の台帳へ"), this);
    RadioFromServer->setObjectName(QStringLiteral("RadioFromServer"));
    BtnStart = new QPushButton(QStringLiteral("コピー開始"), this);
    BtnStart->setObjectName(QStringLiteral("BtnStart"));
    BtnClose = new QPushButton(QStringLiteral("閉じる"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnStart);
    buttons->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("サーバー"), this));
    layout->addWidget(EditServerUri);
    layout->addWidget(RadioToServer);
    layout->addWidget(RadioFromServer);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(BtnStart, &QPushButton::clicked, this, &TFormBookMove::BtnStartClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormBookMove::BtnStartClick() {
    const bool toServer = RadioToServer->isChecked();
    const QString uri = EditServerUri->text().trimmed();
    if (QString reason; !BookServer::Parse(uri, &reason)) {
        prompt().Error(reason);
        return;
    }
    BookCounts copied;
    try {
        // Gone before the outcome is told, so no window stands beside it. Up at once: the copy
        // runs in one transaction of the target.
        ProgressWindow progress(QStringLiteral("コピーしています..."), windowTitle(), this,
                                ProgressWindow::AtOnce);
        copied = MoveBook(toServer ? BookMoveDirection::ToServer : BookMoveDirection::FromServer,
                          uri, context_.GetDbPath(), context_.GetDataPath(), progress.Reporter());
    } catch (const CopyCancelled &cancelled) {
        prompt().Message(cancelled.message());
        return;
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    prompt().Message(QStringLiteral("コピーしました。\n") + BookCountsText(copied));
    // The local book changed: the main window reloads it.
    if (!toServer) {
        accept();
        return;
    }
    if (prompt().Confirm(QStringLiteral("次に起動するときから、このサーバーの台帳を使いますか？"),
                         QStringLiteral("確認"), Prompt::Answer::No)) {
        if (QString error; !BookServer::StoreUri(uri, &error))
            prompt().Error(error);
    }
}
