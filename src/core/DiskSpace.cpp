#include "core/DiskSpace.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

QString FullDiskText(const QString &path, qint64 needed) {
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    if (!disk.isValid() || disk.bytesAvailable() >= qMax(needed, qint64(1) << 20))
        return {};
    const QString name = disk.displayName() == disk.rootPath()
                             ? disk.rootPath()
                             : QStringLiteral("%1（%2）").arg(disk.rootPath(), disk.displayName());
    return QStringLiteral("%1 のディスクに空きがないため、%2 に書き込めません。")
        .arg(name, QDir::toNativeSeparators(path));
}

QString NamedIfFull(const QString &path, const QString &message, qint64 needed) {
    const QString full = FullDiskText(path, needed);
    return full.isEmpty() ? message : full;
}
