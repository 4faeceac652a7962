#include "RadicaleServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

RadicaleServer::RadicaleServer() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    port_ = probe.serverPort();
    probe.close();
    QFile users(dir_.filePath("users"));
    if (!users.open(QIODevice::WriteOnly) || users.write("phone:secret\n") < 0)
        return;
    users.close();
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start("/usr/bin/python3",
                   {"-m", "radicale", "--config", "", "--server-hosts",
                    QStringLiteral("127.0.0.1:%1").arg(port_), "--storage-filesystem-folder",
                    dir_.filePath("storage"), "--auth-type", "htpasswd", "--auth-htpasswd-filename",
                    users.fileName(), "--auth-htpasswd-encryption", "plain", "--rights-type",
                    "owner_only"});
    QElapsedTimer waited;
    waited.start();
    while (process_.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port_);
        if (socket.waitForConnected(200)) {
            running_ = Phone({"mkbook", "/phone/book/"});
            return;
        }
        QTest::qWait(100);
    }
}

RadicaleServer::~RadicaleServer() {
    process_.kill();
    process_.waitForFinished();
}

QString RadicaleServer::base() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QString RadicaleServer::BookFolder() const {
    return dir_.filePath("storage/collection-root/phone/book/");
}

bool RadicaleServer::Phone(QStringList arguments, QByteArray *output, int waitMs) {
    QProcess phone;
    arguments = QStringList{PHONE_SCRIPT, base(), "phone", "secret"} + arguments;
    phone.start("/usr/bin/python3", arguments);
    phone.waitForFinished(waitMs);
    if (output)
        *output = phone.readAllStandardOutput();
    return phone.exitStatus() == QProcess::NormalExit && phone.exitCode() == 0;
}

bool RadicaleServer::Put(const QString &path, const QString &card) {
    QFile file(dir_.filePath("card.vcf"));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(card.toUtf8());
    file.close();
    return Phone({"put", path, file.fileName()});
}

QString RadicaleServer::Get(const QString &path) {
    QByteArray card;
    return Phone({"get", path}, &card) ? QString::fromUtf8(card) : QString();
}
