#include "store/CustomerRecord.h"

#include "core/SqlText.h"
#include "core/TextHelpers.h"
#include "store/TableEngine.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The row the query stands on.
CustomerRecord RecordAtCursor(const Query &q) {
    CustomerRecord r;
    r.userId = q.AsInteger(QStringLiteral("UserId"));
    r.rowVersion = q.AsInteger(QStringLiteral("RowVersion"));
    r.kana = q.AsString(QStringLiteral("Kana"));
    r.name = q.AsString(QStringLiteral("Name"));
    r.nameTitle = q.AsString(QStringLiteral("NameTitle"));
    r.zip = q.AsString(QStringLiteral("Zip"));
    r.address1 = q.AsString(QStringLiteral("Address1"));
    r.address2 = q.AsString(QStringLiteral("Address2"));
    r.telNo1 = q.AsString(QStringLiteral("TelNo_1"));
    r.telNo2 = q.AsString(QStringLiteral("TelNo_2"));
    r.faxNo = q.AsString(QStringLiteral("Faxno"));
    r.mail1 = q.AsString(QStringLiteral("Mail_1"));
    r.mail2 = q.AsString(QStringLiteral("Mail_2"));
    r.birthDay = q.AsDate(QStringLiteral("BirthDay"));
    r.classId = q.AsInteger(QStringLiteral("Class"));
    r.classId2 = q.AsInteger(QStringLiteral("Class2"));
    r.note = q.AsString(QStringLiteral("Note"));
    r.print = q.AsString(QStringLiteral("Print")) == QStringLiteral("1");
    r.printCtrl = q.AsInteger(QStringLiteral("PrintCtrl"));
    r.makeDay = q.AsDate(QStringLiteral("MakeDay"));
    r.office = q.AsString(QStringLiteral("Office"));
    r.officeKana = q.AsString(QStringLiteral("OfficeKana"));
    r.officeZip = q.AsString(QStringLiteral("OfficeZip"));
    r.officeAddress1 = q.AsString(QStringLiteral("OfficeAddress1"));
    r.officeAddress2 = q.AsString(QStringLiteral("OfficeAddress2"));
    r.officeTel1 = q.AsString(QStringLiteral("OfficeTel_1"));
    r.officeTel2 = q.AsString(QStringLiteral("OfficeTel_2"));
    r.officeMail1 = q.AsString(QStringLiteral("OfficeMail_1"));
    r.officeMail2 = q.AsString(QStringLiteral("OfficeMail_2"));
    r.officeFax = q.AsString(QStringLiteral("OfficeFax"));
    r.officePost = q.AsString(QStringLiteral("OfficePost"));
    r.officeExecutive = q.AsString(QStringLiteral("OfficeExecutive"));
    r.img1 = q.AsString(QStringLiteral("img1"));
    r.img2 = q.AsString(QStringLiteral("img2"));
    r.useType = q.AsInteger(QStringLiteral("UseType"));
    r.sex = q.AsString(QStringLiteral("Sex"));
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        r.checkRen[i] = q.AsString(QStringLiteral("CheckRen") + n) == QStringLiteral("1");
        r.renmei[i] = q.AsString(QStringLiteral("Renmei") + n);
        r.renNameTitle[i] = q.AsString(QStringLiteral("RenNameTitle") + n);
        r.sashikomi[i] = q.AsString(QStringLiteral("Sashikomi") + n);
    }
    return r;
}

} // namespace

std::optional<CustomerRecord> LoadCustomerRecord(Query &userQuery, int userId) {
    userQuery.SetText(QStringLiteral("select * from Usertbl where UserID =") +
                      QString::number(userId));
    userQuery.Close();
    userQuery.Open();
    std::optional<CustomerRecord> record;
    if (!userQuery.AtEnd()) {
        record = RecordAtCursor(userQuery);
        userQuery.GetDatabase().NoteVersion(userId, record->rowVersion);
    }
    // An open result would keep other connections from writing.
    userQuery.Close();
    return record;
}

namespace {

// The listed customers whose print flag is set, in list order. Few are marked in a long list,
// so one pass over the flags spares reading every listed row.
std::vector<int> MarkedAmong(Query &userQuery, std::span<const int> userIds) {
    QSet<int> marked;
    userQuery.SetText(QStringLiteral("select UserID from Usertbl where Print = '1'"));
    userQuery.Close();
    for (userQuery.Open(); !userQuery.AtEnd(); userQuery.Next())
        marked.insert(userQuery.AsInteger(QStringLiteral("UserID")));
    userQuery.Close();
    std::vector<int> listed;
    std::copy_if(userIds.begin(), userIds.end(), std::back_inserter(listed),
                 [&marked](int id) { return marked.contains(id); });
    return listed;
}

} // namespace

std::vector<CustomerRecord> LoadCustomerRecords(Query &userQuery, std::span<const int> userIds,
                                                WhichCustomers which) {
    if (which == WhichCustomers::Marked) {
        const std::vector<int> marked = MarkedAmong(userQuery, userIds);
        return LoadCustomerRecords(userQuery, marked, WhichCustomers::All);
    }
    // A few hundred keys a statement keep the statement short and the lookups few.
    constexpr size_t kChunk = 500;
    std::vector<CustomerRecord> records;
    QHash<int, CustomerRecord> found;
    for (size_t start = 0; start < userIds.size(); start += kChunk) {
        const std::span<const int> chunk =
            userIds.subspan(start, std::min(kChunk, userIds.size() - start));
        QStringList keys;
        keys.reserve(qsizetype(chunk.size()));
        for (const int id : chunk)
            keys << QString::number(id);
        userQuery.SetText(QStringLiteral("select * from Usertbl where UserID in (") +
                          keys.join(u',') + QLatin1Char(')'));
        userQuery.Close();
        found.clear();
        for (userQuery.Open(); !userQuery.AtEnd(); userQuery.Next()) {
            CustomerRecord record = RecordAtCursor(userQuery);
            const int id = record.userId;
            found.insert(id, std::move(record));
        }
        userQuery.Close();
        for (const int id : chunk)
            if (const auto at = found.find(id); at != found.end())
                records.push_back(std::move(*at));
    }
    return records;
}

namespace {

// The update of every field the editor shows, without its condition.
QString SetClause(const CustomerRecord &r) {
    QString s = QStringLiteral("update Usertbl set Kana = ") + QuoteSql(r.kana);
    const auto text = [&s](QStringView column, const QString &value) {
        s += QStringLiteral(", ") + column.toString() + QStringLiteral(" = ") + QuoteSql(value);
    };
    text(u"Name", r.name);
    text(u"Zip", r.zip);
    text(u"Address1", r.address1);
    text(u"Address2", r.address2);
    text(u"Office", r.office);
    text(u"Faxno", r.faxNo);
    text(u"Telno_1", r.telNo1);
    text(u"Telno_2", r.telNo2);
    text(u"Mail_1", r.mail1);
    text(u"Mail_2", r.mail2);
    text(u"PrintCtrl", QString::number(r.printCtrl));
    text(u"OfficeZip", r.officeZip);
    text(u"OfficeAddress1", r.officeAddress1);
    text(u"OfficeAddress2", r.officeAddress2);
    text(u"OfficeTel_1", r.officeTel1);
    text(u"OfficeTel_2", r.officeTel2);
    text(u"OfficeMail_1", r.officeMail1);
    text(u"OfficeMail_2", r.officeMail2);
    text(u"OfficeFax", r.officeFax);
    text(u"OfficePost", r.officePost);
    text(u"OfficeExecutive", r.officeExecutive);
    text(u"NameTitle", r.nameTitle);
    text(u"OfficeKana", r.officeKana);
    s += QStringLiteral(", BirthDay = ") + SqlDate(r.birthDay);
    s += QStringLiteral(", Class = ") + QString::number(r.classId);
    s += QStringLiteral(", Class2 = ") + QString::number(r.classId2);
    s += QStringLiteral(", Sex = ") + QuoteSql(r.sex);
    s += QStringLiteral(", Note = :MEMOETC,");
    s += QStringLiteral("CheckRen1 = ") + QuoteSql(Flag(r.checkRen[0]));
    text(u"CheckRen2", Flag(r.checkRen[1]));
    text(u"CheckRen3", Flag(r.checkRen[2]));
    text(u"CheckRen4", Flag(r.checkRen[3]));
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("Renmei%1").arg(i + 1), r.renmei[i]);
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("RenNameTitle%1").arg(i + 1), r.renNameTitle[i]);
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("Sashikomi%1").arg(i + 1), r.sashikomi[i]);
    text(u"UseType", QString::number(r.useType));
    text(u"print", Flag(r.print));
    return s;
}

} // namespace

QString BuildUpdateStatement(const CustomerRecord &r) {
    return SetClause(r) + QStringLiteral(" where UserID =") + QString::number(r.userId);
}

QString ChangedElsewhereText() {
    return QStringLiteral("他のパソコンでこの顧客が変更されました");
}

SaveOutcome SaveCustomerRecord(Query &userQuery, const CustomerRecord &record) {
    userQuery.SetMemo(record.note);
    if (userQuery.Execute(SetClause(record) +
                          QStringLiteral(", RowVersion = RowVersion + 1 where UserID = %1 and "
                                         "RowVersion = %2")
                              .arg(record.userId)
                              .arg(record.rowVersion)) > 0) {
        userQuery.GetDatabase().NoteVersion(record.userId, record.rowVersion + 1);
        return SaveOutcome::Saved;
    }
    userQuery.SetText(
        QStringLiteral("select UserID from Usertbl where UserID = %1").arg(record.userId));
    userQuery.Close();
    userQuery.Open();
    const bool exists = !userQuery.AtEnd();
    userQuery.Close();
    return exists ? SaveOutcome::Changed : SaveOutcome::Gone;
}
