#include "admin/Backup.h"

#include "core/Clock.h"
#include "core/DiskSpace.h"

#include "admin/ServerBackup.h"
#include "core/IniFile.h"
#include "core/PrivateFolder.h"
#include "store/DatabaseCopy.h"
#include "store/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace Backup {

namespace {

const QString MarkerFileName = QStringLiteral("usertbl.DM");
const QString PictureFolder = QStringLiteral("img/");
const QString SettingsFolder = QStringLiteral("settings/");
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

enum class CopyResult { Done, SourceUnreadable, TargetFailed };

CopyResult CopyFileWhole(const QString &from, const QString &to, QString *error) {
    QFile::remove(to);
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 を読み込めません: %2").arg(from, in.errorString());
        return CopyResult::SourceUnreadable;
    }
    const auto writeFailure = [&](const QString &reason) {
        *error = NamedIfFull(to, QStringLiteral("%1 に書き込めません: %2").arg(to, reason));
        out.close();
        QFile::remove(to);
        return CopyResult::TargetFailed;
    };
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate, PrivateFilePermissions)) {
        *error = QStringLiteral("%1 を作成できません: %2").arg(to, out.errorString());
        return CopyResult::TargetFailed;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty() && in.error() != QFile::NoError) {
            *error = QStringLiteral("%1 を読み込めません: %2").arg(from, in.errorString());
            out.close();
            QFile::remove(to);
            return CopyResult::SourceUnreadable;
        }
        if (out.write(chunk) != chunk.size())
            return writeFailure(out.errorString());
    }
    // On the disk before the folders are swapped and the old copy goes: a power cut right after
    // a restore must not leave an empty book.
    if (!out.flush())
        return writeFailure(out.errorString());
    if (::fsync(out.handle()) != 0)
        return writeFailure(QString::fromLocal8Bit(std::strerror(errno)));
    out.close();
    return CopyResult::Done;
}

bool CopyNothing(const QString &) {
    return false;
}

// Counts the files of a whole copy for its progress.
class CopyRun {
public:
    // With `leftOut`, a file that cannot be read is named there and the copy goes on.
    CopyRun(const Progress &progress, int total, QStringList *leftOut = nullptr)
        : progress_(progress), total_(total), leftOut_(leftOut) {}

    // Copies the files of `from` (not its folders) into `to`, skipping the names `skip` refuses.
    // `shownAs` goes before a left-out name.
    template <typename Skip>
    bool CopyFiles(const QString &from, const QString &to, Skip skip, QString *error,
                   const QString &shownAs = {}) {
        for (const QString &name : FilesOf(from)) {
            if (skip(name))
                continue;
            if (progress_)
                progress_(done_++, total_);
            switch (CopyFileWhole(from + name, to + name, error)) {
            case CopyResult::Done:
                break;
            case CopyResult::SourceUnreadable:
                if (!leftOut_)
                    return false;
                *leftOut_ << shownAs + name;
                break;
            case CopyResult::TargetFailed:
                return false;
            }
        }
        return true;
    }

private:
    const Progress &progress_;
    int total_;
    QStringList *leftOut_;
    int done_ = 0;
};

int CountFiles(const QStringList &folders) {
    int count = 0;
    for (const QString &folder : folders)
        count += static_cast<int>(FilesOf(folder).size());
    return count;
}

// The sender data and print settings, the mail settings, the label sheets and mail templates.
bool IsSettingsFile(const QString &name) {
    const QString lower = name.toLower();
    return lower == QStringLiteral("conf.ini") || lower == QStringLiteral("config.ini") ||
           lower == QStringLiteral("paper.cfg") || lower.endsWith(QStringLiteral(".mtl"));
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

namespace {

struct KindName {
    Kind kind;
    const char *prefix;
    const char *text;
};

constexpr KindName KindNames[] = {{Kind::Manual, "", "手動"},
                                  {Kind::Automatic, "auto-", "自動"},
                                  {Kind::BeforeRestore, "restore-", "復元前"},
                                  {Kind::BeforeReset, "reset-", "初期化前"},
                                  {Kind::BeforeMerge, "merge-", "統合前"}};

const KindName &NameOf(Kind kind) {
    return *std::find_if(std::begin(KindNames), std::end(KindNames),
                         [kind](const KindName &name) { return name.kind == kind; });
}

const QString DayFormat = QStringLiteral("yyyyMMdd");
const QString TimeFormat = QStringLiteral("HHmmss");

QString Staging(const QString &target) {
    return Beside(target, QStringLiteral(".part"));
}

// A server book is restored from its dump only: a folder backup of a local book stays a
// local book's (--copy-book-to moves one to the server).
bool RestoreServerBook(Database &database, const QString &source, QString *error) {
    const QString dump = source + ServerBackup::DumpFileName;
    if (!ServerBackup::IsBookDump(dump)) {
        *error = QStringLiteral("%1 はサーバーの台帳のバックアップではありません。").arg(source);
        return false;
    }
    const QString uri = database.ServerUri();
    database.Close();
    const bool done = ServerBackup::Restore(uri, dump, error);
    try {
        database.OpenServer(uri);
    } catch (const EngineError &e) {
        *error = e.message();
        return false;
    }
    return done;
}

} // namespace

QString NewFolder(const QString &root, Kind kind, const QDateTime &now) {
    const QString name = QString::fromLatin1(NameOf(kind).prefix) + now.toString(DayFormat) + u'-' +
                         now.toString(TimeFormat);
    QString folder = root + name + u'/';
    for (int n = 2; QFileInfo::exists(WithoutSlash(folder)) || QFileInfo::exists(Staging(folder));
         ++n)
        folder = root + name + QStringLiteral("-%1/").arg(n);
    return folder;
}

Entry Describe(const QString &folder) {
    static const QRegularExpression pattern(
        QStringLiteral("^(auto-|restore-|reset-|merge-)?(\\d{8})(?:-(\\d{6}))?(?:-\\d+)?$"));
    Entry entry;
    entry.name = QFileInfo(WithoutSlash(folder)).fileName();
    const QString book = WithoutSlash(folder) + u'/' + DatabaseFileName();
    const QString dump = WithoutSlash(folder) + u'/' + ServerBackup::DumpFileName;
    if (const QRegularExpressionMatch match = pattern.match(entry.name); match.hasMatch()) {
        for (const KindName &name : KindNames)
            if (match.captured(1) == QLatin1String(name.prefix))
                entry.kind = name.kind;
        entry.timeKnown = match.hasCaptured(3);
        entry.made = QDateTime(QDate::fromString(match.captured(2), DayFormat),
                               entry.timeKnown ? QTime::fromString(match.captured(3), TimeFormat)
                                               : QTime(0, 0));
    } else if (QFileInfo(book).isFile()) {
        entry.made = QFileInfo(book).lastModified();
        entry.timeKnown = true;
    }
    if (QFileInfo(book).isFile())
        entry.customers = CountCustomers(book);
    else if (QFileInfo(dump).isFile())
        entry.customers = ServerBackup::DumpCustomers(dump);
    return entry;
}

QList<Entry> Entries(const QString &root) {
    QList<Entry> entries;
    for (const QString &name : QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        entries << Describe(root + name);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.made.isValid() != b.made.isValid())
            return a.made.isValid();
        return a.made != b.made ? a.made > b.made : a.name > b.name;
    });
    return entries;
}

QString KindText(Kind kind) {
    return QString::fromUtf8(NameOf(kind).text);
}

QString LeftOutText(const QStringList &leftOut) {
    return QStringLiteral(
               "次のファイルは読み込めなかったため、バックアップに含まれていません:\r\n") +
           leftOut.join(QStringLiteral("\r\n"));
}

QString MakeBackupInRoot(Database &database, const QString &dataPath, const QString &dbPath,
                         Kind kind, QStringList *leftOut, QString *error) {
    const QString root = Root(dataPath);
    const QString target = NewFolder(root, kind, Clock::Now());
    if (!MakePrivateFolder(root, error) ||
        !CopyToBackup(database, dataPath, dbPath, target, leftOut, error))
        return {};
    return QFileInfo(target.chopped(1)).fileName();
}

bool CopyToBackup(Database &database, const QString &dataPath, const QString &dbPath,
                  const QString &target, QStringList *leftOut, QString *error,
                  const Progress &progress) {
    if (QFileInfo::exists(WithoutSlash(target))) {
        *error = QStringLiteral("%1 は既にあります").arg(target);
        return false;
    }
    const QString staging = Staging(target);
    QDir(staging).removeRecursively();
    const auto fail = [&staging] {
        QDir(staging).removeRecursively();
        return false;
    };
    if (database.IsOpen() && database.IsOnServer()) {
        // The server's book, pictures included, is the dump; the local files are not the book.
        if (!MakePrivateFolder(staging + SettingsFolder, error) ||
            !ServerBackup::Dump(database.ServerUri(), staging + ServerBackup::DumpFileName, error))
            return fail();
        CopyRun run(progress, CountFiles({dataPath}), leftOut);
        const auto notSettings = [](const QString &name) { return !IsSettingsFile(name); };
        if (!run.CopyFiles(dataPath, staging + SettingsFolder, notSettings, error) ||
            !MoveReplacing(WithoutSlash(staging), WithoutSlash(target), error))
            return fail();
        return true;
    }
    if (!MakePrivateFolder(staging + PictureFolder, error) ||
        !MakePrivateFolder(staging + SettingsFolder, error) ||
        !MakePrivateFolder(dbPath + PictureFolder, error))
        return fail();
    // A book that could not be opened is copied as it lies.
    const bool copiedByEngine = database.IsOpen();
    if (copiedByEngine) {
        try {
            CopyOpenDatabase(database, staging + DatabaseFileName());
        } catch (const EngineError &e) {
            *error = NamedIfFull(staging, e.message());
            return fail();
        }
    }
    const auto skipped = [copiedByEngine](const QString &name) {
        return name == MarkerFileName || (copiedByEngine && name == DatabaseFileName()) ||
               IsEngineScratch(name);
    };
    const auto notSettings = [](const QString &name) { return !IsSettingsFile(name); };
    CopyRun run(progress, CountFiles({dbPath, dbPath + PictureFolder}), leftOut);
    if (!run.CopyFiles(dbPath, staging, skipped, error) ||
        !run.CopyFiles(dbPath + PictureFolder, staging + PictureFolder, CopyNothing, error,
                       PictureFolder) ||
        !run.CopyFiles(dataPath, staging + SettingsFolder, notSettings, error))
        return fail();
    // Complete: only now does the backup appear, in one rename.
    if (!MoveReplacing(WithoutSlash(staging), WithoutSlash(target), error))
        return fail();
    return true;
}

bool IsRestorable(const QString &source, QString *error) {
    const QString backupDatabase = source + DatabaseFileName();
    if ((QFileInfo(backupDatabase).isFile() && IsCustomerDatabase(backupDatabase)) ||
        ServerBackup::IsBookDump(source + ServerBackup::DumpFileName))
        return true;
    *error = QStringLiteral("%1 は顧客データのバックアップではありません。").arg(source);
    return false;
}

bool RestoreFromBackup(Database &database, const QString &source, const QString &dbPath,
                       QString *error, const Progress &progress) {
    if (database.IsOnServer())
        return RestoreServerBook(database, source, error);
    if (!IsRestorable(source, error) || !FinishCutOffRestore(dbPath, error))
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
    // What the backup replaces is never read: it may be the damaged file the user replaces.
    const auto noScratch = [](const QString &name) { return IsEngineScratch(name); };
    const QStringList backupFiles = FilesOf(source);
    const QSet<QString> replaced(backupFiles.begin(), backupFiles.end());
    const QStringList backupPictures = FilesOf(source + PictureFolder);
    const QSet<QString> replacedPictures(backupPictures.begin(), backupPictures.end());
    const auto replacedFile = [&replaced](const QString &name) {
        return IsEngineScratch(name) || replaced.contains(name);
    };
    const auto replacedPicture = [&replacedPictures](const QString &name) {
        return replacedPictures.contains(name);
    };
    CopyRun run(progress,
                CountFiles({dbPath, dbPath + PictureFolder, source, source + PictureFolder}));
    bool done =
        MakePrivateFolder(work + PictureFolder, error) &&
        run.CopyFiles(dbPath, work, replacedFile, error) &&
        run.CopyFiles(dbPath + PictureFolder, work + PictureFolder, replacedPicture, error) &&
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
    if (!done)
        *error = NamedIfFull(work, *error);
    // Working copies go only when the book stands complete in the table folder.
    QString ignored;
    if (done || MoveSubfolders(work, dbPath, &ignored))
        QDir(work).removeRecursively();
    if (done)
        QDir(previous).removeRecursively();
    // Also when the book replaced could not be opened: the restored one is opened now.
    if (wasOpen || done) {
        try {
            database.Open(dbPath);
        } catch (const EngineError &e) {
            *error = e.message();
            return false;
        }
    }
    return done;
}

bool HasSettings(const QString &source) {
    return !FilesOf(source + SettingsFolder).isEmpty();
}

bool RestoreSettings(const QString &source, const QString &dataPath, QString *error) {
    for (const QString &name : FilesOf(source + SettingsFolder)) {
        const QString temporary = dataPath + u'.' + name + QStringLiteral(".restore");
        if (CopyFileWhole(source + SettingsFolder + name, temporary, error) != CopyResult::Done ||
            !MoveReplacing(temporary, dataPath + name, error)) {
            QFile::remove(temporary);
            return false;
        }
    }
    return true;
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

void RemoveCutOffBackups(const QString &root) {
    for (const QString &staging :
         QDir(root).entryList({QStringLiteral(".*.part")}, QDir::Dirs | QDir::Hidden))
        QDir(root + staging).removeRecursively();
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
                   const QDateTime &now, QStringList *leftOut, QString *error) {
    const QString root = Root(dataPath);
    RemoveCutOffBackups(root);
    if (!AutoBackupEnabled(dataPath) || !database.IsOpen())
        return true;
    const auto automatic = [&root] {
        QStringList names =
            QDir(root).entryList({QString::fromLatin1(NameOf(Kind::Automatic).prefix) + u'*'},
                                 QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(names.begin(), names.end(), std::greater<>());
        return names;
    };
    const QString today =
        QString::fromLatin1(NameOf(Kind::Automatic).prefix) + now.toString(DayFormat);
    for (const QString &name : automatic())
        if (name == today || name.startsWith(today + u'-'))
            return true;
    if (!MakePrivateFolder(root, error) ||
        !CopyToBackup(database, dataPath, dbPath, NewFolder(root, Kind::Automatic, now), leftOut,
                      error))
        return false;
    // Checked before older ones go: a damaged book copied day after day must not push out the
    // last good backup.
    const QStringList names = automatic();
    qsizetype newestGood = -1;
    for (qsizetype i = 0; i < names.size() && newestGood < 0; ++i)
        if (IsCustomerDatabase(root + names[i] + u'/' + DatabaseFileName()) ||
            ServerBackup::IsBookDump(root + names[i] + u'/' + ServerBackup::DumpFileName))
            newestGood = i;
    for (qsizetype i = AutoBackupsKept; i < names.size(); ++i)
        if (i != newestGood)
            DeleteBackup(root + names[i]);
    if (newestGood != 0) {
        *error = newestGood < 0
                     ? QStringLiteral("作成したバックアップの顧客データが壊れています。")
                     : QStringLiteral("作成したバックアップの顧客データが壊れています。"
                                      "壊れていない最新のバックアップ %1 は残してあります。")
                           .arg(names[newestGood]);
        return false;
    }
    return true;
}

} // namespace Backup
