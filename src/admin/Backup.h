#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Database;

// Backups of the table folder: plain folders holding a copy of every file of the table folder
// except "usertbl.DM", of its "img/", and in "settings/" of the settings files of the data
// folder. The database goes in as a consistent copy.
namespace Backup {

// Told before each file is copied: the files done and the files in all.
using Progress = std::function<void(int done, int total)>;

// Why a backup was made; each kind has its own folder name.
enum class Kind { Manual, Automatic, BeforeRestore, BeforeReset, BeforeMerge };

// A backup as the backup window lists it.
struct Entry {
    QString name; // the folder's name in the backup root
    Kind kind = Kind::Manual;
    QDateTime made;         // invalid when the name says nothing about it
    bool timeKnown = false; // older backups name only the day
    int customers = -1;     // -1 when the book cannot be read
};

// The data folder's "Backup/".
QString Root(const QString &dataPath);
// A new, unused folder of `root` for a backup of `kind` made `now` ("20240515-103000/",
// "auto-20240515-103000/", "restore-…", "reset-…"; "-2" … when one of that second exists).
QString NewFolder(const QString &root, Kind kind, const QDateTime &now);
// The backup in `folder`: kind and time from its name, from its book when the name has none.
Entry Describe(const QString &folder);
// The backups of a root, newest first (entries whose name gives no time last, by name).
QList<Entry> Entries(const QString &root);
// "手動", "自動", "復元前", "初期化前", "統合前".
QString KindText(Kind kind);

// Writes a backup of the table folder `dbPath` and the settings of `dataPath` into `target`,
// which must not exist yet; it appears only complete. A file of the table folder that cannot
// be read is left out, named in `leftOut`, and the rest is backed up. False with the reason
// when the backup could not be written. A closed book is copied as its file.
bool CopyToBackup(Database &database, const QString &dataPath, const QString &dbPath,
                  const QString &target, QStringList *leftOut, QString *error,
                  const Progress &progress = {});

// What the user is told about the files a backup left out.
QString LeftOutText(const QStringList &leftOut);

// A backup of `kind` made now in the data folder's backup root (made private when missing);
// the new folder's name, or empty with the reason.
QString MakeBackupInRoot(Database &database, const QString &dataPath, const QString &dbPath,
                         Kind kind, QStringList *leftOut, QString *error);

// Whether `source` holds a customer book that can be restored; false with the reason.
bool IsRestorable(const QString &source, QString *error);

// Copies the backup `source` over the table folder `dbPath`: files of the backup are added or
// replace the table folder's, other files and folders stay. The engine is closed meanwhile and
// the restored book opened afterwards. A backup whose database is not a customer book is
// refused, and a failure at any step leaves the table folder as it was. False with the reason
// otherwise.
bool RestoreFromBackup(Database &database, const QString &source, const QString &dbPath,
                       QString *error, const Progress &progress = {});

// Whether the backup `source` holds settings files, and putting them over those of the data
// folder, each file replaced whole. False with the reason at the first that fails.
bool HasSettings(const QString &source);
bool RestoreSettings(const QString &source, const QString &dataPath, QString *error);

// Puts right what a restore cut off by a power loss or a killed program left: the table folder
// moved aside is put back, its folders held in the working copy return, the copies go. False
// with the reason when something could not be put back (the copies then stay).
bool FinishCutOffRestore(const QString &dbPath, QString *error);
// Removes the unfinished copies that backups cut off the same way left in `root`.
void RemoveCutOffBackups(const QString &root);

// Removes a backup entry of the root; false when something of it is left.
bool DeleteBackup(const QString &folder);

// Whether the program makes a backup at its end (section BACKUP of "conf.ini"; on unless
// switched off).
bool AutoBackupEnabled(const QString &dataPath);
bool SetAutoBackupEnabled(const QString &dataPath, bool enabled, QString *error);
inline constexpr int AutoBackupsKept = 7;
// At most once a day: an automatic backup, checked, then only the newest kept, and never the
// newest one whose book reads undamaged. True when there was nothing to do or it was done;
// files left out are named in `leftOut`.
bool RunAutoBackup(Database &database, const QString &dataPath, const QString &dbPath,
                   const QDateTime &now, QStringList *leftOut, QString *error);

} // namespace Backup
