#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <memory>
#include <stdexcept>

class QIODevice;
class QNetworkAccessManager;

// A failed download: refused reply, unreachable host or proxy, broken transfer, time limit.
class HttpError : public std::runtime_error {
public:
    explicit HttpError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

// Blocking HTTP GET for worker threads: create, use and destroy it in the same thread. Cookies
// are kept for the life of the client.
class HttpClient {
public:
    // timeoutMs limits a stalled transfer; wholeRequestMs (timeoutMs when 0) the whole request,
    // so a large file on a slow line can take longer than a silent server may.
    explicit HttpClient(int timeoutMs = 30000, int wholeRequestMs = 0);
    ~HttpClient();

    // No proxy when the host is empty; port 0 when none was given.
    void SetProxy(const QString &host, int port);
    // The response body as it arrived; throws HttpError, also when the body would be longer
    // than maxBytes (an endless or oversized answer never fills the memory).
    QByteArray Get(const QUrl &url, qint64 maxBytes);
    // The same, written to `sink` as it arrives.
    void Get(const QUrl &url, qint64 maxBytes, QIODevice &sink);

private:
    int timeoutMs_;
    int wholeRequestMs_;
    std::unique_ptr<QNetworkAccessManager> manager_;
};
