#pragma once

#include <QString>

// When the disk that holds `path` has less than `needed` bytes (at least 1 MB) free, the line
// that names that disk as full; empty otherwise. A write that fails there is the disk's fault,
// whatever the system called it.
QString FullDiskText(const QString &path, qint64 needed = 0);

// `message`, or the full-disk line in its place when the disk holding `path` is full.
QString NamedIfFull(const QString &path, const QString &message, qint64 needed = 0);
