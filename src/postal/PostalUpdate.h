#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

class HttpClient;

// Refreshing "zip/zip.dat" and "zip/version.txt" from an update server: the files, the setting,
// the check and the download with its safe replacement. Used by the window Tzip_update and by
// the unattended `pellor3 --update-postal-data`.

namespace ZipUpdateText {
const QString CheckFailed =
    QStringLiteral("更新データを確認できませんでした。\r\nインターネット接続がされているか確認して"
                   "下さい。\r\nセキュリティソフトを使っている場合はそちらも確認してください。");
const QString NoUpdate = QStringLiteral("データの更新はありませんでした。");
const QString Offer = QStringLiteral("新しい更新データがありました\r\n更新を行いますか？\r\nデータ"
                                     "サイズが大きいため、接続速度によっては時間がかかります。");
const QString DownloadFailed =
    QStringLiteral("更新データの取得に失敗しました。\r\nインターネット接続がされているか確認して"
                   "ください。\r\nセキュリティソフトを使っている場合はそちらも確認してください。");
const QString Succeeded = QStringLiteral("更新に成功しました。");
const QString NoServer = QStringLiteral(
    "郵便番号データの更新サーバが設定されていません。\r\nデータフォルダの「Config.ini」に\r\n"
    "[ZIP_UPDATE]\r\nSERVER=http://サーバのアドレス/\r\nを書き加えるか、環境変数 "
    "PELLOR3_ZIP_SERVER にサーバのアドレスを設定してください。");
const QString EnterServer = QStringLiteral(
    "更新サーバのアドレスを入力して下さい。\r\n日本郵便のホームページからダウンロードした郵便番号"
    "データのZIPファイルは「ファイルから更新」で取り込めます。");
} // namespace ZipUpdateText

// "zip/version.txt" and "zip/pro.dat" in the data folder (dataPath ends in "/").
QString ZipVersionPath(const QString &dataPath);
QString ZipProxyPath(const QString &dataPath);

// Lines 1 and 2 of "zip/version.txt": the key compared with the server's, and the text shown.
struct InstalledZipVersion {
    QString version;
    QString description;
};
// False (and why) when the file is missing or shorter than two lines.
bool ReadInstalledZipVersion(const QString &dataPath, InstalledZipVersion &installed,
                             QString *error);

// The proxy fields as typed, as "zip/pro.dat" keeps them.
struct ProxyFields {
    QString address;
    QString port;
};
// Empty fields when the file cannot be read.
ProxyFields ReadProxyFields(const QString &dataPath);
bool SaveProxyFields(const QString &dataPath, const ProxyFields &fields, QString *error);

// What the HTTP client is given: the trimmed address (no proxy when empty) and the trimmed port
// as an integer, 0 when it is not one.
struct ZipProxy {
    QString host;
    int port = 0;
    bool portValid = true;
};
ZipProxy ProxyOf(const ProxyFields &fields);

// The base address of the update server: the environment variable PELLOR3_ZIP_SERVER, else
// SERVER in [ZIP_UPDATE] of "Config.ini"; empty when neither is set.
QString ZipUpdateServer(const QString &dataPath);
// The server's "/liveupdate/zipcode/<fileName>".
QUrl ZipUpdateUrl(const QString &server, const QString &fileName);

// Every control byte becomes a line break (CR LF); a CR LF pair stays one line break.
QByteArray NormalizeLineBreaks(const QByteArray &bytes);
// Splits at CR LF, CR or LF; a final line end makes no extra empty line.
QList<QByteArray> SplitByteLines(const QByteArray &bytes);
// The version key of a version file: its first line, which must be digits once a UTF-8
// byte-order mark and surrounding blanks are removed; empty when the file holds no key.
QByteArray VersionKeyOf(const QByteArray &versionFile);
// True when the server's key is the larger number; an installed key that is no key counts as
// older than any, so it never blocks an update.
bool IsNewerVersion(const QByteArray &installed, const QByteArray &server);

// The smallest national postal code file a download must reach.
constexpr qsizetype MinimumZipLines = 100000;
// Whether postal data has the zip.dat form (code page 932 text, every line seven digits, a comma
// and an address, at least MinimumZipLines lines), given in parts that end at line breaks.
class ZipDataForm {
public:
    void Add(const QByteArray &bytes, const QList<QByteArray> &lines);
    // Empty when the form is right; otherwise what is wrong.
    QString Fault() const;

private:
    qsizetype lines_ = 0;
    qsizetype firstWrongLine_ = -1;
    bool validUtf8_ = true;
    bool beyondAscii_ = false;
    bool shiftJis_ = true;
};

// Limits of the update's requests: a server that stops sending, the whole request, and the
// postal data's size (several times the nationwide data).
struct ZipUpdateLimits {
    int stallMs = 30000;
    int wholeRequestMs = 15 * 60 * 1000;
    qint64 maxZipDataBytes = 64 * 1024 * 1024;
};

enum class UpdateCheck { Failure, NoUpdate, UpdateAvailable };
UpdateCheck CheckForUpdate(HttpClient &http, const QString &server,
                           const QString &installedVersion);

// Fetches both files, checks them and only then replaces both local files, each through a
// temporary file beside it; the postal data goes to its temporary file as it arrives.
// `message` is what the user is told.
struct ZipDownload {
    bool ok = false;
    QString message;
};
ZipDownload DownloadZipUpdate(HttpClient &http, const QString &server, const QString &dataPath,
                              qint64 maxZipDataBytes);

// Replaces the postal data with Japan Post's published files read from the ZIP archives a user
// downloaded, with the checks of a download and a version file of the same form: the files' date
// as key, "yyyy/MM/dd現在の日本郵便公開データ" as description.
ZipDownload UpdateZipFromArchives(const QStringList &archivePaths, const QString &dataPath);

// The check and, when the server has newer data, the download, without asking.
struct UnattendedZipUpdate {
    bool ok = false;
    QString message;
};
UnattendedZipUpdate UpdatePostalDataUnattended(const QString &dataPath,
                                               const ZipUpdateLimits &limits = {});
