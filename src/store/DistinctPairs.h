#pragma once

#include <utility>
#include <vector>

class Database;
class Query;

// Pairs of customers the user has declared different people ("別人として登録"), so the search
// for customers entered twice leaves them out. Each pair is held once, the smaller UserId
// first, in distincttbl; a pair goes when either customer is deleted. Books from before the
// table read as holding no pair. Every statement throws EngineError when refused.

// Creates distincttbl when the book lacks it.
void CreateDistinctPairTable(Database &database);

void StoreDistinctPair(Database &database, int userId, int otherUserId);
// The pair's declaration taken back (for the undo of "別人として登録").
void RemoveDistinctPair(Database &database, int userId, int otherUserId);

// Every pair, the smaller UserId first.
std::vector<std::pair<int, int>> ReadDistinctPairs(Database &database);

// Removes the pairs naming the customer (or, with 0, every pair), through the query that
// deletes the customer.
void RemoveDistinctPairsOf(Query &query, int userId);
