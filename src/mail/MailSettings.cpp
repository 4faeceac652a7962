#include "mail/MailSettings.h"

#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"

#include <QFile>

namespace {

const QString Smtp = QStringLiteral("SMTP");
const QString Pop3 = QStringLiteral("POP3");

IniFile LoadConfig(const QString &dataPath) {
    IniFile ini(ConfigIniPath(dataPath));
    ini.Load();
    return ini;
}

// Decimal, or hexadecimal after "0x"; anything else, or a number no port can have, gives the
// default.
int PortOf(const QString &text, int defaultPort) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int port = trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
                         ? trimmed.mid(2).toInt(&ok, 16)
                         : trimmed.toInt(&ok, 10);
    return ok && port >= 1 && port <= 65535 ? port : defaultPort;
}

} // namespace

QString EncodeStoredPassword(const QString &password) {
    return QString::fromLatin1(ScramblePassword(ShiftJis::Encode(password)).toHex().toUpper());
}

QString DecodeStoredPassword(const QString &stored) {
    return ShiftJis::Decode(ScramblePassword(QByteArray::fromHex(stored.toLatin1())));
}

MailPageValues LoadMailPageValues(const QString &dataPath) {
    const IniFile ini = LoadConfig(dataPath);
    MailPageValues values;
    values.name = ini.ReadString(Smtp, QStringLiteral("NAME"));
    values.mail = ini.ReadString(Smtp, QStringLiteral("MAIL"));
    values.smtpServer = ini.ReadString(Smtp, QStringLiteral("SERVER"));
    values.smtpPort = ini.ReadString(Smtp, QStringLiteral("PORT"), QStringLiteral("25"));
    values.smtpUserId = ini.ReadString(Smtp, QStringLiteral("USERID"));
    values.smtpPassword = DecodeStoredPassword(ini.ReadString(Smtp, QStringLiteral("PASSWORD")));
    values.usePopBeforeSmtp = ini.ReadBool(Pop3, QStringLiteral("USE_POP_BEFORE"), false);
    values.popServer = ini.ReadString(Pop3, QStringLiteral("SERVER"));
    values.popPort = ini.ReadString(Pop3, QStringLiteral("PORT"), QStringLiteral("110"));
    values.popUserId = ini.ReadString(Pop3, QStringLiteral("USERID"));
    values.popPassword = DecodeStoredPassword(ini.ReadString(Pop3, QStringLiteral("PASSWORD")));
    return values;
}

bool SaveMailPageValues(const QString &dataPath, const MailPageValues &values, QString *error) {
    IniFile ini = LoadConfig(dataPath);
    ini.WriteString(Smtp, QStringLiteral("NAME"), values.name);
    ini.WriteString(Smtp, QStringLiteral("MAIL"), values.mail);
    ini.WriteString(Smtp, QStringLiteral("SERVER"), values.smtpServer);
    ini.WriteString(Smtp, QStringLiteral("PORT"), values.smtpPort);
    ini.WriteString(Smtp, QStringLiteral("USERID"), values.smtpUserId);
    ini.WriteString(Smtp, QStringLiteral("PASSWORD"), EncodeStoredPassword(values.smtpPassword));
    ini.WriteBool(Pop3, QStringLiteral("USE_POP_BEFORE"), values.usePopBeforeSmtp);
    ini.WriteString(Pop3, QStringLiteral("SERVER"), values.popServer);
    ini.WriteString(Pop3, QStringLiteral("PORT"), values.popPort);
    ini.WriteString(Pop3, QStringLiteral("USERID"), values.popUserId);
    ini.WriteString(Pop3, QStringLiteral("PASSWORD"), EncodeStoredPassword(values.popPassword));
    // The atomic write keeps the permissions of the file it replaces, so the file is made
    // private before any password goes into it.
    QFile file(ini.path());
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    if (!file.exists() && !file.open(QIODevice::WriteOnly, ownerOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    file.setPermissions(ownerOnly);
    return ini.Save(error);
}

bool MailSettingsComplete(const QString &dataPath, MailSettings &settings) {
    const IniFile ini = LoadConfig(dataPath);
    settings.SenderMail = ini.ReadString(Smtp, QStringLiteral("MAIL"));
    settings.SmtpServer = ini.ReadString(Smtp, QStringLiteral("SERVER"));
    settings.SmtpPort = PortOf(ini.ReadString(Smtp, QStringLiteral("PORT")), 25);
    return !settings.SenderMail.trimmed().isEmpty() && !settings.SmtpServer.trimmed().isEmpty();
}

MailSettings ReadMailSettings(const QString &dataPath) {
    const MailPageValues values = LoadMailPageValues(dataPath);
    MailSettings settings;
    settings.SenderName = values.name;
    // Blanks typed around an address or a server name would make the server refuse it.
    settings.SenderMail = values.mail.trimmed();
    settings.SmtpServer = values.smtpServer.trimmed();
    settings.SmtpPort = PortOf(values.smtpPort, 25);
    settings.SmtpUserId = values.smtpUserId;
    settings.SmtpPassword = values.smtpPassword;
    settings.PopUserId = values.popUserId;
    settings.PopServer = values.popServer.trimmed();
    settings.PopPort = PortOf(values.popPort, 110);
    settings.PopPassword = values.popPassword;
    settings.UsePopBeforeSmtp = values.usePopBeforeSmtp;
    return settings;
}
