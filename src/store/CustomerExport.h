#pragma once

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Database;

// Reads the given columns of the listed customers, in list order, as the table holds them
// (dates as yyyy-MM-dd, NULL as empty text). The whole table is read in one pass, which is far
// quicker for a long list than one select per customer. A customer deleted since the list was
// built is left out. `progress` is told the rows read and the rows in the table; when it
// returns false the reading stops and nullopt is returned. Throws EngineError.
std::optional<std::vector<QStringList>>
ReadListedCustomers(Database &database, const std::vector<int> &userIds, const QStringList &columns,
                    const std::function<bool(int done, int total)> &progress);
