#include "store/DataReset.h"

#include "store/ClassTable.h"
#include "store/TableEngine.h"

void ResetCustomerBook(Query &userQuery, Query &historyQuery, Query &classQuery) {
    userQuery.Execute(QStringLiteral("Delete from Usertbl"));
    historyQuery.Execute(QStringLiteral("Delete from Historytbl"));
    const QStringList names = FreshClassNames();
    StoreClassNames(classQuery, ClassAxis::First, names);
    StoreClassNames(classQuery, ClassAxis::Second, names);
}
