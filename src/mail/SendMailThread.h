#pragma once

#include "mail/MailComposition.h"
#include "mail/MailSettings.h"
#include "mail/PzConv.h"
#include "platform/MailTransport.h"

#include <QThread>
#include <vector>

class Pop3Client;
class SmtpClient;

// Everything one run sends: the rows, the texts before personalising, the settings.
struct SendJob {
    std::vector<MailRecipient> rows;
    QString subject;
    QString body;
    MailSettings settings;
    TransportOptions transport;
};

// One personalised message in the form the SMTP client takes.
SmtpMessage BuildSmtpMessage(const TPzConv &conv, const MailSettings &settings,
                             const QString &address, const QString &subject, const QString &body);

// Sends one message per row over one SMTP connection, after a POP3 login when the settings ask
// for it. A cancel request (requestInterruption) is honoured between messages.
class TSendMailThread : public QThread {
    Q_OBJECT

public:
    struct FailedMessage {
        QString name;
        QString address;
        QString reason; // the server's reply or the connection's fault
    };

    explicit TSendMailThread(SendJob job, QObject *parent = nullptr);

    const std::vector<MailRecipient> &Rows() const { return job_.rows; }

    QString StatusText;
    QString Address;
    QString Subject;
    QString Body;
    int SentCount = 0;
    int FirstIndex = 0;
    int LastIndex = -1;
    bool Cancelled = false;
    QString ErrorText;
    std::vector<FailedMessage> Failed;
    // Customers without a mail address: nothing was sent to them, and nothing failed.
    std::vector<QString> Skipped;
    // The server (host, port) connected to last, and when the connection failed on a
    // certificate the system does not trust, that certificate.
    std::pair<QString, int> LastServer;
    QSslCertificate UntrustedCertificate;

signals:
    void StatusChanged(const QString &text);
    void RangeChanged(int minimum, int maximum);
    void ProgressChanged(int position);

protected:
    void run() override;

private:
    void SetStatus(const QString &text);
    void Connect(SmtpClient &smtp, Pop3Client &pop);
    void SendOne(SmtpClient &smtp, const MailRecipient &row);

    SendJob job_;
    TPzConv conv_;
};

// The message SendProcessDone shows at the end of a run.
QString SendOutcomeText(const TSendMailThread &worker);
