#pragma once

#include <QString>
#include <QUrl>

// The address book server of "Config.ini" section CARDDAV: URL, USERID (empty: no login),
// the password kept as the mail passwords are, and ALLOW_HTTP, the user's leave to speak plain
// HTTP to a server that is not this computer.
struct CardDavSettings {
    QString url;
    QString userId;
    QString password;
    bool allowHttp = false;
};

CardDavSettings LoadCardDavSettings(const QString &dataPath);
bool SaveCardDavSettings(const QString &dataPath, const CardDavSettings &settings, QString *error);

// Why the address cannot be used, empty when it can: HTTPS (with the certificate checked), or
// HTTP to this computer or with the user's leave.
QString CardDavAddressProblem(const QUrl &url, bool allowHttp);
