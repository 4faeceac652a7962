#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

class Database;

// Backups of the table folder: plain folders holding a copy of every file of the table folder
// except "usertbl.DM", and of its "img/". The database goes in as a consistent copy.
namespace Backup {

// Told before each file is copied: the files done and the files in all.
using Progress = std::function<void(int done, int total)>;

// The data folder's "Backup/".
QString Root(const QString &dataPath);
// "yyyymmdd" of a backup made by hand on `day`; "auto-yyyymmdd" of the one made at program end.
QString DayFolderName(const QDate &day);
QString AutoFolderName(const QDate &day);
// The entries of a backup root that the backup window lists, by name.
QStringList Entries(const QString &root);

// Writes a backup of the table folder `dbPath` into `target` (created when missing; a second
// backup into the same folder replaces files, files only in the older copy stay). Nothing of
// `target` changes unless every file was copied. False with the reason otherwise.
bool CopyToBackup(Database &database, const QString &dbPath, const QString &target, QString *error,
                  const Progress &progress = {});

// Copies the backup `source` over the table folder `dbPath`: files of the backup are added or
// replace the table folder's, other files and folders stay. The engine is closed meanwhile and
// reopened afterwards. A backup whose database is not a customer book is refused, and a failure at
// any step leaves the table folder as it was. False with the reason otherwise.
bool RestoreFromBackup(Database &database, const QString &source, const QString &dbPath,
                       QString *error, const Progress &progress = {});

// Puts right what a restore cut off by a power loss or a killed program left: the table folder
// moved aside is put back, its folders held in the working copy return, the copies go. False
// with the reason when something could not be put back (the copies then stay).
bool FinishCutOffRestore(const QString &dbPath, QString *error);

// Removes a backup entry of the root; false when something of it is left.
bool DeleteBackup(const QString &folder);

// Whether the program makes a backup at its end (section BACKUP of "conf.ini"; on unless
// switched off).
bool AutoBackupEnabled(const QString &dataPath);
bool SetAutoBackupEnabled(const QString &dataPath, bool enabled, QString *error);
inline constexpr int AutoBackupsKept = 7;
// At most once a day: the backup into "auto-yyyymmdd", then only the newest kept. True when
// there was nothing to do or it was done.
bool RunAutoBackup(Database &database, const QString &dataPath, const QString &dbPath,
                   const QDate &today, QString *error);

} // namespace Backup
