#include "contacts/CardDavSettings.h"

#include "core/IniFile.h"
#include "platform/SettingsPassword.h"

#include <QHostAddress>

namespace {
const QString Section = QStringLiteral("CARDDAV");
} // namespace

CardDavSettings LoadCardDavSettings(const QString &dataPath) {
    IniFile ini(ConfigIniPath(dataPath));
    ini.Load();
    return {ini.ReadString(Section, QStringLiteral("URL")).trimmed(),
            ini.ReadString(Section, QStringLiteral("USERID")),
            ReadSettingsPassword(dataPath, ini, Section),
            ini.ReadBool(Section, QStringLiteral("ALLOW_HTTP"), false)};
}

bool SaveCardDavSettings(const QString &dataPath, const CardDavSettings &settings, QString *error) {
    IniFile ini(ConfigIniPath(dataPath));
    ini.Load();
    const bool inKeyring = KeepPasswordInKeyring(dataPath, Section, settings.password);
    ini.WriteString(Section, QStringLiteral("URL"), settings.url.trimmed());
    ini.WriteString(Section, QStringLiteral("USERID"), settings.userId);
    ini.WriteString(Section, QStringLiteral("PASSWORD"),
                    inKeyring ? QString() : EncodeStoredPassword(settings.password));
    ini.WriteBool(Section, QStringLiteral("ALLOW_HTTP"), settings.allowHttp);
    return SaveSettingsPrivately(ini, error);
}

QString CardDavAddressProblem(const QUrl &url, bool allowHttp) {
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral(
            "アドレス帳サーバーのURLを https://サーバー名/ の形で入力して下さい。");
    const QString scheme = url.scheme().toLower();
    if (scheme == QStringLiteral("https"))
        return {};
    if (scheme != QStringLiteral("http"))
        return QStringLiteral("アドレス帳サーバーのURLは https:// で始めて下さい。");
    const QHostAddress address(url.host());
    if (allowHttp || url.host() == QStringLiteral("localhost") || address.isLoopback())
        return {};
    return QStringLiteral(
        "暗号化しない http:// の接続では、パスワードと連絡先がそのまま送られます。"
        "https:// のURLを使うか、「暗号化しない接続を許可する」を選んで下さい。");
}
