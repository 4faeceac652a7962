#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <memory>
#include <stdexcept>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

// A failed download: refused reply, unreachable host or proxy, broken transfer, time limit.
class HttpError : public std::runtime_error {
public:
    explicit HttpError(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

// A server's answer, whatever its status.
struct HttpResponse {
    int status = 0;
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // The header's value (names compared without case); empty when absent.
    QByteArray Header(const QByteArray &name) const;
};

// Blocking HTTP requests for worker threads: create, use and destroy it in the same thread. Cookies
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

    // Sent with every request of Send from here on (Basic, so only over TLS or to loopback).
    void SetLogin(const QString &userId, const QString &password);
    // Any method (PROPFIND, REPORT, PUT, DELETE) with its headers and body; redirects are
    // answers too. Throws HttpError when no answer arrives in time or it is longer than
    // maxBytes.
    HttpResponse Send(const QByteArray &method, const QUrl &url,
                      const QList<std::pair<QByteArray, QByteArray>> &headers,
                      const QByteArray &body, qint64 maxBytes);

private:
    // Waits for the reply, its body into `sink`; throws HttpError as Get says. With
    // `anyStatus` an answer with an HTTP status is no failure.
    void Receive(QNetworkReply &reply, const QUrl &url, qint64 maxBytes, QIODevice &sink,
                 bool anyStatus);

    int timeoutMs_;
    int wholeRequestMs_;
    std::unique_ptr<QNetworkAccessManager> manager_;
    QByteArray authorization_;
};
