#include "store/SchemaUpgrade.h"

#include "core/TextFile.h"
#include "store/CustomerColumns.h"
#include "store/TableEngine.h"

#include <QFile>

namespace {

QStringList MissingColumns(Database &database) {
    Query query(database, QStringLiteral("select * from Usertbl where 0 = 1"));
    query.Open();
    QStringList present;
    for (const QString &name : query.FieldNames())
        present << name.toLower();
    QStringList statements;
    for (const CustomerColumn &column : CustomerColumns())
        if (!present.contains(column.Name().toLower()))
            statements << QStringLiteral("ALTER TABLE Usertbl ADD %1 %2")
                              .arg(column.Name(), QString::fromLatin1(column.type));
    return statements;
}

} // namespace

QString RunSchemaUpgrade(Database &database, const QString &dataPath) {
    try {
        const QStringList additions = MissingColumns(database);
        if (!additions.isEmpty()) {
            Transaction transaction(database);
            Query query(database);
            for (const QString &statement : additions) {
                query.SetText(statement);
                query.Execute();
            }
            transaction.Commit();
        }
    } catch (const EngineError &error) {
        return QStringLiteral("顧客テーブルに足りない列を追加できませんでした。\n%1\n"
                              "ファイルを書き込めるか確かめてから、もう一度起動して下さい。\n\n%2")
            .arg(database.FilePath(), error.message());
    }
    const QString marker = dataPath + QStringLiteral("vDb.udb");
    QStringList lines;
    if (QFile::exists(marker) &&
        (!TextFile::ReadLines(marker, lines) || lines.value(0) == QStringLiteral("1.04")))
        QFile::remove(marker);
    return {};
}
