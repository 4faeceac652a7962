#include "core/PrivateFolder.h"

#include <QDir>
#include <QFileInfo>

bool MakePrivateFolder(const QString &path, QString *error) {
    // Every level made here is private, not only the last: mkpath would make the others with
    // the process's default mode.
    QStringList missing;
    for (QString level = QDir::cleanPath(QDir(path).absolutePath()); !QFileInfo::exists(level);
         level = QFileInfo(level).path())
        missing.prepend(level);
    for (const QString &level : std::as_const(missing)) {
        if (!QDir().mkdir(level, PrivateFolderPermissions) && !QFileInfo(level).isDir()) {
            if (error)
                *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
            return false;
        }
    }
    if (!QFileInfo(path).isDir()) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
        return false;
    }
    // A drive that keeps no owner rights (a stick formatted for Windows) still takes backups.
    missing << path;
    for (const QString &folder : std::as_const(missing))
        QFile::setPermissions(folder, PrivateFolderPermissions);
    return true;
}
