#pragma once

#include <QString>

// Backups of a book on a server: a pg_dump custom-format file in the dated backup folder, read
// back by pg_restore in one transaction. The password goes to the client programs through
// their environment (PGPASSWORD) or the password file they read themselves, never on their
// command line; every run waits at most a set time.
namespace ServerBackup {

// The dump's name inside a backup folder.
inline const QString DumpFileName = QStringLiteral("pellor3.dump");
inline constexpr int DumpWaitMs = 30 * 60 * 1000;
inline constexpr int ListWaitMs = 60 * 1000;

// Writes the book at `connectionUri` to `dumpPath`. False with the reason.
bool Dump(const QString &connectionUri, const QString &dumpPath, QString *error);
// Whether `dumpPath` is a dump of a customer book (its table of customers listed).
bool IsBookDump(const QString &dumpPath);
// The customers the dump holds, as the backup list shows them; -1 when it cannot be read.
int DumpCustomers(const QString &dumpPath);
// Reads the dump into the database at `connectionUri`, replacing its tables, in one
// transaction: on failure the database stays as it was. False with the reason.
bool Restore(const QString &connectionUri, const QString &dumpPath, QString *error);

} // namespace ServerBackup
