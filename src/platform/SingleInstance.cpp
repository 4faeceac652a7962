#include "platform/SingleInstance.h"
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
    QDir().mkpath(folder);
    return folder;
}
} // namespace

SingleInstance::SingleInstance(QString name, QObject *parent)
    : QObject(parent), name_(std::move(name) + QStringLiteral("-") + QString::number(getuid())) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Acquire() {
    lock_ = std::make_unique<QLockFile>(LockFolder() + u'/' + name_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (socket.waitForConnected(answerWaitMs)) {
            socket.write("raise\n");
            socket.waitForBytesWritten(answerWaitMs);
            socket.disconnectFromServer();
        }
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
