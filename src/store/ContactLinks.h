#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class Database;

// What the book knows of the address book it syncs with: one row per customer that has a card
// there (cardlinktbl) and one for the address book itself (cardbooktbl). A link stays when its
// customer is deleted, so the next sync deletes the card. Every statement throws EngineError.

struct ContactLink {
    int userId = 0;
    QString uid;
    QString href;      // the card's path on the server
    QString etag;      // the card's version as last seen
    QString localHash; // what the customer's card was when last in step
    QByteArray
        cardText; // the server's card as last seen, for the fields the book has no column for
};

struct ContactBook {
    QString url;        // the address as the settings give it
    QString collection; // the address book found there
    QString syncToken;  // or the ctag, for a server without collection sync
};

// Creates the two tables when the book lacks them.
void CreateContactLinkTables(Database &database);

std::vector<ContactLink> ReadContactLinks(Database &database);
// Adds or replaces the customer's link.
void StoreContactLink(Database &database, const ContactLink &link);
void RemoveContactLink(Database &database, int userId);
// Every link and the book's state gone, for a sync with another address book.
void RemoveContactLinks(Database &database);

// Empty when the book has not been synced.
ContactBook ReadContactBook(Database &database);
void StoreContactBook(Database &database, const ContactBook &book);
