#include "mail/HeadlessMail.h"

#include "core/Clock.h"
#include "mail/MailSettings.h"
#include "mail/SendLog.h"
#include "mail/SendMailThread.h"

int SendTemplateHeadless(const QString &dataPath, const QString &templatePath,
                         const std::vector<MailCustomer> &customers, bool dryRun,
                         const std::function<void(const QString &line)> &report, QString *error) {
    QString subject;
    QString body;
    if (!ReadMailTemplate(templatePath, subject, body, error)) {
        *error = QStringLiteral("テンプレートを読み込めません: ") + *error;
        return 1;
    }
    MailSettings complete;
    if (!MailSettingsComplete(dataPath, complete)) {
        *error = QStringLiteral("メール送信設定（メールアドレスとSMTPサーバー）がありません。");
        return 1;
    }
    const std::vector<MailRecipient> rows = BuildRecipientList(customers);
    const auto hasAddress = [](const MailRecipient &row) {
        return !QString(row.address).remove(u',').trimmed().isEmpty();
    };
    if (dryRun) {
        for (const MailRecipient &row : rows)
            report(hasAddress(row)
                       ? QStringLiteral("送信予定\t%1\t%2").arg(row.name, row.address)
                       : QStringLiteral("送信しない（アドレスなし）\t%1").arg(row.name));
        return 0;
    }
    const MailSettings settings = ReadMailSettings(dataPath);
    TransportOptions transport;
    transport.trustedFingerprints = settings.TrustedFingerprints;
    TSendMailThread worker({rows, subject, body, settings, transport});
    worker.start();
    worker.wait();
    if (!worker.ErrorText.isEmpty()) {
        *error = worker.ErrorText;
        return 1;
    }
    QString logError;
    const SendLog log = SendLogOf(worker, rows, subject, Clock::Now());
    for (const SendLogEntry &entry : log.entries)
        report(QStringList{OutcomeText(entry.outcome), entry.name, entry.address, entry.reason}
                   .join(u'\t')
                   .trimmed());
    if (const QString kept = KeepSendLog(dataPath, log, &logError); !kept.isEmpty())
        report(QStringLiteral("送信の記録\t") + kept);
    else
        report(QStringLiteral("送信の記録を保存できません\t") + logError);
    return worker.Failed.empty() ? 0 : 3;
}
