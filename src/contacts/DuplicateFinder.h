#pragma once

#include "contacts/ContactKeys.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class Database;
struct CustomerRecord;

// Why two customers may be one: what they share once normalised.
enum MatchReason : unsigned {
    NameAndAddress = 1u << 0,
    NameAndPhone = 1u << 1,
    NameAndMail = 1u << 2,
    NameAndPostalCode = 1u << 3,
    ReadingAndAddress = 1u << 4,
    SameMail = 1u << 5,
    SameMobile = 1u << 6,
};

// The reasons as the user reads them, "氏名と住所、氏名と電話番号"; a shared mail address or
// mobile number is named once, beside the name when the names agree too.
QString ReasonText(unsigned reasons);

// What one customer is compared by.
struct CustomerKeys {
    int userId = 0;
    QString name; // as entered, for showing
    QString nameKey;
    QString readingKey;
    QStringList postalCodes;
    QStringList phones;                  // personal and office telephones
    QStringList mails;                   // personal and office addresses
    std::array<AddressKey, 2> addresses; // personal, office
};

CustomerKeys KeysOf(const CustomerRecord &customer);

// Two customers that may be one, the smaller UserId first.
struct DuplicatePair {
    int userId = 0;
    int otherUserId = 0;
    QString name;
    QString otherName;
    unsigned reasons = 0;
};

// The customers that may have been entered twice: those sharing the name and one of postal
// code, phone, mail address or address; the reading and the address; or a mail address or a
// mobile number alone. Customers are grouped by each key, so only those sharing one are
// compared. Pairs in `distinct` (the smaller UserId first) are left out. Ordered by UserId.
std::vector<DuplicatePair> FindDuplicatePairs(std::span<const CustomerKeys> customers,
                                              std::span<const std::pair<int, int>> distinct);

// The customers of a book by what they are compared by, to find the one a new entry is.
class CustomerIndex {
public:
    explicit CustomerIndex(std::vector<CustomerKeys> customers);
    ~CustomerIndex();
    CustomerIndex(CustomerIndex &&) noexcept;
    // Reads the book in one statement. Throws EngineError.
    static CustomerIndex OfBook(Database &database);

    // The smallest UserId among the customers `candidate` would be paired with, or 0.
    int Find(const CustomerKeys &candidate) const;

private:
    struct Groups;
    std::vector<CustomerKeys> customers_;
    std::unique_ptr<Groups> groups_;
};

// The same for the whole book, read in one statement; the pairs declared different are left
// out. `progress` is told the customers read; nullopt when it stopped the search. Throws
// EngineError.
std::optional<std::vector<DuplicatePair>>
FindDuplicatesInBook(Database &database, const std::function<bool(int done, int total)> &progress);
