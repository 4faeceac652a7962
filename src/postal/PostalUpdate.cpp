#include "postal/PostalUpdate.h"

#include "core/DiskSpace.h"
#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "platform/HttpClient.h"
#include "postal/JapanPostFiles.h"
#include "postal/ZipLookup.h"

#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype kZipCodeDigits = 7;
// A version key with its description.
constexpr qint64 kMaxVersionFileBytes = 4 * 1024;
// How much of the postal data is held before it is checked and written.
constexpr qsizetype kZipBlockBytes = 1024 * 1024;

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsZipLine(const QByteArray &line) {
    if (line.size() <= kZipCodeDigits + 1 || line.at(kZipCodeDigits) != ',')
        return false;
    for (qsizetype i = 0; i < kZipCodeDigits; ++i) {
        if (!IsAsciiDigit(line.at(i)))
            return false;
    }
    return true;
}

QByteArray JoinCrLf(const QList<QByteArray> &lines) {
    QByteArray bytes;
    qsizetype size = 0;
    for (const QByteArray &line : lines)
        size += line.size() + 2;
    bytes.reserve(size);
    for (const QByteArray &line : lines)
        bytes.append(line).append("\r\n");
    return bytes;
}

QString WriteFault(const QSaveFile &file, qint64 bytesToWrite) {
    return NamedIfFull(file.fileName(),
                       QStringLiteral("郵便番号データの「%1」を書き込めません: %2")
                           .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()),
                       bytesToWrite);
}

// The temporary file beside `path`; it goes when the QSaveFile does, unless committed.
bool OpenTemporary(QSaveFile &file, QString &error) {
    file.setDirectWriteFallback(false);
    if (file.open(QIODevice::WriteOnly))
        return true;
    error = WriteFault(file, 0);
    return false;
}

bool WriteTemporary(QSaveFile &file, const QByteArray &bytes, QString &error) {
    if (file.write(bytes) == bytes.size())
        return true;
    error = WriteFault(file, bytes.size());
    return false;
}

// The postal data as it arrives, written with CR LF line ends in blocks that end at a line
// break, each block checked for the zip.dat form on the way.
class ZipDataWriter : public QIODevice {
public:
    explicit ZipDataWriter(QSaveFile &file) : file_(file) { open(QIODevice::WriteOnly); }

    // Writes the last line; false with the reason when the file took not all.
    bool Finish(QString &error) {
        const QByteArray rest = std::exchange(pending_, {});
        if (WriteBlock(rest))
            return true;
        error = fault_;
        return false;
    }
    const ZipDataForm &Form() const { return form_; }
    // Why a block could not be written; empty when all went in.
    const QString &WriteFaultText() const { return fault_; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override {
        pending_.append(data, size);
        if (pending_.size() < kZipBlockBytes)
            return size;
        // A CR at the very end may be the first half of a CR LF.
        qsizetype end = pending_.size() - 2;
        while (end >= 0 && pending_.at(end) != '\n' && pending_.at(end) != '\r')
            --end;
        if (pending_.endsWith('\n'))
            end = pending_.size() - 1;
        if (end < 0)
            return size;
        const QByteArray block = pending_.left(end + 1);
        pending_.remove(0, end + 1);
        if (!WriteBlock(block)) {
            setErrorString(fault_);
            return -1;
        }
        return size;
    }

private:
    bool WriteBlock(const QByteArray &block) {
        const QList<QByteArray> lines = SplitByteLines(block);
        form_.Add(block, lines);
        return WriteTemporary(file_, JoinCrLf(lines), fault_);
    }

    QSaveFile &file_;
    QByteArray pending_;
    ZipDataForm form_;
    QString fault_;
};

// Both files go to temporary files beside them first; they are renamed over the old ones only
// when both are complete, the postal data first, so an interrupted update is offered again.
bool ReplaceZipFiles(QSaveFile &zipFile, const QString &dataPath, const QByteArray &versionBytes,
                     QString &error) {
    QSaveFile versionFile(ZipVersionPath(dataPath));
    if (!OpenTemporary(versionFile, error) || !WriteTemporary(versionFile, versionBytes, error))
        return false;
    for (QSaveFile *file : {&zipFile, &versionFile}) {
        if (!file->commit()) {
            error = QStringLiteral("「%1」を置き換えられません: %2")
                        .arg(QDir::toNativeSeparators(file->fileName()), file->errorString());
            return false;
        }
    }
    return true;
}

ZipDownload Failed(const QString &reason = {}) {
    return {false, reason.isEmpty()
                       ? ZipUpdateText::DownloadFailed
                       : ZipUpdateText::DownloadFailed + QStringLiteral("\r\n\r\n") + reason};
}

} // namespace

QString ZipVersionPath(const QString &dataPath) {
    return dataPath + QStringLiteral("zip/version.txt");
}

QString ZipProxyPath(const QString &dataPath) {
    return dataPath + QStringLiteral("zip/pro.dat");
}

bool ReadInstalledZipVersion(const QString &dataPath, InstalledZipVersion &installed,
                             QString *error) {
    installed = {};
    const QString path = ZipVersionPath(dataPath);
    QStringList lines;
    QString reason;
    if (!TextFile::ReadLines(path, lines, &reason) || lines.size() < 2) {
        if (error)
            *error =
                QStringLiteral("郵便番号データの版を記した「%1」を読めません。%2")
                    .arg(QDir::toNativeSeparators(path),
                         reason.isEmpty() ? QStringLiteral("2行に満たないファイルです。") : reason);
        return false;
    }
    installed = {lines.at(0), lines.at(1)};
    return true;
}

ProxyFields ReadProxyFields(const QString &dataPath) {
    QStringList lines;
    if (!TextFile::ReadLines(ZipProxyPath(dataPath), lines))
        return {};
    return {lines.value(0), lines.value(1)};
}

bool SaveProxyFields(const QString &dataPath, const ProxyFields &fields, QString *error) {
    return TextFile::WriteLines(ZipProxyPath(dataPath), {fields.address, fields.port}, error);
}

ZipProxy ProxyOf(const ProxyFields &fields) {
    ZipProxy proxy;
    proxy.host = fields.address.trimmed();
    proxy.port = fields.port.trimmed().toInt(&proxy.portValid);
    return proxy;
}

QString ZipUpdateServer(const QString &dataPath) {
    const QString fromEnvironment = qEnvironmentVariable("PELLOR3_ZIP_SERVER").trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    IniFile config(ConfigIniPath(dataPath));
    config.Load();
    return config.ReadString(QStringLiteral("ZIP_UPDATE"), QStringLiteral("SERVER")).trimmed();
}

QUrl ZipUpdateUrl(const QString &server, const QString &fileName) {
    QString base = server;
    while (base.endsWith(u'/'))
        base.chop(1);
    return QUrl(base + QStringLiteral("/liveupdate/zipcode/") + fileName);
}

QByteArray NormalizeLineBreaks(const QByteArray &bytes) {
    QByteArray normalized;
    normalized.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (static_cast<unsigned char>(c) >= 0x20) {
            normalized.append(c);
            continue;
        }
        // A server file with CR LF ends keeps its description in line 2.
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        normalized.append("\r\n");
    }
    return normalized;
}

QList<QByteArray> SplitByteLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray VersionKeyOf(const QByteArray &versionFile) {
    // A UTF-16 file would lose its zero bytes as line breaks and pass as digits.
    if (versionFile.contains('\0'))
        return {};
    QByteArray key = SplitByteLines(NormalizeLineBreaks(versionFile)).value(0);
    if (key.startsWith("\xEF\xBB\xBF"))
        key.remove(0, 3);
    key = key.trimmed();
    if (key.isEmpty() || !std::all_of(key.begin(), key.end(), IsAsciiDigit))
        return {};
    return key;
}

bool IsNewerVersion(const QByteArray &installed, const QByteArray &server) {
    const auto number = [](QByteArray key) {
        while (key.size() > 1 && key.startsWith('0'))
            key.remove(0, 1);
        return key;
    };
    const QByteArray installedKey = number(VersionKeyOf(installed));
    const QByteArray serverKey = number(server);
    if (installedKey.size() != serverKey.size())
        return installedKey.size() < serverKey.size();
    return installedKey < serverKey;
}

// Neither encoding lets a line break byte inside a character, so parts ending at line breaks
// are judged as the whole would be.
void ZipDataForm::Add(const QByteArray &bytes, const QList<QByteArray> &lines) {
    for (qsizetype i = 0; i < lines.size() && firstWrongLine_ < 0; ++i) {
        if (!IsZipLine(lines.at(i)))
            firstWrongLine_ = lines_ + i;
    }
    lines_ += lines.size();
    validUtf8_ = validUtf8_ && QByteArrayView(bytes).isValidUtf8();
    beyondAscii_ = beyondAscii_ || std::any_of(bytes.begin(), bytes.end(), [](char c) {
                       return static_cast<unsigned char>(c) >= 0x80;
                   });
    QString decoded;
    shiftJis_ = shiftJis_ && ShiftJis::DecodeShiftJisStrict(bytes, decoded);
}

QString ZipDataForm::Fault() const {
    if (lines_ < MinimumZipLines)
        return QStringLiteral(
                   "受け取った郵便番号データが%1行しかありません（%2行以上のはずです）。")
            .arg(lines_)
            .arg(MinimumZipLines);
    if (firstWrongLine_ >= 0)
        return QStringLiteral("受け取ったデータの%1行目が郵便番号データの形"
                              "（7桁の郵便番号、カンマ、住所）ではありません。")
            .arg(firstWrongLine_ + 1);
    // Japanese text in UTF-8 often decodes as code page 932 without error, but code page 932
    // Japanese text is never valid UTF-8.
    if ((validUtf8_ && beyondAscii_) || !shiftJis_)
        return QStringLiteral("受け取った郵便番号データがシフトJISの文字ではありません。");
    return {};
}

UpdateCheck CheckForUpdate(HttpClient &http, const QString &server,
                           const QString &installedVersion) {
    QByteArray answer;
    try {
        answer =
            http.Get(ZipUpdateUrl(server, QStringLiteral("version.txt")), kMaxVersionFileBytes);
    } catch (const HttpError &) {
        return UpdateCheck::Failure;
    }
    const QByteArray serverVersion = VersionKeyOf(answer);
    // An answer without a version key is no version file, not "nothing new".
    if (serverVersion.isEmpty())
        return UpdateCheck::Failure;
    return IsNewerVersion(ShiftJis::Encode(installedVersion), serverVersion)
               ? UpdateCheck::UpdateAvailable
               : UpdateCheck::NoUpdate;
}

ZipDownload DownloadZipUpdate(HttpClient &http, const QString &server, const QString &dataPath,
                              qint64 maxZipDataBytes) {
    QByteArray versionAnswer;
    try {
        versionAnswer =
            http.Get(ZipUpdateUrl(server, QStringLiteral("version.txt")), kMaxVersionFileBytes);
    } catch (const HttpError &) {
        return Failed();
    }
    QString error;
    QSaveFile zipFile(ZipFilePath(dataPath));
    // A file that cannot be written is this computer's fault, not the connection's.
    if (!OpenTemporary(zipFile, error))
        return {false, error};
    ZipDataWriter zipWriter(zipFile);
    try {
        http.Get(ZipUpdateUrl(server, QStringLiteral("zip.dat")), maxZipDataBytes, zipWriter);
    } catch (const HttpError &) {
        if (!zipWriter.WriteFaultText().isEmpty())
            return {false, zipWriter.WriteFaultText()};
        return Failed();
    }
    if (!zipWriter.Finish(error))
        return {false, error};
    QList<QByteArray> versionLines = SplitByteLines(NormalizeLineBreaks(versionAnswer));
    const QByteArray key = VersionKeyOf(versionAnswer);
    if (key.isEmpty())
        return Failed(QStringLiteral("受け取った版のファイルの1行目が数字の版ではありません。"));
    versionLines[0] = key;
    // The window needs two lines; a server file without a description gets an empty one.
    if (versionLines.size() < 2)
        versionLines.append(QByteArray());
    if (const QString fault = zipWriter.Form().Fault(); !fault.isEmpty())
        return Failed(fault);
    if (!ReplaceZipFiles(zipFile, dataPath, JoinCrLf(versionLines), error))
        return {false, error};
    return {true, ZipUpdateText::Succeeded};
}

ZipDownload UpdateZipFromArchives(const QStringList &archivePaths, const QString &dataPath) {
    JapanPostData data;
    QString error;
    for (const QString &path : archivePaths) {
        if (!ReadJapanPostArchive(path, data, error))
            return {false, error};
    }
    const QStringList lines = data.areaLines + data.officeLines;
    QStringEncoder encoder("windows-31j");
    const QByteArray zipBytes = JoinCrLf(SplitByteLines(encoder.encode(lines.join(u'\n'))));
    if (encoder.hasError())
        return {false, QStringLiteral("郵便番号データにシフトJISにない文字があります: %1")
                           .arg(ShiftJis::UnrepresentableChars(lines.join(QString())))};
    ZipDataForm form;
    form.Add(zipBytes, SplitByteLines(zipBytes));
    if (const QString fault = form.Fault(); !fault.isEmpty())
        return {false, fault};
    const QString key = data.published.toString(QStringLiteral("yyyyMMdd"));
    const QString description = data.published.toString(QStringLiteral("yyyy/MM/dd")) +
                                QStringLiteral("現在の日本郵便公開データ");
    QSaveFile zipFile(ZipFilePath(dataPath));
    if (!OpenTemporary(zipFile, error) || !WriteTemporary(zipFile, zipBytes, error) ||
        !ReplaceZipFiles(zipFile, dataPath, ShiftJis::Encode(key + "\r\n" + description + "\r\n"),
                         error))
        return {false, error};
    return {true, QStringLiteral("%1（%2）").arg(ZipUpdateText::Succeeded, description)};
}

UnattendedZipUpdate UpdatePostalDataUnattended(const QString &dataPath,
                                               const ZipUpdateLimits &limits) {
    const QString server = ZipUpdateServer(dataPath);
    if (server.isEmpty())
        return {false, ZipUpdateText::NoServer};
    InstalledZipVersion installed;
    ReadInstalledZipVersion(dataPath, installed, nullptr);
    HttpClient http(limits.stallMs, limits.wholeRequestMs);
    const ZipProxy proxy = ProxyOf(ReadProxyFields(dataPath));
    http.SetProxy(proxy.host, proxy.port);
    switch (CheckForUpdate(http, server, installed.version)) {
    case UpdateCheck::Failure:
        return {false, ZipUpdateText::CheckFailed};
    case UpdateCheck::NoUpdate:
        return {true, ZipUpdateText::NoUpdate};
    case UpdateCheck::UpdateAvailable:
        break;
    }
    const ZipDownload download = DownloadZipUpdate(http, server, dataPath, limits.maxZipDataBytes);
    if (!download.ok)
        return {false, download.message};
    ReadInstalledZipVersion(dataPath, installed, nullptr);
    return {true, QStringLiteral("%1（%2）").arg(download.message, installed.description)};
}
