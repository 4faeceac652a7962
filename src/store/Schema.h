#pragma once

#include <QStringList>

class Database;

// The four customer tables as an installation delivers them.
namespace Schema {

// usertbl, historytbl, classtbl and classtbl2, the customers' table first: the tables every
// version of the book has. Later tables (greetingtbl) are added by the schema upgrade.
const QStringList &TableNames();

// Creates greetingtbl with its indexes: one row per customer, season and kind.
void CreateGreetingTable(Database &database);

// Creates usertbl, historytbl, classtbl and classtbl2 (usertbl with all columns, or with the
// first 35 only when `upgraded` is false, and greetingtbl only then) and fills the class tables
// with FreshClassNames().
void CreateTables(Database &database, bool upgraded = true);

} // namespace Schema
