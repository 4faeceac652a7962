#include "platform/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <zlib.h>

namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr qsizetype kEndRecordSize = 22;
constexpr qsizetype kDirectoryEntrySize = 46;
constexpr qsizetype kLocalHeaderSize = 30;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint16 kUtf8Names = 0x0800;

quint16 U16(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 U32(const QByteArray &bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QDateTime DosTime(quint16 date, quint16 time) {
    return QDateTime(QDate(1980 + (date >> 9), (date >> 5) & 0x0F, date & 0x1F),
                     QTime(time >> 11, (time >> 5) & 0x3F, (time & 0x1F) * 2));
}

bool Inflate(const QByteArray &packed, qint64 unpackedSize, QByteArray &data) {
    data.resize(unpackedSize);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef *>(data.data());
    stream.avail_out = static_cast<uInt>(data.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == uLong(unpackedSize);
    inflateEnd(&stream);
    return complete;
}

} // namespace

bool ReadZipArchive(const QString &path, QList<ZipArchiveEntry> &entries, QString &error,
                    qint64 maxUnpackedBytes) {
    entries.clear();
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("「%1」を開けません: %2").arg(shown, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    const QString broken =
        QStringLiteral("「%1」はZIP形式のファイルではないか、壊れています。").arg(shown);
    qsizetype end = bytes.size() - kEndRecordSize;
    while (end >= 0 && U32(bytes, end) != kEndOfDirectory)
        --end;
    if (end < 0) {
        error = broken;
        return false;
    }
    const int count = U16(bytes, end + 10);
    qsizetype at = U32(bytes, end + 16);
    for (int i = 0; i < count; ++i) {
        if (at + kDirectoryEntrySize > bytes.size() || U32(bytes, at) != kDirectoryEntry) {
            error = broken;
            return false;
        }
        const quint16 flags = U16(bytes, at + 8);
        const quint16 method = U16(bytes, at + 10);
        const quint32 crc = U32(bytes, at + 16);
        const qint64 packedSize = U32(bytes, at + 20);
        const qint64 unpackedSize = U32(bytes, at + 24);
        const qsizetype nameSize = U16(bytes, at + 28);
        const qsizetype local = U32(bytes, at + 42);
        const QByteArray rawName = bytes.mid(at + kDirectoryEntrySize, nameSize);
        ZipArchiveEntry entry;
        // Names without the UTF-8 flag are in the packing system's code page; Japan Post's
        // files have ASCII names, so Latin-1 keeps them.
        entry.name = flags & kUtf8Names ? QString::fromUtf8(rawName) : QString::fromLatin1(rawName);
        entry.modified = DosTime(U16(bytes, at + 14), U16(bytes, at + 12));
        at += kDirectoryEntrySize + nameSize + U16(bytes, at + 30) + U16(bytes, at + 32);
        if (entry.name.endsWith(u'/'))
            continue;
        if (local + kLocalHeaderSize > bytes.size() || U32(bytes, local) != kLocalHeader) {
            error = broken;
            return false;
        }
        const qsizetype dataAt =
            local + kLocalHeaderSize + U16(bytes, local + 26) + U16(bytes, local + 28);
        if (unpackedSize > maxUnpackedBytes) {
            error = QStringLiteral("「%1」の中の「%2」は大きすぎます。").arg(shown, entry.name);
            return false;
        }
        if (dataAt + packedSize > bytes.size()) {
            error = broken;
            return false;
        }
        const QByteArray packed = bytes.mid(dataAt, packedSize);
        const bool unpacked = method == kStored ? (entry.data = packed, packedSize == unpackedSize)
                              : method == kDeflated ? Inflate(packed, unpackedSize, entry.data)
                                                    : false;
        if (!unpacked || crc32(0L, reinterpret_cast<const Bytef *>(entry.data.constData()),
                               static_cast<uInt>(entry.data.size())) != crc) {
            error = QStringLiteral("「%1」の中の「%2」を取り出せません（壊れているか、対応して"
                                   "いない圧縮方式です）。")
                        .arg(shown, entry.name);
            return false;
        }
        entries.append(entry);
    }
    return true;
}
