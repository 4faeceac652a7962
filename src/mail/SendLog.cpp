#include "mail/SendLog.h"

#include "core/PrivateFolder.h"
#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "mail/SendMailThread.h"

#include <QDir>
#include <algorithm>

SendLog SendLogOf(const TSendMailThread &worker, const std::vector<MailRecipient> &rows,
                  const QString &subject, const QDateTime &time) {
    SendLog log{time, subject, {}};
    std::vector<TSendMailThread::FailedMessage> failed = worker.Failed;
    const bool connected = worker.ErrorText.isEmpty();
    for (size_t i = 0; i < rows.size(); ++i) {
        const MailRecipient &row = rows[i];
        SendLogEntry entry{row.name, row.address, SendLogEntry::Outcome::NotAttempted, {}};
        const auto refusal = std::find_if(failed.begin(), failed.end(), [&row](const auto &f) {
            return f.name == row.name && f.address == row.address;
        });
        const bool reached = connected && static_cast<int>(i) < worker.SentCount;
        if (!reached) {
            entry.outcome = SendLogEntry::Outcome::NotAttempted;
        } else if (row.address.trimmed().isEmpty()) {
            entry.outcome = SendLogEntry::Outcome::Skipped;
        } else if (refusal != failed.end()) {
            entry.outcome = SendLogEntry::Outcome::Refused;
            entry.reason = refusal->reason;
            failed.erase(refusal);
        } else {
            entry.outcome = SendLogEntry::Outcome::Sent;
        }
        log.entries.push_back(entry);
    }
    return log;
}

QString OutcomeText(SendLogEntry::Outcome outcome) {
    switch (outcome) {
    case SendLogEntry::Outcome::Sent:
        return QStringLiteral("送信");
    case SendLogEntry::Outcome::Refused:
        return QStringLiteral("拒否");
    case SendLogEntry::Outcome::Skipped:
        return QStringLiteral("送信しない（アドレスなし）");
    case SendLogEntry::Outcome::NotAttempted:
        break;
    }
    return QStringLiteral("未送信");
}

QByteArray SendLogCsv(const SendLog &log) {
    QStringList lines{QuoteCsvValue(log.time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))) +
                          u',' + QuoteCsvValue(log.subject),
                      QStringLiteral("名前,メールアドレス,結果,理由")};
    for (const SendLogEntry &entry : log.entries)
        lines << QStringList{QuoteCsvValue(entry.name), QuoteCsvValue(entry.address),
                             QuoteCsvValue(OutcomeText(entry.outcome)), QuoteCsvValue(entry.reason)}
                     .join(u',');
    return ShiftJis::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QString KeepSendLog(const QString &dataPath, const SendLog &log, QString *error) {
    const QString folder = dataPath + QStringLiteral("sendlog");
    if (!MakePrivateFolder(folder, error))
        return {};
    const QString path = QDir(folder).filePath(
        log.time.toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".csv"));
    return TextFile::WriteFileAtomically(path, SendLogCsv(log), error) ? path : QString();
}
