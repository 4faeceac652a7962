#pragma once

#include <QString>

// "Config.ini" in the data folder (dataPath ends in "/").
QString ConfigIniPath(const QString &dataPath);

// A password as "Config.ini" holds it: scrambled Shift-JIS bytes as uppercase hex pairs.
QString EncodeStoredPassword(const QString &password);
QString DecodeStoredPassword(const QString &stored);

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
};

MailPageValues LoadMailPageValues(const QString &dataPath);
// Writes the keys in their fixed order, keeping everything else in the file; the file is
// readable by its owner only, since it holds the passwords.
bool SaveMailPageValues(const QString &dataPath, const MailPageValues &values,
                        QString *error = nullptr);

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
};

// True when the sender's address and the SMTP server are set (spaces do not count); fills
// SenderMail, SmtpServer and SmtpPort of `settings`.
bool MailSettingsComplete(const QString &dataPath, MailSettings &settings);
MailSettings ReadMailSettings(const QString &dataPath);
