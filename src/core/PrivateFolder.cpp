#include "core/PrivateFolder.h"

#include <QDir>
#include <QFileInfo>

bool MakePrivateFolder(const QString &path, QString *error) {
    // Every level made here is private, not only the last: a parent made with the usual mode
    // would let others see in while the folder is being filled.
    QStringList made{path};
    for (QFileInfo level(QDir::cleanPath(path)); !level.exists() && !level.isRoot();
         level = QFileInfo(level.absolutePath()))
        made << level.absoluteFilePath();
    if (!QDir().mkpath(path)) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
        return false;
    }
    // A drive that keeps no owner rights (a stick formatted for Windows) still takes backups.
    for (const QString &folder : made)
        QFile::setPermissions(folder, PrivateFolderPermissions);
    return true;
}
