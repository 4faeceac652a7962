#include "store/ListStatement.h"

#include "core/ShiftJis.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/SearchFilter.h"
#include "store/TableEngine.h"

#include <QHash>

namespace {

// Hiragana, full-width and half-width katakana of each sound, per index tab 1 to 11.
const QStringList &KanaRows() {
    static const QStringList rows{QStringLiteral("あアｱいイｲうウｳえエｴおオｵ"),
                                  QStringLiteral("かカｶきキｷくクｸけケｹこコｺ"),
                                  QStringLiteral("さサｻしシｼすスｽせセｾそソｿ"),
                                  QStringLiteral("たタﾀちチﾁつツﾂてテﾃとトﾄ"),
                                  QStringLiteral("なナﾅにニﾆぬヌﾇねネﾈのノﾉ"),
                                  QStringLiteral("はハﾊひヒﾋふフﾌへヘﾍほホﾎ"),
                                  QStringLiteral("まマﾏみミﾐむムﾑめメﾒもモﾓ"),
                                  QStringLiteral("やヤﾔゆユﾕよヨﾖ"),
                                  QStringLiteral("らラﾗりリﾘるルﾙれレﾚろロﾛ"),
                                  QStringLiteral("わワﾜをヲｦ"),
                                  QStringLiteral("んンﾝ")};
    return rows;
}

QString AlphaNumericPrefixes() {
    QString prefixes = QStringLiteral("123456789");
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        prefixes += QChar(c);
    return prefixes + u'0';
}

// Voiced full-width kana that a new reading's tab also takes (the clauses do not list them).
const QStringList &VoicedKana() {
    static const QStringList voiced{QString(),
                                    QString(),
                                    QStringLiteral("ガがギぎグぐゲげゴご"),
                                    QStringLiteral("ザざジじズずゼぜゾぞ"),
                                    QStringLiteral("ダだヂぢヅづデでドど"),
                                    QString(),
                                    QStringLiteral("バばビびブぶベべボぼ")};
    return voiced;
}

const QHash<QString, int> &TabOfFirstCharacter() {
    static const QHash<QString, int> tabs = [] {
        QHash<QString, int> map;
        for (int index = 1; index <= 11; ++index) {
            for (QChar c : KanaRows()[index - 1])
                map.insert(QString(c), index);
            for (QChar c : VoicedKana().value(index))
                map.insert(QString(c), index);
        }
        for (QChar c : AlphaNumericPrefixes())
            map.insert(QString(c), 12);
        return map;
    }();
    return tabs;
}

QString JoinedAddress(const QString &line1, const QString &line2) {
    return line2.isEmpty() ? line1 : line1 + u' ' + line2;
}

// The columns of one address block, in the order of ListedCustomer.
struct ContactColumns {
    QString zip, address1, address2, tel;
};
const ContactColumns PersonalContact{QStringLiteral("Zip"), QStringLiteral("Address1"),
                                     QStringLiteral("Address2"), QStringLiteral("TelNo_1")};
const ContactColumns CompanyContact{QStringLiteral("OfficeZip"), QStringLiteral("OfficeAddress1"),
                                    QStringLiteral("OfficeAddress2"),
                                    QStringLiteral("OfficeTel_1")};

struct ContactFields {
    int zip, address1, address2, tel;
    ContactFields(const Query &q, const ContactColumns &c)
        : zip(q.FieldIndex(c.zip)), address1(q.FieldIndex(c.address1)),
          address2(q.FieldIndex(c.address2)), tel(q.FieldIndex(c.tel)) {}
};

// The positions of a list row's columns, found once for the many rows of a list.
struct ListFields {
    explicit ListFields(const Query &q)
        : userId(q.FieldIndex(QStringLiteral("UserId"))),
          name(q.FieldIndex(QStringLiteral("Name"))), print(q.FieldIndex(QStringLiteral("Print"))),
          kana(q.FieldIndex(QStringLiteral("Kana"))),
          useType(q.FieldIndex(QStringLiteral("UseType"))),
          rowVersion(q.FieldIndex(QStringLiteral("RowVersion"))),
          bookCustomers(q.FieldIndex(QStringLiteral("BookCustomers"))),
          personal(q, PersonalContact), company(q, CompanyContact) {}

    ListedCustomer Row(const Query &q) const {
        const ContactFields &contact = q.AsInteger(useType) == 1 ? company : personal;
        return {q.AsInteger(userId),
                q.AsString(name),
                q.AsInteger(print) == 1,
                q.AsString(kana),
                q.AsString(contact.zip),
                JoinedAddress(q.AsString(contact.address1), q.AsString(contact.address2)),
                q.AsString(contact.tel)};
    }

    int userId, name, print, kana, useType, rowVersion, bookCustomers;
    ContactFields personal, company;
};

} // namespace

ListedCustomer ListedCustomerOf(const CustomerRecord &r) {
    const bool company = r.useType == 1;
    return {r.userId,
            r.name,
            r.print,
            r.kana,
            company ? r.officeZip : r.zip,
            company ? JoinedAddress(r.officeAddress1, r.officeAddress2)
                    : JoinedAddress(r.address1, r.address2),
            company ? r.officeTel1 : r.telNo1};
}

QString KanaClause(int index) {
    QString prefixes;
    if (index >= 1 && index <= 11)
        prefixes = KanaRows()[index - 1];
    else if (index == 12)
        prefixes = AlphaNumericPrefixes();
    QStringList terms;
    for (QChar c : prefixes)
        terms << QStringLiteral("Kana LIKE '") + c + QStringLiteral("%'");
    return terms.join(QStringLiteral(" OR "));
}

int KanaTabIndex(const QString &reading) {
    const QByteArray bytes = ShiftJis::Encode(reading);
    if (bytes.isEmpty())
        return 0;
    const qsizetype length =
        ShiftJis::IsLeadByte(static_cast<unsigned char>(bytes[0])) && bytes.size() > 1 ? 2 : 1;
    QString first = ShiftJis::Decode(bytes.left(length));
    if (first.size() == 1 && first[0].unicode() < 0x80)
        first = first.toUpper();
    return TabOfFirstCharacter().value(first, 0);
}

QString BuildListStatement(const ListFilters &filters, ListColumns columns) {
    QString conditions;
    if (filters.classId >= 0)
        conditions += QStringLiteral(" where (class = ") + QString::number(filters.classId) + u')';
    if (filters.classId2 >= 0) {
        conditions += conditions.isEmpty() ? QStringLiteral(" where  (") : QStringLiteral(" and (");
        conditions += QStringLiteral("class2 = ") + QString::number(filters.classId2) + u')';
    }
    for (const QString &clause : {KanaClause(filters.readingIndex), filters.search.SearchClause}) {
        if (clause.isEmpty())
            continue;
        conditions += conditions.isEmpty() ? QStringLiteral(" where  ") : QStringLiteral(" and ");
        conditions += u'(' + clause + u')';
    }
    QString statement = columns == ListColumns::Whole
                            ? QStringLiteral("select *")
                            : QStringLiteral("select UserId, RowVersion, Name, Print, Kana, "
                                             "UseType, Zip, Address1, Address2, TelNo_1, "
                                             "OfficeZip, OfficeAddress1, OfficeAddress2, "
                                             "OfficeTel_1");
    // A narrowed list's rows carry the book's total, so a list still takes one round trip to a
    // server; the whole book counts itself.
    if (!conditions.isEmpty() || filters.search.NeedsFilterPass())
        statement += QStringLiteral(", (select count(*) from Usertbl) as BookCustomers");
    return statement + QStringLiteral(" from Usertbl") + conditions +
           QStringLiteral(" order by Kana");
}

QString CountLabelText(int shown, int total) {
    return QStringLiteral("%1/%2件該当").arg(shown).arg(total);
}

ListedCustomers LoadListedCustomers(Database &database, Query &userQuery,
                                    const ListFilters &filters) {
    ListedCustomers listed;
    // The filter pass reads the memo, more than a list row shows.
    const bool filterPass = filters.search.NeedsFilterPass();
    userQuery.SetText(
        BuildListStatement(filters, filterPass ? ListColumns::Whole : ListColumns::ListRow));
    userQuery.Close();
    userQuery.Open();
    const ListFields fields(userQuery);
    const bool narrowed = fields.bookCustomers >= 0;
    if (narrowed && userQuery.AtEnd()) {
        Query count(database);
        listed.total = CountCustomers(count);
    } else if (narrowed) {
        listed.total = userQuery.AsInteger(fields.bookCustomers);
    }
    // The versions of the rows as listed are the ones a delete or mark of them expects.
    const auto enter = [&database, &listed, &fields](const Query &row) {
        listed.rows.push_back(fields.Row(row));
        database.NoteVersion(listed.rows.back().userId, row.AsInteger(fields.rowVersion));
    };
    if (filterPass && !userQuery.AtEnd()) {
        listed.label = RunFilterPass(database, userQuery, filters.search, listed.total, enter);
    } else {
        for (; !userQuery.AtEnd(); userQuery.Next())
            enter(userQuery);
    }
    if (!narrowed)
        listed.total = static_cast<int>(listed.rows.size());
    if (listed.label.isEmpty())
        listed.label = CountLabelText(static_cast<int>(listed.rows.size()), listed.total);
    return listed;
}
