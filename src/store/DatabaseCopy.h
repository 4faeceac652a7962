#pragma once

#include <QString>

class Database;

// Copies of the customer tables for backup and restore. Every function throws EngineError.

// Writes a consistent copy of the open database to `targetPath` (replaced when it exists),
// even while other statements of the program are between steps.
void CopyOpenDatabase(Database &database, const QString &targetPath);

// Whether the file at `path` is a customer book: an undamaged SQLite file holding the four
// tables with the columns every version of the book has. Never throws.
bool IsCustomerDatabase(const QString &path);

// The customers of the book file at `path`, read without changing it; -1 when it cannot be read.
// Never throws.
int CountCustomers(const QString &path);
