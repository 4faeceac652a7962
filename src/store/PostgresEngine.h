#pragma once

#include "store/Engine.h"
#include "store/EngineError.h"

#include <QHash>
#include <QStringList>
#include <optional>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

// Why the server did not let the book open, as the user can put it right.
enum class ConnectRefusal {
    Unreachable,   // no answer at the host and port
    NoPassword,    // the server asks for a password and none is kept
    WrongPassword, // the password was refused
    NotPermitted,  // the server admits no connection of this user from this PC
    SslRequired,   // the server admits only encrypted connections
    SslRefused,    // encryption was required and the server does not offer it (or it failed)
    NoDatabase,    // the server has no database of that name
    Other          // the server answered, but something else stood in the way
};
// The refusal a failed connection stands for: the SQLSTATE the server sent (empty when it sent
// none), the client library's words, whether the connection required SSL and whether the
// server asked for a password none was given for.
ConnectRefusal ConnectRefusalOf(QByteArrayView sqlState, QByteArrayView message, bool sslRequired,
                                bool passwordMissing);

// A connection the server refused or could not be made; what() names host and port.
class ServerRefusal : public EngineError {
public:
    ServerRefusal(ConnectRefusal refusal, const QString &message, const QString &detail)
        : EngineError(message, detail), refusal_(refusal) {}
    ConnectRefusal refusal() const { return refusal_; }

private:
    ConnectRefusal refusal_;
};

// A customer book in one database of a PostgreSQL server, shared by the office's PCs.
class PostgresEngine final : public Engine {
public:
    // Seconds a connection attempt may take before the server counts as unreachable.
    static constexpr int ConnectSeconds = 10;

    // `uri` is a connection URI (postgresql://user@host:port/dbname?sslmode=prefer); the
    // password comes from ~/.pgpass or the URI. Throws ServerRefusal naming host and port when
    // the server cannot be reached or refuses the login.
    static std::unique_ptr<PostgresEngine> Connect(const QString &uri);
    // Whether the server at `uri` takes connections, asked within the connect time limit
    // without logging in; safe in any thread.
    static bool Answers(const QString &uri);
    ~PostgresEngine() override;
    PostgresEngine(const PostgresEngine &) = delete;
    PostgresEngine &operator=(const PostgresEngine &) = delete;

    // The connection, for what only the server offers (notifications); the engine owns it.
    PGconn *Connection() const { return conn_; }
    // Names this connection after the PC, as the other PCs list it (OtherPcs), and listens to
    // the other PCs' changes.
    void JoinOffice(const QString &pcName);
    void AnnounceChange() override;
    QStringList OtherPcs() override;
    bool IsConnected() const override;

    SqlTarget Target() const override { return SqlTarget::Postgres; }
    std::unique_ptr<EngineStatement> Prepare(const QString &statement) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    // Waits, as long as a statement would, until no other connection uses the database.
    void WaitUntilUnused() override;
    qint64 LastInsertId() const override { return lastInsertId_; }
    int ChangedRows() const override { return changedRows_; }
    bool HasTable(const QString &name) override;
    bool HasColumn(const QString &table, const QString &column) override;
    int UserVersion() override;
    void SetUserVersion(int version) override;
    // The server checks its own pages; the book is intact while it answers.
    bool IsIntact() override;
    // A book on a server is no file: throws EngineError telling the user so.
    void CopyTo(const QString &targetPath) override;

private:
    friend class PostgresStatement;
    explicit PostgresEngine(PGconn *conn) : conn_(conn) {}

    struct ResultDeleter {
        void operator()(PGresult *result) const;
    };
    using Result = std::unique_ptr<PGresult, ResultDeleter>;
    // The settings every session of the engine starts with.
    void StartSession();
    // A connection the server dropped (restarted, the network gone) is made again before the
    // next statement outside a transaction; inside one the statement fails, since the
    // transaction is lost.
    void Reconnect();
    // Runs one of the engine's own statements, its parameters as text; throws EngineError.
    Result Run(const char *statement, const QList<QByteArray> &parameters = {});
    // The error of a failed result (or of the connection), remembered when it ends the
    // open transaction.
    EngineError Failure(const PGresult *result);
    void Succeeded();
    // The serial key column of `table`, empty when it has none (asked once per table).
    QString SerialKey(const QString &table);
    // Releases the server-side statements of finished statements, a few at a time.
    void Release(const QByteArray &statementName);

    PGconn *conn_;
    // Counts the connections made, so that statements prepared on an earlier one are prepared
    // again.
    int session_ = 0;
    bool inTransaction_ = false;
    qint64 lastInsertId_ = 0;
    int changedRows_ = 0;
    int statementNames_ = 0;
    QList<QByteArray> released_;
    QHash<QString, QString> serialKeys_;
    std::optional<EngineError> transactionEndedBy_;
};
