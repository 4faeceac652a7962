#include "store/DistinctPairs.h"

#include "store/TableEngine.h"

#include <algorithm>

namespace {

bool HasPairTable(Database &database) {
    return database.GetEngine().HasTable(QStringLiteral("distincttbl"));
}

std::pair<int, int> Ordered(int userId, int otherUserId) {
    return {std::min(userId, otherUserId), std::max(userId, otherUserId)};
}

} // namespace

void CreateDistinctPairTable(Database &database) {
    if (HasPairTable(database))
        return;
    Query(database).Execute(
        QStringLiteral("CREATE TABLE distincttbl (UserId1 INTEGER, UserId2 INTEGER, "
                       "PRIMARY KEY (UserId1, UserId2))"));
}

void StoreDistinctPair(Database &database, int userId, int otherUserId) {
    CreateDistinctPairTable(database);
    const auto [first, second] = Ordered(userId, otherUserId);
    Query(database).Execute(QStringLiteral("insert into Distincttbl (UserId1, UserId2) select "
                                           "%1, %2 where not exists (select 1 from Distincttbl "
                                           "where UserId1 = %1 and UserId2 = %2)")
                                .arg(first)
                                .arg(second));
}

void RemoveDistinctPair(Database &database, int userId, int otherUserId) {
    if (!HasPairTable(database))
        return;
    const auto [first, second] = Ordered(userId, otherUserId);
    Query(database).Execute(
        QStringLiteral("delete from Distincttbl where UserId1 = %1 and UserId2 = %2")
            .arg(first)
            .arg(second));
}

std::vector<std::pair<int, int>> ReadDistinctPairs(Database &database) {
    std::vector<std::pair<int, int>> pairs;
    if (!HasPairTable(database))
        return pairs;
    Query query(database, QStringLiteral("select UserId1, UserId2 from Distincttbl"));
    for (query.Open(); !query.AtEnd(); query.Next())
        pairs.push_back(Ordered(query.AsInteger(QStringLiteral("UserId1")),
                                query.AsInteger(QStringLiteral("UserId2"))));
    return pairs;
}

void RemoveDistinctPairsOf(Query &query, int userId) {
    if (!HasPairTable(query.GetDatabase()))
        return;
    query.Execute(userId == 0 ? QStringLiteral("delete from Distincttbl")
                              : QStringLiteral("delete from Distincttbl where UserId1 = %1 or "
                                               "UserId2 = %1")
                                    .arg(userId));
}
