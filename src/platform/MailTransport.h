#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QStringList>
#include <memory>
#include <stdexcept>

class QSslSocket;

// A refused command, a broken connection or a time limit passed while talking to a mail server.
class MailTransportError : public std::runtime_error {
public:
    explicit MailTransportError(const QString &text) : std::runtime_error(text.toStdString()) {}
    MailTransportError(const QString &text, QSslCertificate certificate)
        : std::runtime_error(text.toStdString()), certificate_(std::move(certificate)) {}
    QString Text() const { return QString::fromStdString(what()); }
    // The server's certificate when the system does not trust it; null otherwise.
    const QSslCertificate &UntrustedCertificate() const { return certificate_; }

private:
    QSslCertificate certificate_;
};

// How a connection is protected: TLS from the first byte, STARTTLS (required), none, or as the
// program did before the choice existed: TLS from the first byte on 465 and 995, STARTTLS when
// the server offers it.
enum class MailSecurity { Automatic, None, StartTls, Tls };

// The SHA-256 digest of a certificate as the user compares it: "AB:CD:…".
QString CertificateFingerprint(const QSslCertificate &certificate);

// Whether `address` is one mailbox as an SMTP envelope carries it (RFC 5321: a dot-string or
// quoted local part, "@", a domain name or address literal), so nothing of it can end the
// address early or name a second one.
bool IsEnvelopeAddress(const QByteArray &address);

// How long a client waits for a connection and for every reply, which ports speak TLS from the
// first byte, and which certificates it trusts beyond the system's (a self-signed one, say).
struct TransportOptions {
    int timeoutMs = 30000;
    // The reply to the end of a message's data: servers filter the message first.
    int dataReplyTimeoutMs = 5 * 60 * 1000;
    QList<int> implicitTlsPorts = {465, 995};
    QList<QSslCertificate> extraCaCertificates;
    // Fingerprints of certificates the user chose to trust for this server.
    QStringList trustedFingerprints;
};

// One line-oriented connection, blocking, for use in a worker thread.
class MailConnection {
public:
    explicit MailConnection(TransportOptions options);
    ~MailConnection();

    void Open(const QString &host, int port, bool tlsFromStart);
    void StartTls(const QString &host);
    bool IsOpen() const;
    bool IsEncrypted() const;
    void Write(const QByteArray &bytes);
    void WriteLine(const QByteArray &line) { Write(line + "\r\n"); }
    // One line without its line end; waits at most the time limit (or `timeoutMs`) for it.
    QByteArray ReadLine(int timeoutMs = 0);
    QHostAddress LocalAddress() const;
    const TransportOptions &Options() const { return options_; }
    void Close();

private:
    void WaitForEncrypted(int timeoutMs);

    TransportOptions options_;
    std::unique_ptr<QSslSocket> socket_;
};

// One message as the mail program hands it over: header texts already encoded, body lines
// already in their transfer form.
struct SmtpMessage {
    QByteArray senderName; // may be empty
    QByteArray senderAddress;
    QList<QByteArray> recipients;
    QByteArray subject;
    QList<QByteArray> bodyLines;
    QByteArray contentType;
    QByteArray transferEncoding;
    QList<QByteArray> extraHeaders; // whole lines, "Name: value", after the standard ones
};

// Blocking SMTP client: greets with EHLO (HELO as fallback), switches to TLS when offered, logs
// in with AUTH LOGIN (or PLAIN) when a user id is set and the server offers it, all on Connect,
// and sends any number of messages over the one connection.
class SmtpClient {
public:
    explicit SmtpClient(TransportOptions options = {});
    ~SmtpClient();

    void Configure(const QString &host, int port, const QString &userId, const QString &password,
                   MailSecurity security = MailSecurity::Automatic);
    void SetMailAgent(const QByteArray &agent) { mailAgent_ = agent; }
    void Connect();
    // A refusal ends this message only; the connection stays usable for the next.
    void Send(const SmtpMessage &message);
    bool Connected() const;
    void Disconnect();

    // The header block, in the order servers and readers expect; lines with empty values left out.
    QList<QByteArray> HeaderLines(const SmtpMessage &message) const;

private:
    struct Reply {
        int code = 0;
        QList<QByteArray> lines;
    };
    Reply ReadReply(int timeoutMs = 0);
    Reply Command(const QByteArray &line);
    Reply Expect(const QByteArray &line, int code);
    QByteArray GreetingName() const;
    void Greet();
    void Authenticate();
    bool Offers(const QByteArray &keyword, const QByteArray &argument = {}) const;

    MailConnection connection_;
    QString host_;
    int port_ = 25;
    QString userId_;
    QString password_;
    MailSecurity security_ = MailSecurity::Automatic;
    QByteArray mailAgent_;
    QList<QByteArray> capabilities_;
};

// Blocking POP3 client, used only to log in before sending (POP before SMTP).
class Pop3Client {
public:
    explicit Pop3Client(TransportOptions options = {});

    void Configure(const QString &host, int port, const QString &user, const QString &password,
                   MailSecurity security = MailSecurity::Automatic);
    // Connects and logs in.
    void Connect();
    void Disconnect();

private:
    QByteArray Expect(const QByteArray &line);
    QList<QByteArray> Capabilities();

    MailConnection connection_;
    QString host_;
    int port_ = 110;
    QString user_;
    QString password_;
    MailSecurity security_ = MailSecurity::Automatic;
};
