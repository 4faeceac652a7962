#include "platform/ZipData.h"

#include "core/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringMatcher>

namespace {
constexpr qsizetype kCodeHeadLength = 3;
constexpr qsizetype kCodeTailLength = 128;
constexpr qsizetype kAddressLength = 512;
} // namespace

QString ZipFilePath(const QString &dataPath) {
    return QDir(dataPath).filePath(QStringLiteral("zip/zip.dat"));
}

ZipRow ZipRowFromLine(const QString &line) {
    const qsizetype comma = line.indexOf(u',');
    const QString code = comma < 0 ? QString() : line.left(comma);
    return {code.left(kCodeHeadLength) + u'-' + code.mid(kCodeHeadLength, kCodeTailLength),
            line.mid(comma + 1, kAddressLength)};
}

QString ZipCodeKey(const QString &zipText) {
    // Codes imported from spreadsheets or typed with the input method on come full-width.
    static const QString hyphens = QStringLiteral("-－―−‐ー");
    QString key;
    for (const QChar c : zipText) {
        if (hyphens.contains(c))
            continue;
        key += c >= QChar(0xFF10) && c <= QChar(0xFF19) ? QChar(u'0' + (c.unicode() - 0xFF10)) : c;
    }
    return key;
}

ZipData::LoadResult ZipData::Load(const QString &path) {
    const std::lock_guard lock(mutex_);
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        Forget();
        return LoadResult::Unreadable;
    }
    const bool current = path == path_ && info.size() == size_ &&
                         info.lastModified() == modified_ &&
                         info.metadataChangeTime() == metadataChanged_;
    if (!current) {
        Forget();
        QStringList lines;
        if (!TextFile::ReadLines(path, lines))
            return LoadResult::Unreadable;
        foldedLines_.reserve(lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString &line = lines.at(i);
            foldedLines_.append(line.toCaseFolded());
            const qsizetype comma = line.indexOf(u',');
            if (comma > 0)
                linesOfCode_[line.left(comma).trimmed()].append(i);
        }
        lines_ = std::move(lines);
        path_ = path;
        size_ = info.size();
        modified_ = info.lastModified();
        metadataChanged_ = info.metadataChangeTime();
    }
    return lines_.isEmpty() ? LoadResult::Empty : LoadResult::Ready;
}

void ZipData::Forget() {
    path_.clear();
    size_ = -1;
    modified_ = {};
    metadataChanged_ = {};
    lines_.clear();
    foldedLines_.clear();
    linesOfCode_.clear();
}

QList<ZipRow> ZipData::FindByCode(const QString &key) const {
    const std::lock_guard lock(mutex_);
    QList<ZipRow> rows;
    for (const QString &line : lines_) {
        if (line.startsWith(key))
            rows.append(ZipRowFromLine(line));
    }
    return rows;
}

QList<ZipRow> ZipData::FindByAddress(const QString &text) const {
    const std::lock_guard lock(mutex_);
    QList<ZipRow> rows;
    const QStringMatcher matcher(text.toCaseFolded());
    for (qsizetype i = 0; i < foldedLines_.size(); ++i) {
        if (matcher.indexIn(foldedLines_.at(i)) >= 0)
            rows.append(ZipRowFromLine(lines_.at(i)));
    }
    return rows;
}

QStringList ZipData::TownsOf(const QString &postalDigits) const {
    const std::lock_guard lock(mutex_);
    QStringList towns;
    for (const qsizetype i : linesOfCode_.value(postalDigits)) {
        const QString &line = lines_.at(i);
        towns << line.mid(line.indexOf(u',') + 1);
    }
    return towns;
}

ZipData &SharedZipData() {
    static ZipData data;
    return data;
}
