#include "store/TableEngine.h"

#include "store/SqlDialect.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>
#include <sqlite3.h>

// Statements reach the log only when asked for (QT_LOGGING_RULES="pellor3.sql.debug=true"), so
// typed search values stay out of a terminal by default.
Q_LOGGING_CATEGORY(SqlLog, "pellor3.sql", QtInfoMsg)

QString EngineFailureText(int code, const QString &detail) {
    QString cause;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        cause = QStringLiteral("顧客データのファイルをほかのプログラムが使用中です。"
                               "しばらくしてからやり直して下さい。");
        break;
    case SQLITE_FULL:
        cause = QStringLiteral("ディスクがいっぱいのため、顧客データを書き込めません。");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        cause = QStringLiteral("顧客データのファイルに書き込む権限がありません。");
        break;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
        cause = QStringLiteral("顧客データのファイルを読み書きできません。");
        break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        cause = QStringLiteral("顧客データのファイルが壊れています。");
        break;
    default:
        cause = QStringLiteral("顧客データを処理できませんでした。");
        break;
    }
    return cause + QStringLiteral("\n詳細: ") + detail;
}

namespace {

QString SqliteMessage(sqlite3 *db) {
    return EngineFailureText(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

Database::~Database() {
    Close();
}

void Database::Open(const QString &tableFolder, bool create) {
    Close();
    path_ = QDir(tableFolder).filePath(QString::fromLatin1(FileName));
    if (!create && !QFileInfo::exists(path_))
        throw EngineError(QStringLiteral("テーブルが見つかりません: %1").arg(path_));
    int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path_.toUtf8().constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            db ? SqliteMessage(db) : EngineFailureText(rc, QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_close(db);
        throw EngineError(QStringLiteral("テーブルを開けません: %1\n%2").arg(path_, message));
    }
    sqlite3_busy_timeout(db, 3000);
    // Touch the schema now, so a file that is not a database is reported at once.
    if (sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        const QString message = SqliteMessage(db);
        sqlite3_close(db);
        throw EngineError(QStringLiteral("テーブルを開けません: %1\n%2").arg(path_, message));
    }
    // A page cache large enough for a whole book keeps list rebuilds and searches off the disk.
    sqlite3_exec(db, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    db_ = db;
}

void Database::Close() {
    for (Query *query : queries_)
        query->Close();
    if (db_) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

sqlite3 *Database::Handle() {
    if (!db_)
        throw EngineError(QStringLiteral("テーブルが開かれていません"));
    return db_;
}

namespace {

void ExecuteControl(sqlite3 *db, const char *statement) {
    if (sqlite3_exec(db, statement, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EngineError(SqliteMessage(db));
}

} // namespace

void Database::Begin() {
    ExecuteControl(Handle(), "BEGIN IMMEDIATE");
}

void Database::WaitUntilUnused() {
    // The engine grants an exclusive lock only when no other connection reads or writes.
    ExecuteControl(Handle(), "BEGIN EXCLUSIVE");
    ExecuteControl(Handle(), "ROLLBACK");
}

void Database::Commit() {
    ExecuteControl(Handle(), "COMMIT");
}

void Database::Rollback() {
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

Transaction::~Transaction() {
    if (open_)
        database_.Rollback();
}

void Transaction::Commit() {
    database_.Commit();
    open_ = false;
}

void Database::Register(Query *query) {
    queries_.push_back(query);
}

void Database::Unregister(Query *query) {
    std::erase(queries_, query);
}

Query::Query(Database &database, QString text) : database_(database), text_(std::move(text)) {
    database_.Register(this);
}

Query::~Query() {
    Close();
    database_.Unregister(this);
}

void Query::SetText(const QString &text) {
    Close();
    text_ = text;
}

void Query::SetMemo(const QString &memo) {
    memo_ = memo;
    memoSet_ = true;
}

void Query::Close() {
    if (stmt_) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    atEnd_ = true;
    rowCount_ = -1;
    fields_.clear();
}

static sqlite3_stmt *Prepare(sqlite3 *db, const QString &sql) {
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, nullptr) !=
        SQLITE_OK) {
        const QString message = SqliteMessage(db);
        sqlite3_finalize(stmt);
        throw EngineError(message + QStringLiteral("\n") + sql);
    }
    return stmt;
}

void Query::Open() {
    Close();
    qCDebug(SqlLog).noquote() << text_;
    sqlite3 *db = database_.Handle();
    const QStringList statements = TranslateStatement(text_);
    translated_ = statements.value(0);
    stmt_ = Prepare(db, translated_);
    if (sqlite3_column_count(stmt_) == 0) {
        Close();
        throw EngineError(QStringLiteral("結果を返さない文です: %1").arg(text_));
    }
    for (int i = 0; i < sqlite3_column_count(stmt_); ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt_, i)).toLower();
        if (!fields_.contains(name))
            fields_.insert(name, i);
    }
    atEnd_ = false;
    Step();
}

void Query::Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return;
    atEnd_ = true;
    if (rc != SQLITE_DONE) {
        const QString message = SqliteMessage(database_.Handle());
        Close();
        throw EngineError(message);
    }
}

void Query::Next() {
    if (stmt_ && !atEnd_)
        Step();
}

void Query::First() {
    if (!stmt_)
        return;
    sqlite3_reset(stmt_);
    atEnd_ = false;
    Step();
}

int Query::RowCount() {
    if (!stmt_)
        return 0;
    if (rowCount_ < 0) {
        sqlite3_stmt *count = Prepare(database_.Handle(),
                                      QStringLiteral("select count(*) from (%1)").arg(translated_));
        rowCount_ = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int(count, 0) : 0;
        sqlite3_finalize(count);
    }
    return rowCount_;
}

int Query::Execute() {
    Close();
    qCDebug(SqlLog).noquote() << text_;
    sqlite3 *db = database_.Handle();
    int changed = 0;
    for (const QString &sql : TranslateStatement(text_)) {
        sqlite3_stmt *stmt = Prepare(db, sql);
        const int memoIndex = sqlite3_bind_parameter_index(stmt, ":MEMOETC");
        if (memoIndex > 0) {
            const QByteArray memo = memo_.toUtf8();
            if (memoSet_ && !memo_.isEmpty())
                sqlite3_bind_text(stmt, memoIndex, memo.constData(), static_cast<int>(memo.size()),
                                  SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(stmt, memoIndex);
        }
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
            const QString message = SqliteMessage(db);
            sqlite3_finalize(stmt);
            throw EngineError(message + QStringLiteral("\n") + text_);
        }
        changed += sqlite3_changes(db);
        sqlite3_finalize(stmt);
    }
    return changed;
}

int Query::Execute(const QString &text) {
    SetText(text);
    return Execute();
}

qint64 Query::LastInsertId() const {
    return sqlite3_last_insert_rowid(const_cast<Database &>(database_).Handle());
}

int Query::FieldIndex(const QString &name) const {
    if (!stmt_ || atEnd_)
        return -1;
    return fields_.value(name.toLower(), -1);
}

bool Query::IsNull(const QString &name) const {
    const int i = FieldIndex(name);
    return i < 0 || sqlite3_column_type(stmt_, i) == SQLITE_NULL;
}

QString Query::AsString(const QString &name) const {
    const int i = FieldIndex(name);
    if (i < 0 || sqlite3_column_type(stmt_, i) == SQLITE_NULL)
        return {};
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, i));
    return QString::fromUtf8(text, sqlite3_column_bytes(stmt_, i));
}

int Query::AsInteger(const QString &name) const {
    const int i = FieldIndex(name);
    if (i < 0 || sqlite3_column_type(stmt_, i) == SQLITE_NULL)
        return 0;
    if (sqlite3_column_type(stmt_, i) == SQLITE_TEXT) {
        bool ok = false;
        const int value = AsString(name).trimmed().toInt(&ok);
        return ok ? value : 0;
    }
    return sqlite3_column_int(stmt_, i);
}

QDate Query::AsDate(const QString &name) const {
    const QString text = AsString(name).trimmed();
    if (text.isEmpty())
        return {};
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    return date;
}

QStringList Query::FieldNames() const {
    QStringList names;
    if (stmt_)
        for (int i = 0; i < sqlite3_column_count(stmt_); ++i)
            names << QString::fromUtf8(sqlite3_column_name(stmt_, i));
    return names;
}
