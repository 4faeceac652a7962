#include "store/SchemaUpgrade.h"

#include "core/SqlText.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "store/ContactLinks.h"
#include "store/CustomerColumns.h"
#include "store/DistinctPairs.h"
#include "store/PictureStorage.h"
#include "store/Schema.h"
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

// Readings typed before the fields held half-width katakana (hiragana, full-width katakana)
// are converted once, so the reading tabs and the order find them; the book's user version
// records that it was done.
void ConvertStoredReadings(Database &database) {
    if (database.GetEngine().UserVersion() >= 1)
        return;
    Transaction transaction(database);
    Query rows(database, QStringLiteral("select UserId, Kana, OfficeKana from Usertbl"));
    QStringList updates;
    for (rows.Open(); !rows.AtEnd(); rows.Next()) {
        const QString kana = rows.AsString(QStringLiteral("Kana"));
        const QString officeKana = rows.AsString(QStringLiteral("OfficeKana"));
        const QString halfKana = ToHalfWidthKatakana(kana);
        const QString halfOfficeKana = ToHalfWidthKatakana(officeKana);
        if (halfKana != kana || halfOfficeKana != officeKana)
            updates << QStringLiteral(
                           "update Usertbl set Kana = %1, OfficeKana = %2 where UserId = %3")
                           .arg(QuoteSql(halfKana), QuoteSql(halfOfficeKana))
                           .arg(rows.AsInteger(QStringLiteral("UserId")));
    }
    rows.Close();
    Query update(database);
    for (const QString &statement : updates)
        update.Execute(statement);
    database.GetEngine().SetUserVersion(1);
    transaction.Commit();
}

// Imports once stored customers without classes or print flag, so the class filter missed them;
// they are given the first class and no mark, as the editor shows them, once.
void RepairUnsetClasses(Database &database) {
    if (database.GetEngine().UserVersion() >= 2)
        return;
    Transaction transaction(database);
    Query update(database);
    for (const char *column : {"Class", "Class2", "Print"})
        update.Execute(QStringLiteral("update Usertbl set %1 = 0 where %1 is null")
                           .arg(QLatin1String(column)));
    database.GetEngine().SetUserVersion(2);
    transaction.Commit();
}

} // namespace

QString RunSchemaUpgrade(Database &database, const QString &dataPath) {
    try {
        const QStringList additions = MissingColumns(database);
        if (!additions.isEmpty()) {
            Transaction transaction(database);
            Query query(database);
            for (const QString &statement : additions)
                query.Execute(statement);
            transaction.Commit();
        }
        if (!database.GetEngine().HasTable(QStringLiteral("greetingtbl"))) {
            Transaction transaction(database);
            Schema::CreateGreetingTable(database);
            transaction.Commit();
        }
        {
            Transaction transaction(database);
            Schema::AddRowVersions(database);
            transaction.Commit();
        }
        ConvertStoredReadings(database);
        RepairUnsetClasses(database);
        CreateDistinctPairTable(database);
        CreatePictureTable(database);
        StorePicturesAsBytes(database);
        CreateContactLinkTables(database);
    } catch (const EngineError &error) {
        return QStringLiteral("顧客テーブルを新しい形式にできませんでした。\n%1\n"
                              "ファイルを書き込めるか確かめてから、もう一度起動して下さい。\n\n%2")
            .arg(database.Location(), error.message());
    }
    const QString marker = dataPath + QStringLiteral("vDb.udb");
    QStringList lines;
    if (QFile::exists(marker) &&
        (!TextFile::ReadLines(marker, lines) || lines.value(0) == QStringLiteral("1.04")))
        QFile::remove(marker);
    return {};
}
