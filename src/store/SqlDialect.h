#pragma once

#include <QString>
#include <QStringList>

// The SQL an engine reads.
enum class SqlTarget { Sqlite, Postgres };

// Translates the program's statement dialect for the engine's SQL, token by token:
// - "mm/dd/yyyy" in double quotes becomes the ISO date literal 'yyyy-mm-dd';
// - "NULL" in double quotes becomes NULL; other double-quoted values become text literals;
// - EXTRACT(MONTH FROM c) (also YEAR, DAY) becomes a number taken from the ISO date text;
// - '' written by INSERT or UPDATE ... SET is stored as NULL; c = '' in a condition finds NULL,
//   c != '' finds the rest; = NULL and != NULL become IS NULL and IS NOT NULL;
// - ALTER TABLE t ADD a T, ADD b T becomes one ALTER TABLE per column on SQLite, one ALTER
//   TABLE with an ADD COLUMN per column on PostgreSQL.
// For PostgreSQL also, as SQLite reads them: in definitions INTEGER PRIMARY KEY AUTOINCREMENT
// becomes SERIAL PRIMARY KEY, SMALLINT becomes INTEGER, BLOB becomes BYTEA, and text columns
// compare by code point (COLLATE "C"); LIKE becomes ILIKE, with ESCAPE '' unless the statement
// names an escape. Single-quoted literals (with doubled quotes) and parameters (?, :MEMOETC) pass
// unchanged. Returns the statements to run in order; throws EngineError on an unterminated literal.
QStringList TranslateStatement(const QString &statement, SqlTarget target);

// A statement with its parameters ("?" and ":NAME", as SQLite reads them) numbered $1, $2, ...
// for PostgreSQL; `names` holds each position's parameter, "?" for an unnamed one. A name
// written twice keeps its one position.
struct NumberedStatement {
    QString text;
    QStringList names;
};
NumberedStatement NumberParameters(const QString &statement);
