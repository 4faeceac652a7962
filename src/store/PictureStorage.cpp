#include "store/PictureStorage.h"

#include "core/PrivateFolder.h"
#include "core/TextFile.h"
#include "store/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// A copied picture keeps the source's read-only attribute; it must go before the file can be
// replaced or deleted.
void ClearReadOnly(const QString &path) {
    QFile file(path);
    if (file.exists())
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

// The customer and slot a stored name stands for; false for a name of another form.
bool KeyOf(const QString &storedName, int &userId, int &slot) {
    static const QRegularExpression form(QStringLiteral("^(\\d+)_([01])\\.bmp$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(storedName);
    if (!match.hasMatch())
        return false;
    userId = match.captured(1).toInt();
    slot = match.captured(2).toInt();
    return true;
}

} // namespace

PictureStorage::PictureStorage(Database &database, const QString &tableFolder)
    : database_(database), folder_(QDir(tableFolder).filePath(QStringLiteral("img")) + u'/') {}

QString PictureStorage::FileName(int userId, int slot) {
    return QStringLiteral("%1_%2.bmp").arg(userId).arg(slot);
}

bool PictureStorage::OnServer() const {
    return database_.IsOnServer();
}

QByteArray PictureStorage::Read(const QString &storedName) const {
    if (storedName.isEmpty())
        return {};
    if (!OnServer()) {
        QFile file(folder_ + storedName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int userId = 0;
    int slot = 0;
    if (!KeyOf(storedName, userId, slot))
        return {};
    Query query(database_, QStringLiteral("select Picture from Picturetbl where UserId = %1 and "
                                          "Slot = %2")
                               .arg(userId)
                               .arg(slot));
    query.Open();
    return query.AtEnd() ? QByteArray() : query.AsBytes(QStringLiteral("Picture"));
}

QString PictureStorage::Write(int userId, int slot, const QByteArray &bytes) {
    const QString name = FileName(userId, slot);
    if (OnServer()) {
        // One statement, so that it joins the caller's transaction (a copy of the whole book)
        // rather than opening, and committing, one of its own.
        Query insert(database_);
        insert.SetBytes(QStringLiteral(":PICTURE"), bytes);
        insert.Execute(QStringLiteral("insert into Picturetbl (UserId, Slot, Picture) values (%1, "
                                      "%2, :PICTURE) on conflict (UserId, Slot) do update set "
                                      "Picture = excluded.Picture")
                           .arg(userId)
                           .arg(slot));
        return name;
    }
    QString error;
    if (!MakePrivateFolder(folder_, &error))
        throw EngineError(QStringLiteral("画像フォルダを作成できませんでした。\r\n%1\r\n%2")
                              .arg(QDir::toNativeSeparators(folder_), error));
    ClearReadOnly(folder_ + name);
    if (!TextFile::WriteFileAtomically(folder_ + name, bytes, &error))
        throw EngineError(QStringLiteral("画像を保存できませんでした。\r\n%1").arg(error));
    return name;
}

void PictureStorage::Remove(int userId, int slot) {
    if (OnServer()) {
        Query(database_).Execute(
            QStringLiteral("delete from Picturetbl where UserId = %1 and Slot = %2")
                .arg(userId)
                .arg(slot));
        return;
    }
    const QString target = folder_ + FileName(userId, slot);
    QFile file(target);
    if (!file.exists())
        return;
    ClearReadOnly(target);
    if (!file.remove())
        throw EngineError(QStringLiteral("画像ファイルを削除できませんでした。\r\n%1\r\n%2")
                              .arg(QDir::toNativeSeparators(target), file.errorString()));
}

int PictureStorage::RemoveAll() {
    if (OnServer())
        return Query(database_).Execute(QStringLiteral("delete from Picturetbl"));
    int deleted = 0;
    for (const QFileInfo &file : QDir(folder_).entryInfoList(QDir::Files | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot))
        // The read-only attribute, whoever runs the program.
        if (file.permissions().testFlag(QFileDevice::WriteOwner) &&
            QFile::remove(file.absoluteFilePath()))
            ++deleted;
    return deleted;
}

void StorePicturesAsBytes(Database &database) {
    Engine &engine = database.GetEngine();
    if (engine.UserVersion() >= 3)
        return;
    Transaction transaction(database);
    // Engine statements: the program's dialect has no column conversion, and a local book never
    // kept pictures in the table.
    if (engine.Target() == SqlTarget::Postgres) {
        const std::unique_ptr<EngineStatement> type =
            engine.Prepare(QStringLiteral("select data_type from information_schema.columns where "
                                          "table_schema = current_schema() and table_name = "
                                          "'picturetbl' and column_name = 'picture'"));
        if (type->Step() && type->Text(0) == "text")
            engine
                .Prepare(QStringLiteral("ALTER TABLE picturetbl ALTER COLUMN Picture TYPE bytea "
                                        "USING decode(Picture, 'base64')"))
                ->Step();
    }
    engine.SetUserVersion(3);
    transaction.Commit();
}

void CreatePictureTable(Database &database) {
    if (database.GetEngine().HasTable(QStringLiteral("picturetbl")))
        return;
    Query(database).Execute(QStringLiteral("CREATE TABLE picturetbl (UserId INTEGER, Slot "
                                           "INTEGER, Picture BLOB, PRIMARY KEY (UserId, Slot))"));
}
