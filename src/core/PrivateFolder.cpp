#include "core/PrivateFolder.h"

#include <QDir>

bool MakePrivateFolder(const QString &path, QString *error) {
    if (QDir().mkpath(path) && QFile::setPermissions(path, PrivateFolderPermissions))
        return true;
    if (error)
        *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
    return false;
}
