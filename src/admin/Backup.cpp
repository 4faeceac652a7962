#include "admin/Backup.h"

#include "core/IniFile.h"
#include "core/PrivateFolder.h"
#include "store/DatabaseCopy.h"
#include "store/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace Backup {

namespace {

const QString MarkerFileName = QStringLiteral("usertbl.DM");
const QString PictureFolder = QStringLiteral("img/");
const QString ConfSection = QStringLiteral("BACKUP");
const QString ConfKey = QStringLiteral("AutoBackup");

QString DatabaseFileName() {
    return QString::fromLatin1(Database::FileName);
}

// The engine's own files besides the database: never copied, the engine writes them itself.
bool IsEngineScratch(const QString &name) {
    return name.startsWith(DatabaseFileName() + u'-');
}

QString WithoutSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// A working folder beside `folder`, hidden from the backup list.
QString Beside(const QString &folder, const QString &suffix) {
    const QFileInfo info(WithoutSlash(folder));
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + suffix + u'/';
}

QStringList FilesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool CopyFileWhole(const QString &from, const QString &to, QString *error) {
    QFile::remove(to);
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 を読み込めません: %2").arg(from, in.errorString());
        return false;
    }
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate, PrivateFilePermissions)) {
        *error = QStringLiteral("%1 を作成できません: %2").arg(to, out.errorString());
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFile::NoError) {
            *error = QStringLiteral("%1 を読み込めません: %2").arg(from, in.errorString());
            return false;
        }
        if (out.write(chunk) != chunk.size()) {
            *error = QStringLiteral("%1 に書き込めません: %2").arg(to, out.errorString());
            return false;
        }
    }
    // On the disk before the folders are swapped and the old copy goes: a power cut right after
    // a restore must not leave an empty book.
    if (!out.flush()) {
        *error = QStringLiteral("%1 に書き込めません: %2").arg(to, out.errorString());
        return false;
    }
    if (::fsync(out.handle()) != 0) {
        *error = QStringLiteral("%1 に書き込めません: %2")
                     .arg(to, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    out.close();
    QFile::setPermissions(to, PrivateFilePermissions);
    return true;
}

bool CopyNothing(const QString &) {
    return false;
}

// Counts the files of a whole copy for its progress.
class CopyRun {
public:
    CopyRun(const Progress &progress, int total) : progress_(progress), total_(total) {}

    // Copies the files of `from` (not its folders) into `to`, skipping the names `skip` refuses.
    template <typename Skip>
    bool CopyFiles(const QString &from, const QString &to, Skip skip, QString *error) {
        for (const QString &name : FilesOf(from)) {
            if (skip(name))
                continue;
            if (progress_)
                progress_(done_++, total_);
            if (!CopyFileWhole(from + name, to + name, error))
                return false;
        }
        return true;
    }

private:
    const Progress &progress_;
    int total_;
    int done_ = 0;
};

int CountFiles(const QStringList &folders) {
    int count = 0;
    for (const QString &folder : folders)
        count += static_cast<int>(FilesOf(folder).size());
    return count;
}

bool MoveReplacing(const QString &from, const QString &to, QString *error) {
    std::error_code code;
    std::filesystem::rename(from.toStdString(), to.toStdString(), code);
    if (code) {
        *error = QStringLiteral("%1 を置き換えられません: %2")
                     .arg(to, QString::fromLocal8Bit(code.message()));
        return false;
    }
    return true;
}

// Moves the sub-folders of `from` and of its "img/" into `to`, whose own hold none but "img/".
// False at the first that cannot be moved.
bool MoveSubfolders(const QString &from, const QString &to, QString *error) {
    for (const QString &folder : {QString(), PictureFolder})
        for (const QString &name :
             QDir(from + folder)
                 .entryList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            if (!(folder.isEmpty() && name + u'/' == PictureFolder) &&
                !MoveReplacing(from + folder + name, to + folder + name, error))
                return false;
    return true;
}

} // namespace

QString Root(const QString &dataPath) {
    return dataPath + QStringLiteral("Backup/");
}

QString DayFolderName(const QDate &day) {
    return day.toString(QStringLiteral("yyyyMMdd"));
}

QString AutoFolderName(const QDate &day) {
    return QStringLiteral("auto-") + DayFolderName(day);
}

QStringList Entries(const QString &root) {
    return QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

bool CopyToBackup(Database &database, const QString &dbPath, const QString &target, QString *error,
                  const Progress &progress) {
    const QString staging = Beside(target, QStringLiteral(".part"));
    QDir(staging).removeRecursively();
    const auto fail = [&staging] {
        QDir(staging).removeRecursively();
        return false;
    };
    if (!MakePrivateFolder(staging + PictureFolder, error) ||
        !MakePrivateFolder(dbPath + PictureFolder, error))
        return fail();
    try {
        CopyOpenDatabase(database, staging + DatabaseFileName());
    } catch (const EngineError &e) {
        *error = e.message();
        return fail();
    }
    QFile::setPermissions(staging + DatabaseFileName(), PrivateFilePermissions);
    const auto skipped = [](const QString &name) {
        return name == MarkerFileName || name == DatabaseFileName() || IsEngineScratch(name);
    };
    CopyRun run(progress, CountFiles({dbPath, dbPath + PictureFolder}));
    if (!run.CopyFiles(dbPath, staging, skipped, error) ||
        !run.CopyFiles(dbPath + PictureFolder, staging + PictureFolder, CopyNothing, error))
        return fail();

    // Every file is copied: only now does the backup folder change, one rename per file.
    if (!MakePrivateFolder(target + PictureFolder, error))
        return fail();
    QFile::setPermissions(WithoutSlash(target), PrivateFolderPermissions);
    for (const QString &folder : {QString(), PictureFolder})
        for (const QString &name : FilesOf(staging + folder))
            if (!MoveReplacing(staging + folder + name, target + folder + name, error))
                return fail();
    QDir(staging).removeRecursively();
    return true;
}

bool RestoreFromBackup(Database &database, const QString &source, const QString &dbPath,
                       QString *error, const Progress &progress) {
    const QString backupDatabase = source + DatabaseFileName();
    if (!QFileInfo(backupDatabase).isFile() || !IsCustomerDatabase(backupDatabase)) {
        *error = QStringLiteral("%1 は顧客データのバックアップではありません。").arg(source);
        return false;
    }
    if (!FinishCutOffRestore(dbPath, error))
        return false;
    const QString work = Beside(dbPath, QStringLiteral(".restore"));
    const QString previous = Beside(dbPath, QStringLiteral(".previous"));

    const bool wasOpen = database.IsOpen();
    // A program still writing the old book would go on writing into a file that is gone.
    if (wasOpen) {
        try {
            database.WaitUntilUnused();
        } catch (const EngineError &e) {
            *error = e.message();
            return false;
        }
    }
    database.Close();
    const auto noScratch = [](const QString &name) { return IsEngineScratch(name); };
    CopyRun run(progress,
                CountFiles({dbPath, dbPath + PictureFolder, source, source + PictureFolder}));
    bool done = MakePrivateFolder(work + PictureFolder, error) &&
                run.CopyFiles(dbPath, work, CopyNothing, error) &&
                run.CopyFiles(dbPath + PictureFolder, work + PictureFolder, CopyNothing, error) &&
                run.CopyFiles(source, work, noScratch, error) &&
                run.CopyFiles(source + PictureFolder, work + PictureFolder, CopyNothing, error) &&
                MoveSubfolders(dbPath, work, error);
    if (done) {
        done = MoveReplacing(WithoutSlash(dbPath), WithoutSlash(previous), error);
        if (done && !MoveReplacing(WithoutSlash(work), WithoutSlash(dbPath), error)) {
            QString ignored;
            MoveReplacing(WithoutSlash(previous), WithoutSlash(dbPath), &ignored);
            done = false;
        }
    }
    // Working copies go only when the book stands complete in the table folder.
    QString ignored;
    if (done || MoveSubfolders(work, dbPath, &ignored))
        QDir(work).removeRecursively();
    if (done)
        QDir(previous).removeRecursively();
    if (wasOpen) {
        try {
            database.Open(dbPath);
        } catch (const EngineError &e) {
            *error = e.message();
            return false;
        }
    }
    return done;
}

bool FinishCutOffRestore(const QString &dbPath, QString *error) {
    const QString work = Beside(dbPath, QStringLiteral(".restore"));
    const QString previous = Beside(dbPath, QStringLiteral(".previous"));
    // Cut off between the two renames: the book stands beside its folder.
    if (!QFileInfo::exists(WithoutSlash(dbPath)) && QFileInfo::exists(WithoutSlash(previous)) &&
        !MoveReplacing(WithoutSlash(previous), WithoutSlash(dbPath), error))
        return false;
    // Cut off before them: the table folder's own folders wait in the working copy.
    if (QFileInfo::exists(WithoutSlash(work)) && !MoveSubfolders(work, dbPath, error))
        return false;
    QDir(work).removeRecursively();
    QDir(previous).removeRecursively();
    return true;
}

bool DeleteBackup(const QString &folder) {
    const QString path = WithoutSlash(folder);
    const QFileInfo entry(path);
    if (entry.isDir() && !entry.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
    const QFileInfo after(path);
    return !after.exists() && !after.isSymLink();
}

bool AutoBackupEnabled(const QString &dataPath) {
    IniFile ini(dataPath + QStringLiteral("conf.ini"));
    ini.Load();
    return ini.ReadBool(ConfSection, ConfKey, true);
}

bool SetAutoBackupEnabled(const QString &dataPath, bool enabled, QString *error) {
    IniFile ini(dataPath + QStringLiteral("conf.ini"));
    ini.Load();
    ini.WriteBool(ConfSection, ConfKey, enabled);
    return ini.Save(error);
}

bool RunAutoBackup(Database &database, const QString &dataPath, const QString &dbPath,
                   const QDate &today, QString *error) {
    const QString root = Root(dataPath);
    // A backup cut off by a power loss or a killed program leaves its staging copy behind.
    for (const QString &staging :
         QDir(root).entryList({QStringLiteral(".*.part")}, QDir::Dirs | QDir::Hidden))
        QDir(root + staging).removeRecursively();
    if (!AutoBackupEnabled(dataPath) || !database.IsOpen())
        return true;
    const QString target = root + AutoFolderName(today) + u'/';
    if (QFileInfo::exists(target))
        return true;
    if (!MakePrivateFolder(root, error) || !CopyToBackup(database, dbPath, target, error))
        return false;
    QStringList automatic = QDir(root).entryList({QStringLiteral("auto-*")},
                                                 QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(automatic.begin(), automatic.end(), std::greater<>());
    for (qsizetype i = AutoBackupsKept; i < automatic.size(); ++i)
        DeleteBackup(root + automatic[i]);
    return true;
}

} // namespace Backup
