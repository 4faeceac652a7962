#pragma once

#include <QByteArrayView>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>
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

// Every customer's UserId and the given columns as UTF-8 (NULL as a null view, valid only
// during the call), in table order, in one statement. `progress` is told the rows read and the
// rows in the table; false when it stopped the reading. Throws EngineError.
bool VisitCustomerColumns(
    Database &database, const QStringList &columns,
    const std::function<void(int userId, std::span<const QByteArrayView> values)> &visit,
    const std::function<bool(int done, int total)> &progress);

// The same one-pass read without copying: `visit` gets, in table order, each listed customer's
// position in `userIds` and its column texts as UTF-8 (NULL as a null view), valid only during
// the call. False when `progress` stopped the reading. Throws EngineError.
bool VisitListedCustomers(
    Database &database, const std::vector<int> &userIds, const QStringList &columns,
    const std::function<void(size_t position, std::span<const QByteArrayView> values)> &visit,
    const std::function<bool(int done, int total)> &progress);
