#include "store/DatabaseCopy.h"

#include "store/TableEngine.h"

#include <QFile>
#include <sqlite3.h>
#include <string_view>

namespace {

QString CopyFailure(sqlite3 *db, const QString &path) {
    return QStringLiteral("%1 に書き込めません: %2")
        .arg(path, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"));
}

} // namespace

void CopyOpenDatabase(Database &database, const QString &targetPath) {
    QFile::remove(targetPath);
    sqlite3 *target = nullptr;
    if (sqlite3_open_v2(targetPath.toUtf8().constData(), &target,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = CopyFailure(target, targetPath);
        sqlite3_close(target);
        throw EngineError(message);
    }
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", database.Handle(), "main");
    int rc = SQLITE_ERROR;
    if (backup) {
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    if (rc != SQLITE_DONE) {
        // Another program holding the book is no fault of the target.
        const int cause = rc & 0xff;
        const QString message = cause == SQLITE_BUSY || cause == SQLITE_LOCKED
                                    ? EngineFailureText(rc, QString::fromUtf8(sqlite3_errstr(rc)))
                                    : CopyFailure(target, targetPath);
        sqlite3_close(target);
        QFile::remove(targetPath);
        throw EngineError(message);
    }
    sqlite3_close(target);
}

bool IsCustomerDatabase(const QString &path) {
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt *stmt = nullptr;
    int tables = 0;
    if (sqlite3_prepare_v2(db,
                           "select count(*) from sqlite_master where type = 'table' and "
                           "lower(name) in ('usertbl', 'historytbl', 'classtbl', 'classtbl2')",
                           -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        tables = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    // A damaged page elsewhere still lets the schema read; only a full check finds it.
    bool intact = false;
    if (tables == 4 &&
        sqlite3_prepare_v2(db, "pragma quick_check(1)", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto *verdict = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        intact = verdict && std::string_view(verdict) == "ok";
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return intact;
}
