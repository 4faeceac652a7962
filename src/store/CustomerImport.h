#pragma once

#include "store/Engine.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Database;

// Adds imported customers, one row per call, through one prepared insert. The caller wraps the
// calls in Database::Begin and Commit so a whole file is stored at once or not at all.
class CustomerImport {
public:
    explicit CustomerImport(Database &database);
    CustomerImport(const CustomerImport &) = delete;
    CustomerImport &operator=(const CustomerImport &) = delete;

    // One value per ImportFields() entry. Empty texts are stored as NULL, like every insert of
    // the program; a date that does not read as yyyy/MM/dd is stored as no date; without a
    // registration day the customer is registered today. Throws EngineError when the row is
    // refused; the rows before it stay in the transaction, to be stored or not.
    void Insert(const QStringList &values);
    // Stores the texts and dates of `values` (as for Insert) in those columns of customer
    // `userId` that are empty; classes, flags and numbers stay. Throws EngineError.
    void FillEmptyColumns(int userId, const QStringList &values);

private:
    void AnnounceOnce();
    void InsertRow(const QStringList &values);
    void FillRow(int userId, const QStringList &values);
    // A server drops the whole transaction at a refused statement, where SQLite drops the
    // statement alone: the rows are stored under a savepoint renewed every few hundred rows,
    // and the ones since the savepoint are stored again after a refusal.
    void Stored(std::function<void()> row);
    void StoreAgainAfterRefusal();

    Database &database_;
    std::unique_ptr<EngineStatement> insert_;
    QByteArray today_;
    bool announced_ = false;
    std::vector<std::function<void()>> sinceSavepoint_;
    bool savepointSet_ = false;
};
