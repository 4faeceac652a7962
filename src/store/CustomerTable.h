#pragma once

#include <QList>
#include <QString>

class Database;
class Query;

// Whole-customer changes outside the editor's save: new customers, deletion, the print mark and
// the picture columns. Every statement throws EngineError when refused.

// Inserts a new customer with the honorific 様, sex 不明, use type 0, registered today, without
// a birthday and everything else empty. Returns the key the insert assigned.
int InsertCustomer(Query &userQuery, const QString &name, const QString &kana);

// Deletes the customer and its greeting record (its history entries stay), while the row is
// still the version this PC last read (Database::ReadVersion) when it read one. False when
// the row changed or went since: nothing is deleted then.
bool DeleteCustomerRow(Query &userQuery, int userId);

// Sets the print mark under the same rule as DeleteCustomerRow; false when refused by it.
bool SetPrintMark(Query &userQuery, int userId, bool print);
// Marks the customers for printing in one transaction; with `replaceMarks` every other customer
// is unmarked first. Returns the number of customers of `userIds` that exist. Whatever another
// PC changed stays: only the mark is set, and the versions increase; the versions this PC noted
// are forgotten (Database::ForgetVersions).
int MarkCustomersForPrinting(Database &database, const QList<int> &userIds, bool replaceMarks);

// Stores the file name of picture slot 0 (img1) or 1 (img2); an empty name stores NULL. False
// when the customer no longer exists.
bool SetPictureFileName(Query &userQuery, int userId, int slot, const QString &fileName);

// The number of customers in the book.
int CountCustomers(Query &userQuery);

// Every customer's key in reading order.
QList<int> CustomerIdsByReading(Query &userQuery);
