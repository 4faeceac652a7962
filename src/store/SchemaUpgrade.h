#pragma once

#include <QString>

class Database;

// Makes the customer table hold every column of the catalogue, adding the missing ones in one
// transaction (an older table lacks the joint-name and insert columns). The installer's marker
// "vDb.udb" asking for version "1.04" in the data folder is removed once the table is complete.
// A book without the greeting record gets its table, empty; tables without row versions get
// them.
// Readings stored as hiragana or full-width katakana are converted to half-width katakana once,
// and customers without classes or print flag (from earlier imports) get 0 for them once. The
// tables of pairs declared different people, of pictures and of the address book links are
// added when missing; a server book's pictures kept as text become bytes once.
// Returns a message for the user when columns are missing and could not be added; nothing is
// changed then and the marker stays, so the next start tries again.
QString RunSchemaUpgrade(Database &database, const QString &dataPath);
