#include "platform/Installer.h"

#include "core/PrivateFolder.h"
#include "core/TextFile.h"
#include "platform/ProcessLock.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/UserFolders.h"
#include "platform/ZipData.h"
#include "store/CustomerTable.h"
#include "store/Schema.h"
#include "store/TableEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>
#include <zlib.h>

namespace Installer {

namespace {

QByteArray Shipped(const QString &name) {
    QFile file(ShippedDataFolder() + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// How long a start waits for another start to finish installing.
constexpr int InstallLockWaitMs = 60'000;

const QString ChooseHint =
    QStringLiteral("画面から起動して、顧客データのフォルダを選んでください。");

bool Deliver(const QString &path, const QByteArray &bytes, QString *error) {
    if (QFileInfo::exists(path))
        return true;
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("インストールデータが見つかりません: %1").arg(path);
        return false;
    }
    // The whole-file writer makes new files private to the user and names the file on failure.
    return TextFile::WriteFileAtomically(path, bytes, error);
}

// Builds the tables in a folder of its own beside the target and renames the file into place
// (over a broken one, if there is one), so neither a failure nor another start at the same
// moment leaves half a table file behind.
bool BuildDatabase(const QString &dbFolder, QString *error) {
    const QString finalPath = dbFolder + QString::fromLatin1(Database::FileName);
    QTemporaryDir build(dbFolder + QStringLiteral("build-XXXXXX"));
    if (!build.isValid()) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1\n%2")
                         .arg(build.path(), build.errorString());
        return false;
    }
    const QString builtPath = build.filePath(QString::fromLatin1(Database::FileName));
    try {
        Database database;
        database.Open(build.path(), true);
        Schema::CreateTables(database);
        database.Close();
    } catch (const EngineError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    if (!QFile::setPermissions(builtPath, PrivateFilePermissions) ||
        std::rename(QFile::encodeName(builtPath).constData(),
                    QFile::encodeName(finalPath).constData()) != 0) {
        if (error)
            *error = QStringLiteral("%1 を作成できません").arg(finalPath);
        return false;
    }
    return true;
}

bool CreateDatabase(const QString &dbFolder, QString *error) {
    if (QFileInfo::exists(dbFolder + QString::fromLatin1(Database::FileName)))
        return true;
    return BuildDatabase(dbFolder, error);
}

// A table file left without its tables (an installation broken off, an emptied file) is
// rebuilt when it holds no customer; one that does is left alone and reported, since
// rebuilding it would lose them.
bool RepairTables(const QString &dbFolder, QString *error) {
    const QString path = dbFolder + QString::fromLatin1(Database::FileName);
    if (!QFileInfo::exists(path))
        return true;
    QStringList missing;
    bool holdsCustomers = false;
    try {
        Database database;
        database.Open(dbFolder);
        for (const QString &table : Schema::TableNames())
            if (!database.GetEngine().HasTable(table))
                missing << table;
        if (missing.isEmpty())
            return true;
        if (!missing.contains(Schema::TableNames().first())) {
            Query userQuery(database);
            holdsCustomers = CountCustomers(userQuery) > 0;
        }
    } catch (const EngineError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    if (holdsCustomers) {
        if (error)
            *error = QStringLiteral("顧客データのファイルに表 %1 がありません。\n%2\n"
                                    "顧客データが入っているため作り直しません。"
                                    "バックアップから戻すか、このファイルを別の場所に保管して"
                                    "から起動し直してください。")
                         .arg(missing.join(QStringLiteral("、")), QDir::toNativeSeparators(path));
        return false;
    }
    return BuildDatabase(dbFolder, error);
}

QString DataTablePath(const QString &installFolder) {
    return installFolder + QStringLiteral("Data/DB/") + QString::fromLatin1(Database::FileName);
}

bool RecordFolder(const QString &folder, QString *error) {
    return Registry::WriteString(Registry::ProgramKey, QStringLiteral("DataFolder"), folder,
                                 error) &&
           Registry::WriteString(Registry::ProgramKey, QStringLiteral("CommonDataPath"), folder,
                                 error);
}

QString InstallAnew(QString *error) {
    const QString folder = DefaultInstallFolder();
    if (!LayOut(folder, error) || !RecordFolder(folder, error))
        return {};
    return folder;
}

// The registry is there but tells no data folder: installing a new book over it would hide
// the user's customers, so the user says where they are, or asks for a new installation.
QString AskForDataFolder(const QString &reason, QString *error) {
    const QString question =
        QStringLiteral("設定ファイルを読み込めませんでした。\n%1\n%2\n\n"
                       "顧客データのフォルダを選びますか？\n"
                       "「はい」: フォルダを選ぶ　「いいえ」: 新しくインストールする　"
                       "「キャンセル」: 終了する")
            .arg(QDir::toNativeSeparators(Registry::FilePath()), reason);
    for (;;) {
        switch (prompt().Ask(question)) {
        case Prompt::Answer::Cancel:
            if (error)
                error->clear();
            return {};
        case Prompt::Answer::No:
            return InstallAnew(error);
        case Prompt::Answer::Yes:
            break;
        }
        QString folder = prompt().ChooseFolder(QStringLiteral("顧客データのフォルダの選択"),
                                               DefaultInstallFolder());
        if (folder.isEmpty())
            continue;
        folder = QDir::cleanPath(folder) + u'/';
        // The data folder itself ("…/Data") is taken for the installation it belongs to.
        if (!QFileInfo::exists(DataTablePath(folder)) &&
            QFileInfo::exists(folder + QStringLiteral("DB/") +
                              QString::fromLatin1(Database::FileName)))
            folder = QDir::cleanPath(folder + QStringLiteral("..")) + u'/';
        if (!QFileInfo::exists(DataTablePath(folder))) {
            prompt().Error(QStringLiteral("選んだフォルダに顧客データがありません。\n%1")
                               .arg(QDir::toNativeSeparators(DataTablePath(folder))));
            continue;
        }
        return RecordFolder(folder, error) ? folder : QString();
    }
}

} // namespace

QString DefaultInstallFolder() {
    return UserDataFolder() + QStringLiteral("/pellor3/");
}

QString ShippedDataFolder() {
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/pellor3")) +
           QLatin1Char('/');
}

QByteArray Gunzip(const QByteArray &compressed) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    QByteArray out;
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        rc = inflate(&stream, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END)
            break;
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
    }
    inflateEnd(&stream);
    return rc == Z_STREAM_END ? out : QByteArray();
}

namespace {

// When this process started, from the kernel's count of clock ticks since boot.
QDateTime ProcessStartTime() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile system(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly) || !system.open(QIODevice::ReadOnly))
        return QDateTime::currentDateTime();
    // The fields after the command name, which is in parentheses and may hold spaces.
    const QByteArray fields = stat.readAll();
    const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
    const qint64 startTicks = after.value(19).toLongLong();
    qint64 bootSeconds = 0;
    for (const QByteArray &line : system.readAll().split('\n'))
        if (line.startsWith("btime "))
            bootSeconds = line.mid(6).trimmed().toLongLong();
    if (bootSeconds == 0)
        return QDateTime::currentDateTime();
    return QDateTime::fromMSecsSinceEpoch(bootSeconds * 1000 +
                                          startTicks * 1000 / ::sysconf(_SC_CLK_TCK));
}

} // namespace

void RemoveStaleTemporaries(const QString &installFolder) {
    const QDateTime started = ProcessStartTime();
    const QString data = installFolder + QStringLiteral("Data/");
    for (const QString &folder : {data, data + QStringLiteral("DB/"), data + QStringLiteral("zip/"),
                                  QFileInfo(Registry::FilePath()).absolutePath()})
        TextFile::RemoveStaleTemporaries(folder, started);
}

bool LayOut(const QString &installFolder, QString *error) {
    const QString data = installFolder + QStringLiteral("Data/");
    const QString db = data + QStringLiteral("DB/");
    return MakePrivateFolder(installFolder, error) && MakePrivateFolder(data, error) &&
           MakePrivateFolder(db, error) && MakePrivateFolder(db + QStringLiteral("img"), error) &&
           MakePrivateFolder(data + QStringLiteral("zip"), error) && CreateDatabase(db, error) &&
           Deliver(db + QStringLiteral("DBDWORK.INI"), QByteArrayLiteral("[DBDWORK]\r\n"), error) &&
           Deliver(db + QStringLiteral("usertbl.DM"), Shipped(QStringLiteral("usertbl.DM")),
                   error) &&
           Deliver(data + QStringLiteral("paper.cfg"), Shipped(QStringLiteral("paper.cfg")),
                   error) &&
           Deliver(ZipFilePath(data), Gunzip(Shipped(QStringLiteral("zip/zip.dat.gz"))), error) &&
           Deliver(data + QStringLiteral("zip/version.txt"),
                   Shipped(QStringLiteral("zip/version.txt")), error);
}

QString EnsureInstalled(QString *error, UnreadableRegistry whenUnreadable) {
    const QString configFolder = QFileInfo(Registry::FilePath()).absolutePath();
    if (!QFileInfo::exists(configFolder) && !MakePrivateFolder(configFolder, error))
        return {};
    // Held while this start runs, however long an install takes; gone when it ends.
    ProcessLock lock(configFolder + QStringLiteral("/install.lock"));
    if (!lock.TryLock(InstallLockWaitMs)) {
        if (error)
            *error = QStringLiteral("別の Brisko Pellor3 が準備を終えないため開始できません。\n%1")
                         .arg(QDir::toNativeSeparators(lock.FileName()));
        return {};
    }
    QString reason;
    switch (Registry::Examine(&reason)) {
    case Registry::FileState::Missing:
        return InstallAnew(error);
    case Registry::FileState::Read:
        break;
    case Registry::FileState::Unreadable:
        if (whenUnreadable == UnreadableRegistry::AskUser)
            return AskForDataFolder(reason, error);
        if (error)
            *error = QStringLiteral("設定ファイルを読み込めません: %1\n%2\n%3")
                         .arg(QDir::toNativeSeparators(Registry::FilePath()), reason, ChooseHint);
        return {};
    }
    const QString recorded =
        Registry::ReadString(Registry::ProgramKey, QStringLiteral("DataFolder"));
    if (recorded.isEmpty()) {
        reason = QStringLiteral("顧客データのフォルダが記録されていません。");
        if (whenUnreadable == UnreadableRegistry::AskUser)
            return AskForDataFolder(reason, error);
        if (error)
            *error = QStringLiteral("%1\n%2\n%3")
                         .arg(reason, QDir::toNativeSeparators(Registry::FilePath()), ChooseHint);
        return {};
    }
    if (!RepairTables(recorded + QStringLiteral("Data/DB/"), error))
        return {};
    return recorded;
}

} // namespace Installer
