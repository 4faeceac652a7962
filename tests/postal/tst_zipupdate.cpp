#include "../common/TestContext.h"

#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "platform/AppContext.h"
#include "platform/CustomerBarcode.h"
#include "platform/HttpClient.h"
#include "postal/PostalUpdate.h"
#include "postal/ZipLookup.h"
#include "postal/zip_update.h"

#include <QClipboard>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <zlib.h>

namespace {

QByteArray Deflated(const QByteArray &data) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, uLong(data.size()))), '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// A ZIP archive holding one deflated file dated 2026/11/30, as Japan Post publishes them.
QByteArray ZipArchiveOf(const QByteArray &name, const QByteArray &data) {
    const QByteArray packed = Deflated(data);
    const quint32 crc =
        quint32(crc32(0L, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
    const quint16 date = quint16(((2026 - 1980) << 9) | (11 << 5) | 30);
    QByteArray archive;
    QDataStream out(&archive, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto header = [&](bool central) {
        out << quint32(central ? 0x02014b50 : 0x04034b50);
        if (central)
            out << quint16(20);
        out << quint16(20) << quint16(0) << quint16(8) << quint16(0) << date << crc
            << quint32(packed.size()) << quint32(data.size()) << quint16(name.size()) << quint16(0);
        if (central)
            out << quint16(0) << quint16(0) << quint16(0) << quint32(0) << quint32(0);
        out.writeRawData(name.constData(), int(name.size()));
    };
    header(false);
    out.writeRawData(packed.constData(), int(packed.size()));
    const quint32 directoryAt = quint32(archive.size());
    header(true);
    out << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(1) << quint16(1)
        << quint32(archive.size() - directoryAt) << directoryAt << quint16(0);
    return archive;
}

// Records of the national area file: a town split over two records, a municipality without
// towns, and enough towns to be a national file.
QStringList AreaRecords(bool splitTown) {
    const QString record =
        QStringLiteral("\"01101\",\"060  \",\"%1\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼ\","
                       "\"ｵｵﾄﾞｵﾘﾆｼ\",\"北海道\",\"札幌市中央区\",\"%2\",1,0,1,0,0,0");
    QStringList records{record.arg("0600000", "以下に掲載がない場合")};
    if (splitTown)
        records << record.arg("0600042", "大通西（１～") << record.arg("0600042", "１９丁目）");
    else
        records << record.arg("0600042", "大通西（１～１９丁目）");
    for (int i = 0; i < MinimumZipLines; ++i)
        records << record.arg(1000000 + i).arg(QStringLiteral("本町"));
    return records;
}

const QString InstalledDescription = QStringLiteral("2025/09/25現在の日本郵便公開データ");
const QString TestTown = QStringLiteral("試験県試験市本町");

QByteArray VersionFile(const QString &version, const QString &description) {
    return ShiftJis::Encode(version + "\r\n" + description + "\r\n");
}

// A national-sized postal code file: codes 1000000, 1000001, ... all in one made-up town.
QByteArray GeneratedZipData(const char *codec = "cp932", qsizetype lines = MinimumZipLines) {
    const QByteArray town =
        qstrcmp(codec, "utf-8") == 0 ? TestTown.toUtf8() : ShiftJis::Encode(TestTown);
    QByteArray bytes;
    bytes.reserve(lines * (town.size() + 16));
    for (qsizetype i = 0; i < lines; ++i)
        bytes.append(QByteArray::number(1000000 + i)).append(',').append(town).append("\r\n");
    return bytes;
}

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

bool WaitForListener(quint16 port) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100))
            return true;
        QTest::qWait(50);
    }
    return false;
}

// `python3 -m http.server` on 127.0.0.1 serving a temporary folder; the paths it was asked for
// come from its request log.
// The window's controls, found as a user's tests find them: by name.
template <typename Control> Control *Child(QWidget &window, const char *name) {
    return window.findChild<Control *>(QLatin1String(name));
}

class UpdateServer {
public:
    UpdateServer() : port_(FreePort()) {
        server_.setWorkingDirectory(root_.path());
        server_.start(QStringLiteral("python3"),
                      {"-m", "http.server", QString::number(port_), "--bind", "127.0.0.1"});
        ready_ = server_.waitForStarted() && WaitForListener(port_);
    }
    ~UpdateServer() {
        server_.kill();
        server_.waitForFinished();
    }
    bool Ready() const { return ready_; }
    QString Address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port_); }
    QString Root() const { return root_.path(); }
    void Publish(const QString &name, const QByteArray &bytes) {
        WriteAll(root_.filePath(QStringLiteral("liveupdate/zipcode/") + name), bytes);
    }
    QStringList RequestedPaths() {
        log_ += server_.readAllStandardError();
        static const QRegularExpression request(QStringLiteral("\"GET (\\S+) HTTP"));
        QStringList paths;
        for (auto match = request.globalMatch(QString::fromUtf8(log_)); match.hasNext();)
            paths << match.next().captured(1);
        return paths;
    }

private:
    QTemporaryDir root_;
    quint16 port_;
    QProcess server_;
    QByteArray log_;
    bool ready_ = false;
};

// A forwarding HTTP proxy that prints the request line and the two headers of every request.
const char *ProxyScript = R"(
import http.server, sys, urllib.error, urllib.request
opener = urllib.request.build_opener(urllib.request.ProxyHandler({}))
class Forward(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def do_GET(self):
        print(self.requestline, "|", self.headers["User-Agent"], "|", self.headers["Accept"],
              flush=True)
        try:
            with opener.open(self.path, timeout=10) as reply:
                status, body = reply.status, reply.read()
        except urllib.error.HTTPError as error:
            status, body = error.code, error.read()
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Forward)
server.serve_forever()
)";

} // namespace

class TestZipUpdate : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TestContext> context_;
    std::unique_ptr<UpdateServer> server_;

    QString DataPath() const { return env_->dataPath(); }
    ScriptedPrompt &Prompt() { return env_->prompt(); }

    std::unique_ptr<Tzip_update> OpenWindow(ZipUpdateLimits limits = {}) {
        auto window = std::make_unique<Tzip_update>(*context_, nullptr, limits);
        window->show();
        return window;
    }
    void UseServer(const QString &address) {
        IniFile config(DataPath() + QStringLiteral("Config.ini"));
        config.Load();
        config.WriteString(QStringLiteral("ZIP_UPDATE"), QStringLiteral("SERVER"), address);
        QVERIFY(config.Save());
    }
    // Both local files as they are, and nothing else in the folder.
    void VerifyInstalledFilesUnchanged(const QByteArray &zipBefore) {
        QCOMPARE(ReadAll(ZipVersionPath(DataPath())),
                 VersionFile("20250925", InstalledDescription));
        QVERIFY(ReadAll(ZipFilePath(DataPath())) == zipBefore);
        QCOMPARE(QDir(DataPath() + QStringLiteral("zip")).entryList(QDir::Files),
                 QStringList({"version.txt", "zip.dat"}));
    }
    void WaitForDownload(Tzip_update &window) {
        QTRY_VERIFY_WITH_TIMEOUT(window.CanClose, 30000);
        QVERIFY(Child<QPushButton>(window, "Button1")->isEnabled() &&
                Child<QPushButton>(window, "Btn_Cancel")->isEnabled());
        QVERIFY(Child<QLineEdit>(window, "LabeledEdit1")->isEnabled() &&
                Child<QLineEdit>(window, "LabeledEdit2")->isEnabled());
        QVERIFY(Child<QWidget>(window, "Panel1")->isHidden());
    }

private slots:
    void init() {
        qunsetenv("PELLOR3_ZIP_SERVER");
        env_ = std::make_unique<TestEnv>();
        context_ = std::make_unique<TestContext>(*env_);
        WriteAll(ZipVersionPath(DataPath()), VersionFile("20250925", InstalledDescription));
        server_ = std::make_unique<UpdateServer>();
        QVERIFY(server_->Ready());
        UseServer(server_->Address());
    }
    void cleanup() {
        server_.reset();
        context_.reset();
        env_.reset();
    }

    void checkComparesVersionKeysAsNumbers_data() {
        QTest::addColumn<QByteArray>("installedVersion");
        QTest::addColumn<QByteArray>("serverVersion");
        QTest::addColumn<QString>("told");
        const QByteArray installed = "20250925";
        QTest::newRow("newer") << installed << QByteArray("20251031\r\n新データ\r\n")
                               << ZipUpdateText::Offer;
        QTest::newRow("more digits")
            << installed << QByteArray("100000000\n") << ZipUpdateText::Offer;
        QTest::newRow("equal") << installed << QByteArray("20250925\r\n")
                               << ZipUpdateText::NoUpdate;
        QTest::newRow("equal with leading zero")
            << installed << QByteArray("020250925") << ZipUpdateText::NoUpdate;
        QTest::newRow("older") << installed << QByteArray("20250101\r\n")
                               << ZipUpdateText::NoUpdate;
        QTest::newRow("prefix of the installed")
            << installed << QByteArray("2025092") << ZipUpdateText::NoUpdate;
        QTest::newRow("byte-order mark") << installed
                                         << QByteArray("\xEF\xBB\xBF"
                                                       "20251031\r\n")
                                         << ZipUpdateText::Offer;
        QTest::newRow("letters after the digits")
            << installed << QByteArray("20250925a\n") << ZipUpdateText::CheckFailed;
        QTest::newRow("html page") << installed << QByteArray("<html><body>404</body></html>")
                                   << ZipUpdateText::CheckFailed;
        QTest::newRow("utf-16") << installed << QByteArray::fromHex("3200300032003600")
                                << ZipUpdateText::CheckFailed;
        QTest::newRow("random bytes")
            << installed << QByteArray("\x93\xfa\x00\x7f\xc3", 5) << ZipUpdateText::CheckFailed;
        QTest::newRow("empty answer") << installed << QByteArray() << ZipUpdateText::CheckFailed;
        QTest::newRow("blank first line")
            << installed << QByteArray(" \r\n") << ZipUpdateText::CheckFailed;
        QTest::newRow("junk installed key")
            << QByteArray("<!DOCTYPE html>") << QByteArray("20251031") << ZipUpdateText::Offer;
    }
    void checkComparesVersionKeysAsNumbers() {
        QFETCH(QByteArray, installedVersion);
        QFETCH(QByteArray, serverVersion);
        QFETCH(QString, told);
        WriteAll(ZipVersionPath(DataPath()),
                 installedVersion + "\r\n" + ShiftJis::Encode(InstalledDescription) + "\r\n");
        server_->Publish(QStringLiteral("version.txt"), serverVersion);
        server_->Publish(QStringLiteral("zip.dat"), GeneratedZipData());
        const QByteArray zipBefore = ReadAll(ZipFilePath(DataPath()));
        auto window = OpenWindow();
        Prompt().PushAnswer(Prompt::Answer::No);
        window->Button1Click();

        QCOMPARE(Prompt().Texts(), QStringList{told});
        // No downloads nothing, and the window shows the installed data still.
        QVERIFY(!server_->RequestedPaths().contains("/liveupdate/zipcode/zip.dat"));
        QVERIFY(window->CanClose && Child<QWidget>(*window, "Panel1")->isHidden());
        QCOMPARE(Child<QLineEdit>(*window, "Edit1")->text(), InstalledDescription);
        if (installedVersion == "20250925")
            VerifyInstalledFilesUnchanged(zipBefore);
    }

    void updateThroughProxyReplacesBothFilesAndLookupsSeeIt() {
        QTemporaryDir work;
        const QString source = work.filePath(QStringLiteral("new-zip.dat"));
        WriteAll(source, GeneratedZipData());
        QProcess tool;
        tool.start(QStringLiteral(PELLOR3_SOURCE_DIR "/tools/build-update-server"),
                   {server_->Root(), "--version", "20991231", "--description", "試験用データ",
                    "--from", source});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);

        const quint16 proxyPort = FreePort();
        QProcess proxy;
        proxy.start(QStringLiteral("python3"), {"-c", ProxyScript, QString::number(proxyPort)});
        QVERIFY(proxy.waitForStarted() && WaitForListener(proxyPort));

        // The lookups and the barcode hold the installed data before the update.
        QCOMPARE(SearchZipByCode(DataPath(), QStringLiteral("1000001")).rows.value(0).address,
                 QStringLiteral("東京都千代田区千代田"));
        QCOMPARE(
            CustomerBarcode::DropTownPart("1000001", TestTown + "1-2", ZipFilePath(DataPath())),
            TestTown + "1-2");

        auto window = OpenWindow();
        Child<QLineEdit>(*window, "LabeledEdit1")->setText(QStringLiteral(" 127.0.0.1 "));
        Child<QLineEdit>(*window, "LabeledEdit2")->setText(QString::number(proxyPort));
        Prompt().PushAnswer(Prompt::Answer::Yes);
        window->Button1Click();
        QVERIFY(!window->CanClose && !Child<QPushButton>(*window, "Btn_Cancel")->isEnabled() &&
                Child<QWidget>(*window, "Panel1")->isVisible());
        QVERIFY(!window->close());
        WaitForDownload(*window);
        QCOMPARE(Prompt().Texts(), QStringList({ZipUpdateText::Offer, ZipUpdateText::Succeeded}));

        QCOMPARE(ReadAll(ZipVersionPath(DataPath())), VersionFile("20991231", "試験用データ"));
        QVERIFY(ReadAll(ZipFilePath(DataPath())) == GeneratedZipData());
        QCOMPARE(Child<QLineEdit>(*window, "Edit1")->text(), QStringLiteral("試験用データ"));
        QCOMPARE(window->InstalledVersion, QStringLiteral("20991231"));
        QCOMPARE(SearchZipByCode(DataPath(), QStringLiteral("1000001")).rows,
                 QList<ZipRow>({{"100-0001", TestTown}}));
        QCOMPARE(
            CustomerBarcode::DropTownPart("1000001", TestTown + "1-2", ZipFilePath(DataPath())),
            QStringLiteral("1-2"));

        proxy.kill();
        proxy.waitForFinished();
        const QString seen = QString::fromUtf8(proxy.readAllStandardOutput());
        const QString headers =
            QStringLiteral(" HTTP/1.1 | Mozilla/3.0 (compatible; Indy Library) | text/html, */*\n");
        const QString base = QStringLiteral("GET %1liveupdate/zipcode/").arg(server_->Address());
        QCOMPARE(seen, base + "version.txt" + headers + base + "version.txt" + headers + base +
                           "zip.dat" + headers);
        QVERIFY(server_->RequestedPaths().size() == 3);
    }

    void unsoundDownloadChangesNothing_data() {
        QTest::addColumn<QByteArray>("zipData");
        QTest::addColumn<bool>("published");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<qint64>("maxZipDataBytes");
        const qint64 cap = ZipUpdateLimits().maxZipDataBytes;
        const QByteArray page = "<!DOCTYPE html>\r\n<html><body>メンテナンス中</body></html>\r\n";
        QTest::newRow("html page") << page.repeated(MinimumZipLines / 2) << true << "1行目" << cap;
        QTest::newRow("empty") << QByteArray() << true << "0行しか" << cap;
        QTest::newRow("truncated") << GeneratedZipData().left(1000000) << true << "行しか" << cap;
        QTest::newRow("utf-8") << GeneratedZipData("utf-8") << true << "シフトJIS" << cap;
        QTest::newRow("second download fails") << QByteArray() << false << "" << cap;
        QTest::newRow("above the size limit")
            << GeneratedZipData() << true << "" << GeneratedZipData().size() - 1;
    }
    void unsoundDownloadChangesNothing() {
        QFETCH(QByteArray, zipData);
        QFETCH(bool, published);
        QFETCH(QString, reason);
        QFETCH(qint64, maxZipDataBytes);
        server_->Publish(QStringLiteral("version.txt"), VersionFile("20991231", "試験用データ"));
        if (published)
            server_->Publish(QStringLiteral("zip.dat"), zipData);
        const QByteArray zipBefore = ReadAll(ZipFilePath(DataPath()));
        ZipUpdateLimits limits;
        limits.maxZipDataBytes = maxZipDataBytes;
        auto window = OpenWindow(limits);
        window->Button1Click();
        WaitForDownload(*window);

        QCOMPARE(Prompt().Texts("error").size(), 1);
        const QString message = Prompt().Texts("error").at(0);
        QVERIFY(message.startsWith(ZipUpdateText::DownloadFailed));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(window->InstalledVersion, QStringLiteral("20250925"));
        VerifyInstalledFilesUnchanged(zipBefore);
    }

    void downloadCutShortChangesNothing_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<qsizetype>("sent");
        const QByteArray whole = GeneratedZipData("cp932", MinimumZipLines * 5 / 4);
        // Cut after a complete line, so the part alone still looks like postal data.
        const qsizetype cut = whole.lastIndexOf("\r\n", whole.size() * 9 / 10) + 2;
        QTest::newRow("length undeclared") << QByteArray("HTTP/1.1 200 OK\r\n") << cut;
        QTest::newRow("declared length not reached")
            << "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(whole.size()) + "\r\n"
            << cut;
    }
    void downloadCutShortChangesNothing() {
        QFETCH(QByteArray, head);
        QFETCH(qsizetype, sent);
        const QByteArray whole = GeneratedZipData("cp932", MinimumZipLines * 5 / 4);
        // A server whose connection drops part-way through the postal data.
        QTcpServer broken;
        QVERIFY(broken.listen(QHostAddress::LocalHost));
        connect(&broken, &QTcpServer::newConnection, &broken, [&] {
            QTcpSocket *socket = broken.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                const bool zip = socket->readAll().contains("zip.dat");
                const QByteArray version = VersionFile("20991231", "試験用データ");
                socket->write(zip ? head + "Connection: close\r\n\r\n" + whole.left(sent)
                                  : "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                                        QByteArray::number(version.size()) + "\r\n\r\n" + version);
                socket->disconnectFromHost();
            });
        });
        const QByteArray zipBefore = ReadAll(ZipFilePath(DataPath()));
        HttpClient http(10000);
        const ZipDownload result =
            DownloadZipUpdate(http, QStringLiteral("http://127.0.0.1:%1/").arg(broken.serverPort()),
                              DataPath(), ZipUpdateLimits().maxZipDataBytes);
        QVERIFY(!result.ok);
        QVERIFY(result.message.startsWith(ZipUpdateText::DownloadFailed));
        VerifyInstalledFilesUnchanged(zipBefore);
    }

    void portThatIsNoNumberIsSentAsZeroAndEmptied() {
        server_->Publish(QStringLiteral("version.txt"), "20991231\r\n");
        auto window = OpenWindow();
        Child<QLineEdit>(*window, "LabeledEdit1")->setText(QStringLiteral("127.0.0.1"));
        Child<QLineEdit>(*window, "LabeledEdit2")->setText(QStringLiteral("abc"));
        window->Button1Click();
        QCOMPARE(Child<QLineEdit>(*window, "LabeledEdit2")->text(), QString());
        // Port 0 of the proxy reaches nothing; the request never went around the proxy.
        QCOMPARE(Prompt().Texts(), QStringList({ZipUpdateText::CheckFailed}));
        QVERIFY(server_->RequestedPaths().isEmpty());
    }

    void portFieldTakesDigitsAndBackspaceOnly() {
        auto window = OpenWindow();
        Child<QLineEdit>(*window, "LabeledEdit2")->clear();
        QTest::keyClicks(Child<QLineEdit>(*window, "LabeledEdit2"), QStringLiteral("8a0-8 0"));
        QTest::keyClick(Child<QLineEdit>(*window, "LabeledEdit2"), Qt::Key_Backspace);
        QCOMPARE(Child<QLineEdit>(*window, "LabeledEdit2")->text(), QStringLiteral("808"));
    }

    void closeWritesTheProxyFields_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("proxy") << "proxy.example.jp"
                               << "8080" << QByteArray("proxy.example.jp\r\n8080\r\n");
        QTest::newRow("untrimmed") << " 10.0.0.1 "
                                   << "3128 " << QByteArray(" 10.0.0.1 \r\n3128 \r\n");
        QTest::newRow("empty") << ""
                               << "" << QByteArray("\r\n\r\n");
    }
    void closeWritesTheProxyFields() {
        QFETCH(QString, address);
        QFETCH(QString, port);
        QFETCH(QByteArray, stored);
        WriteAll(ZipProxyPath(DataPath()), "old.example.jp\r\n1\r\n");
        auto window = OpenWindow();
        QCOMPARE(Child<QLineEdit>(*window, "LabeledEdit1")->text(),
                 QStringLiteral("old.example.jp"));
        Child<QLineEdit>(*window, "LabeledEdit1")->setText(address);
        Child<QLineEdit>(*window, "LabeledEdit2")->setText(port);
        Child<QPushButton>(*window, "Btn_Cancel")->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(ReadAll(ZipProxyPath(DataPath())), stored);
        window->show();
        QCOMPARE(Child<QLineEdit>(*window, "LabeledEdit1")->text(), address);
        QCOMPARE(Child<QLineEdit>(*window, "LabeledEdit2")->text(), port);
    }

    void pastedTextProDatCannotHoldIsRefused() {
        WriteAll(ZipProxyPath(DataPath()), "\r\n\r\n");
        auto window = OpenWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("proxy🎉.example.jp"));
        Child<QLineEdit>(*window, "LabeledEdit1")->paste();
        QCoreApplication::processEvents();
        Child<QPushButton>(*window, "Btn_Cancel")->click();
        QCOMPARE(ReadAll(ZipProxyPath(DataPath())), QByteArray("\r\n\r\n"));
        QVERIFY(Prompt().Texts("warning").value(0).contains("U+1F389"));
    }

    void silentServerEndsInFailureWithinTheTimeLimit() {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        UseServer(QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()));
        auto window = OpenWindow({500, 500});
        QElapsedTimer clock;
        clock.start();
        window->Button1Click();
        QCOMPARE(Prompt().Texts(), QStringList({ZipUpdateText::CheckFailed}));
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(window->CanClose && Child<QPushButton>(*window, "Button1")->isEnabled());
    }

    void theServerIsTypedInTheWindowAndKept() {
        UseServer(QString());
        auto window = OpenWindow();
        window->Button1Click();
        QCOMPARE(Prompt().Texts(), QStringList({ZipUpdateText::EnterServer}));

        server_->Publish(QStringLiteral("version.txt"), "20250925\r\n");
        Child<QLineEdit>(*window, "EditServer")->setText(server_->Address());
        window->Button1Click();
        QCOMPARE(Prompt().Texts().last(), ZipUpdateText::NoUpdate);
        QCOMPARE(ZipUpdateServer(DataPath()), server_->Address());
    }

    void japanPostArchivesBecomeThePostalData_data() {
        QTest::addColumn<QByteArray>("areaArchive");
        const QString areas = AreaRecords(true).join("\r\n") + "\r\n";
        QTest::newRow("ken_all, code page 932")
            << ZipArchiveOf("KEN_ALL.CSV", ShiftJis::Encode(areas));
        QTest::newRow("utf_ken_all, one record per town")
            << ZipArchiveOf("utf_ken_all.csv", (AreaRecords(false).join("\n") + "\n").toUtf8());
    }
    void japanPostArchivesBecomeThePostalData() {
        QFETCH(QByteArray, areaArchive);
        QTemporaryDir downloads;
        WriteAll(downloads.filePath("areas.zip"), areaArchive);
        WriteAll(
            downloads.filePath("jigyosyo.zip"),
            ZipArchiveOf("JIGYOSYO.CSV",
                         ShiftJis::Encode("13101,\"ﾆｯﾎﾟﾝﾕｳﾋﾞﾝ\",\"日本郵便株式会社\",\"東京都\","
                                          "\"千代田区\",\"大手町\",\"２丁目３－１（私書箱）\","
                                          "\"1008798\",\"100  \",\"銀座\",0,0,0\r\n")));
        auto window = OpenWindow();
        Prompt().PushPath(downloads.filePath("areas.zip"));
        Prompt().PushAnswer(Prompt::Answer::Yes);
        Prompt().PushPath(downloads.filePath("jigyosyo.zip"));
        Child<QPushButton>(*window, "BtnFromFile")->click();

        const QString description = QStringLiteral("2026/11/30現在の日本郵便公開データ");
        QCOMPARE(Prompt().Texts("message"),
                 QStringList{ZipUpdateText::Succeeded + "（" + description + "）"});
        QCOMPARE(ReadAll(ZipVersionPath(DataPath())), VersionFile("20261130", description));
        QCOMPARE(Child<QLineEdit>(*window, "Edit1")->text(), description);
        const QStringList lines = ShiftJis::Decode(ReadAll(ZipFilePath(DataPath()))).split("\r\n");
        QCOMPARE(lines.mid(0, 3),
                 QStringList({"0600000,北海道札幌市中央区", "0600042,北海道札幌市中央区大通西",
                              "1000000,北海道札幌市中央区本町"}));
        QCOMPARE(lines.at(lines.size() - 2),
                 QStringLiteral("1008798,東京都千代田区大手町２丁目３－１"));
    }

    void archiveWithoutJapanPostFilesChangesNothing() {
        QTemporaryDir downloads;
        WriteAll(downloads.filePath("other.zip"), ZipArchiveOf("readme.txt", "hello"));
        const QByteArray zipBefore = ReadAll(ZipFilePath(DataPath()));
        auto window = OpenWindow();
        Prompt().PushPath(downloads.filePath("other.zip"));
        Prompt().PushAnswer(Prompt::Answer::No);
        Child<QPushButton>(*window, "BtnFromFile")->click();
        QVERIFY(Prompt().Texts("error").value(0).contains("KEN_ALL.CSV"));
        VerifyInstalledFilesUnchanged(zipBefore);
    }

    void unattendedUpdate() {
        server_->Publish(QStringLiteral("version.txt"),
                         "\xEF\xBB\xBF" +
                             ShiftJis::Encode(QStringLiteral("20991231\n試験用データ\n")));
        server_->Publish(QStringLiteral("zip.dat"), GeneratedZipData());
        UnattendedZipUpdate result = UpdatePostalDataUnattended(DataPath());
        QVERIFY2(result.ok, qPrintable(result.message));
        QCOMPARE(result.message, ZipUpdateText::Succeeded + QStringLiteral("（試験用データ）"));
        QCOMPARE(SearchZipByCode(DataPath(), QStringLiteral("1099999")).rows.size(), 1);
        QVERIFY(ReadAll(ZipVersionPath(DataPath())).startsWith("20991231\r\n"));

        result = UpdatePostalDataUnattended(DataPath());
        QVERIFY(result.ok);
        QCOMPARE(result.message, ZipUpdateText::NoUpdate);

        // The environment variable wins over Config.ini.
        qputenv("PELLOR3_ZIP_SERVER",
                QStringLiteral("http://127.0.0.1:%1/").arg(FreePort()).toUtf8());
        result = UpdatePostalDataUnattended(DataPath());
        QVERIFY(!result.ok);
        QCOMPARE(result.message, ZipUpdateText::CheckFailed);
        qunsetenv("PELLOR3_ZIP_SERVER");
        UseServer(QString());
        result = UpdatePostalDataUnattended(DataPath());
        QVERIFY(!result.ok);
        QCOMPARE(result.message, ZipUpdateText::NoServer);
    }
};

QTEST_MAIN(TestZipUpdate)
#include "tst_zipupdate.moc"
