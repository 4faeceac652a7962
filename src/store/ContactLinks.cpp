#include "store/ContactLinks.h"

#include "store/TableEngine.h"

namespace {

QString Text(QByteArrayView utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

void CreateContactLinkTables(Database &database) {
    Query query(database);
    if (!database.GetEngine().HasTable(QStringLiteral("cardlinktbl")))
        query.Execute(QStringLiteral(
            "CREATE TABLE cardlinktbl (UserId INTEGER PRIMARY KEY, Uid VARCHAR(255), "
            "Href VARCHAR(255), ETag VARCHAR(255), LocalHash VARCHAR(64), CardText TEXT)"));
    if (!database.GetEngine().HasTable(QStringLiteral("cardbooktbl")))
        query.Execute(QStringLiteral("CREATE TABLE cardbooktbl (Url VARCHAR(255), "
                                     "Collection VARCHAR(255), SyncToken VARCHAR(255))"));
}

std::vector<ContactLink> ReadContactLinks(Database &database) {
    std::vector<ContactLink> links;
    const auto select = database.GetEngine().Prepare(
        QStringLiteral("select UserId, Uid, Href, ETag, LocalHash, CardText from cardlinktbl"));
    while (select->Step())
        links.push_back({int(select->Integer(0)), Text(select->Text(1)), Text(select->Text(2)),
                         Text(select->Text(3)), Text(select->Text(4)),
                         select->Text(5).toByteArray()});
    return links;
}

void StoreContactLink(Database &database, const ContactLink &link) {
    RemoveContactLink(database, link.userId);
    const auto insert = database.GetEngine().Prepare(
        QStringLiteral("insert into cardlinktbl (UserId, Uid, Href, ETag, LocalHash, "
                       "CardText) values (?, ?, ?, ?, ?, ?)"));
    insert->BindInteger(1, link.userId);
    int parameter = 2;
    for (const QString &text : {link.uid, link.href, link.etag, link.localHash})
        insert->BindText(parameter++, text.toUtf8());
    insert->BindText(parameter, link.cardText);
    insert->Step();
}

void RemoveContactLink(Database &database, int userId) {
    Query(database).Execute(
        QStringLiteral("delete from cardlinktbl where UserId = %1").arg(userId));
}

void RemoveContactLinks(Database &database) {
    Query query(database);
    query.Execute(QStringLiteral("delete from cardlinktbl"));
    query.Execute(QStringLiteral("delete from cardbooktbl"));
}

ContactBook ReadContactBook(Database &database) {
    const auto select = database.GetEngine().Prepare(
        QStringLiteral("select Url, Collection, SyncToken from cardbooktbl"));
    if (!select->Step())
        return {};
    return {Text(select->Text(0)), Text(select->Text(1)), Text(select->Text(2))};
}

void StoreContactBook(Database &database, const ContactBook &book) {
    Query(database).Execute(QStringLiteral("delete from cardbooktbl"));
    const auto insert = database.GetEngine().Prepare(
        QStringLiteral("insert into cardbooktbl (Url, Collection, SyncToken) values (?, ?, ?)"));
    int parameter = 1;
    for (const QString &text : {book.url, book.collection, book.syncToken})
        insert->BindText(parameter++, text.toUtf8());
    insert->Step();
}
