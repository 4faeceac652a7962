#include "../common/MailTestServers.h"
#include "core/Clock.h"
#include "platform/HttpClient.h"
#include "platform/MailTransport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

namespace {

SmtpMessage SampleMessage(const QByteArray &recipient) {
    SmtpMessage message;
    message.senderName = "Shop";
    message.senderAddress = "shop@example.jp";
    message.recipients = {recipient};
    message.subject = "Spring sale";
    message.bodyLines = {"Hello,", ".a line that starts with a dot", "", "bye"};
    message.contentType = "text/plain; charset=us-ascii";
    message.transferEncoding = "7bit";
    return message;
}

} // namespace

class TestMailTransport : public QObject {
    Q_OBJECT

private slots:
    void SmtpDeliversOverEveryTransport_data();
    void SmtpDeliversOverEveryTransport();
    void RefusedLoginSendsNothing();
    void SecurityChoiceAndTrustedCertificate_data();
    void SecurityChoiceAndTrustedCertificate();
    void RefusedRecipientLeavesConnectionUsable_data();
    void RefusedRecipientLeavesConnectionUsable();
    void SenderNameIsOneMailbox();
    void LineBreaksCannotAddCommandsOrHeaders_data();
    void LineBreaksCannotAddCommandsOrHeaders();
    void SilentServerFailsWithinTimeLimit();
    void PopLogsIn();
    void HttpGetReturnsBodyOrFails();
    void EndlessAnswersAreCutOff_data();
    void EndlessAnswersAreCutOff();
    void EnvelopeAddresses_data();
    void EnvelopeAddresses();
};

void TestMailTransport::SmtpDeliversOverEveryTransport_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<QString>("mechanism");
    QTest::newRow("plain with AUTH LOGIN") << "plain" << false << "LOGIN";
    QTest::newRow("server without AUTH LOGIN") << "plain" << false << "PLAIN";
    QTest::newRow("STARTTLS") << "starttls" << true << "LOGIN";
    QTest::newRow("TLS from the first byte") << "tls" << true << "LOGIN";
}

void TestMailTransport::SmtpDeliversOverEveryTransport() {
    QFETCH(QString, mode);
    QFETCH(bool, encrypted);
    QFETCH(QString, mechanism);
    QStringList arguments{"--smtp", mode, "--auth", "user:secret"};
    if (mechanism != QStringLiteral("LOGIN"))
        arguments << "--auth-without"
                  << "LOGIN";
    MailTestServers servers(arguments, true);
    QVERIFY(servers.Ready());
    TransportOptions options = servers.Options();
    if (mode == QStringLiteral("tls"))
        options.implicitTlsPorts = {servers.SmtpPort()};
    SmtpClient client(options);
    client.SetMailAgent("OV_Pellor3");
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), QStringLiteral("user"),
                     QStringLiteral("secret"));
    client.Connect();
    client.Send(SampleMessage("a@example.jp"));
    client.Send(SampleMessage("b@example.jp"));
    client.Disconnect();

    const auto messages = servers.Events(QStringLiteral("message"), 2);
    QCOMPARE(messages.size(), size_t(2));
    const QJsonObject first = messages.front();
    QCOMPARE(first.value("recipients").toArray().first().toString(), QString("a@example.jp"));
    QCOMPARE(first.value("body").toString(),
             QString("Hello,\r\n.a line that starts with a dot\r\n\r\nbye\r\n"));
    QCOMPARE(first.value("x_mailer").toString(), QString("OV_Pellor3"));
    QCOMPARE(first.value("sender_name").toString(), QString("Shop <shop@example.jp>"));
    QStringList headers;
    for (const QJsonValue &name : first.value("headers").toArray())
        headers << name.toString();
    QCOMPARE(headers,
             QStringList({"MIME-Version", "From", "Subject", "To", "Content-Transfer-Encoding",
                          "Content-Type", "Date", "Message-ID", "X-Mailer"}));
    QVERIFY2(QRegularExpression(
                 R"(^[A-Z][a-z]{2}, \d{1,2} [A-Z][a-z]{2} \d{4} \d\d:\d\d:\d\d [+-]\d{4}$)")
                 .match(first.value("date").toString())
                 .hasMatch(),
             qPrintable(first.value("date").toString()));
    QCOMPARE(first.value("date_offset").toInt(-1), Clock::Now().offsetFromUtc() / 60);
    QVERIFY(first.value("message_id").toString().endsWith("@example.jp>"));
    QVERIFY(first.value("message_id") != messages.back().value("message_id"));
    for (const QJsonObject &event : servers.Events("smtp"))
        if (event.value("command") == QString("EHLO"))
            QVERIFY2(event.value("name").toString().contains('.') ||
                         event.value("name").toString().startsWith('['),
                     qPrintable(event.value("name").toString()));
    const QStringList commands = servers.Commands();
    QCOMPARE(commands.count("smtp AUTH"), 1);
    QVERIFY(commands.endsWith("smtp QUIT"));
    QCOMPARE(servers.Events("smtp").back().value("command").toString(), QString("QUIT"));
    for (const QJsonObject &event : servers.Events("smtp")) {
        if (event.value("command") == QString("MAIL"))
            QCOMPARE(event.value("tls").toBool(), encrypted);
        if (event.value("command") == QString("AUTH"))
            QCOMPARE(event.value("mechanism").toString(), mechanism);
    }
}

void TestMailTransport::RefusedLoginSendsNothing() {
    MailTestServers servers({"--auth", "user:secret"});
    QVERIFY(servers.Ready());
    SmtpClient client(servers.Options());
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), QStringLiteral("user"),
                     QStringLiteral("wrong"));
    try {
        client.Connect();
        QFAIL("a refused login connected");
    } catch (const MailTransportError &error) {
        QVERIFY2(error.Text().contains(QStringLiteral("535")), qPrintable(error.Text()));
    }
    QVERIFY(!client.Connected());
    QVERIFY(!servers.Commands().contains("smtp MAIL"));
}

void TestMailTransport::SecurityChoiceAndTrustedCertificate_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("security");
    QTest::addColumn<QString>("trust"); // "ca", "print" (the user trusted it) or "none"
    QTest::addColumn<QString>("failure");
    const int automatic = int(MailSecurity::Automatic);
    QTest::newRow("unknown issuer named") << "starttls" << automatic << "none"
                                          << "証明書";
    QTest::newRow("certificate the user trusted") << "starttls" << automatic << "print"
                                                  << "";
    QTest::newRow("trusted, TLS from the first byte") << "tls" << int(MailSecurity::Tls) << "print"
                                                      << "";
    QTest::newRow("STARTTLS required, not offered")
        << "plain" << int(MailSecurity::StartTls) << "ca"
        << "STARTTLS";
    QTest::newRow("none: no STARTTLS although offered")
        << "starttls" << int(MailSecurity::None) << "ca"
        << "530";
}

void TestMailTransport::SecurityChoiceAndTrustedCertificate() {
    QFETCH(QString, mode);
    QFETCH(int, security);
    QFETCH(QString, trust);
    QFETCH(QString, failure);
    MailTestServers servers({"--smtp", mode}, true);
    QVERIFY(servers.Ready());
    TransportOptions options = servers.Options();
    const QSslCertificate certificate = options.extraCaCertificates.value(0);
    if (trust != QStringLiteral("ca"))
        options.extraCaCertificates.clear();
    if (trust == QStringLiteral("print"))
        options.trustedFingerprints = {CertificateFingerprint(certificate)};
    SmtpClient client(options);
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), {}, {},
                     MailSecurity(security));
    try {
        client.Connect();
        client.Send(SampleMessage("a@example.jp"));
        QVERIFY2(failure.isEmpty(), "delivered");
        QCOMPARE(servers.Events(QStringLiteral("message"), 1).size(), size_t(1));
    } catch (const MailTransportError &error) {
        QVERIFY2(!failure.isEmpty() && error.Text().contains(failure), qPrintable(error.Text()));
        QCOMPARE(error.UntrustedCertificate().isNull(), trust != QStringLiteral("none"));
        if (trust == QStringLiteral("none"))
            QCOMPARE(error.UntrustedCertificate(), certificate);
    }
}

void TestMailTransport::RefusedRecipientLeavesConnectionUsable_data() {
    QTest::addColumn<bool>("pipelining");
    QTest::newRow("one command at a time") << false;
    QTest::newRow("envelope in one batch") << true;
}

void TestMailTransport::RefusedRecipientLeavesConnectionUsable() {
    QFETCH(bool, pipelining);
    QStringList arguments{"--refuse", "nobody@example.jp"};
    if (pipelining)
        arguments << "--pipelining";
    MailTestServers servers(arguments);
    QVERIFY(servers.Ready());
    SmtpClient client(servers.Options());
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), {}, {});
    client.Connect();
    // The replies after the refusal are read too, so the next message starts in step.
    SmtpMessage refused = SampleMessage("nobody@example.jp");
    refused.recipients << "b@example.jp";
    QVERIFY_THROWS_EXCEPTION(MailTransportError, client.Send(refused));
    QVERIFY(client.Connected());
    client.Send(SampleMessage("a@example.jp"));
    client.Disconnect();
    const auto messages = servers.Events(QStringLiteral("message"), 1);
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages.front().value("recipients").toArray().first().toString(),
             QString("a@example.jp"));
}

void TestMailTransport::SenderNameIsOneMailbox() {
    const std::pair<QByteArray, QString> names[] = {
        {"Brisko Co., Ltd.", "Brisko Co., Ltd."},
        {"Shop \"Sakura\" (main)", "Shop \"Sakura\" (main)"},
        {"=?ISO-2022-JP?B?GyRCSE5HZEl0GyhC?=", "販売部"},
    };
    MailTestServers servers;
    QVERIFY(servers.Ready());
    SmtpClient client(servers.Options());
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), {}, {});
    client.Connect();
    for (const auto &[name, shown] : names) {
        SmtpMessage message = SampleMessage("a@example.jp");
        message.senderName = name;
        client.Send(message);
    }
    client.Disconnect();
    const auto messages = servers.Events(QStringLiteral("message"), std::size(names));
    QCOMPARE(messages.size(), std::size(names));
    for (size_t i = 0; i < messages.size(); ++i)
        QCOMPARE(messages[i].value("from_mailboxes").toArray(),
                 QJsonArray({QJsonArray({names[i].second, "shop@example.jp"})}));
}

void TestMailTransport::LineBreaksCannotAddCommandsOrHeaders_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("value");
    const QByteArray smuggled = "a@example.jp>\r\nRCPT TO:<evil@example.jp";
    QTest::newRow("recipient") << QByteArray("recipient") << smuggled;
    QTest::newRow("recipient, bare LF")
        << QByteArray("recipient") << QByteArray(smuggled).replace("\r", "");
    QTest::newRow("sender address") << QByteArray("sender") << smuggled;
    QTest::newRow("subject") << QByteArray("subject") << QByteArray("Sale\r\nBcc: evil@example.jp");
    QTest::newRow("sender name") << QByteArray("name") << QByteArray("Shop\nBcc: evil@example.jp");
}

void TestMailTransport::LineBreaksCannotAddCommandsOrHeaders() {
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, value);
    MailTestServers servers;
    QVERIFY(servers.Ready());
    SmtpClient client(servers.Options());
    client.Configure(QStringLiteral("127.0.0.1"), servers.SmtpPort(), {}, {});
    client.Connect();
    SmtpMessage message = SampleMessage("a@example.jp");
    if (field == "recipient")
        message.recipients = {value};
    else if (field == "sender")
        message.senderAddress = value;
    else if (field == "subject")
        message.subject = value;
    else
        message.senderName = value;
    QVERIFY_THROWS_EXCEPTION(MailTransportError, client.Send(message));
    QVERIFY(client.Connected());
    client.Send(SampleMessage("b@example.jp"));
    client.Disconnect();

    const auto messages = servers.Events(QStringLiteral("message"), 1);
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages.front().value("recipients").toArray(), QJsonArray({"b@example.jp"}));
    for (const QJsonObject &event : servers.Events("smtp"))
        QVERIFY(!event.value("address").toString().contains("evil"));
}

void TestMailTransport::SilentServerFailsWithinTimeLimit() {
    MailTestServers servers;
    QVERIFY(servers.Ready());
    TransportOptions options;
    options.timeoutMs = 300;
    SmtpClient smtp(options);
    smtp.Configure(QStringLiteral("127.0.0.1"), servers.SilentPort(), {}, {});
    QElapsedTimer timer;
    timer.start();
    QVERIFY_THROWS_EXCEPTION(MailTransportError, smtp.Connect());
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(!smtp.Connected());

    Pop3Client pop(options);
    pop.Configure(QStringLiteral("127.0.0.1"), servers.SilentPort(), {}, {});
    QVERIFY_THROWS_EXCEPTION(MailTransportError, pop.Connect());
}

void TestMailTransport::PopLogsIn() {
    MailTestServers servers({"--pop", "popuser:poppass"});
    QVERIFY(servers.Ready());
    Pop3Client pop(servers.Options());
    pop.Configure(QStringLiteral("127.0.0.1"), servers.PopPort(), QStringLiteral("popuser"),
                  QStringLiteral("poppass"));
    pop.Connect();
    pop.Disconnect();
    pop.Configure(QStringLiteral("127.0.0.1"), servers.PopPort(), QStringLiteral("popuser"),
                  QStringLiteral("wrong"));
    QVERIFY_THROWS_EXCEPTION(MailTransportError, pop.Connect());
    servers.Events(QStringLiteral("pop"), 7);
    QCOMPARE(servers.Commands(),
             QStringList({"pop CAPA", "pop USER popuser", "pop PASS poppass", "pop QUIT",
                          "pop CAPA", "pop USER popuser", "pop PASS wrong"}));
}

void TestMailTransport::HttpGetReturnsBodyOrFails() {
    QTemporaryDir root;
    QFile file(root.filePath(QStringLiteral("version.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("2024-05\r\n\x82\xa0");
    file.close();
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess server;
    server.setWorkingDirectory(root.path());
    server.start(QStringLiteral("/usr/bin/python3"),
                 {"-m", "http.server", QString::number(port), "--bind", "127.0.0.1"});
    QVERIFY(server.waitForStarted());
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(port);

    HttpClient http(2000);
    QByteArray body;
    for (int attempt = 0; attempt < 200 && body.isEmpty(); ++attempt) {
        try {
            body = http.Get(QUrl(base + QStringLiteral("version.txt")), 4096);
        } catch (const HttpError &) {
            QTest::qWait(100);
        }
    }
    QCOMPARE(body, QByteArray("2024-05\r\n\x82\xa0"));
    QVERIFY_THROWS_EXCEPTION(HttpError, http.Get(QUrl(base + QStringLiteral("missing.txt")), 4096));
    http.SetProxy(QStringLiteral("127.0.0.1"), 1);
    QVERIFY_THROWS_EXCEPTION(HttpError, http.Get(QUrl(base + QStringLiteral("version.txt")), 4096));
    server.kill();
    server.waitForFinished();
}

// A server that sends `prefix`, then `chunk` again and again until the client goes.
const char *const EndlessServer = R"(
import socket, sys
server = socket.socket()
server.bind(('127.0.0.1', 0))
server.listen(1)
print(server.getsockname()[1], flush=True)
client, _ = server.accept()
prefix, chunk = bytes.fromhex(sys.argv[1]), bytes.fromhex(sys.argv[2]) * 256
try:
    client.sendall(prefix)
    while True:
        client.sendall(chunk)
except OSError:
    pass
)";

void TestMailTransport::EndlessAnswersAreCutOff_data() {
    QTest::addColumn<QString>("client");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<QByteArray>("chunk");
    QTest::newRow("SMTP continuation lines") << "smtp" << QByteArray() << QByteArray("220-x\r\n");
    QTest::newRow("SMTP line without end") << "smtp" << QByteArray() << QByteArray("220 xxxx");
    QTest::newRow("POP capability list")
        << "pop" << QByteArray("+OK\r\n+OK\r\n") << QByteArray("X\r\n");
    QTest::newRow("HTTP body without length")
        << "http" << QByteArray("HTTP/1.0 200 OK\r\n\r\n") << QByteArray(1024, 'x');
    QTest::newRow("HTTP 8 GB declared")
        << "http" << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 8589934592\r\n\r\n")
        << QByteArray(1024, 'x');
}

void TestMailTransport::EndlessAnswersAreCutOff() {
    QFETCH(QString, client);
    QFETCH(QByteArray, prefix);
    QFETCH(QByteArray, chunk);
    QProcess server;
    server.start(QStringLiteral("/usr/bin/python3"),
                 {"-c", EndlessServer, prefix.toHex(), chunk.toHex()});
    QVERIFY(server.waitForReadyRead(10000));
    const int port = server.readLine().trimmed().toInt();
    TransportOptions options;
    options.implicitTlsPorts.clear();
    if (client == "smtp") {
        SmtpClient smtp(options);
        smtp.Configure(QStringLiteral("127.0.0.1"), port, {}, {});
        QVERIFY_THROWS_EXCEPTION(MailTransportError, smtp.Connect());
    } else if (client == "pop") {
        Pop3Client pop(options);
        pop.Configure(QStringLiteral("127.0.0.1"), port, QStringLiteral("u"), QStringLiteral("p"));
        QVERIFY_THROWS_EXCEPTION(MailTransportError, pop.Connect());
    } else {
        HttpClient http(10000);
        try {
            http.Get(QUrl(QStringLiteral("http://127.0.0.1:%1/zip.dat").arg(port)), 64 * 1024);
            QFAIL("an endless answer was taken");
        } catch (const HttpError &error) {
            QVERIFY2(error.Text().contains("大きすぎる"), qPrintable(error.Text()));
        }
    }
    server.kill();
    server.waitForFinished();
}

void TestMailTransport::EnvelopeAddresses_data() {
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("taken");
    QTest::newRow("plain") << QByteArray("taro.yamada+sale@mail.example.co.jp") << true;
    QTest::newRow("quoted local part") << QByteArray("\"taro yamada\"@example.jp") << true;
    QTest::newRow("address literal") << QByteArray("shop@[192.0.2.1]") << true;
    QTest::newRow("ESMTP parameter") << QByteArray("a@example.jp> NOTIFY=NEVER") << false;
    QTest::newRow("two addresses") << QByteArray("a@example.jp,b@example.jp") << false;
    QTest::newRow("name and address") << QByteArray("Taro <a@example.jp>") << false;
    QTest::newRow("no domain") << QByteArray("a@") << false;
    QTest::newRow("no at sign") << QByteArray("example.jp") << false;
    QTest::newRow("double dot") << QByteArray("a..b@example.jp") << false;
    QTest::newRow("label starts with hyphen") << QByteArray("a@-example.jp") << false;
    QTest::newRow("space") << QByteArray("a b@example.jp") << false;
    QTest::newRow("unclosed quote") << QByteArray("\"a@example.jp") << false;
    QTest::newRow("Shift-JIS") << QByteArray("\x82\xa0@example.jp") << false;
    QTest::newRow("local part over 64") << QByteArray(65, 'a') + "@example.jp" << false;
}

void TestMailTransport::EnvelopeAddresses() {
    QFETCH(QByteArray, address);
    QTEST(IsEnvelopeAddress(address), "taken");
}

QTEST_MAIN(TestMailTransport)
#include "tst_mailtransport.moc"
