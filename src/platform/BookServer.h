#pragma once

#include "store/PostgresEngine.h"

#include <QString>
#include <optional>

// Where the customer book lives: the registry value BookServer beside DataFolder holds the
// PostgreSQL connection URI of an office server ("postgresql://user@host:port/dbname
// ?sslmode=prefer"); empty or absent means the local book of the data folder. The settings
// files stay in the local data folder either way. The password is never in the URI nor in an
// INI file: it is kept in the desktop's keyring where one answers, otherwise in the libpq
// password file (~/.pgpass, or $PGPASSFILE), which PostgreSQL clients read themselves.
namespace BookServer {

inline const QString RegistryName = QStringLiteral("BookServer");
inline constexpr int DefaultPort = 5432;

struct Address {
    QString user;
    QString host;
    int port = DefaultPort;
    QString database;
    bool requireSsl = false; // sslmode=require; otherwise prefer

    // "host:port", as the user is told where the server is.
    QString HostAndPort() const;
    bool operator==(const Address &) const = default;
};

// The parts of a connection URI; nothing, with the reason in Japanese, when `uri` is not a
// postgresql:// URI naming user, host and database, holds a password, or asks for an sslmode
// other than prefer and require.
std::optional<Address> Parse(const QString &uri, QString *error = nullptr);
// The URI kept in the registry (no password).
QString UriOf(const Address &address);
// The URI a connection is made with: the password (when there is one) only in memory.
QString ConnectionUri(const Address &address, const QString &password);

// A connection URI taken apart for a client program: the URI without the password (for its
// command line) and the password (for its environment).
struct ClientLogin {
    QString uri;
    QString password;
};
ClientLogin SplitPassword(const QString &connectionUri);

// The registry's value; empty for the local book.
QString StoredUri();
// Writes the value (empty: back to the local book). False with the reason.
bool StoreUri(const QString &uri, QString *error);

// Where the password went.
enum class PasswordPlace { Keyring, PasswordFile };
// Keeps the password of `address`: in the keyring when one takes it, otherwise as the line of
// the address in the password file (other lines kept, the file private to the user).
std::optional<PasswordPlace> StorePassword(const Address &address, const QString &password,
                                           QString *error);
// The password from the keyring; empty when none is kept there (the client library then reads
// the password file itself).
QString KeyringPassword(const Address &address);
// $PGPASSFILE, or ~/.pgpass.
QString PasswordFilePath();
// One line of the password file, ':' and '\' escaped as libpq reads them.
QString PasswordFileLine(const Address &address, const QString &password);

// What a start that cannot reach the server tells the user: the host and port, then the
// client library's own words.
QString UnreachableText(const Address &address, const QString &detail);
// What the user is told when the server refused the book or could not be reached, worded by
// the cause, the client library's words after it.
QString RefusalText(const Address &address, ConnectRefusal refusal, const QString &detail);

} // namespace BookServer
