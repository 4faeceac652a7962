#include "store/Schema.h"

#include "core/SqlText.h"
#include "store/ClassTable.h"
#include "store/ContactLinks.h"
#include "store/CustomerColumns.h"
#include "store/DistinctPairs.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"

namespace Schema {

const QStringList &TableNames() {
    static const QStringList names{QStringLiteral("usertbl"), QStringLiteral("historytbl"),
                                   QStringLiteral("classtbl"), QStringLiteral("classtbl2")};
    return names;
}

void CreateGreetingTable(Database &database) {
    Query query(database);
    query.Execute(QStringLiteral("CREATE TABLE greetingtbl (GreetingId INTEGER PRIMARY KEY "
                                 "AUTOINCREMENT, UserId INTEGER, Season INTEGER, Kind INTEGER, "
                                 "Day DATE, Note VARCHAR(255))"));
    query.Execute(QStringLiteral(
        "CREATE UNIQUE INDEX greetingtbl_cell ON greetingtbl (UserId, Season, Kind)"));
    // The season rules and counts read whole seasons.
    query.Execute(
        QStringLiteral("CREATE INDEX greetingtbl_season ON greetingtbl (Season, Kind, UserId)"));
}

void AddRowVersions(Database &database) {
    Query query(database);
    for (const QString &table : TableNames())
        if (!database.GetEngine().HasColumn(table, QStringLiteral("RowVersion")))
            query.Execute(QStringLiteral("ALTER TABLE %1 ADD RowVersion INTEGER NOT NULL DEFAULT 0")
                              .arg(table));
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
    CreateDistinctPairTable(database);
    CreatePictureTable(database);
    CreateContactLinkTables(database);
    const QStringList classNames = FreshClassNames();
    for (const QString &table : {QStringLiteral("classtbl"), QStringLiteral("classtbl2")}) {
        query.Execute(
            QStringLiteral("CREATE TABLE %1 (ClassId INTEGER, Name VARCHAR(60))").arg(table));
        for (int id = 0; id < classNames.size(); ++id)
            query.Execute(QStringLiteral("insert into %1 (ClassId, Name) values(%2, %3)")
                              .arg(table)
                              .arg(id)
                              .arg(QuoteSql(classNames.at(id))));
    }
    if (upgraded) {
        CreateGreetingTable(database);
        AddRowVersions(database);
    }
}

} // namespace Schema
