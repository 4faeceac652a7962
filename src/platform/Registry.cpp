#include "platform/Registry.h"

#include "core/IniFile.h"
#include "core/PrivateFolder.h"
#include "platform/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Registry {

QString FilePath() {
    const QString overridden = qEnvironmentVariable("PELLOR3_REGISTRY");
    if (!overridden.isEmpty())
        return overridden;
    return UserConfigFolder() + QStringLiteral("/pellor3/registry.ini");
}

FileState Examine(QString *error) {
    IniFile ini(FilePath(), IniFile::Encoding::Utf8);
    if (!QFileInfo::exists(ini.path()))
        return FileState::Missing;
    return ini.Load(error) ? FileState::Read : FileState::Unreadable;
}

QString ReadString(const QString &key, const QString &name) {
    IniFile ini(FilePath(), IniFile::Encoding::Utf8);
    ini.Load();
    return ini.ReadString(key, name);
}

bool WriteString(const QString &key, const QString &name, const QString &value, QString *error) {
    const QString path = FilePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder))
        MakePrivateFolder(folder);
    // Private before the first value is written: the rewrite keeps the mode of the file it
    // replaces, so the scrambled password is never readable by others, not even for a moment.
    const auto privateMode = QFile::ReadOwner | QFile::WriteOwner;
    if (QFile file(path); !file.exists())
        file.open(QIODevice::WriteOnly, privateMode);
    else
        QFile::setPermissions(path, privateMode);
    IniFile ini(path, IniFile::Encoding::Utf8);
    ini.Load();
    ini.WriteString(key, name, value);
    if (!ini.Save(error))
        return false;
    QFile::setPermissions(path, privateMode);
    return true;
}

} // namespace Registry
