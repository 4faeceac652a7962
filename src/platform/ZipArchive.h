#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One file held in a ZIP archive, unpacked.
struct ZipArchiveEntry {
    QString name;
    QDateTime modified; // as the archive records it, local time
    QByteArray data;
};

// Unpacks every file of a ZIP archive (stored or deflated entries) and checks each against its
// recorded checksum. False, with the reason, when the file is no archive this reader can open or
// a file in it would unpack beyond `maxUnpackedBytes`.
bool ReadZipArchive(const QString &path, QList<ZipArchiveEntry> &entries, QString &error,
                    qint64 maxUnpackedBytes = 512LL * 1024 * 1024);
