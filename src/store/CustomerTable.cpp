#include "store/CustomerTable.h"

#include "core/Clock.h"
#include "core/SqlText.h"
#include "store/DistinctPairs.h"
#include "store/TableEngine.h"

#include <QStringList>

// In the first class of both lists and unmarked, as the editor shows a new customer: a NULL
// class is in no class the list can filter by.
int InsertCustomer(Query &userQuery, const QString &name, const QString &kana) {
    userQuery.Execute(QStringLiteral("insert into Usertbl(Name,Kana,NameTitle,Sex,MakeDay,BirthDay,"
                                     "UseType,Class,Class2,Print)values(%1,%2,'様','不明',%3,NULL,"
                                     "\"0\",0,0,0)")
                          .arg(QuoteSql(name), QuoteSql(kana), SqlDate(Clock::Today())));
    return static_cast<int>(userQuery.LastInsertId());
}

namespace {

// The condition that keeps a change to the version this PC read, when it read one.
QString AsRead(const Database &database, int userId) {
    const std::optional<int> version = database.ReadVersion(userId);
    return version ? QStringLiteral(" and RowVersion = %1").arg(*version) : QString();
}

} // namespace

bool DeleteCustomerRow(Query &userQuery, int userId) {
    if (userQuery.Execute(QStringLiteral("Delete from Usertbl where UserId=%1").arg(userId) +
                          AsRead(userQuery.GetDatabase(), userId)) == 0)
        return false;
    userQuery.Execute(QStringLiteral("delete from greetingtbl where UserId = %1").arg(userId));
    RemoveDistinctPairsOf(userQuery, userId);
    return true;
}

bool SetPrintMark(Query &userQuery, int userId, bool print) {
    Database &database = userQuery.GetDatabase();
    const std::optional<int> version = database.ReadVersion(userId);
    if (userQuery.Execute(QStringLiteral("update Usertbl set print = '%1', RowVersion = "
                                         "RowVersion + 1 where UserID =%2")
                              .arg(print ? 1 : 0)
                              .arg(userId) +
                          AsRead(database, userId)) == 0)
        return false;
    if (version)
        database.NoteVersion(userId, *version + 1);
    return true;
}

bool SetPictureFileName(Query &userQuery, int userId, int slot, const QString &fileName) {
    return userQuery.Execute(QStringLiteral("update Usertbl set %1 = %2 where UserID =%3")
                                 .arg(slot == 0 ? QStringLiteral("img1") : QStringLiteral("img2"),
                                      QuoteSql(fileName))
                                 .arg(userId)) > 0;
}

int CountCustomers(Query &userQuery) {
    // Counted by the engine: a server would otherwise send every row to be counted here.
    userQuery.SetText(QStringLiteral("select count(*) as Customers from Usertbl"));
    userQuery.Close();
    userQuery.Open();
    return userQuery.AsInteger(QStringLiteral("Customers"));
}

QList<int> CustomerIdsByReading(Query &userQuery) {
    userQuery.SetText(QStringLiteral("select * from Usertbl order by Kana"));
    userQuery.Close();
    QList<int> ids;
    for (userQuery.Open(); !userQuery.AtEnd(); userQuery.Next())
        ids << userQuery.AsInteger(QStringLiteral("UserId"));
    userQuery.Close();
    return ids;
}

int MarkCustomersForPrinting(Database &database, const QList<int> &userIds, bool replaceMarks) {
    // Enough ids for one statement without reaching the engine's limit on its length.
    constexpr qsizetype idsPerStatement = 500;
    Transaction transaction(database);
    Query update(database);
    if (replaceMarks)
        update.Execute(QStringLiteral(
            "update Usertbl set print = '0', RowVersion = RowVersion + 1 where print != '0'"));
    int marked = 0;
    for (qsizetype from = 0; from < userIds.size(); from += idsPerStatement) {
        QStringList ids;
        for (const int id : userIds.mid(from, idsPerStatement))
            ids << QString::number(id);
        marked += update.Execute(QStringLiteral("update Usertbl set print = '1', RowVersion = "
                                                "RowVersion + 1 where UserId in (%1)")
                                     .arg(ids.join(u',')));
    }
    transaction.Commit();
    // The marking moved versions this PC noted; kept, they would refuse a later delete of a
    // customer the next list leaves out.
    database.ForgetVersions();
    return marked;
}
