#include "platform/UserFolders.h"

#include <QDir>

namespace {

QString XdgFolder(const char *variable, const QString &insideHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + insideHome);
}

} // namespace

QString UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString UserDataFolder() {
    return XdgFolder("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}
