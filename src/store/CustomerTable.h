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

// Deletes the customer and its greeting record (its history entries stay).
void DeleteCustomerRow(Query &userQuery, int userId);

void SetPrintMark(Query &userQuery, int userId, bool print);
// Marks the customers for printing in one transaction; with `replaceMarks` every other customer
// is unmarked first. Returns the number of customers of `userIds` that exist.
int MarkCustomersForPrinting(Database &database, const QList<int> &userIds, bool replaceMarks);

// Stores the file name of picture slot 0 (img1) or 1 (img2); an empty name stores NULL. False
// when the customer no longer exists.
bool SetPictureFileName(Query &userQuery, int userId, int slot, const QString &fileName);

// The number of customers in the book.
int CountCustomers(Query &userQuery);

// Every customer's key in reading order.
QList<int> CustomerIdsByReading(Query &userQuery);
