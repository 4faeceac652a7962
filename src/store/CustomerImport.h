#pragma once

#include "store/Engine.h"

#include <QString>
#include <QStringList>

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
    // refused.
    void Insert(const QStringList &values);
    // Stores the texts and dates of `values` (as for Insert) in those columns of customer
    // `userId` that are empty; classes, flags and numbers stay. Throws EngineError.
    void FillEmptyColumns(int userId, const QStringList &values);

private:
    void AnnounceOnce();

    Database &database_;
    std::unique_ptr<EngineStatement> insert_;
    QByteArray today_;
    bool announced_ = false;
};
