#pragma once

#include "platform/HttpClient.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <vector>

// The requests of a CardDAV address book (RFC 6352) with collection sync (RFC 6578) and
// discovery (RFC 6764). Every request waits at most the client's time limits; a failure or an
// answer the sync cannot go on from throws HttpError with the reason for the user.
class CardDavClient {
public:
    CardDavClient(const QString &userId, const QString &password);

    // The address book at `given`: the collection itself, or found from its
    // /.well-known/carddav, the current user's principal and its address book home.
    QUrl Discover(const QUrl &given);

    struct Card {
        QString href;
        QString etag;
        QByteArray text; // empty when only listed
    };
    struct Changes {
        QString token;
        bool complete = false; // every card listed, not only the changed ones
        std::vector<Card> changed;
        QStringList removed;
    };
    // The cards changed and removed since `token` (every card for an empty or expired token),
    // in one request; a server without collection sync lists every card with its version.
    Changes ChangesSince(const QUrl &collection, const QString &token);
    // The cards' texts, a hundred to a request.
    std::vector<Card> Fetch(const QUrl &collection, const QStringList &hrefs);

    struct Written {
        int status = 0; // 201 or 204 stored, 412 the server's card is not the one expected
        QString etag;   // the stored card's version; empty when the server did not tell
    };
    // Stores the card: with `etag` only over that version (If-Match), without only where none
    // is (If-None-Match).
    Written Put(const QUrl &collection, const QString &href, const QByteArray &text,
                const QString &etag);
    // 204 deleted, 404 already gone, 412 changed since `etag`.
    int Delete(const QUrl &collection, const QString &href, const QString &etag);

    int Requests() const { return requests_; }

private:
    HttpResponse Send(const QByteArray &method, const QUrl &url,
                      QList<std::pair<QByteArray, QByteArray>> headers, const QByteArray &body);

    HttpClient http_;
    int requests_ = 0;
};
