#include "mail/HeadlessMail.h"

#include "mail/MailSettings.h"
#include "mail/SendMailThread.h"

#include <algorithm>

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
    // In list order: each row sent, refused (with the server's reply) or skipped.
    std::vector<TSendMailThread::FailedMessage> failed = worker.Failed;
    for (const MailRecipient &row : rows) {
        const auto refusal = std::find_if(failed.begin(), failed.end(), [&row](const auto &f) {
            return f.name == row.name && f.address == row.address;
        });
        if (!hasAddress(row)) {
            report(QStringLiteral("送信しない（アドレスなし）\t%1").arg(row.name));
        } else if (refusal != failed.end()) {
            report(QStringLiteral("拒否\t%1\t%2\t%3").arg(row.name, row.address, refusal->reason));
            failed.erase(refusal);
        } else {
            report(QStringLiteral("送信\t%1\t%2").arg(row.name, row.address));
        }
    }
    return worker.Failed.empty() ? 0 : 3;
}
