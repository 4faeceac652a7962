#include "store/SqliteEngine.h"

#include "core/PrivateFolder.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <string_view>
#include <utility>

namespace {

EngineFailure FailureOf(int code) {
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineFailure::InUse;
    case SQLITE_FULL:
        return EngineFailure::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return EngineFailure::NoPermission;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        return EngineFailure::Unreadable;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return EngineFailure::Damaged;
    default:
        return EngineFailure::Other;
    }
}

EngineError Failure(sqlite3 *db) {
    return EngineError(FailureOf(sqlite3_extended_errcode(db)),
                       QString::fromUtf8(sqlite3_errmsg(db)));
}

void ExecuteControl(sqlite3 *db, const QByteArray &statement) {
    if (sqlite3_exec(db, statement.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw Failure(db);
}

class SqliteStatement final : public EngineStatement {
public:
    SqliteStatement(sqlite3_stmt *stmt, SqliteTransaction &transaction)
        : stmt_(stmt), transaction_(transaction) {}
    ~SqliteStatement() override { sqlite3_finalize(stmt_); }
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    int ParameterIndex(const QString &name) const override {
        return sqlite3_bind_parameter_index(stmt_, name.toUtf8().constData());
    }
    void BindText(int parameter, QByteArrayView utf8) override {
        sqlite3_bind_text(stmt_, parameter, utf8.data(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void BindInteger(int parameter, qint64 value) override {
        sqlite3_bind_int64(stmt_, parameter, value);
    }
    void BindNull(int parameter) override { sqlite3_bind_null(stmt_, parameter); }
    void BindBlob(int parameter, QByteArrayView bytes) override {
        // A null pointer would bind NULL rather than no bytes.
        sqlite3_bind_blob(stmt_, parameter, bytes.isNull() ? "" : bytes.data(), int(bytes.size()),
                          SQLITE_TRANSIENT);
    }

    bool Step() override {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE) {
            sqlite3 *db = sqlite3_db_handle(stmt_);
            const EngineError failure = Failure(db);
            if (transaction_.open && sqlite3_get_autocommit(db))
                transaction_.endedBy = failure;
            throw failure;
        }
        return false;
    }
    void Reset() override {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    int ColumnCount() const override { return sqlite3_column_count(stmt_); }
    QString ColumnName(int column) const override {
        return QString::fromUtf8(sqlite3_column_name(stmt_, column));
    }
    FieldType Type(int column) const override {
        switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return FieldType::Integer;
        case SQLITE_FLOAT:
            return FieldType::Real;
        case SQLITE_TEXT:
            return FieldType::Text;
        case SQLITE_BLOB:
            return FieldType::Blob;
        default:
            return FieldType::Null;
        }
    }
    qint64 Integer(int column) const override { return sqlite3_column_int64(stmt_, column); }
    QByteArrayView Text(int column) const override {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        return QByteArrayView(text, text ? sqlite3_column_bytes(stmt_, column) : 0);
    }
    QByteArrayView Blob(int column) const override {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(stmt_, column));
        return QByteArrayView(bytes, bytes ? sqlite3_column_bytes(stmt_, column) : 0);
    }

private:
    sqlite3_stmt *stmt_;
    SqliteTransaction &transaction_;
};

QString CopyFailure(sqlite3 *db, const QString &path) {
    return QStringLiteral("%1 に書き込めません: %2")
        .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

std::unique_ptr<SqliteEngine> SqliteEngine::Open(const QString &path, OpenMode mode) {
    if (mode != OpenMode::Create && !QFileInfo::exists(path))
        throw EngineError(QStringLiteral("テーブルが見つかりません: %1").arg(path));
    const int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
                      : mode == OpenMode::Create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                                 : SQLITE_OPEN_READWRITE;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    const auto refuse = [&path, db](const QString &message) {
        sqlite3_close(db);
        return EngineError(QStringLiteral("テーブルを開けません: %1\n%2").arg(path, message));
    };
    if (rc != SQLITE_OK)
        throw refuse(db ? Failure(db).message()
                        : EngineFailureText(FailureOf(rc), QString::fromUtf8(sqlite3_errstr(rc))));
    sqlite3_busy_timeout(db, 3000);
    // Touch the schema now, so a file that is not a database is reported at once.
    if (sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        throw refuse(Failure(db).message());
    // A page cache large enough for a whole book keeps list rebuilds and searches off the disk.
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    return std::unique_ptr<SqliteEngine>(new SqliteEngine(db));
}

SqliteEngine::~SqliteEngine() {
    sqlite3_close(db_);
}

std::unique_ptr<EngineStatement> SqliteEngine::Prepare(const QString &statement) {
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = statement.toUtf8();
    if (sqlite3_prepare_v2(db_, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK) {
        const EngineError failure = Failure(db_);
        sqlite3_finalize(stmt);
        throw EngineError(failure.message() + QStringLiteral("\n") + statement, failure.detail());
    }
    return std::make_unique<SqliteStatement>(stmt, transaction_);
}

void SqliteEngine::Begin() {
    ExecuteControl(db_, "BEGIN IMMEDIATE");
    transaction_ = {true, std::nullopt};
}

void SqliteEngine::Commit() {
    const SqliteTransaction ended = std::exchange(transaction_, {});
    if (ended.endedBy && sqlite3_get_autocommit(db_))
        throw EngineError(ended.endedBy->message() +
                              QStringLiteral("\nこの処理で書き込んだ内容は保存されていません。"),
                          ended.endedBy->detail());
    ExecuteControl(db_, "COMMIT");
}

void SqliteEngine::Rollback() {
    transaction_ = {};
    if (!sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteEngine::WaitUntilUnused() {
    // The engine grants an exclusive lock only when no other connection reads or writes.
    ExecuteControl(db_, "BEGIN EXCLUSIVE");
    ExecuteControl(db_, "ROLLBACK");
}

qint64 SqliteEngine::LastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

int SqliteEngine::ChangedRows() const {
    return sqlite3_changes(db_);
}

bool SqliteEngine::HasTable(const QString &name) {
    return sqlite3_table_column_metadata(db_, "main", name.toUtf8().constData(), nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool SqliteEngine::HasColumn(const QString &table, const QString &column) {
    return sqlite3_table_column_metadata(db_, "main", table.toUtf8().constData(),
                                         column.toUtf8().constData(), nullptr, nullptr, nullptr,
                                         nullptr, nullptr) == SQLITE_OK;
}

int SqliteEngine::UserVersion() {
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &stmt, nullptr) != SQLITE_OK)
        throw Failure(db_);
    const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    return version;
}

void SqliteEngine::SetUserVersion(int version) {
    ExecuteControl(db_, QByteArray("PRAGMA user_version = " + QByteArray::number(version)));
}

bool SqliteEngine::IsIntact() {
    // A damaged page elsewhere still lets the schema read; only a full check finds it.
    sqlite3_stmt *stmt = nullptr;
    bool intact = false;
    if (sqlite3_prepare_v2(db_, "pragma quick_check(1)", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto *verdict = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        intact = verdict && std::string_view(verdict) == "ok";
    }
    sqlite3_finalize(stmt);
    return intact;
}

void SqliteEngine::CopyTo(const QString &targetPath) {
    QFile::remove(targetPath);
    // The engine keeps the mode of a file that exists, and gives its journal the same one: the
    // copy is the user's alone from its first byte.
    if (QFile empty(targetPath);
        !empty.open(QIODevice::WriteOnly | QIODevice::NewOnly, PrivateFilePermissions))
        throw EngineError(
            QStringLiteral("%1 を作成できません: %2").arg(targetPath, empty.errorString()));
    sqlite3 *target = nullptr;
    if (sqlite3_open_v2(targetPath.toUtf8().constData(), &target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = CopyFailure(target, targetPath);
        sqlite3_close(target);
        throw EngineError(message);
    }
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", db_, "main");
    int rc = SQLITE_ERROR;
    if (backup) {
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE) {
        // Another program holding the book is no fault of the target.
        const EngineFailure cause = FailureOf(rc);
        const QString message =
            cause == EngineFailure::InUse
                ? EngineFailureText(cause, QString::fromUtf8(sqlite3_errstr(rc)))
            : cause == EngineFailure::DiskFull
                ? EngineFailureText(cause, CopyFailure(target, targetPath))
                : CopyFailure(target, targetPath);
        sqlite3_close(target);
        QFile::remove(targetPath);
        throw EngineError(message);
    }
    sqlite3_close(target);
}
