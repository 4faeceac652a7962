#include "contacts/ContactSync.h"

#include "records/PictureStore.h"
#include "store/ClassTable.h"
#include "store/ContactLinks.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/TableEngine.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUuid>

struct ContactSync::Customer {
    CustomerRecord record;
    std::optional<ContactLink> link;
    QString hash;
};

namespace {

// Servers that check cards with vobject (Radicale) refuse the second N of a 4.0 phonetic name.
constexpr VCard::Version UploadVersion = VCard::Version::V3;

// A card's path as the server names it, so hrefs written either way compare equal.
QString HrefKey(const QUrl &collection, const QString &href) {
    return collection.resolved(QUrl(href)).path(QUrl::FullyEncoded);
}

std::optional<VCard::Card> ReadOne(const QByteArray &text, QStringList *refused = nullptr) {
    VCard::ReadResult read = VCard::ReadCards(text);
    if (refused)
        *refused << read.refused;
    if (read.cards.empty())
        return std::nullopt;
    return std::move(read.cards.front());
}

bool SameFields(const VCard::Card &a, const VCard::Card &b) {
    return VCard::CardFields(a) == VCard::CardFields(b);
}

} // namespace

QString ContactSync::Conflict::Name() const {
    return local ? local->record.name : server ? server->record.name : QString();
}

QString ContactSync::Outcome::Summary() const {
    return QStringLiteral("アップロード %1件、ダウンロード %2件、サーバーで削除 %3件、"
                          "台帳で削除 %4件、競合 %5件、削除の確認待ち %6件")
        .arg(uploaded)
        .arg(downloaded)
        .arg(deletedOnServer)
        .arg(deletedInBook)
        .arg(conflicts.size())
        .arg(deletions.size());
}

ContactSync::ContactSync(Database &database, const QString &dataPath,
                         const CardDavSettings &settings, Progress progress)
    : database_(database), dataPath_(dataPath), settings_(settings), progress_(std::move(progress)),
      client_(settings.userId, settings.password) {}

bool ContactSync::Report(const QString &step, int done, int total) {
    return !progress_ || progress_(step, done, total);
}

QUrl ContactSync::Collection() {
    const ContactBook book = ReadContactBook(database_);
    if (book.url == settings_.url && !book.collection.isEmpty())
        return QUrl(book.collection);
    const QUrl found = client_.Discover(QUrl(settings_.url));
    // Links to another address book would delete or overwrite the wrong cards.
    if (!book.collection.isEmpty() && book.collection != found.toString())
        RemoveContactLinks(database_);
    StoreContactBook(database_, {settings_.url, found.toString(),
                                 book.collection == found.toString() ? book.syncToken : QString()});
    return found;
}

VCard::Card ContactSync::CardOf(const CustomerRecord &record, bool withPhoto) const {
    VCard::Card card{
        record, {classNames1_.value(record.classId), classNames2_.value(record.classId2)}, {}, {}};
    if (withPhoto && !record.img1.isEmpty()) {
        Query query(database_);
        card.photoJpeg = PictureStore::StoredJpeg(query, dataPath_, record.img1);
    }
    return card;
}

QString ContactSync::LocalHash(const CustomerRecord &record) const {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(VCard::WriteCard(CardOf(record, false),
                                  {UploadVersion, VCard::ReadingScript::Katakana, dataPath_}));
    // The picture counts by its file's name, size and time, not by reading every picture.
    if (!record.img1.isEmpty()) {
        const QFileInfo picture(PictureStore::PictureFolder(dataPath_) + record.img1);
        hash.addData(QStringLiteral("%1|%2|%3")
                         .arg(record.img1)
                         .arg(picture.size())
                         .arg(picture.lastModified().toMSecsSinceEpoch())
                         .toUtf8());
    }
    return QString::fromLatin1(hash.result().toHex());
}

void ContactSync::StoreFromServer(int userId, const CardDavClient::Card &card,
                                  const VCard::Card &read) {
    Query query(database_);
    const int id = userId != 0 ? userId : InsertCustomer(query, read.record.name, read.record.kana);
    std::optional<CustomerRecord> record = LoadCustomerRecord(query, id);
    if (!record)
        return;
    VCard::ApplyCardFields(*record, read, classNames1_, classNames2_);
    SaveCustomerRecord(query, *record);
    QString error;
    if (!read.photoJpeg.isEmpty() &&
        PictureStore::StorePicture(query, dataPath_, 0, id, read.photoJpeg, error))
        record = LoadCustomerRecord(query, id);
    StoreContactLink(database_, {id, read.uid.isEmpty() ? VCard::BookUid(dataPath_, id) : read.uid,
                                 card.href, card.etag, LocalHash(*record), card.text});
}

void ContactSync::Upload(Customer &customer, Outcome &outcome) {
    ContactLink link = customer.link.value_or(ContactLink{});
    const bool fresh = !customer.link;
    if (fresh) {
        link.userId = customer.record.userId;
        link.uid = VCard::BookUid(dataPath_, link.userId);
        link.href = HrefKey(collection_, QString(link.uid).remove(QStringLiteral("urn:uuid:")) +
                                             QStringLiteral(".vcf"));
    }
    VCard::Card card = CardOf(customer.record, true);
    card.uid = link.uid;
    QByteArray text =
        VCard::WriteCard(card, {UploadVersion, VCard::ReadingScript::Katakana, dataPath_});
    if (!link.cardText.isEmpty())
        text = VCard::KeepExtraProperties(text, link.cardText);
    const CardDavClient::Written written = client_.Put(collection_, link.href, text, link.etag);
    if (written.status == 412) {
        const std::vector<CardDavClient::Card> now = client_.Fetch(collection_, {link.href});
        Conflict conflict{customer.record.userId, CardOf(customer.record, false), std::nullopt,
                          now.empty() ? CardDavClient::Card{link.href, {}, {}} : now.front()};
        if (!now.empty())
            conflict.server = ReadOne(now.front().text);
        outcome.conflicts.push_back(std::move(conflict));
        return;
    }
    link.etag = written.etag;
    if (link.etag.isEmpty()) {
        const std::vector<CardDavClient::Card> now = client_.Fetch(collection_, {link.href});
        link.etag = now.empty() ? QString() : now.front().etag;
    }
    link.localHash = customer.hash;
    link.cardText = text;
    StoreContactLink(database_, link);
    ++outcome.uploaded;
}

ContactSync::Outcome ContactSync::Run(bool acceptDeletions) {
    if (const QString problem = CardDavAddressProblem(QUrl(settings_.url), settings_.allowHttp);
        !problem.isEmpty())
        throw HttpError(problem);
    Outcome outcome;
    Report(QStringLiteral("アドレス帳を確認しています"), 0, 0);
    collection_ = Collection();
    Query query(database_);
    classNames1_ = ReadClassNamesById(query, ClassAxis::First);
    classNames2_ = ReadClassNamesById(query, ClassAxis::Second);
    const QList<int> ids = CustomerIdsByReading(query);
    QHash<int, ContactLink> links;
    for (ContactLink &link : ReadContactLinks(database_)) {
        link.href = HrefKey(collection_, link.href);
        links.insert(link.userId, std::move(link));
    }
    std::vector<Customer> customers;
    for (CustomerRecord &record : LoadCustomerRecords(query, ids)) {
        Customer customer{std::move(record), std::nullopt, {}};
        customer.hash = LocalHash(customer.record);
        if (auto link = links.find(customer.record.userId); link != links.end())
            customer.link = *link;
        customers.push_back(std::move(customer));
    }

    const ContactBook book = ReadContactBook(database_);
    const CardDavClient::Changes changes = client_.ChangesSince(collection_, book.syncToken);
    QHash<QString, QString> linkedEtags; // href → version as last seen
    for (const ContactLink &link : links)
        linkedEtags.insert(link.href, link.etag);
    QStringList toFetch;
    QSet<QString> listed;
    for (const CardDavClient::Card &card : changes.changed) {
        const QString href = HrefKey(collection_, card.href);
        listed.insert(href);
        if (linkedEtags.value(href) != card.etag || !linkedEtags.contains(href))
            toFetch << href;
    }
    QSet<QString> removed;
    for (const QString &href : changes.removed)
        removed.insert(HrefKey(collection_, href));
    if (changes.complete)
        for (const ContactLink &link : links)
            if (!listed.contains(link.href))
                removed.insert(link.href);
    QHash<QString, std::pair<CardDavClient::Card, VCard::Card>> fetched;
    if (!toFetch.isEmpty()) {
        for (qsizetype start = 0; start < toFetch.size(); start += 100) {
            if (!Report(QStringLiteral("変更されたカードを受信しています"), int(start),
                        int(toFetch.size())))
                return outcome;
            for (CardDavClient::Card &card : client_.Fetch(collection_, toFetch.mid(start, 100))) {
                QStringList refused;
                std::optional<VCard::Card> read = ReadOne(card.text, &refused);
                outcome.refused << refused;
                if (read)
                    fetched.insert(HrefKey(collection_, card.href), {card, std::move(*read)});
            }
        }
    }

    int done = 0;
    const int total = int(customers.size());
    QSet<int> present;
    std::vector<Customer *> unlinked;
    for (Customer &customer : customers) {
        if (++done % 200 == 0 && !Report(QStringLiteral("顧客を照合しています"), done, total))
            return outcome;
        present.insert(customer.record.userId);
        if (!customer.link) {
            unlinked.push_back(&customer);
            continue;
        }
        const ContactLink &link = *customer.link;
        const bool localChanged = customer.hash != link.localHash;
        const auto server = fetched.constFind(link.href);
        if (removed.contains(link.href)) {
            if (localChanged)
                outcome.conflicts.push_back({customer.record.userId,
                                             CardOf(customer.record, false),
                                             std::nullopt,
                                             {link.href, link.etag, {}}});
            else if (acceptDeletions)
                AcceptDeletion({customer.record.userId, customer.record.name}),
                    ++outcome.deletedInBook;
            else
                outcome.deletions.push_back({customer.record.userId, customer.record.name});
        } else if (server != fetched.constEnd()) {
            const VCard::Card local = CardOf(customer.record, false);
            if (localChanged && !SameFields(local, server->second))
                outcome.conflicts.push_back(
                    {customer.record.userId, local, server->second, server->first});
            else {
                StoreFromServer(customer.record.userId, server->first, server->second);
                ++outcome.downloaded;
            }
            fetched.remove(link.href);
        } else if (localChanged) {
            Report(QStringLiteral("変更された顧客を送信しています"), done, total);
            Upload(customer, outcome);
        }
    }
    // Customers deleted in the book take their cards along, unless the card changed since.
    for (const ContactLink &link : links) {
        if (present.contains(link.userId))
            continue;
        if (removed.contains(link.href)) {
            RemoveContactLink(database_, link.userId);
        } else if (const auto server = fetched.constFind(link.href); server != fetched.constEnd()) {
            outcome.conflicts.push_back({0, std::nullopt, server->second, server->first});
            fetched.remove(link.href);
        } else if (const int status = client_.Delete(collection_, link.href, link.etag);
                   status == 412) {
            const std::vector<CardDavClient::Card> now = client_.Fetch(collection_, {link.href});
            Conflict conflict{0, std::nullopt, std::nullopt,
                              now.empty() ? CardDavClient::Card{link.href, {}, {}} : now.front()};
            if (!now.empty())
                conflict.server = ReadOne(now.front().text);
            outcome.conflicts.push_back(std::move(conflict));
        } else {
            RemoveContactLink(database_, link.userId);
            ++outcome.deletedOnServer;
        }
    }
    // New cards: the same person the book holds without a link (a restored or imported book)
    // is linked, not added twice.
    QHash<QString, Customer *> byUid;
    for (Customer *customer : unlinked)
        byUid.insert(VCard::BookUid(dataPath_, customer->record.userId), customer);
    QSet<int> matched;
    // New customers are stored together: thousands of cards on a first sync take a moment,
    // not one wait for the disk each.
    Transaction transaction(database_);
    done = 0;
    for (auto server = fetched.constBegin(); server != fetched.constEnd(); ++server) {
        if (++done % 200 == 0)
            Report(QStringLiteral("新しいカードを登録しています"), done, int(fetched.size()));
        Customer *same = byUid.value(server->second.uid);
        for (Customer *customer : unlinked)
            if (!same && !matched.contains(customer->record.userId) &&
                SameFields(CardOf(customer->record, false), server->second))
                same = customer;
        if (same && !matched.contains(same->record.userId)) {
            matched.insert(same->record.userId);
            const VCard::Card local = CardOf(same->record, false);
            if (SameFields(local, server->second))
                StoreContactLink(database_,
                                 {same->record.userId, server->second.uid, server->first.href,
                                  server->first.etag, same->hash, server->first.text});
            else
                outcome.conflicts.push_back(
                    {same->record.userId, local, server->second, server->first});
            continue;
        }
        StoreFromServer(0, server->first, server->second);
        ++outcome.downloaded;
    }
    transaction.Commit();
    done = 0;
    for (Customer *customer : unlinked) {
        if (matched.contains(customer->record.userId))
            continue;
        if (!Report(QStringLiteral("新しい顧客を送信しています"), ++done, int(unlinked.size())))
            return outcome;
        Upload(*customer, outcome);
    }
    outcome.requests = client_.Requests();
    // What is left for the user is asked again next time, from the same token.
    if (outcome.conflicts.empty() && outcome.deletions.empty())
        StoreContactBook(database_, {settings_.url, collection_.toString(), changes.token});
    return outcome;
}

bool ContactSync::KeepBook(const Conflict &conflict) {
    if (collection_.isEmpty())
        collection_ = Collection();
    Outcome outcome;
    if (!conflict.local) {
        if (client_.Delete(collection_, conflict.serverCard.href, conflict.serverCard.etag) == 412)
            return false;
        RemoveLinksTo(conflict.serverCard.href);
        return true;
    }
    Query query(database_);
    std::optional<CustomerRecord> record = LoadCustomerRecord(query, conflict.userId);
    if (!record)
        return false;
    Customer customer{*record, std::nullopt, LocalHash(*record)};
    for (const ContactLink &link : ReadContactLinks(database_))
        if (link.userId == conflict.userId)
            customer.link = link;
    if (!customer.link)
        customer.link = ContactLink{conflict.userId,
                                    conflict.server ? conflict.server->uid
                                                    : VCard::BookUid(dataPath_, conflict.userId),
                                    conflict.serverCard.href,
                                    {},
                                    {},
                                    conflict.serverCard.text};
    customer.link->href = conflict.serverCard.href;
    customer.link->etag = conflict.server ? conflict.serverCard.etag : QString();
    if (conflict.server)
        customer.link->cardText = conflict.serverCard.text;
    Upload(customer, outcome);
    return outcome.uploaded == 1;
}

bool ContactSync::KeepServer(const Conflict &conflict) {
    if (!conflict.server) {
        AcceptDeletion({conflict.userId, conflict.Name()});
        return true;
    }
    // A customer deleted in the book comes back as a new one; the old link would delete its card.
    if (!conflict.local)
        RemoveLinksTo(conflict.serverCard.href);
    StoreFromServer(conflict.userId, conflict.serverCard, *conflict.server);
    return true;
}

void ContactSync::RemoveLinksTo(const QString &href) {
    if (collection_.isEmpty())
        collection_ = Collection();
    for (const ContactLink &link : ReadContactLinks(database_))
        if (HrefKey(collection_, link.href) == HrefKey(collection_, href))
            RemoveContactLink(database_, link.userId);
}

void ContactSync::AcceptDeletion(const Deletion &deletion) {
    Query query(database_);
    // A customer another PC changed since this PC read it stays, linked, with its pictures.
    if (!DeleteCustomerRow(query, deletion.userId))
        return;
    RemoveContactLink(database_, deletion.userId);
    // The pictures go once the row is gone for good.
    for (int slot : {0, 1})
        PictureStore::RemovePictureFile(query, dataPath_, slot, deletion.userId);
}
