#include "store/SchemaUpgrade.h"

#include "core/TextFile.h"
#include "store/TableEngine.h"

#include <QFile>

void RunSchemaUpgrade(Database &database, const QString &dataPath) {
    const QString marker = dataPath + QStringLiteral("vDb.udb");
    if (!QFile::exists(marker))
        return;
    QStringList lines;
    if (!TextFile::ReadLines(marker, lines)) {
        QFile::remove(marker);
        return;
    }
    if (lines.value(0) != QStringLiteral("1.04"))
        return;
    static const QStringList statements = {
        QStringLiteral("ALTER TABLE Usertbl ADD CheckRen1 INTEGER, ADD CheckRen2 INTEGER, ADD "
                       "CheckRen3 INTEGER, ADD CheckRen4 INTEGER;"),
        QStringLiteral("ALTER TABLE Usertbl ADD Renmei1 varchar(100), ADD RenNameTitle1 "
                       "varchar(100), ADD Renmei2 varchar(100), ADD RenNameTitle2 varchar(100), "
                       "ADD Renmei3 varchar(100), ADD RenNameTitle3 varchar(100), ADD Renmei4 "
                       "varchar(100), ADD RenNameTitle4 varchar(100);"),
        QStringLiteral("ALTER TABLE Usertbl ADD Sashikomi1 varchar(100), ADD Sashikomi2 "
                       "varchar(100), ADD Sashikomi3 varchar(100), ADD Sashikomi4 varchar(100);"),
    };
    try {
        Query query(database);
        for (const QString &statement : statements) {
            query.SetText(statement);
            query.Execute();
        }
        query.Close();
    } catch (const EngineError &) {
        // An already upgraded table refuses the first statement; the marker has done its job.
    }
    QFile::remove(marker);
}
