#pragma once

#include "core/IniFile.h"
#include "platform/MailTransport.h"
#include "platform/SettingsPassword.h"

#include <QString>
#include <QStringList>
#include <array>

// The mail page of the settings window as typed: ports are kept as text, unvalidated.
struct MailPageValues {
    QString name;
    QString mail;
    QString smtpServer;
    QString smtpPort = QStringLiteral("25");
    QString smtpUserId;
    QString smtpPassword;
    bool usePopBeforeSmtp = false;
    QString popServer;
    QString popPort = QStringLiteral("110");
    QString popUserId;
    QString popPassword;
    // "NONE", "STARTTLS" or "SSL"; empty in files written before the choice existed.
    QString smtpSecurity;
    QString popSecurity;
};

// The passwords come from the file when it still holds them, otherwise from the desktop's keyring.
MailPageValues LoadMailPageValues(const QString &dataPath);
// Where a save put the passwords: the desktop's keyring (the file then holds none), or, when no
// keyring answers, the file as before.
enum class PasswordPlace { Keyring, SettingsFile };
// Writes the keys in their fixed order, keeping everything else in the file; the file is
// readable by its owner only, since it may hold the passwords.
bool SaveMailPageValues(const QString &dataPath, const MailPageValues &values,
                        QString *error = nullptr, PasswordPlace *place = nullptr);

// What the sender uses; ports that are missing or not numbers fall back to 25 and 110.
struct MailSettings {
    QString SenderName;
    QString SenderMail;
    QString SmtpServer;
    int SmtpPort = 25;
    QString SmtpUserId;
    QString SmtpPassword;
    QString PopUserId;
    QString PopServer;
    int PopPort = 110;
    QString PopPassword;
    bool UsePopBeforeSmtp = false;
    MailSecurity SmtpSecurity = MailSecurity::Automatic;
    MailSecurity PopSecurity = MailSecurity::Automatic;
    // Certificates the user chose to trust although the system does not ("host:port" = print).
    QStringList TrustedFingerprints;
};

// True when the sender's address and the SMTP server are set (spaces do not count); fills
// SenderMail, SmtpServer and SmtpPort of `settings`.
bool MailSettingsComplete(const QString &dataPath, MailSettings &settings);
MailSettings ReadMailSettings(const QString &dataPath);

// The connection choices of the settings window, with each one's standard port for SMTP and POP3.
struct SecurityChoice {
    QString key;
    QString caption;
    int smtpPort;
    int popPort;
};
const std::array<SecurityChoice, 3> &SecurityChoices();
MailSecurity SecurityOf(const QString &key);
// The choice shown for a stored key; a file without one shows what its port suggests.
int SecurityChoiceIndex(const QString &key, const QString &port);
// The port after the choice changes: a standard port (or none) follows it, a typed one stays.
QString PortForSecurityChoice(const QString &port, int from, int to, bool pop);

// Keeps the user's trust in the certificate that server showed; false with `error` when the
// settings file cannot be written.
bool TrustCertificate(const QString &dataPath, const QString &host, int port,
                      const QString &fingerprint, QString *error);
