#include "MailTestServers.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

MailTestServers::MailTestServers(QStringList arguments, bool tls) {
    if (tls) {
        const QString cert = dir_.filePath(QStringLiteral("cert.pem"));
        const QString key = dir_.filePath(QStringLiteral("key.pem"));
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key,
                       "-out", cert});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            return;
        arguments << QStringLiteral("--cert") << cert << QStringLiteral("--key") << key;
    }
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(MAIL_SERVERS_SCRIPT)} + arguments);
    // A loaded machine may take seconds to start Python; only the deadline or an exit ends the
    // wait.
    const QDeadlineTimer deadline(30000);
    while (!ready_ && !deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(500);
        ReadEvents();
    }
}

MailTestServers::~MailTestServers() {
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

TransportOptions MailTestServers::Options() const {
    TransportOptions options;
    options.timeoutMs = 10000;
    options.extraCaCertificates =
        QSslCertificate::fromPath(dir_.filePath(QStringLiteral("cert.pem")));
    return options;
}

void MailTestServers::ReadEvents() {
    pending_ += process_.readAllStandardOutput();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QJsonObject event = QJsonDocument::fromJson(pending_.left(end)).object();
        pending_.remove(0, end + 1);
        if (event.value(QStringLiteral("event")) == QStringLiteral("ready")) {
            ports_ = event;
            ready_ = true;
        } else {
            events_.push_back(event);
        }
    }
}

std::vector<QJsonObject> MailTestServers::Events(const QString &kind, int count, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    std::vector<QJsonObject> matching;
    for (;;) {
        ReadEvents();
        matching.clear();
        for (const QJsonObject &event : events_)
            if (kind.isEmpty() || event.value(QStringLiteral("event")).toString() == kind)
                matching.push_back(event);
        if (static_cast<int>(matching.size()) >= count || deadline.hasExpired())
            return matching;
        process_.waitForReadyRead(50);
    }
}

QStringList MailTestServers::Commands() {
    QStringList commands;
    for (const QJsonObject &event : Events()) {
        const QString kind = event.value(QStringLiteral("event")).toString();
        if (kind != QStringLiteral("message"))
            commands << kind + u' ' + event.value(QStringLiteral("command")).toString();
    }
    return commands;
}
