#pragma once

#include "store/CustomerRecord.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Customers as the vCard files phones and contact managers exchange.
namespace VCard {

enum class Version { V3, V4 };
// How the reading is written for the phone; the book holds it in half-width katakana.
enum class ReadingScript { Katakana, Hiragana };

struct WriteOptions {
    Version version = Version::V4;
    ReadingScript reading = ReadingScript::Katakana;
    // Names the book, so a customer's card keeps its UID from one export to the next.
    QString bookKey;
};

struct Card {
    CustomerRecord record;
    QStringList classNames; // the customer's classes by name, first axis first
    QByteArray photoJpeg;   // the first picture; empty for none
    QString uid;            // the card's own UID; empty for the one the book gives
};

// One card: UTF-8, lines ended by CR LF and folded at 75 octets.
QByteArray WriteCard(const Card &card, const WriteOptions &options);

// The cards of a file (2.1, 3.0 or 4.0) and, for each card refused, its name and the
// characters code page 932 cannot hold. Readings become half-width katakana; a JPEG photo
// (base64 or data URI) becomes the card's picture, one in another format or behind a link is
// left out.
struct ReadResult {
    std::vector<Card> cards;
    QStringList refused;
};
ReadResult ReadCards(const QByteArray &bytes);

// The UID a customer's card gets from the book (WriteOptions::bookKey).
QString BookUid(const QString &bookKey, int userId);

// `written` with the properties of `previous` (the server's card) that the book has no field
// for: URLs, extra phones and addresses beyond the book's, the phone's own properties. So a
// customer uploaded again leaves them on the server untouched.
QByteArray KeepExtraProperties(const QByteArray &written, const QByteArray &previous);

// The fields a card carries, as the editor names them, and their texts: what a user compares
// between the book's customer and the server's card.
std::vector<std::pair<QString, QString>> CardFields(const Card &card);

// Puts the fields a card carries into `target`, leaving the others (honorific, joint names,
// marks, pictures) as they are; the classes go by name, unknown ones leave the class as it is.
void ApplyCardFields(CustomerRecord &target, const Card &card, const QStringList &classNames1,
                     const QStringList &classNames2);

} // namespace VCard
