#include "store/CustomerMerge.h"

#include "core/SqlText.h"
#include "store/CustomerTable.h"
#include "store/DistinctPairs.h"
#include "store/TableEngine.h"

#include <QStringList>
#include <algorithm>

namespace {

QString IdList(const std::vector<int> &ids) {
    QStringList texts;
    for (const int id : ids)
        texts << QString::number(id);
    return texts.join(u',');
}

// The editor's full update, and what it leaves to others: the pictures and the day of
// registration. Refused, as the editor's save is, when another PC changed the row since
// `customer` was read.
void StoreWholeCustomer(Query &query, const CustomerRecord &customer) {
    if (SaveCustomerRecord(query, customer) != SaveOutcome::Saved)
        throw EngineError(ChangedElsewhereText() + QStringLiteral("。表示し直してから、もう一度"
                                                                  "操作して下さい。"));
    query.Execute(
        QStringLiteral("update Usertbl set img1 = %1, img2 = %2, MakeDay = %3 where UserId = %4")
            .arg(QuoteSql(customer.img1), QuoteSql(customer.img2), SqlDate(customer.makeDay))
            .arg(customer.userId));
}

} // namespace

std::optional<MergeUndo> MergeCustomers(Database &database, const CustomerRecord &merged,
                                        int removedUserId) {
    const std::optional<int> removedAsRead = database.ReadVersion(removedUserId);
    Transaction transaction(database);
    Query query(database);
    std::optional<CustomerRecord> keptBefore = LoadCustomerRecord(query, merged.userId);
    std::optional<CustomerRecord> removed = LoadCustomerRecord(query, removedUserId);
    if (!keptBefore || !removed || merged.userId == removedUserId)
        return std::nullopt;
    if (removedAsRead && *removedAsRead != removed->rowVersion)
        throw EngineError(ChangedElsewhereText() + QStringLiteral("。"));
    MergeUndo undo{*keptBefore, *removed, merged.rowVersion + 1, {}, {}, {}, {}};
    query.SetText(
        QStringLiteral("select HistoryId from Historytbl where UserId = %1").arg(removedUserId));
    query.Close();
    for (query.Open(); !query.AtEnd(); query.Next())
        undo.movedHistoryIds.push_back(query.AsInteger(QStringLiteral("HistoryId")));
    query.Close();
    for (const auto &pair : ReadDistinctPairs(database))
        if (pair.first == removedUserId || pair.second == removedUserId)
            undo.removedDistinctPairs.push_back(pair);
    GreetingTable greetings(database);
    undo.removedGreetings = greetings.CustomerEvents(removedUserId);
    const std::vector<GreetingEvent> keptGreetings = greetings.CustomerEvents(merged.userId);
    for (const GreetingEvent &event : undo.removedGreetings)
        if (std::none_of(keptGreetings.begin(), keptGreetings.end(),
                         [&](const GreetingEvent &kept) {
                             return kept.season == event.season && kept.kind == event.kind;
                         }))
            undo.movedGreetings.push_back(event);

    StoreWholeCustomer(query, merged);
    query.Execute(QStringLiteral("update Historytbl set UserId = %1 where UserId = %2")
                      .arg(merged.userId)
                      .arg(removedUserId));
    for (GreetingEvent event : undo.movedGreetings) {
        event.userId = merged.userId;
        greetings.Set(event);
    }
    if (!DeleteCustomerRow(query, removedUserId))
        throw EngineError(ChangedElsewhereText() + QStringLiteral("。"));
    transaction.Commit();
    return undo;
}

void UndoMerge(Database &database, const MergeUndo &undo) {
    Transaction transaction(database);
    Query query(database);
    query.Execute(QStringLiteral("insert into Usertbl (UserId, RowVersion) values (%1, %2)")
                      .arg(undo.removed.userId)
                      .arg(undo.removed.rowVersion));
    StoreWholeCustomer(query, undo.removed);
    CustomerRecord kept = undo.keptBefore;
    kept.rowVersion = undo.keptVersionAfterMerge;
    StoreWholeCustomer(query, kept);
    if (!undo.movedHistoryIds.empty())
        query.Execute(QStringLiteral("update Historytbl set UserId = %1 where HistoryId in (%2)")
                          .arg(undo.removed.userId)
                          .arg(IdList(undo.movedHistoryIds)));
    GreetingTable greetings(database);
    for (const GreetingEvent &event : undo.movedGreetings)
        greetings.Clear(undo.keptBefore.userId, event.season, event.kind);
    for (const GreetingEvent &event : undo.removedGreetings)
        greetings.Set(event);
    for (const auto &[userId, otherUserId] : undo.removedDistinctPairs)
        StoreDistinctPair(database, userId, otherUserId);
    transaction.Commit();
}
