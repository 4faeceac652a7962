#include "platform/HttpClient.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTimer>

namespace {

// Whether the body is known to be complete: as long as the server declared, or framed in chunks
// or HTTP/2 frames. A body that ends only where the connection ends cannot be told from a
// broken transfer.
bool ArrivedWhole(const QNetworkReply &reply, qsizetype received) {
    const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
    if (declared.isValid())
        return declared.toLongLong() == received;
    return reply.rawHeader("Transfer-Encoding").toLower().contains("chunked") ||
           reply.attribute(QNetworkRequest::Http2WasUsedAttribute).toBool();
}

} // namespace

HttpClient::HttpClient(int timeoutMs, int wholeRequestMs)
    : timeoutMs_(timeoutMs), wholeRequestMs_(wholeRequestMs > 0 ? wholeRequestMs : timeoutMs),
      manager_(std::make_unique<QNetworkAccessManager>()) {
    manager_->setProxy(QNetworkProxy::NoProxy);
}

HttpClient::~HttpClient() = default;

void HttpClient::SetProxy(const QString &host, int port) {
    if (host.isEmpty())
        manager_->setProxy(QNetworkProxy::NoProxy);
    else
        manager_->setProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, host, static_cast<quint16>(port)));
}

QByteArray HttpClient::Get(const QUrl &url, qint64 maxBytes) {
    QByteArray body;
    QBuffer buffer(&body);
    buffer.open(QIODevice::WriteOnly);
    Get(url, maxBytes, buffer);
    return body;
}

void HttpClient::Get(const QUrl &url, qint64 maxBytes, QIODevice &sink) {
    QNetworkRequest request(url);
    request.setRawHeader("Accept", "text/html, */*");
    request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
    // Uncompressed, so the declared length is the length of what arrives.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(timeoutMs_);
    std::unique_ptr<QNetworkReply> reply(manager_->get(request));
    Receive(*reply, url, maxBytes, sink, false);
}

QByteArray HttpResponse::Header(const QByteArray &name) const {
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

void HttpClient::SetLogin(const QString &userId, const QString &password) {
    authorization_ =
        userId.isEmpty() ? QByteArray() : "Basic " + (userId + u':' + password).toUtf8().toBase64();
}

HttpResponse HttpClient::Send(const QByteArray &method, const QUrl &url,
                              const QList<std::pair<QByteArray, QByteArray>> &headers,
                              const QByteArray &body, qint64 maxBytes) {
    QNetworkRequest request(url);
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    if (!authorization_.isEmpty())
        request.setRawHeader("Authorization", authorization_);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    request.setTransferTimeout(timeoutMs_);
    std::unique_ptr<QNetworkReply> reply(manager_->sendCustomRequest(request, method, body));
    HttpResponse response;
    QBuffer buffer(&response.body);
    buffer.open(QIODevice::WriteOnly);
    Receive(*reply, url, maxBytes, buffer, true);
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    response.headers = reply->rawHeaderPairs();
    return response;
}

void HttpClient::Receive(QNetworkReply &reply, const QUrl &url, qint64 maxBytes, QIODevice &sink,
                         bool anyStatus) {
    QString failure;
    qint64 received = 0;
    const auto stop = [&](const QString &reason) {
        if (failure.isEmpty())
            failure = reason;
        reply.abort();
    };
    const QString tooLarge = QStringLiteral("%1 が大きすぎるため受信をやめました（上限 %2 バイト）")
                                 .arg(url.toDisplayString())
                                 .arg(maxBytes);
    const auto drain = [&] {
        while (failure.isEmpty() && reply.bytesAvailable() > 0) {
            const QByteArray chunk = reply.read(64 * 1024);
            received += chunk.size();
            if (received > maxBytes)
                stop(tooLarge);
            else if (sink.write(chunk) != chunk.size())
                stop(QStringLiteral("%1 を保存できません: %2")
                         .arg(url.toDisplayString(), sink.errorString()));
        }
    };
    QObject::connect(&reply, &QNetworkReply::metaDataChanged, [&] {
        const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
        if (declared.isValid() && declared.toLongLong() > maxBytes)
            stop(tooLarge);
    });
    QObject::connect(&reply, &QNetworkReply::readyRead, drain);
    QEventLoop loop;
    QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The transfer timeout covers a stalled transfer; this one the whole request.
    bool timedOut = false;
    QTimer::singleShot(wholeRequestMs_, &loop, [&] {
        timedOut = true;
        reply.abort();
    });
    if (!reply.isFinished())
        loop.exec();
    if (!failure.isEmpty())
        throw HttpError(failure);
    const bool answered = anyStatus && !timedOut &&
                          reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
    if (reply.error() != QNetworkReply::NoError && !answered)
        throw HttpError(QStringLiteral("%1 を取得できません: %2")
                            .arg(url.toDisplayString(), reply.errorString()));
    drain();
    if (!failure.isEmpty())
        throw HttpError(failure);
    if (!ArrivedWhole(reply, received) && !(answered && received == 0))
        throw HttpError(QStringLiteral("%1 の受信が途中で切れました").arg(url.toDisplayString()));
}
