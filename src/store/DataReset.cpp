#include "store/DataReset.h"

#include "store/ClassTable.h"
#include "store/DistinctPairs.h"
#include "store/TableEngine.h"

BookReset ResetCustomerBook(Query &userQuery, Query &historyQuery, Query &classQuery) {
    // Another PC sees the book as it was or as delivered, never half emptied.
    Transaction transaction(userQuery.GetDatabase());
    BookReset reset;
    reset.customers = userQuery.Execute(QStringLiteral("Delete from Usertbl"));
    RemoveDistinctPairsOf(userQuery, 0);
    reset.historyEntries = historyQuery.Execute(QStringLiteral("Delete from Historytbl"));
    reset.greetingEvents = historyQuery.Execute(QStringLiteral("delete from greetingtbl"));
    const QStringList names = FreshClassNames();
    StoreClassNames(classQuery, ClassAxis::First, names);
    StoreClassNames(classQuery, ClassAxis::Second, names);
    transaction.Commit();
    return reset;
}
