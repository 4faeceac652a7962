#pragma once

#include "store/Engine.h"
#include "store/EngineError.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class Query;

// The customer tables: one SQLite file, "pellor3.db", in the table folder, or one database on
// a PostgreSQL server. The statements keep the program's own dialect; see SqlDialect.h for how
// they are translated for the engine.
class Database {
public:
    static constexpr const char *FileName = "pellor3.db";

    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Opens (and with `create`, creates) the database file in the table folder.
    void Open(const QString &tableFolder, bool create = false);
    // Connects to the book in the server database at the connection URI `uri`. With `create`,
    // an empty database is given the tables of a fresh book; a database with some of the tables
    // only, or without them when not creating, is refused with an EngineError naming them.
    void OpenServer(const QString &uri, bool create = false);
    // Closes every open result and the file (or the connection), so it can be copied or replaced.
    void Close();
    bool IsOpen() const { return engine_ != nullptr; }
    bool IsOnServer() const { return !serverUri_.isEmpty(); }
    // Empty for a book on a server.
    QString FilePath() const { return path_; }
    // Empty for the local book.
    QString ServerUri() const { return serverUri_; }
    // Where the book is, as the user is told: the file, or the server without any password.
    QString Location() const;

    // The engine of the open book; throws EngineError when none is open.
    Engine &GetEngine();

    // Waits, as long as a statement would, until no other program reads or writes the file;
    // throws EngineError when one still does.
    void WaitUntilUnused();

    // One transaction at a time; statements between Begin and Commit are stored together.
    void Begin();
    void Commit();
    void Rollback();

    // The version of each customer row as this PC last listed or stored it: a delete or mark
    // of listed customers changes a row only while it is still that version.
    std::optional<int> ReadVersion(int userId) const;
    void NoteVersion(int userId, int rowVersion) { readVersions_.insert(userId, rowVersion); }
    // After a change of many rows by this PC, whose new versions it did not read.
    void ForgetVersions() { readVersions_.clear(); }

private:
    friend class Query;
    void Register(Query *query);
    void Unregister(Query *query);

    std::unique_ptr<Engine> engine_;
    QString path_;
    QString serverUri_;
    std::vector<Query *> queries_;
    QHash<int, int> readVersions_;
};

// Begins a transaction and rolls it back when left without Commit (a thrown EngineError).
class Transaction {
public:
    explicit Transaction(Database &database) : database_(database) { database_.Begin(); }
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void Commit();

private:
    Database &database_;
    bool open_ = true;
};

// A query object: set its statement text, then open it (for a result) or execute it (for a
// change). Fields are read by column name, without regard to letter case; NULL reads as an
// empty text or 0.
class Query {
public:
    explicit Query(Database &database, QString text = {});
    ~Query();
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void SetText(const QString &text);
    const QString &Text() const { return text_; }
    QString DatabaseFilePath() const { return database_.FilePath(); }
    Database &GetDatabase() const { return database_; }
    // Binds the long text of the memo parameter :MEMOETC for the next Execute.
    void SetMemo(const QString &memo);
    // Binds bytes (a picture) to the named parameter (":PICTURE") for the next Execute.
    void SetBytes(const QString &parameter, const QByteArray &bytes);

    void Close();
    // Runs a select; the cursor stands on the first row (or at the end for no rows).
    void Open();
    // Runs a change; it is stored when the call returns. Returns the number of rows changed.
    int Execute();
    // Sets the text and runs it as a change. Throws EngineError.
    int Execute(const QString &text);

    bool IsActive() const { return statement_ != nullptr; }
    bool AtEnd() const { return atEnd_; }
    void Next();
    void First();
    // Rows of the open result (counted once, on first request).
    int RowCount();
    // The key the last insert assigned.
    qint64 LastInsertId() const;

    bool IsNull(const QString &name) const;
    QString AsString(const QString &name) const;
    int AsInteger(const QString &name) const;
    // A date column; invalid when NULL or not a date.
    QDate AsDate(const QString &name) const;
    // The bytes of a blob column; empty when NULL.
    QByteArray AsBytes(const QString &name) const;
    QStringList FieldNames() const;
    // For reading many rows: a column's position in the open result (-1 when it has none), once,
    // then the fields by position.
    int FieldIndex(const QString &name) const;
    QString AsString(int field) const;
    int AsInteger(int field) const;

private:
    friend class Database;
    void Step();

    Database &database_;
    QString text_;
    QString memo_;
    bool memoSet_ = false;
    QHash<QString, QByteArray> bytes_;
    std::unique_ptr<EngineStatement> statement_;
    QString translated_;
    bool atEnd_ = true;
    int rowCount_ = -1;
    QHash<QString, int> fields_;
};
