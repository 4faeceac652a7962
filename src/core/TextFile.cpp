#include "core/TextFile.h"

#include "core/DiskSpace.h"
#include "core/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace TextFile {

QStringList SplitLines(const QString &text) {
    QStringList lines;
    QString current;
    bool pendingEnd = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            pendingEnd = false;
            continue;
        }
        current += c;
        pendingEnd = true;
    }
    if (pendingEnd)
        lines << current;
    return lines;
}

bool ReadLines(const QString &path, QStringList &lines, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines = SplitLines(ShiftJis::Decode(file.readAll()));
    return true;
}

namespace {

// Valid UTF-8 without a byte-order mark is taken as UTF-8 only with enough characters beyond
// ASCII: a few code page 932 half-width kana also form valid two-byte sequences.
bool LooksLikeUtf8(const QByteArray &bytes) {
    int twoByte = 0;
    int longer = 0;
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        if (byte >= 0xE0)
            ++longer;
        else if (byte >= 0xC0)
            ++twoByte;
    }
    return longer >= 2 || twoByte + longer >= 8;
}

} // namespace

std::optional<QString> DecodeText(const QByteArray &bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (utf8.hasError())
            return std::nullopt;
        return ShiftJis::NormalizeCrossMapping(text);
    }
    QString text;
    if (!ShiftJis::DecodeShiftJisStrict(bytes, text))
        return std::nullopt;
    return text;
}

std::optional<ForeignText> DecodeForeignText(const QByteArray &bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF") || LooksLikeUtf8(bytes))
        if (std::optional<QString> text = DecodeText(bytes, TextEncoding::Utf8))
            return ForeignText{*text, TextEncoding::Utf8};
    if (std::optional<QString> text = DecodeText(bytes, TextEncoding::ShiftJis))
        return ForeignText{*text, TextEncoding::ShiftJis};
    // Neither by the evidence; valid UTF-8 still reads.
    if (std::optional<QString> text = DecodeText(bytes, TextEncoding::Utf8))
        return ForeignText{*text, TextEncoding::Utf8};
    return std::nullopt;
}

bool WriteLines(const QString &path, const QStringList &lines, QString *error) {
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return WriteFileAtomically(path, ShiftJis::Encode(text), error);
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error) {
    // A link stays a link: the file it points to is the one replaced.
    const QFileInfo named(path);
    const QString target = named.isSymLink() ? named.symLinkTarget() : path;
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = NamedIfFull(target,
                                 QStringLiteral("%1 に書き込めませんでした（%2）")
                                     .arg(QDir::toNativeSeparators(path), reason),
                                 bytes.size());
        return false;
    };
    // Every step is checked: a full disk must never turn into an empty file reported as saved.
    QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return fail(file.errorString());
    // A replaced file keeps its mode; a new one stays private to the user, as the temporary is.
    if (QFileInfo::exists(target))
        file.setPermissions(QFile::permissions(target));
    qsizetype written = 0;
    while (written < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            return fail(file.errorString());
        written += n;
    }
    if (!file.flush())
        return fail(file.errorString());
    if (::fsync(file.handle()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    return true;
}

int RemoveStaleTemporaries(const QString &folder, const QDateTime &before) {
    static const QRegularExpression temporary(QStringLiteral("^(.+)\\.[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    int removed = 0;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch match = temporary.match(file.fileName());
        if (match.hasMatch() && QFileInfo(dir.filePath(match.captured(1))).isFile() &&
            file.lastModified() < before && QFile::remove(file.filePath()))
            ++removed;
    }
    return removed;
}

} // namespace TextFile
