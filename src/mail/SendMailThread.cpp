#include "mail/SendMailThread.h"

#include "core/ShiftJis.h"
#include "platform/MailTransport.h"

namespace {

// Refused messages listed by name in the closing message; more are only counted.
constexpr int ListedFailures = 10;

// Servers refuse lines longer than 998 bytes, so a long paragraph is carried on over several
// lines, broken between characters; each line ends in ASCII mode and the next re-enters kanji.
QList<QByteArray> WrapJisLine(const QByteArray &line) {
    constexpr qsizetype MaxLine = 998;
    const QByteArray toKanji = "\x1b$B";
    const QByteArray toAscii = "\x1b(B";
    QList<QByteArray> lines;
    QByteArray current;
    bool kanji = false;
    for (qsizetype i = 0; i < line.size();) {
        const bool escape = line[i] == '\x1b';
        const QByteArray unit = line.mid(i, escape ? 3 : kanji ? 2 : 1);
        i += unit.size();
        if (current.size() + unit.size() + toAscii.size() > MaxLine) {
            lines << (kanji ? current + toAscii : current);
            current = kanji ? toKanji : QByteArray();
        }
        current += unit;
        if (escape)
            kanji = unit == toKanji;
    }
    lines << current;
    return lines;
}

// UTF-8 encoded-words of at most 75 characters, split between characters.
QByteArray Utf8HeaderWords(const QString &text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLatin1();
    constexpr qsizetype MaxBytes = 45; // 60 base64 characters and the 12 around them
    QList<QByteArray> words;
    QByteArray part;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray character = text.mid(i, length).toUtf8();
        i += length;
        if (part.size() + character.size() > MaxBytes) {
            words << "=?UTF-8?B?" + part.toBase64() + "?=";
            part.clear();
        }
        part += character;
    }
    words << "=?UTF-8?B?" + part.toBase64() + "?=";
    return words.join(' ');
}

} // namespace

SmtpMessage BuildSmtpMessage(const TPzConv &conv, const MailSettings &settings,
                             const QString &address, const QString &subject, const QString &body) {
    SmtpMessage message;
    message.senderAddress = ShiftJis::Encode(settings.SenderMail);
    // One address per field: the client refuses a field that names more, or anything else.
    message.recipients = {ShiftJis::Encode(address.trimmed())};
    const QByteArray sjisName = ShiftJis::Encode(settings.SenderName);
    const QByteArray sjisSubject = ShiftJis::Encode(subject);
    const QByteArray sjisBody = ShiftJis::Encode(body);
    if (conv.FitsJis(sjisName) && conv.FitsJis(sjisSubject) && conv.FitsJis(sjisBody)) {
        message.senderName = conv.EncodeHeaderWord(sjisName);
        message.subject = conv.EncodeHeaderWord(sjisSubject);
        QByteArray jis = conv.SjisToJis(sjisBody);
        jis.replace("\r\n", "\n").replace('\r', '\n');
        if (jis.endsWith('\n'))
            jis.chop(1);
        for (const QByteArray &line : jis.split('\n'))
            message.bodyLines << WrapJisLine(line);
        message.contentType = "text/plain;charset=\"iso-2022-jp\";";
        message.transferEncoding = "7bit";
        return message;
    }
    // ①, ㈱, 髙 and the like have no ISO-2022-JP code; every current reader shows UTF-8.
    message.senderName = Utf8HeaderWords(settings.SenderName);
    message.subject = Utf8HeaderWords(subject);
    QString text = body;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (!text.endsWith(u'\n'))
        text += u'\n';
    const QByteArray encoded = text.replace(u'\n', QStringLiteral("\r\n")).toUtf8().toBase64();
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        message.bodyLines << encoded.mid(i, 76);
    message.contentType = "text/plain; charset=UTF-8";
    message.transferEncoding = "base64";
    return message;
}

TSendMailThread::TSendMailThread(SendJob job, QObject *parent)
    : QThread(parent), job_(std::move(job)) {}

void TSendMailThread::SetStatus(const QString &text) {
    StatusText = text;
    emit StatusChanged(text);
}

void TSendMailThread::run() {
    Cancelled = false;
    ErrorText.clear();
    Failed.clear();
    Skipped.clear();
    UntrustedCertificate.clear();
    SetStatus(QStringLiteral("初期化中････"));
    if (isInterruptionRequested()) {
        Cancelled = true;
        return;
    }
    SentCount = 0;
    FirstIndex = 0;
    LastIndex = static_cast<int>(job_.rows.size()) - 1;
    emit RangeChanged(0, LastIndex);
    if (isInterruptionRequested()) {
        Cancelled = true;
        return;
    }
    SetStatus(QStringLiteral("接続中････"));
    SmtpClient smtp(job_.transport);
    smtp.SetMailAgent("OV_Pellor3");
    Pop3Client pop(job_.transport);
    try {
        Connect(smtp, pop);
    } catch (const MailTransportError &error) {
        ErrorText = QStringLiteral("接続中にエラーが発生しました\r\n") + error.Text();
        UntrustedCertificate = error.UntrustedCertificate();
        return;
    }
    if (isInterruptionRequested())
        Cancelled = true;
    for (int i = FirstIndex; i <= LastIndex && !Cancelled; ++i) {
        if (isInterruptionRequested()) {
            Cancelled = true;
            break;
        }
        SendOne(smtp, job_.rows[static_cast<size_t>(SentCount)]);
        ++SentCount;
        emit ProgressChanged(SentCount);
        SetStatus(QStringLiteral("<%1> に送信中････%2/%3").arg(Address).arg(i).arg(LastIndex));
    }
    SetStatus(QStringLiteral("切断中････"));
    if (smtp.Connected())
        smtp.Disconnect();
}

void TSendMailThread::Connect(SmtpClient &smtp, Pop3Client &pop) {
    const MailSettings &s = job_.settings;
    if (s.UsePopBeforeSmtp) {
        LastServer = {s.PopServer, s.PopPort};
        pop.Configure(s.PopServer, s.PopPort, s.PopUserId, s.PopPassword, s.PopSecurity);
        pop.Connect();
        msleep(300);
        pop.Disconnect();
    }
    LastServer = {s.SmtpServer, s.SmtpPort};
    smtp.Configure(s.SmtpServer, s.SmtpPort, s.SmtpUserId, s.SmtpPassword, s.SmtpSecurity);
    smtp.Connect();
}

void TSendMailThread::SendOne(SmtpClient &smtp, const MailRecipient &row) {
    Address = row.address;
    if (Address.trimmed().isEmpty()) {
        Skipped.push_back(row.name);
        return;
    }
    Subject = Personalize(job_.subject, row);
    Body = Personalize(job_.body, row);
    try {
        smtp.Send(BuildSmtpMessage(conv_, job_.settings, Address, Subject, Body));
    } catch (const MailTransportError &error) {
        Failed.push_back({row.name, row.address, error.Text()});
    }
}

QString SendOutcomeText(const TSendMailThread &worker) {
    if (!worker.ErrorText.isEmpty())
        return worker.ErrorText;
    if (worker.Cancelled)
        return QStringLiteral("送信処理をキャンセルしました");
    QString text = QStringLiteral("送信処理が完了しました");
    const int failed = static_cast<int>(worker.Failed.size());
    if (failed > 0)
        text += QStringLiteral("\r\n\r\n送信できなかったメール：%1件").arg(failed);
    for (int i = 0; i < std::min(failed, ListedFailures); ++i) {
        const auto &message = worker.Failed[static_cast<size_t>(i)];
        text += QStringLiteral("\r\n%1 <%2>").arg(message.name, message.address);
    }
    if (failed > ListedFailures)
        text += QStringLiteral("\r\nほか%1件").arg(failed - ListedFailures);
    if (!worker.Skipped.empty())
        text += QStringLiteral("\r\n\r\nメールアドレスがないため送らなかった顧客：%1件")
                    .arg(worker.Skipped.size());
    return text;
}
