#pragma once

#include "store/BookCopy.h"

#include <QString>

// `pellor3 --copy-book-to URL`, `--copy-book-from URL` and the window 台帳の移動: the whole
// book copied between the local book of the table folder and the server database at `uri`.
enum class BookMoveDirection { ToServer, FromServer };

// Opens both books (an empty server database is given the tables of a fresh book), brings both
// to the current schema and copies, in one transaction of the target. The target must be empty
// (a fresh local book, or a server database without customers). Returns the counts copied;
// throws EngineError, the target then as it was.
BookCounts MoveBook(BookMoveDirection direction, const QString &uri, const QString &dbPath,
                    const QString &dataPath, const CopyProgress &progress = {});
