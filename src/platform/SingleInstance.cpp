#include "platform/SingleInstance.h"

#include "core/PrivateFolder.h"
#include "platform/ProcessLock.h"
#include "platform/Prompt.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <unistd.h>

namespace {
constexpr int answerWaitMs = 2000;

// Beside the registry that names the book, so a copy started from a shell that lacks the
// session's runtime folder still finds the lock of the copy started from the desktop.
QString LockFolder() {
    const QString folder = UserConfigFolder() + QStringLiteral("/pellor3");
    MakePrivateFolder(folder);
    return folder;
}
} // namespace

SingleInstance::SingleInstance(QString name, QObject *parent)
    : QObject(parent), name_(std::move(name) + QStringLiteral("-") + QString::number(getuid())) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
    lock_ = std::make_unique<ProcessLock>(LockFolder() + u'/' + name_ + QStringLiteral(".lock"));
    if (!lock_->TryLock()) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        const bool answered = socket.waitForConnected(answerWaitMs) &&
                              socket.write("raise\n") > 0 &&
                              socket.waitForBytesWritten(answerWaitMs);
        socket.disconnectFromServer();
        if (!answered)
            prompt().Error(
                QStringLiteral("Brisko Pellor3 はすでに起動していますが、応答がありません。\n"
                               "起動中の Brisko Pellor3 を終了してから、もう一度起動して下さい。"));
        lock_.reset();
        return false;
    }
    QLocalServer::removeServer(name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->listen(name_);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit ActivationRequested();
        }
    });
    return true;
}
