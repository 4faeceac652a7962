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

// Gives usertbl, historytbl, classtbl and classtbl2 the version column that every change of a
// row increases (0 for the rows already there), where they lack it.
void AddRowVersions(Database &database);

// Creates usertbl, historytbl, classtbl and classtbl2 (usertbl with all columns, or with the
// first 35 only when `upgraded` is false, and greetingtbl only then) and fills the class tables
// with FreshClassNames(); the upgraded tables carry their row versions.
void CreateTables(Database &database, bool upgraded = true);

} // namespace Schema
