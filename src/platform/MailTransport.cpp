#include "platform/MailTransport.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QHostInfo>
#include <QLocale>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QUuid>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

// Far beyond any real server's reply; a server sending without end is cut off here.
constexpr qsizetype MaxReplyLineBytes = 4096;
constexpr int MaxReplyLines = 200;

bool IsAtext(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           QByteArrayView("!#$%&'*+-/=?^_`{|}~").contains(c);
}

bool IsDotString(QByteArrayView text, bool (*allowed)(char)) {
    if (text.isEmpty() || text.startsWith('.') || text.endsWith('.') || text.contains(".."))
        return false;
    return std::all_of(text.begin(), text.end(), [&](char c) { return c == '.' || allowed(c); });
}

bool IsQuotedLocalPart(QByteArrayView text) {
    if (text.size() < 2 || !text.startsWith('"') || !text.endsWith('"'))
        return false;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (c < 32 || c > 126)
            return false;
        if (c == '\\' && (++i + 1 >= text.size() || text[i] < 32 || text[i] > 126))
            return false;
        if (c == '"')
            return false;
    }
    return true;
}

bool IsDomain(QByteArrayView domain) {
    if (domain.startsWith('[') && domain.endsWith(']'))
        return domain.size() > 2 && std::all_of(domain.begin() + 1, domain.end() - 1, [](char c) {
                   return c >= 33 && c <= 126 && c != '[' && c != ']' && c != '\\';
               });
    if (domain.size() > 255 || !IsDotString(domain, [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
        }))
        return false;
    for (const QByteArray &label : domain.toByteArray().split('.'))
        if (label.startsWith('-') || label.endsWith('-'))
            return false;
    return true;
}

QString SocketFailure(const QString &what, const QAbstractSocket &socket) {
    return QStringLiteral("%1: %2").arg(what, socket.errorString());
}

} // namespace

bool IsEnvelopeAddress(const QByteArray &address) {
    const qsizetype at = address.lastIndexOf('@');
    if (at <= 0 || at > 64)
        return false;
    const QByteArrayView local = QByteArrayView(address).first(at);
    return (IsDotString(local, IsAtext) || IsQuotedLocalPart(local)) &&
           IsDomain(QByteArrayView(address).sliced(at + 1));
}

namespace {

// RFC 5322 date in English whatever the locale, e.g. "Wed, 15 May 2024 10:00:00 +0900".
bool TlsFromStart(MailSecurity security, int port, const TransportOptions &options) {
    return security == MailSecurity::Tls ||
           (security == MailSecurity::Automatic && options.implicitTlsPorts.contains(port));
}

QByteArray MailDate(const QDateTime &now) {
    const int offsetMinutes = now.offsetFromUtc() / 60;
    const QByteArray zone =
        QByteArray(offsetMinutes < 0 ? "-" : "+") +
        QByteArray::number(std::abs(offsetMinutes) / 60).rightJustified(2, '0') +
        QByteArray::number(std::abs(offsetMinutes) % 60).rightJustified(2, '0');
    return QLocale::c().toString(now, QStringLiteral("ddd, d MMM yyyy hh:mm:ss ")).toLatin1() +
           zone;
}

// Unique per message, in the sender's domain, as readers and filters expect of every message.
QByteArray MessageId(const QByteArray &senderAddress) {
    const qsizetype at = senderAddress.lastIndexOf('@');
    const QByteArray domain = at >= 0 ? senderAddress.mid(at + 1) : QByteArray("localhost");
    return '<' + QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' + domain + '>';
}

// A line break in a value would end its command or header line early and let the rest of the
// value speak to the server as commands or headers of its own.
bool HasLineBreak(const QByteArray &value) {
    return value.contains('\r') || value.contains('\n');
}

bool CarriesLineBreak(const SmtpMessage &message) {
    QList<QByteArray> values = message.recipients + message.extraHeaders;
    values << message.senderName << message.senderAddress << message.subject << message.contentType
           << message.transferEncoding;
    return std::any_of(values.begin(), values.end(), HasLineBreak);
}

// A display name with a comma, a period or another special character of the address syntax
// ("Brisko Co., Ltd.") would otherwise read as several addresses; encoded-words hold none.
QByteArray DisplayName(const QByteArray &name) {
    static const QByteArray specials = "()<>[]:;@\\,.\"";
    if (std::none_of(name.begin(), name.end(), [](char c) { return specials.contains(c); }))
        return name;
    QByteArray quoted = name;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + '"';
}

// Header lines are folded at blanks to stay within 78 characters where the words allow; servers
// refuse lines over 998 bytes, and a long subject is made of many encoded-words.
QByteArray FoldHeader(const QByteArray &line) {
    constexpr qsizetype MaxLine = 78;
    QByteArray folded;
    qsizetype lineLength = 0;
    for (const QByteArray &word : line.split(' ')) {
        if (lineLength > 0 && lineLength + 1 + word.size() > MaxLine) {
            folded += "\r\n";
            lineLength = 0;
        }
        if (!folded.isEmpty()) {
            folded += ' ';
            ++lineLength;
        }
        folded += word;
        lineLength += word.size();
    }
    return folded;
}

} // namespace

QString CertificateFingerprint(const QSslCertificate &certificate) {
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex(':').toUpper());
}

MailConnection::MailConnection(TransportOptions options) : options_(std::move(options)) {}

MailConnection::~MailConnection() = default;

void MailConnection::Open(const QString &host, int port, bool tlsFromStart) {
    Close();
    socket_ = std::make_unique<QSslSocket>();
    if (!options_.extraCaCertificates.isEmpty()) {
        QSslConfiguration configuration = socket_->sslConfiguration();
        configuration.addCaCertificates(options_.extraCaCertificates);
        socket_->setSslConfiguration(configuration);
    }
    // A certificate the user chose to trust for this server passes although the system does
    // not know its issuer; any other stays refused.
    QObject::connect(socket_.get(), &QSslSocket::sslErrors, [socket = socket_.get(), this] {
        if (options_.trustedFingerprints.contains(
                CertificateFingerprint(socket->peerCertificate())))
            socket->ignoreSslErrors();
    });
    const QDeadlineTimer deadline(options_.timeoutMs);
    if (tlsFromStart)
        socket_->connectToHostEncrypted(host, static_cast<quint16>(port));
    else
        socket_->connectToHost(host, static_cast<quint16>(port));
    if (!socket_->waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        const QString text = SocketFailure(QStringLiteral("接続できません"), *socket_);
        Close();
        throw MailTransportError(text);
    }
    if (tlsFromStart)
        WaitForEncrypted(static_cast<int>(deadline.remainingTime()));
}

void MailConnection::StartTls(const QString &host) {
    socket_->setPeerVerifyName(host);
    socket_->startClientEncryption();
    WaitForEncrypted(options_.timeoutMs);
}

// Throws, naming the cause, when the handshake fails; a certificate the system does not trust
// travels with the error so the user can be asked about it.
void MailConnection::WaitForEncrypted(int timeoutMs) {
    if (socket_->waitForEncrypted(timeoutMs))
        return;
    const QList<QSslError> errors = socket_->sslHandshakeErrors();
    QSslCertificate untrusted;
    QString text = SocketFailure(QStringLiteral("暗号化できません"), *socket_);
    if (!errors.isEmpty()) {
        untrusted = socket_->peerCertificate();
        QStringList causes;
        for (const QSslError &error : errors)
            causes << error.errorString();
        text = QStringLiteral("サーバーの証明書を確認できません: ") +
               causes.join(QStringLiteral("、"));
    }
    Close();
    throw MailTransportError(text, untrusted);
}

bool MailConnection::IsOpen() const {
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

QHostAddress MailConnection::LocalAddress() const {
    return socket_ ? socket_->localAddress() : QHostAddress(QHostAddress::LocalHost);
}

bool MailConnection::IsEncrypted() const {
    return socket_ && socket_->isEncrypted();
}

void MailConnection::Write(const QByteArray &bytes) {
    if (!IsOpen())
        throw MailTransportError(QStringLiteral("接続が切れています"));
    socket_->write(bytes);
    const QDeadlineTimer deadline(options_.timeoutMs);
    while (socket_->bytesToWrite() > 0) {
        if (!socket_->waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            const QString text = SocketFailure(QStringLiteral("送信できません"), *socket_);
            Close();
            throw MailTransportError(text);
        }
    }
}

QByteArray MailConnection::ReadLine(int timeoutMs) {
    if (!socket_)
        throw MailTransportError(QStringLiteral("接続が切れています"));
    const QDeadlineTimer deadline(timeoutMs > 0 ? timeoutMs : options_.timeoutMs);
    while (!socket_->canReadLine()) {
        if (socket_->bytesAvailable() > MaxReplyLineBytes) {
            Close();
            throw MailTransportError(QStringLiteral("サーバーの応答が長すぎます"));
        }
        if (deadline.hasExpired() ||
            !socket_->waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
            const QString text = socket_->state() == QAbstractSocket::ConnectedState
                                     ? QStringLiteral("サーバーが応答しません")
                                     : QStringLiteral("接続が切れました");
            Close();
            throw MailTransportError(text);
        }
    }
    QByteArray line = socket_->readLine(MaxReplyLineBytes + 1);
    if (!line.endsWith('\n')) {
        Close();
        throw MailTransportError(QStringLiteral("サーバーの応答が長すぎます"));
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

void MailConnection::Close() {
    if (!socket_)
        return;
    socket_->abort();
    socket_.reset();
}

SmtpClient::SmtpClient(TransportOptions options) : connection_(std::move(options)) {}

SmtpClient::~SmtpClient() = default;

void SmtpClient::Configure(const QString &host, int port, const QString &userId,
                           const QString &password, MailSecurity security) {
    host_ = host;
    port_ = port;
    userId_ = userId;
    password_ = password;
    security_ = security;
}

void SmtpClient::Connect() {
    capabilities_.clear();
    connection_.Open(host_, port_, TlsFromStart(security_, port_, connection_.Options()));
    try {
        if (ReadReply().code != 220)
            throw MailTransportError(QStringLiteral("サーバーが接続を受け付けません"));
        Greet();
        if (security_ == MailSecurity::StartTls && !Offers("STARTTLS"))
            throw MailTransportError(QStringLiteral("サーバーがSTARTTLSに対応していません"));
        if (!connection_.IsEncrypted() && security_ != MailSecurity::None && Offers("STARTTLS")) {
            Expect("STARTTLS", 220);
            connection_.StartTls(host_);
            Greet();
        }
        Authenticate();
    } catch (const MailTransportError &) {
        connection_.Close();
        throw;
    }
}

// The name EHLO gives: servers that check it refuse a bare host name, so a fully qualified one
// when the host has it, otherwise the address literal of this end of the connection.
QByteArray SmtpClient::GreetingName() const {
    QString name = QHostInfo::localHostName();
    if (!name.isEmpty() && !name.contains(u'.') && !QHostInfo::localDomainName().isEmpty())
        name += u'.' + QHostInfo::localDomainName();
    if (name.contains(u'.') && !name.endsWith(u'.'))
        return name.toLatin1();
    const QHostAddress local = connection_.LocalAddress();
    if (local.protocol() == QAbstractSocket::IPv6Protocol && !local.toIPv4Address())
        return "[IPv6:" + local.toString().toLatin1() + ']';
    return '[' + QHostAddress(local.toIPv4Address()).toString().toLatin1() + ']';
}

void SmtpClient::Greet() {
    const QByteArray name = GreetingName();
    Reply reply = Command("EHLO " + name);
    if (reply.code == 250) {
        capabilities_ = reply.lines.mid(1);
        return;
    }
    capabilities_.clear();
    Expect("HELO " + name, 250);
}

bool SmtpClient::Offers(const QByteArray &keyword, const QByteArray &argument) const {
    for (const QByteArray &line : capabilities_) {
        const QList<QByteArray> words = line.toUpper().replace('=', ' ').simplified().split(' ');
        if (words.value(0) != keyword)
            continue;
        if (argument.isEmpty() || words.mid(1).contains(argument))
            return true;
    }
    return false;
}

// A refused login ends the connection: sending on without it would reach the recipients the
// server lets through unauthenticated and refuse the others.
void SmtpClient::Authenticate() {
    if (userId_.isEmpty())
        return;
    const QByteArray user = ShiftJis::Encode(userId_);
    const QByteArray password = ShiftJis::Encode(password_);
    try {
        if (Offers("AUTH", "LOGIN")) {
            Expect("AUTH LOGIN", 334);
            Expect(user.toBase64(), 334);
            Expect(password.toBase64(), 235);
        } else if (Offers("AUTH", "PLAIN")) {
            // Servers that dropped LOGIN still take PLAIN; without it they refuse every sender.
            Expect("AUTH PLAIN " + ('\0' + user + '\0' + password).toBase64(), 235);
        }
    } catch (const MailTransportError &error) {
        throw MailTransportError(QStringLiteral("SMTPサーバーがログインを拒否しました: ") +
                                 error.Text());
    }
}

QList<QByteArray> SmtpClient::HeaderLines(const SmtpMessage &message) const {
    const QByteArray from = message.senderName.isEmpty() ? message.senderAddress
                                                         : DisplayName(message.senderName) + " <" +
                                                               message.senderAddress + ">";
    const std::pair<QByteArray, QByteArray> fields[] = {
        {"MIME-Version", "1.0"},
        {"From", from},
        {"Subject", message.subject},
        {"To", message.recipients.join(", ")},
        {"Content-Transfer-Encoding", message.transferEncoding},
        {"Content-Type", message.contentType},
        {"Date", MailDate(Clock::Now())},
        {"Message-ID", MessageId(message.senderAddress)},
        {"X-Mailer", mailAgent_},
    };
    QList<QByteArray> lines;
    for (const auto &[name, value] : fields)
        if (!value.isEmpty())
            lines << FoldHeader(name + ": " + value);
    for (const QByteArray &line : message.extraHeaders)
        if (!line.mid(line.indexOf(':') + 1).trimmed().isEmpty())
            lines << line;
    return lines;
}

void SmtpClient::Send(const SmtpMessage &message) {
    if (!Connected())
        throw MailTransportError(QStringLiteral("接続が切れています"));
    if (CarriesLineBreak(message))
        throw MailTransportError(QStringLiteral("宛先、差出人または件名に改行が含まれています"));
    if (!IsEnvelopeAddress(message.senderAddress))
        throw MailTransportError(QStringLiteral("差出人のメールアドレスの形式が正しくありません"));
    for (const QByteArray &recipient : message.recipients)
        if (!IsEnvelopeAddress(recipient))
            throw MailTransportError(QStringLiteral("メールアドレスの形式が正しくありません（1つ"
                                                    "の欄に1つのアドレスを書いて下さい）: %1")
                                         .arg(ShiftJis::Decode(recipient)));
    try {
        if (message.recipients.isEmpty())
            throw MailTransportError(QStringLiteral("宛先がありません"));

        QList<QByteArray> envelope{"RSET", "MAIL FROM: <" + message.senderAddress + ">"};
        for (const QByteArray &recipient : message.recipients)
            envelope << "RCPT TO:<" + recipient + ">";
        // A server that takes commands in a batch gets the envelope in one write: one wait for
        // the replies instead of one per command. DATA waits for them, so a refused recipient
        // still stops the message before its text.
        const bool pipelining = Offers("PIPELINING");
        if (pipelining) {
            QByteArray batch;
            for (const QByteArray &line : envelope)
                batch += line + "\r\n";
            connection_.Write(batch);
        }
        QString refusal;
        for (qsizetype i = 0; i < envelope.size() && (pipelining || refusal.isEmpty()); ++i) {
            const Reply reply = pipelining ? ReadReply() : Command(envelope[i]);
            const QString text = QString::fromLatin1(reply.lines.value(0));
            const bool accepted = i == 0 || reply.code == 250 || (i > 1 && reply.code == 251);
            if (!accepted && refusal.isEmpty())
                refusal = QStringLiteral("%1 %2").arg(reply.code).arg(text);
        }
        if (!refusal.isEmpty())
            throw MailTransportError(refusal);
        Expect("DATA", 354);
        QByteArray data;
        for (const QByteArray &line : HeaderLines(message))
            data += line + "\r\n";
        data += "\r\n";
        for (const QByteArray &line : message.bodyLines)
            data += (line.startsWith('.') ? "." + line : line) + "\r\n";
        data += ".\r\n";
        connection_.Write(data);
        // The server may take minutes to accept a message; giving up early would count a
        // delivered message as failed.
        const Reply reply = ReadReply(connection_.Options().dataReplyTimeoutMs);
        if (reply.code != 250)
            throw MailTransportError(QStringLiteral("%1 %2")
                                         .arg(reply.code)
                                         .arg(QString::fromLatin1(reply.lines.value(0))));
    } catch (const MailTransportError &) {
        if (Connected()) {
            try {
                Command("RSET");
            } catch (const MailTransportError &) {
                // The connection is gone; the next message reports it.
            }
        }
        throw;
    }
}

bool SmtpClient::Connected() const {
    return connection_.IsOpen();
}

void SmtpClient::Disconnect() {
    if (Connected()) {
        try {
            Command("QUIT");
        } catch (const MailTransportError &) {
            // Closing anyway.
        }
    }
    connection_.Close();
}

SmtpClient::Reply SmtpClient::ReadReply(int timeoutMs) {
    Reply reply;
    for (;;) {
        if (reply.lines.size() >= MaxReplyLines) {
            connection_.Close();
            throw MailTransportError(QStringLiteral("サーバーの応答が長すぎます"));
        }
        const QByteArray line = connection_.ReadLine(timeoutMs);
        bool ok = false;
        reply.code = line.left(3).toInt(&ok);
        if (!ok)
            throw MailTransportError(QStringLiteral("サーバーの応答が不正です"));
        reply.lines << line.mid(4);
        if (line.size() < 4 || line.at(3) != '-')
            return reply;
    }
}

SmtpClient::Reply SmtpClient::Command(const QByteArray &line) {
    connection_.WriteLine(line);
    return ReadReply();
}

SmtpClient::Reply SmtpClient::Expect(const QByteArray &line, int code) {
    Reply reply = Command(line);
    if (reply.code != code)
        throw MailTransportError(
            QStringLiteral("%1 %2").arg(reply.code).arg(QString::fromLatin1(reply.lines.value(0))));
    return reply;
}

Pop3Client::Pop3Client(TransportOptions options) : connection_(std::move(options)) {}

void Pop3Client::Configure(const QString &host, int port, const QString &user,
                           const QString &password, MailSecurity security) {
    host_ = host;
    port_ = port;
    user_ = user;
    password_ = password;
    security_ = security;
}

void Pop3Client::Connect() {
    connection_.Open(host_, port_, TlsFromStart(security_, port_, connection_.Options()));
    try {
        const QByteArray greeting = connection_.ReadLine();
        if (!greeting.startsWith("+OK"))
            throw MailTransportError(QStringLiteral("POPサーバーが接続を受け付けません"));
        if (!connection_.IsEncrypted() && security_ != MailSecurity::None) {
            const bool offered = Capabilities().contains("STLS");
            if (!offered && security_ == MailSecurity::StartTls)
                throw MailTransportError(QStringLiteral("POPサーバーがSTLSに対応していません"));
            if (offered) {
                Expect("STLS");
                connection_.StartTls(host_);
            }
        }
        Expect("USER " + ShiftJis::Encode(user_));
        Expect("PASS " + ShiftJis::Encode(password_));
    } catch (const MailTransportError &) {
        connection_.Close();
        throw;
    }
}

QList<QByteArray> Pop3Client::Capabilities() {
    connection_.WriteLine("CAPA");
    QList<QByteArray> capabilities;
    if (!connection_.ReadLine().startsWith("+OK"))
        return capabilities;
    for (QByteArray line = connection_.ReadLine(); line != "."; line = connection_.ReadLine()) {
        if (capabilities.size() >= MaxReplyLines) {
            connection_.Close();
            throw MailTransportError(QStringLiteral("サーバーの応答が長すぎます"));
        }
        capabilities << line.toUpper().split(' ').value(0);
    }
    return capabilities;
}

QByteArray Pop3Client::Expect(const QByteArray &line) {
    connection_.WriteLine(line);
    const QByteArray reply = connection_.ReadLine();
    if (!reply.startsWith("+OK"))
        throw MailTransportError(QStringLiteral("POPサーバーが拒否しました: ") +
                                 QString::fromLatin1(reply));
    return reply;
}

void Pop3Client::Disconnect() {
    if (connection_.IsOpen()) {
        try {
            Expect("QUIT");
        } catch (const MailTransportError &) {
            // Closing anyway.
        }
    }
    connection_.Close();
}
