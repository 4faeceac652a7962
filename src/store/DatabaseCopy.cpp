#include "store/DatabaseCopy.h"

#include "store/CustomerColumns.h"
#include "store/Schema.h"
#include "store/SqliteEngine.h"
#include "store/TableEngine.h"

#include <QFileInfo>

namespace {

// The columns every version of the book has; later ones are added by the upgrade at start.
QStringList ColumnsOfEveryVersion(const QString &table) {
    if (table == QStringLiteral("usertbl"))
        return CustomerColumnNames().first(BaseCustomerColumnCount);
    if (table == QStringLiteral("historytbl"))
        return {QStringLiteral("HistoryId"), QStringLiteral("UserId"), QStringLiteral("MakeDay"),
                QStringLiteral("Title"), QStringLiteral("Contents")};
    return {QStringLiteral("ClassId"), QStringLiteral("Name")};
}

std::unique_ptr<Engine> OpenToRead(const QString &path) {
    // An empty file would be taken for an empty book.
    if (QFileInfo(path).size() == 0)
        throw EngineError(EngineFailure::Damaged, QStringLiteral("空のファイルです: %1").arg(path));
    return SqliteEngine::Open(path, SqliteEngine::OpenMode::ReadOnly);
}

} // namespace

void CopyOpenDatabase(Database &database, const QString &targetPath) {
    database.GetEngine().CopyTo(targetPath);
}

bool IsCustomerDatabase(const QString &path) {
    try {
        const std::unique_ptr<Engine> book = OpenToRead(path);
        for (const QString &table : Schema::TableNames())
            for (const QString &column : ColumnsOfEveryVersion(table))
                if (!book->HasColumn(table, column))
                    return false;
        return book->IsIntact();
    } catch (const EngineError &) {
        return false;
    }
}

int CountCustomers(const QString &path) {
    try {
        const std::unique_ptr<Engine> book = OpenToRead(path);
        const std::unique_ptr<EngineStatement> count =
            book->Prepare(QStringLiteral("select count(*) from Usertbl"));
        return count->Step() ? int(count->Integer(0)) : -1;
    } catch (const EngineError &) {
        return -1;
    }
}
