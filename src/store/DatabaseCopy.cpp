#include "store/DatabaseCopy.h"

#include "store/Schema.h"
#include "store/SqliteEngine.h"
#include "store/TableEngine.h"

void CopyOpenDatabase(Database &database, const QString &targetPath) {
    database.GetEngine().CopyTo(targetPath);
}

bool IsCustomerDatabase(const QString &path) {
    try {
        const std::unique_ptr<Engine> book =
            SqliteEngine::Open(path, SqliteEngine::OpenMode::ReadOnly);
        for (const QString &table : Schema::TableNames())
            if (!book->HasTable(table))
                return false;
        return book->IsIntact();
    } catch (const EngineError &) {
        return false;
    }
}
