#pragma once

#include "platform/MailTransport.h"

#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

// The mail servers of mail_servers.py on 127.0.0.1 (an aiosmtpd SMTP server, a scripted POP3
// server, a server that never answers), with a self-signed certificate made for the run.
class MailTestServers {
public:
    // arguments as mail_servers.py takes them; "--cert"/"--key" are added when tls is true.
    explicit MailTestServers(QStringList arguments = {}, bool tls = false);
    ~MailTestServers();

    bool Ready() const { return ready_; }
    int SmtpPort() const { return ports_.value(QStringLiteral("smtp")).toInt(); }
    int PopPort() const { return ports_.value(QStringLiteral("pop")).toInt(); }
    int SilentPort() const { return ports_.value(QStringLiteral("silent")).toInt(); }
    // Trusts the run's certificate; a time limit a loaded machine still meets.
    TransportOptions Options() const;

    // Every event reported so far (waits up to `waitMs` until `count` events of `kind` arrived).
    std::vector<QJsonObject> Events(const QString &kind = {}, int count = 0, int waitMs = 5000);
    // "pop USER x", "smtp MAIL", ... in the order they happened.
    QStringList Commands();

private:
    void ReadEvents();

    QTemporaryDir dir_;
    QProcess process_;
    QJsonObject ports_;
    std::vector<QJsonObject> events_;
    QByteArray pending_;
    bool ready_ = false;
};
