#include "Bench.h"

#include "postal/ZipLookup.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A data folder holding the shipped national postal data as zip/zip.dat.
const QString &NationalDataPath() {
    static QTemporaryDir folder;
    static const bool ready = [] {
        QDir(folder.path()).mkpath(QStringLiteral("zip"));
        QProcess gunzip;
        gunzip.setStandardOutputFile(ZipFilePath(folder.path()));
        gunzip.start(
            QStringLiteral("gzip"),
            {QStringLiteral("-dc"), QStringLiteral(PELLOR3_SOURCE_DIR "/data/zip/zip.dat.gz")});
        return gunzip.waitForFinished(60000) && gunzip.exitCode() == 0;
    }();
    static const QString path = ready ? folder.path() : QString();
    return path;
}

// Median of 100 lookups; the first, which reads the file, is not counted.
double MedianLookupMs(ZipSearch (*search)(const QString &, const QString &), const QString &key) {
    const QString &dataPath = NationalDataPath();
    if (search(dataPath, key).outcome != ZipSearch::Outcome::Found)
        return -1;
    return MedianMs(100, [&] { search(dataPath, key); });
}

} // namespace

PELLOR3_BENCH_FIGURE(ZipLookupCode, "zip_lookup_code_ms", "ms") {
    return MedianLookupMs(SearchZipByCode, QStringLiteral("100-0001"));
}

PELLOR3_BENCH_FIGURE(ZipLookupAddress, "zip_lookup_address_ms", "ms") {
    return MedianLookupMs(SearchZipByAddress, QStringLiteral("千代田区"));
}
