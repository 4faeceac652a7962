#include "core/PrivateFolder.h"

#include <QDir>

bool MakePrivateFolder(const QString &path, QString *error) {
    if (!QDir().mkpath(path)) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
        return false;
    }
    // A drive that keeps no owner rights (a stick formatted for Windows) still takes backups.
    QFile::setPermissions(path, PrivateFolderPermissions);
    return true;
}
