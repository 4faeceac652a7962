#include "platform/SettingsPassword.h"

#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/SecretStore.h"

#include <QDir>
#include <QFile>

namespace {

// One entry per installation and section, so two books on one desktop keep their own.
QString KeyringKey(const QString &dataPath, const QString &section) {
    return QDir::cleanPath(dataPath) + u'|' + section;
}

} // namespace

QString EncodeStoredPassword(const QString &password) {
    return QString::fromLatin1(ScramblePassword(ShiftJis::Encode(password)).toHex().toUpper());
}

QString DecodeStoredPassword(const QString &stored) {
    return ShiftJis::Decode(ScramblePassword(QByteArray::fromHex(stored.toLatin1())));
}

QString ReadSettingsPassword(const QString &dataPath, const IniFile &ini, const QString &section) {
    if (const QString stored = ini.ReadString(section, QStringLiteral("PASSWORD"));
        !stored.isEmpty())
        return DecodeStoredPassword(stored);
    return secrets().Read(KeyringKey(dataPath, section)).value_or(QString());
}

bool KeepPasswordInKeyring(const QString &dataPath, const QString &section,
                           const QString &password) {
    return secrets().Write(KeyringKey(dataPath, section), password);
}

bool SaveSettingsPrivately(IniFile &ini, QString *error) {
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
