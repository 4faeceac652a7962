#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Radicale on loopback on a free port, with its own storage, the user "phone" with the
// password "secret" and the address book /phone/book/; and the phone: an independent CardDAV
// client (python3-caldav) on the same server.
class RadicaleServer {
public:
    RadicaleServer();
    ~RadicaleServer();
    // False when Radicale or the client could not be started.
    bool running() const { return running_; }
    QString base() const;
    // The folder that holds the cards of /phone/book/, one file each.
    QString BookFolder() const;

    // phone.py's command: put PATH FILE, get PATH, delete PATH, mkbook PATH.
    bool Phone(QStringList arguments, QByteArray *output = nullptr, int waitMs = 20000);
    bool Put(const QString &path, const QString &card);
    // Empty when the card is not there.
    QString Get(const QString &path);

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    bool running_ = false;
};
