#include "contacts/CardDavClient.h"

#include <QXmlStreamReader>

namespace {

constexpr qint64 MaxAnswerBytes = 512LL * 1024 * 1024;

struct DavResponse {
    QString href;
    int status = 0; // of the response, or of its properties found
    QString etag;
    QByteArray addressData;
    QStringList hrefProperties; // current-user-principal, addressbook-home-set
    bool addressBook = false;
};

int StatusOf(const QString &line) {
    return line.section(u' ', 1, 1).toInt();
}

// The responses of a 207 answer, and its sync token.
std::vector<DavResponse> ParseMultiStatus(const QByteArray &body, QString *token = nullptr) {
    std::vector<DavResponse> responses;
    QXmlStreamReader xml(body);
    DavResponse *current = nullptr;
    int propstatStatus = 0;
    DavResponse propstat;
    bool inHrefProperty = false;
    bool inPropstat = false;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement()) {
            if (name == u"response") {
                responses.emplace_back();
                current = &responses.back();
            } else if (name == u"propstat") {
                propstat = {};
                propstatStatus = 0;
                inPropstat = true;
            } else if (name == u"sync-token" && !current && token) {
                *token = xml.readElementText().trimmed();
            } else if (!current) {
                continue;
            } else if (name == u"current-user-principal" || name == u"addressbook-home-set") {
                inHrefProperty = true;
            } else if (name == u"href") {
                const QString href = xml.readElementText().trimmed();
                if (inHrefProperty)
                    propstat.hrefProperties << href;
                else if (current->href.isEmpty())
                    current->href = href;
            } else if (name == u"status") {
                const int status = StatusOf(xml.readElementText().trimmed());
                (inPropstat ? propstatStatus : current->status) = status;
            } else if (name == u"getetag") {
                propstat.etag = xml.readElementText().trimmed();
            } else if (name == u"address-data") {
                propstat.addressData = xml.readElementText().toUtf8();
            } else if (name == u"addressbook") {
                propstat.addressBook = true;
            }
        } else if (xml.isEndElement()) {
            if (name == u"current-user-principal" || name == u"addressbook-home-set")
                inHrefProperty = false;
            else if (name == u"propstat")
                inPropstat = false;
            if (name == u"propstat" && current && propstatStatus / 100 == 2) {
                if (!propstat.etag.isEmpty())
                    current->etag = propstat.etag;
                if (!propstat.addressData.isEmpty())
                    current->addressData = propstat.addressData;
                current->hrefProperties << propstat.hrefProperties;
                current->addressBook = current->addressBook || propstat.addressBook;
                if (current->status == 0)
                    current->status = 200;
            } else if (name == u"response") {
                current = nullptr;
            }
        }
    }
    return responses;
}

QByteArray Escaped(const QString &href) {
    return href.toHtmlEscaped().toUtf8();
}

const QByteArray XmlContent = "application/xml; charset=utf-8";

} // namespace

// A server lists a large address book only once it has read every card, so the first answer of
// a sync may be slow to come.
CardDavClient::CardDavClient(const QString &userId, const QString &password)
    : http_(120000, 600000) {
    http_.SetLogin(userId, password);
}

HttpResponse CardDavClient::Send(const QByteArray &method, const QUrl &url,
                                 QList<std::pair<QByteArray, QByteArray>> headers,
                                 const QByteArray &body) {
    ++requests_;
    if (!body.isEmpty() && method != "PUT")
        headers.append({"Content-Type", XmlContent});
    HttpResponse response = http_.Send(method, url, headers, body, MaxAnswerBytes);
    if (response.status == 401)
        throw HttpError(QStringLiteral("アドレス帳サーバー %1 にログインできません。"
                                       "ユーザーIDとパスワードを確かめて下さい。")
                            .arg(url.host()));
    return response;
}

QUrl CardDavClient::Discover(const QUrl &given) {
    const QByteArray probe =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\" "
        "xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop><d:resourcetype/>"
        "<d:current-user-principal/><c:addressbook-home-set/></d:prop></d:propfind>";
    const auto propfind = [&](const QUrl &url, const char *depth) {
        QUrl at = url;
        for (int redirects = 0; redirects < 5; ++redirects) {
            HttpResponse response = Send("PROPFIND", at, {{"Depth", depth}}, probe);
            if (response.status / 100 == 3 && !response.Header("Location").isEmpty()) {
                at = at.resolved(QUrl::fromEncoded(response.Header("Location")));
                continue;
            }
            if (response.status != 207)
                throw HttpError(QStringLiteral("%1 はアドレス帳サーバーとして答えません（%2）。")
                                    .arg(at.toDisplayString())
                                    .arg(response.status));
            return std::pair{at, ParseMultiStatus(response.body)};
        }
        throw HttpError(QStringLiteral("%1 の転送が多すぎます。").arg(url.toDisplayString()));
    };
    // The address itself may be the address book, its home, or only the server.
    auto [at, responses] = propfind(given, "0");
    if (!responses.empty() && responses.front().addressBook)
        return at;
    const auto named = [](const std::vector<DavResponse> &found) {
        return found.empty() ? QStringList() : found.front().hrefProperties;
    };
    QStringList homes = named(responses);
    if (homes.isEmpty() && given.path().size() <= 1) {
        std::tie(at, responses) = propfind(given.resolved(QUrl("/.well-known/carddav")), "0");
        homes = named(responses);
    }
    // The principal names its home; a home lists its address books.
    for (int depth = 0; depth < 3; ++depth) {
        if (homes.isEmpty())
            break;
        const QUrl next = at.resolved(QUrl(homes.takeLast()));
        std::tie(at, responses) = propfind(next, "1");
        for (const DavResponse &response : responses)
            if (response.addressBook)
                return at.resolved(QUrl(response.href));
        homes = named(responses);
    }
    throw HttpError(
        QStringLiteral("%1 にアドレス帳が見つかりません。アドレス帳のURLを直接入力して下さい。")
            .arg(given.toDisplayString()));
}

CardDavClient::Changes CardDavClient::ChangesSince(const QUrl &collection, const QString &token) {
    const QByteArray body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:sync-collection xmlns:d=\"DAV:\">"
        "<d:sync-token>" +
        Escaped(token) +
        "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
        "</d:sync-collection>";
    Changes changes;
    HttpResponse response = Send("REPORT", collection, {{"Depth", "0"}}, body);
    if (!token.isEmpty() && (response.status == 403 || response.status == 409))
        return ChangesSince(collection, QString()); // the token expired
    changes.complete = token.isEmpty();
    if (response.status != 207) {
        // No collection sync: every card with its version.
        response = Send("PROPFIND", collection, {{"Depth", "1"}},
                        "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\">"
                        "<d:prop><d:getetag/><d:resourcetype/></d:prop></d:propfind>");
        if (response.status != 207)
            throw HttpError(QStringLiteral("アドレス帳 %1 の一覧を読めません（%2）。")
                                .arg(collection.toDisplayString())
                                .arg(response.status));
        changes.complete = true;
    }
    const QString collectionPath = collection.path();
    for (const DavResponse &card : ParseMultiStatus(response.body, &changes.token)) {
        if (QUrl(card.href).path() == collectionPath || card.addressBook)
            continue;
        if (card.status == 404)
            changes.removed << card.href;
        else if (!card.etag.isEmpty())
            changes.changed.push_back({card.href, card.etag, {}});
    }
    return changes;
}

std::vector<CardDavClient::Card> CardDavClient::Fetch(const QUrl &collection,
                                                      const QStringList &hrefs) {
    std::vector<Card> cards;
    for (qsizetype start = 0; start < hrefs.size(); start += 100) {
        QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:addressbook-multiget "
                          "xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:carddav\"><d:prop>"
                          "<d:getetag/><c:address-data/></d:prop>";
        for (const QString &href : hrefs.mid(start, 100))
            body += "<d:href>" + Escaped(href) + "</d:href>";
        body += "</c:addressbook-multiget>";
        const HttpResponse response = Send("REPORT", collection, {{"Depth", "1"}}, body);
        if (response.status != 207)
            throw HttpError(QStringLiteral("アドレス帳 %1 のカードを読めません（%2）。")
                                .arg(collection.toDisplayString())
                                .arg(response.status));
        for (const DavResponse &card : ParseMultiStatus(response.body))
            if (!card.addressData.isEmpty())
                cards.push_back({card.href, card.etag, card.addressData});
    }
    return cards;
}

CardDavClient::Written CardDavClient::Put(const QUrl &collection, const QString &href,
                                          const QByteArray &text, const QString &etag) {
    QList<std::pair<QByteArray, QByteArray>> headers = {
        {"Content-Type", "text/vcard; charset=utf-8"}};
    headers.append(etag.isEmpty() ? std::pair<QByteArray, QByteArray>{"If-None-Match", "*"}
                                  : std::pair<QByteArray, QByteArray>{"If-Match", etag.toUtf8()});
    const HttpResponse response = Send("PUT", collection.resolved(QUrl(href)), headers, text);
    if (response.status / 100 != 2 && response.status != 412)
        throw HttpError(QStringLiteral("%1 を保存できません（%2）。%3")
                            .arg(href)
                            .arg(response.status)
                            .arg(QString::fromUtf8(response.body.left(200))));
    return {response.status, QString::fromUtf8(response.Header("ETag"))};
}

int CardDavClient::Delete(const QUrl &collection, const QString &href, const QString &etag) {
    const HttpResponse response =
        Send("DELETE", collection.resolved(QUrl(href)), {{"If-Match", etag.toUtf8()}}, {});
    if (response.status / 100 != 2 && response.status != 404 && response.status != 412)
        throw HttpError(
            QStringLiteral("%1 を削除できません（%2）。").arg(href).arg(response.status));
    return response.status;
}
