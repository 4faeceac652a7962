#pragma once

#include "contacts/CardDavClient.h"
#include "contacts/CardDavSettings.h"
#include "contacts/VCard.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Database;

// Two-way sync of the book's customers with a CardDAV address book. The book's side of each
// card is in its link table (ContactLinks.h): a customer whose card text differs from the one
// last in step has changed, a link without its customer was deleted; the server's side comes
// from the collection's sync token or the cards' versions, so an unchanged book costs one
// request. Nothing is overwritten that changed on the other side: such pairs are conflicts
// for the user to decide. Cards deleted on the server delete their customers only when the
// user accepts.
class ContactSync {
public:
    // `progress` is told each step ("アップロード", done, total) and may answer false to stop.
    using Progress = std::function<bool(const QString &step, int done, int total)>;
    ContactSync(Database &database, const QString &dataPath, const CardDavSettings &settings,
                Progress progress = {});

    struct Conflict {
        int userId = 0;                    // the book's customer; 0 when deleted in the book
        std::optional<VCard::Card> local;  // empty: deleted in the book
        std::optional<VCard::Card> server; // empty: deleted on the server
        CardDavClient::Card serverCard;    // its href and version
        QString Name() const;
    };
    struct Deletion {
        int userId = 0;
        QString name;
    };
    struct Outcome {
        int uploaded = 0;
        int downloaded = 0;
        int deletedOnServer = 0;
        int deletedInBook = 0;
        int requests = 0;
        std::vector<Conflict> conflicts;
        std::vector<Deletion> deletions; // waiting for the user's leave
        QStringList refused;             // cards the book cannot hold
        QString Summary() const;
    };

    // Throws HttpError (no server, refused login) and EngineError; what was done before is kept.
    Outcome Run(bool acceptDeletions);

    // The user's choice in a conflict: the book's version goes up (or the card is deleted), or
    // the server's comes down (or the customer is deleted). False when the server's card changed
    // again meanwhile, so the conflict stands.
    bool KeepBook(const Conflict &conflict);
    bool KeepServer(const Conflict &conflict);
    void AcceptDeletion(const Deletion &deletion);

private:
    struct Customer;
    QUrl Collection();
    void Upload(Customer &customer, Outcome &outcome);
    void RemoveLinksTo(const QString &href);
    void StoreFromServer(int userId, const CardDavClient::Card &card, const VCard::Card &read);
    VCard::Card CardOf(const CustomerRecord &record, bool withPhoto) const;
    QString LocalHash(const CustomerRecord &record) const;
    bool Report(const QString &step, int done, int total);

    Database &database_;
    QString dataPath_;
    CardDavSettings settings_;
    Progress progress_;
    CardDavClient client_;
    QUrl collection_;
    QStringList classNames1_;
    QStringList classNames2_;
};
