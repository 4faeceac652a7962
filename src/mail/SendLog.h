#pragma once

#include "mail/MailComposition.h"

#include <QDateTime>
#include <QString>
#include <vector>

class TSendMailThread;

// What became of each recipient of one sending run, so that after a cancel or a failure the
// user can still tell who got the mail.
struct SendLogEntry {
    enum class Outcome { Sent, Refused, Skipped, NotAttempted };
    QString name;
    QString address;
    Outcome outcome = Outcome::NotAttempted;
    QString reason; // the server's reply for a refusal
};

struct SendLog {
    QDateTime time;
    QString subject;
    std::vector<SendLogEntry> entries;
};

// The run's outcome per row, in list order: rows after the last one the run reached (a cancel,
// a connection that failed) were not attempted.
SendLog SendLogOf(const TSendMailThread &worker, const std::vector<MailRecipient> &rows,
                  const QString &subject, const QDateTime &time);

// "送信", "拒否", "送信しない（アドレスなし）", "未送信".
QString OutcomeText(SendLogEntry::Outcome outcome);

// The log as a CSV file: a line for the run, a header, a line per recipient; code page 932.
QByteArray SendLogCsv(const SendLog &log);

// Keeps the log as "sendlog/yyyyMMdd-hhmmss.csv" in the data folder; its path, or empty with
// `error` when it could not be written.
QString KeepSendLog(const QString &dataPath, const SendLog &log, QString *error);
