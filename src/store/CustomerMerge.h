#pragma once

#include "store/CustomerRecord.h"
#include "store/GreetingTable.h"

#include <utility>
#include <vector>

class Database;

// What a merge changed, so it can be put back.
struct MergeUndo {
    CustomerRecord keptBefore;
    CustomerRecord removed;
    // The kept row's version as the merge left it: an undo after another PC's change of it is
    // refused.
    int keptVersionAfterMerge = 0;
    std::vector<int> movedHistoryIds;
    std::vector<std::pair<int, int>> removedDistinctPairs;
    // The other's greeting record, and which of its events the kept customer took over (those
    // of a season and kind the kept one had none of).
    std::vector<GreetingEvent> removedGreetings;
    std::vector<GreetingEvent> movedGreetings;
};

// Merges the customer `removedUserId` into `merged` (the kept customer's row as it is to be
// stored) in one transaction: the kept row updated, the other's history entries moved to it,
// its greeting events too where the kept customer has none of that season and kind, the other
// deleted with its pairs declared different. Nothing is changed when a statement is
// refused (EngineError), another PC changed either customer since this PC read it
// (EngineError beginning with ChangedElsewhereText()) or either customer is gone (nullopt).
std::optional<MergeUndo> MergeCustomers(Database &database, const CustomerRecord &merged,
                                        int removedUserId);

// Puts both customers, the history entries, the greeting records and the pairs back as they
// were, in one
// transaction. Throws EngineError; nothing is changed then.
void UndoMerge(Database &database, const MergeUndo &undo);
