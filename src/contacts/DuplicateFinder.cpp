#include "contacts/DuplicateFinder.h"

#include "store/CustomerExport.h"
#include "store/CustomerRecord.h"
#include "store/DistinctPairs.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <bit>

namespace {

quint64 PairKey(int userId, int otherUserId) {
    const auto [first, second] = std::minmax(userId, otherUserId);
    return (quint64(quint32(first)) << 32) | quint32(second);
}

void AddUnique(QStringList &keys, const QString &key) {
    if (!key.isEmpty() && !keys.contains(key))
        keys << key;
}

// One customer's place in a group: `address` is the address slot the group was made from, or
// -1 when the group's key holds no address; `next` the group's member before it, or -1.
struct Member {
    int customer;
    int address;
    qsizetype next;
};

struct Group {
    unsigned reason = 0;
    qsizetype last = -1; // the member added last
};

// The groups of customers sharing one key each; a key starts with its reason, so keys of
// different kinds never meet. A group's members are chained through `next`, which spares a
// list per key when most keys are held by one customer alone.
class Grouping {
public:
    explicit Grouping(qsizetype customers) {
        // About eight keys a customer: name and reading with the address, phones, mails, postal
        // code.
        groups_.reserve(customers * 8);
        members_.reserve(size_t(customers) * 8);
    }
    static QString Key(unsigned reason, const QString &value) {
        return QChar(u'A' + std::countr_zero(reason)) + value;
    }
    void Add(unsigned reason, const QString &value, int customer, int address) {
        Group &group = groups_[Key(reason, value)];
        group.reason = reason;
        members_.push_back({customer, address, group.last});
        group.last = qsizetype(members_.size()) - 1;
    }
    // The last member of the group of the key, or -1.
    qsizetype Find(unsigned reason, const QString &value) const {
        const auto at = groups_.constFind(Key(reason, value));
        return at == groups_.constEnd() ? -1 : at->last;
    }
    const QHash<QString, Group> &Groups() const { return groups_; }
    const Member &At(qsizetype member) const { return members_[size_t(member)]; }

private:
    QHash<QString, Group> groups_;
    std::vector<Member> members_;
};

// Calls `visit(reason, key, address slot or -1)` for every key of the customer.
template <typename Visit> void VisitKeys(const CustomerKeys &keys, Visit visit) {
    const QChar separator(u'\x1f');
    for (int slot = 0; slot < int(keys.addresses.size()); ++slot) {
        const AddressKey &address = keys.addresses[size_t(slot)];
        if (address.IsEmpty())
            continue;
        if (!keys.nameKey.isEmpty())
            visit(NameAndAddress, keys.nameKey + separator + address.street, slot);
        if (!keys.readingKey.isEmpty())
            visit(ReadingAndAddress, keys.readingKey + separator + address.street, slot);
    }
    for (const QString &phone : keys.phones) {
        if (!keys.nameKey.isEmpty())
            visit(NameAndPhone, keys.nameKey + separator + phone, -1);
        if (IsMobileNumber(phone))
            visit(SameMobile, phone, -1);
    }
    for (const QString &mail : keys.mails) {
        if (!keys.nameKey.isEmpty())
            visit(NameAndMail, keys.nameKey + separator + mail, -1);
        visit(SameMail, mail, -1);
    }
    if (!keys.nameKey.isEmpty())
        for (const QString &postalCode : keys.postalCodes)
            visit(NameAndPostalCode, keys.nameKey + separator + postalCode, -1);
}

void AddKeys(Grouping &grouping, const CustomerKeys &keys, int customer) {
    VisitKeys(keys, [&grouping, customer](unsigned reason, const QString &key, int address) {
        grouping.Add(reason, key, customer, address);
    });
}

// Whether two members of one group are a pair: two customers, and for an address key,
// addresses that agree with their buildings.
bool ArePair(const CustomerKeys &one, int oneAddress, const CustomerKeys &other, int otherAddress) {
    return one.userId != other.userId &&
           (oneAddress < 0 ||
            one.addresses[size_t(oneAddress)].Matches(other.addresses[size_t(otherAddress)]));
}

std::optional<std::vector<CustomerKeys>>
ReadBookKeys(Database &database, const std::function<bool(int done, int total)> &progress) {
    static const QStringList columns = {QStringLiteral("Name"),
                                        QStringLiteral("Kana"),
                                        QStringLiteral("Zip"),
                                        QStringLiteral("Address1"),
                                        QStringLiteral("Address2"),
                                        QStringLiteral("TelNo_1"),
                                        QStringLiteral("TelNo_2"),
                                        QStringLiteral("Mail_1"),
                                        QStringLiteral("Mail_2"),
                                        QStringLiteral("OfficeZip"),
                                        QStringLiteral("OfficeAddress1"),
                                        QStringLiteral("OfficeAddress2"),
                                        QStringLiteral("OfficeTel_1"),
                                        QStringLiteral("OfficeTel_2"),
                                        QStringLiteral("OfficeMail_1"),
                                        QStringLiteral("OfficeMail_2")};
    std::vector<CustomerKeys> customers;
    const bool read = VisitCustomerColumns(
        database, columns,
        [&customers](int userId, std::span<const QByteArrayView> values) {
            const auto text = [&values](size_t column) {
                return QString::fromUtf8(values[column]);
            };
            CustomerRecord customer;
            customer.userId = userId;
            customer.name = text(0);
            customer.kana = text(1);
            customer.zip = text(2);
            customer.address1 = text(3);
            customer.address2 = text(4);
            customer.telNo1 = text(5);
            customer.telNo2 = text(6);
            customer.mail1 = text(7);
            customer.mail2 = text(8);
            customer.officeZip = text(9);
            customer.officeAddress1 = text(10);
            customer.officeAddress2 = text(11);
            customer.officeTel1 = text(12);
            customer.officeTel2 = text(13);
            customer.officeMail1 = text(14);
            customer.officeMail2 = text(15);
            customers.push_back(KeysOf(customer));
        },
        progress);
    if (!read)
        return std::nullopt;
    return customers;
}

} // namespace

QString ReasonText(unsigned reasons) {
    if (reasons & NameAndMail)
        reasons &= ~unsigned(SameMail);
    if (reasons & NameAndPhone)
        reasons &= ~unsigned(SameMobile);
    static const std::pair<MatchReason, const char16_t *> words[] = {
        {NameAndAddress, u"氏名と住所"},        {NameAndPhone, u"氏名と電話番号"},
        {NameAndMail, u"氏名とメールアドレス"}, {NameAndPostalCode, u"氏名と郵便番号"},
        {ReadingAndAddress, u"フリガナと住所"}, {SameMail, u"メールアドレス"},
        {SameMobile, u"携帯電話番号"},
    };
    QStringList named;
    for (const auto &[reason, word] : words)
        if (reasons & reason)
            named << QString::fromUtf16(word);
    return named.join(QStringLiteral("、"));
}

CustomerKeys KeysOf(const CustomerRecord &customer) {
    CustomerKeys keys;
    keys.userId = customer.userId;
    keys.name = customer.name;
    keys.nameKey = NameKey(customer.name);
    keys.readingKey = ReadingKey(customer.kana);
    for (const QString *zip : {&customer.zip, &customer.officeZip})
        AddUnique(keys.postalCodes, PostalKey(*zip));
    for (const QString *phone :
         {&customer.telNo1, &customer.telNo2, &customer.officeTel1, &customer.officeTel2})
        AddUnique(keys.phones, PhoneKey(*phone));
    for (const QString *mail :
         {&customer.mail1, &customer.mail2, &customer.officeMail1, &customer.officeMail2})
        AddUnique(keys.mails, MailKey(*mail));
    keys.addresses = {NormalisedAddress(customer.address1, customer.address2),
                      NormalisedAddress(customer.officeAddress1, customer.officeAddress2)};
    return keys;
}

std::vector<DuplicatePair> FindDuplicatePairs(std::span<const CustomerKeys> customers,
                                              std::span<const std::pair<int, int>> distinct) {
    Grouping grouping(qsizetype(customers.size()));
    for (int i = 0; i < int(customers.size()); ++i)
        AddKeys(grouping, customers[size_t(i)], i);

    QSet<quint64> declared;
    for (const auto &[userId, otherUserId] : distinct)
        declared.insert(PairKey(userId, otherUserId));
    QHash<quint64, unsigned> reasons;
    for (const Group &group : grouping.Groups()) {
        for (qsizetype a = group.last; a >= 0; a = grouping.At(a).next)
            for (qsizetype b = grouping.At(a).next; b >= 0; b = grouping.At(b).next) {
                const Member &oneMember = grouping.At(a);
                const Member &otherMember = grouping.At(b);
                const CustomerKeys &one = customers[size_t(oneMember.customer)];
                const CustomerKeys &other = customers[size_t(otherMember.customer)];
                if (!ArePair(one, oneMember.address, other, otherMember.address))
                    continue;
                const quint64 key = PairKey(one.userId, other.userId);
                if (!declared.contains(key))
                    reasons[key] |= group.reason;
            }
    }

    QHash<int, const CustomerKeys *> byId;
    for (const CustomerKeys &keys : customers)
        byId.insert(keys.userId, &keys);
    std::vector<DuplicatePair> pairs;
    pairs.reserve(size_t(reasons.size()));
    for (auto it = reasons.cbegin(); it != reasons.cend(); ++it) {
        const int userId = int(it.key() >> 32);
        const int otherUserId = int(it.key() & 0xffffffffu);
        pairs.push_back({userId, otherUserId, byId.value(userId)->name,
                         byId.value(otherUserId)->name, it.value()});
    }
    std::sort(pairs.begin(), pairs.end(), [](const DuplicatePair &a, const DuplicatePair &b) {
        return std::pair(a.userId, a.otherUserId) < std::pair(b.userId, b.otherUserId);
    });
    return pairs;
}

std::optional<std::vector<DuplicatePair>>
FindDuplicatesInBook(Database &database, const std::function<bool(int done, int total)> &progress) {
    const std::optional<std::vector<CustomerKeys>> customers = ReadBookKeys(database, progress);
    if (!customers)
        return std::nullopt;
    return FindDuplicatePairs(*customers, ReadDistinctPairs(database));
}

struct CustomerIndex::Groups : Grouping {
    using Grouping::Grouping;
};

CustomerIndex::CustomerIndex(std::vector<CustomerKeys> customers)
    : customers_(std::move(customers)),
      groups_(std::make_unique<Groups>(qsizetype(customers_.size()))) {
    for (int i = 0; i < int(customers_.size()); ++i)
        AddKeys(*groups_, customers_[size_t(i)], i);
}

CustomerIndex::~CustomerIndex() = default;
CustomerIndex::CustomerIndex(CustomerIndex &&) noexcept = default;

CustomerIndex CustomerIndex::OfBook(Database &database) {
    return CustomerIndex(*ReadBookKeys(database, [](int, int) { return true; }));
}

int CustomerIndex::Find(const CustomerKeys &candidate) const {
    int found = 0;
    VisitKeys(candidate, [&](unsigned reason, const QString &key, int address) {
        for (qsizetype at = groups_->Find(reason, key); at >= 0; at = groups_->At(at).next) {
            const Member &member = groups_->At(at);
            const CustomerKeys &customer = customers_[size_t(member.customer)];
            if (ArePair(candidate, address, customer, member.address) &&
                (found == 0 || customer.userId < found))
                found = customer.userId;
        }
    });
    return found;
}
