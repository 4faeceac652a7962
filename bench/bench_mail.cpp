#include "Bench.h"

#include "mail/SendMailThread.h"

#include <QEventLoop>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>
#include <atomic>

namespace {

// An SMTP server on loopback that accepts every message, keeps none and counts them; it takes
// commands in batches, as the servers of a provider do.
class SmtpSink : public QThread {
public:
    SmtpSink() {
        start();
        ready_.acquire();
    }
    ~SmtpSink() override {
        quit();
        wait();
    }
    int Port() const { return port_; }
    int Received() const { return received_; }

protected:
    void run() override {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        port_ = server.serverPort();
        QObject::connect(&server, &QTcpServer::newConnection, [&server, this] {
            QTcpSocket *socket = server.nextPendingConnection();
            auto inData = std::make_shared<bool>(false);
            socket->write("220 sink\r\n");
            // The replies to a batch go out in one write, as RFC 2920 asks of a server.
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, inData, this] {
                QByteArray replies;
                bool quit = false;
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    if (*inData) {
                        if (line == ".") {
                            *inData = false;
                            ++received_;
                            replies += "250 queued\r\n";
                        }
                    } else if (line.startsWith("EHLO")) {
                        replies += "250-sink\r\n250-PIPELINING\r\n250 8BITMIME\r\n";
                    } else if (line == "DATA") {
                        *inData = true;
                        replies += "354 go ahead\r\n";
                    } else if (line == "QUIT") {
                        replies += "221 bye\r\n";
                        quit = true;
                    } else {
                        replies += "250 OK\r\n";
                    }
                }
                socket->write(replies);
                if (quit)
                    socket->disconnectFromHost();
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
        ready_.release();
        exec();
    }

private:
    QSemaphore ready_;
    int port_ = 0;
    std::atomic<int> received_ = 0;
};

} // namespace

PELLOR3_BENCH_FIGURE(MailThousandMessages, "mail_1000_messages_ms", "ms") {
    SmtpSink sink;
    SendJob job;
    for (int i = 0; i < 1000; ++i)
        job.rows.push_back({QStringLiteral("山田 太郎%1").arg(i),
                            QStringLiteral("様"),
                            QStringLiteral("user%1@example.jp").arg(i),
                            {QStringLiteral("春の会"), {}, {}, {}},
                            i});
    job.subject = QStringLiteral("[NAME][NAME_TITLE]へ [SASHIKOMI1]のご案内");
    job.body =
        QStringLiteral("[NAME] [NAME_TITLE]\n\nいつもお世話になっております。\n").repeated(20);
    job.settings.SenderName = QStringLiteral("販売部");
    job.settings.SenderMail = QStringLiteral("shop@example.jp");
    job.settings.SmtpServer = QStringLiteral("127.0.0.1");
    job.settings.SmtpPort = sink.Port();
    TSendMailThread worker(job);
    const double ms = ElapsedMs([&] {
        QEventLoop loop;
        QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
        worker.start();
        loop.exec();
    });
    if (sink.Received() != 1000)
        qFatal("mail_1000_messages: %d of 1000 messages arrived", sink.Received());
    return ms;
}
