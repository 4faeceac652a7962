#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <mutex>

// One entry of the postal code file as the search window lists it.
struct ZipRow {
    QString code;    // "100-0001"
    QString address; // "東京都千代田区千代田"

    bool operator==(const ZipRow &) const = default;
};

// The postal code file of a data folder: "zip/zip.dat" in it.
QString ZipFilePath(const QString &dataPath);

// A line of the postal code file is "code,address"; everything after the first comma is the
// address. A line without a comma has an empty code and the whole line as address.
ZipRow ZipRowFromLine(const QString &line);

// The postal code as the user typed it with its hyphens (ASCII, full-width, dashes, the long vowel
// mark) removed and full-width digits made ASCII; nothing else changes.
QString ZipCodeKey(const QString &zipText);

// The lines of the postal code file, held in memory so lookups and the customer barcode do not
// read and decode the whole national file each time. The file is read again whenever its path,
// size or time stamps change, so a replaced file is seen at once. Safe to use from any thread.
class ZipData {
public:
    enum class LoadResult { Ready, Unreadable, Empty };

    LoadResult Load(const QString &path);

    // Rows of the lines that begin with the key (case-sensitive), in file order.
    QList<ZipRow> FindByCode(const QString &key) const;
    // Rows of the lines that contain the text anywhere, letter case ignored, in file order.
    QList<ZipRow> FindByAddress(const QString &text) const;
    // The addresses of every line whose code is exactly these seven digits, in file order.
    QStringList TownsOf(const QString &postalDigits) const;

private:
    void Forget();

    mutable std::mutex mutex_;
    QString path_;
    qint64 size_ = -1;
    QDateTime modified_;
    QDateTime metadataChanged_;
    QStringList lines_;
    QStringList foldedLines_; // case-folded copies; unchanged lines share their text
    QHash<QString, QList<qsizetype>> linesOfCode_;
};

// The one copy of the postal code file that the lookups and the barcode share.
ZipData &SharedZipData();
