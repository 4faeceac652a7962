#pragma once

#include "store/SearchClause.h"

#include <QString>
#include <vector>

class Database;
class Query;
struct CustomerRecord;

// The reading filter of an index tab (1 to 12): "Kana LIKE '<prefix>%'" terms joined by " OR ";
// an empty text for any other index.
QString KanaClause(int index);

// The index tab (0 to 12) of a reading, by its first character as code page 932 holds it (one
// byte, or two after a lead byte), ASCII letters upper-cased.
int KanaTabIndex(const QString &reading);

// What narrows the customer list.
struct ListFilters {
    int classId = -1;        // class filter 1, -1 for none
    int classId2 = -1;       // class filter 2, -1 for none
    int readingIndex = 0;    // KanaClause index, 0 for none
    SearchProducts search{}; // the search's conditions, empty for none
};

// Whole customers, or only the columns a list row shows, so the engine sorts narrow rows.
enum class ListColumns { Whole, ListRow };

// The list statement: the columns (and, when the list may not show every customer, the book's
// total as BookCustomers on each row), " from Usertbl", the filters, " order by Kana".
QString BuildListStatement(const ListFilters &filters, ListColumns columns = ListColumns::Whole);

// "shown/total件該当".
QString CountLabelText(int shown, int total);

// What a list row shows. The postal code, address and phone are those of the block the
// customer's use type prints with (the company's for use type 1).
struct ListedCustomer {
    int userId = 0;
    QString name;
    bool print = false;
    QString kana{};
    QString zip{};
    QString address{}; // both address lines, the second after a blank
    QString tel{};
};

ListedCustomer ListedCustomerOf(const CustomerRecord &record);

struct ListedCustomers {
    std::vector<ListedCustomer> rows;
    int total = 0; // customers in the book
    QString label; // the count label
};

// Runs the list statement of `filters` (with the filter pass of history and memo words when
// the search has them) in `userQuery`. Throws EngineError.
ListedCustomers LoadListedCustomers(Database &database, Query &userQuery,
                                    const ListFilters &filters);
