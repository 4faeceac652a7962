#pragma once

#include "platform/BookServer.h"

#include <QString>
#include <functional>

class Database;

// Which book the program opens: the local one of the table folder, or the office server's the
// registry names (see BookServer.h).

// Tries a connection to the book at a URI (with its password); nothing when it opened, otherwise
// why not.
using ConnectionTry = std::function<std::optional<ServerRefusal>(const QString &connectionUri)>;
// The real try: opens the server book (laying out its tables when the database is empty) and
// closes it again.
std::optional<ServerRefusal> TryServerBook(const QString &connectionUri);

// Opens the server book at `uri` (as the registry keeps it) with the password of the keyring;
// with `create`, an empty database gets the tables of a fresh book. A refused connection is
// told by its cause, naming the host and port. Throws EngineError.
void OpenServerBook(Database &database, const QString &uri, bool create = false);

// Opens the book the registry names; a server book with the password of the keyring (libpq reads
// the password file itself). Throws EngineError.
void OpenNamedBook(Database &database, const QString &dbPath);

// The window's start: opens the named book. A server that cannot be reached is named with its
// host and port, and the user chooses 再試行 (what Enter gives), the local book (said to be
// another book than the server's) or 終了. False when no book was opened; an empty `error`
// then means the user chose to end.
bool OpenBookAtStart(Database &database, const QString &dbPath, QString *error);

// The first start's question: "このパソコンだけで使う" (Enter) or "事務所のサーバーに置く". With
// the server, `askServer` (the server window) asks for the address; a cancelled window asks the
// question again. True when a server was kept.
bool ChooseBookPlace(const std::function<bool()> &askServer);

// The server window's step: tries the address with the password, and only when the book opened
// keeps the URI in the registry and the password out of it. Empty when kept, otherwise what the
// user is told.
QString KeepServer(const BookServer::Address &address, const QString &password,
                   const ConnectionTry &tryConnection = TryServerBook);
