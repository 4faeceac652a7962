#include "mail/MailSettings.h"

#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "platform/SettingsPassword.h"

namespace {

const QString Smtp = QStringLiteral("SMTP");
const QString Pop3 = QStringLiteral("POP3");
const QString Certificates = QStringLiteral("CERTIFICATES");

QString ServerKey(const QString &host, int port) {
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

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

MailPageValues LoadMailPageValues(const QString &dataPath) {
    const IniFile ini = LoadConfig(dataPath);
    MailPageValues values;
    values.name = ini.ReadString(Smtp, QStringLiteral("NAME"));
    values.mail = ini.ReadString(Smtp, QStringLiteral("MAIL"));
    values.smtpServer = ini.ReadString(Smtp, QStringLiteral("SERVER"));
    values.smtpPort = ini.ReadString(Smtp, QStringLiteral("PORT"), QStringLiteral("25"));
    values.smtpUserId = ini.ReadString(Smtp, QStringLiteral("USERID"));
    values.smtpPassword = ReadSettingsPassword(dataPath, ini, Smtp);
    values.usePopBeforeSmtp = ini.ReadBool(Pop3, QStringLiteral("USE_POP_BEFORE"), false);
    values.popServer = ini.ReadString(Pop3, QStringLiteral("SERVER"));
    values.popPort = ini.ReadString(Pop3, QStringLiteral("PORT"), QStringLiteral("110"));
    values.popUserId = ini.ReadString(Pop3, QStringLiteral("USERID"));
    values.popPassword = ReadSettingsPassword(dataPath, ini, Pop3);
    values.smtpSecurity = ini.ReadString(Smtp, QStringLiteral("SECURITY"));
    values.popSecurity = ini.ReadString(Pop3, QStringLiteral("SECURITY"));
    return values;
}

bool SaveMailPageValues(const QString &dataPath, const MailPageValues &values, QString *error,
                        PasswordPlace *place) {
    IniFile ini = LoadConfig(dataPath);
    const bool inKeyring = KeepPasswordInKeyring(dataPath, Smtp, values.smtpPassword) &&
                           KeepPasswordInKeyring(dataPath, Pop3, values.popPassword);
    if (place)
        *place = inKeyring ? PasswordPlace::Keyring : PasswordPlace::SettingsFile;
    ini.WriteString(Smtp, QStringLiteral("NAME"), values.name);
    ini.WriteString(Smtp, QStringLiteral("MAIL"), values.mail);
    ini.WriteString(Smtp, QStringLiteral("SERVER"), values.smtpServer);
    ini.WriteString(Smtp, QStringLiteral("PORT"), values.smtpPort);
    ini.WriteString(Smtp, QStringLiteral("USERID"), values.smtpUserId);
    ini.WriteString(Smtp, QStringLiteral("PASSWORD"),
                    inKeyring ? QString() : EncodeStoredPassword(values.smtpPassword));
    ini.WriteBool(Pop3, QStringLiteral("USE_POP_BEFORE"), values.usePopBeforeSmtp);
    ini.WriteString(Pop3, QStringLiteral("SERVER"), values.popServer);
    ini.WriteString(Pop3, QStringLiteral("PORT"), values.popPort);
    ini.WriteString(Pop3, QStringLiteral("USERID"), values.popUserId);
    ini.WriteString(Pop3, QStringLiteral("PASSWORD"),
                    inKeyring ? QString() : EncodeStoredPassword(values.popPassword));
    if (!values.smtpSecurity.isEmpty())
        ini.WriteString(Smtp, QStringLiteral("SECURITY"), values.smtpSecurity);
    if (!values.popSecurity.isEmpty())
        ini.WriteString(Pop3, QStringLiteral("SECURITY"), values.popSecurity);
    return SaveSettingsPrivately(ini, error);
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
    settings.SmtpSecurity = SecurityOf(values.smtpSecurity);
    settings.PopSecurity = SecurityOf(values.popSecurity);
    // A certificate is trusted for the server it was shown by, not for any other.
    const IniFile ini = LoadConfig(dataPath);
    for (const QString &server : {ServerKey(settings.SmtpServer, settings.SmtpPort),
                                  ServerKey(settings.PopServer, settings.PopPort)})
        if (const QString print = ini.ReadString(Certificates, server); !print.isEmpty())
            settings.TrustedFingerprints << print;
    return settings;
}

const std::array<SecurityChoice, 3> &SecurityChoices() {
    static const std::array<SecurityChoice, 3> choices = {{
        {QStringLiteral("NONE"), QStringLiteral("なし"), 25, 110},
        {QStringLiteral("STARTTLS"), QStringLiteral("STARTTLS"), 587, 110},
        {QStringLiteral("SSL"), QStringLiteral("SSL/TLS"), 465, 995},
    }};
    return choices;
}

MailSecurity SecurityOf(const QString &key) {
    if (key == QStringLiteral("NONE"))
        return MailSecurity::None;
    if (key == QStringLiteral("STARTTLS"))
        return MailSecurity::StartTls;
    if (key == QStringLiteral("SSL"))
        return MailSecurity::Tls;
    return MailSecurity::Automatic;
}

int SecurityChoiceIndex(const QString &key, const QString &port) {
    const auto &choices = SecurityChoices();
    for (size_t i = 0; i < choices.size(); ++i)
        if (choices[i].key == key)
            return static_cast<int>(i);
    return port.trimmed() == QStringLiteral("465") || port.trimmed() == QStringLiteral("995") ? 2
                                                                                              : 1;
}

QString PortForSecurityChoice(const QString &port, int from, int to, bool pop) {
    const auto standard = [pop](int index) {
        const SecurityChoice &choice = SecurityChoices()[static_cast<size_t>(index)];
        return QString::number(pop ? choice.popPort : choice.smtpPort);
    };
    if (port.trimmed().isEmpty() || port.trimmed() == standard(from) ||
        (!pop && port.trimmed() == QStringLiteral("25")))
        return standard(to);
    return port;
}

bool TrustCertificate(const QString &dataPath, const QString &host, int port,
                      const QString &fingerprint, QString *error) {
    IniFile ini = LoadConfig(dataPath);
    ini.WriteString(Certificates, ServerKey(host, port), fingerprint);
    return ini.Save(error);
}
