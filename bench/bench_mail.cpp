#include "Bench.h"

#include "mail/SendMailThread.h"

#include <QEventLoop>
#include <QSemaphore>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// An SMTP server on loopback that accepts every message and keeps none.
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

protected:
    void run() override {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        port_ = server.serverPort();
        QObject::connect(&server, &QTcpServer::newConnection, [&server] {
            QTcpSocket *socket = server.nextPendingConnection();
            auto inData = std::make_shared<bool>(false);
            socket->write("220 sink\r\n");
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, inData] {
                while (socket->canReadLine()) {
                    const QByteArray line = socket->readLine().trimmed();
                    if (*inData) {
                        if (line == ".") {
                            *inData = false;
                            socket->write("250 queued\r\n");
                        }
                    } else if (line.startsWith("EHLO")) {
                        socket->write("250-sink\r\n250 8BITMIME\r\n");
                    } else if (line == "DATA") {
                        *inData = true;
                        socket->write("354 go ahead\r\n");
                    } else if (line == "QUIT") {
                        socket->write("221 bye\r\n");
                        socket->disconnectFromHost();
                    } else {
                        socket->write("250 OK\r\n");
                    }
                }
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        });
        ready_.release();
        exec();
    }

private:
    QSemaphore ready_;
    int port_ = 0;
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
    return ElapsedMs([&] {
        QEventLoop loop;
        QObject::connect(&worker, &QThread::finished, &loop, &QEventLoop::quit);
        worker.start();
        loop.exec();
    });
}
