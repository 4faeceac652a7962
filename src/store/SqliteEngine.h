#pragma once

#include "store/Engine.h"
#include "store/EngineError.h"

#include <optional>

struct sqlite3;

// A full disk or an I/O fault makes the engine roll back the open transaction itself; the commit
// that follows reports that cause instead of the engine's "no transaction" text.
struct SqliteTransaction {
    bool open = false;
    std::optional<EngineError> endedBy;
};

// A customer book in one SQLite file.
class SqliteEngine final : public Engine {
public:
    enum class OpenMode { Existing, Create, ReadOnly };

    // Throws EngineError naming the file when it is missing (unless created) or no database.
    static std::unique_ptr<SqliteEngine> Open(const QString &path, OpenMode mode);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine &) = delete;
    SqliteEngine &operator=(const SqliteEngine &) = delete;

    SqlTarget Target() const override { return SqlTarget::Sqlite; }
    std::unique_ptr<EngineStatement> Prepare(const QString &statement) override;
    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void WaitUntilUnused() override;
    qint64 LastInsertId() const override;
    int ChangedRows() const override;
    bool HasTable(const QString &name) override;
    bool HasColumn(const QString &table, const QString &column) override;
    int UserVersion() override;
    void SetUserVersion(int version) override;
    bool IsIntact() override;
    void CopyTo(const QString &targetPath) override;

private:
    explicit SqliteEngine(sqlite3 *db) : db_(db) {}

    sqlite3 *db_;
    SqliteTransaction transaction_;
};
