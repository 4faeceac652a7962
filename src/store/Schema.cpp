#include "store/Schema.h"

#include "core/SqlText.h"
#include "store/CustomerColumns.h"
#include "store/TableEngine.h"

namespace Schema {

const QStringList &TableNames() {
    static const QStringList names{QStringLiteral("usertbl"), QStringLiteral("historytbl"),
                                   QStringLiteral("classtbl"), QStringLiteral("classtbl2")};
    return names;
}

void CreateTables(Database &database, bool upgraded) {
    Query query(database);
    QStringList columns;
    const auto all = CustomerColumns();
    for (const CustomerColumn &column : upgraded ? all : all.first(BaseCustomerColumnCount))
        columns << column.Name() + u' ' + QString::fromLatin1(column.type);
    query.Execute(
        QStringLiteral("CREATE TABLE usertbl (%1)").arg(columns.join(QStringLiteral(", "))));
    query.Execute(QStringLiteral("CREATE TABLE historytbl (HistoryId INTEGER PRIMARY KEY "
                                 "AUTOINCREMENT, UserId SMALLINT, MakeDay VARCHAR(15), "
                                 "Title VARCHAR(50), Contents VARCHAR(255))"));
    // Engine-side indexes: the list sorts by reading and searches join history by customer.
    query.Execute(QStringLiteral("CREATE INDEX usertbl_kana ON usertbl (Kana)"));
    query.Execute(QStringLiteral("CREATE INDEX historytbl_user ON historytbl (UserId)"));
    for (const QString &table : {QStringLiteral("classtbl"), QStringLiteral("classtbl2")}) {
        query.Execute(
            QStringLiteral("CREATE TABLE %1 (ClassId INTEGER, Name VARCHAR(60))").arg(table));
        for (int id = 0; id < 12; ++id)
            query.Execute(QStringLiteral("insert into %1 (ClassId, Name) values(%2, %3)")
                              .arg(table)
                              .arg(id)
                              .arg(QuoteSql(QStringLiteral("項目%1").arg(id + 1))));
    }
}

} // namespace Schema
