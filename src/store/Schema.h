#pragma once

#include <QStringList>

class Database;

// The four customer tables as an installation delivers them.
namespace Schema {

// usertbl, historytbl, classtbl and classtbl2, the customers' table first.
const QStringList &TableNames();

// Creates usertbl, historytbl, classtbl and classtbl2 (usertbl with all columns, or with the
// first 35 only when `upgraded` is false) and fills the class tables with FreshClassNames().
void CreateTables(Database &database, bool upgraded = true);

} // namespace Schema
