#pragma once

#include <QString>

class Database;

// What a fresh installation holds, laid out the first time the program starts.
namespace Installer {

// The default installation folder: the user's data folder + "pellor3/" (see UserFolders.h).
QString DefaultInstallFolder();

// Lays out an installation under `installFolder` (ending in "/"): Data/DB/pellor3.db with the
// four tables, Data/DB/DBDWORK.INI, Data/DB/usertbl.DM, Data/DB/img/, Data/zip/zip.dat,
// Data/zip/version.txt and Data/paper.cfg. Files that already exist are left as they are.
// The folders are private to the user (0700) and the new files too (0600).
// Returns false with the reason when the folder cannot be written; nothing half-written stays.
bool LayOut(const QString &installFolder, QString *error);

// What a start does when the registry is there but cannot be read or names no data folder:
// ask the user for the data folder (or a new installation), or fail with the reason.
enum class UnreadableRegistry { AskUser, Fail };

// Every start comes here first, under a lock shared by all starts of the user, so two first
// starts never build one installation together. Installs into the default folder when there
// is no registry yet, and records the location in the registry; a table file found without its
// tables is rebuilt when it holds no customer data, otherwise reported with its place.
// Returns the data folder location (DataFolder), or empty on failure (an empty `error` when
// the user chose to stop).
QString EnsureInstalled(QString *error,
                        UnreadableRegistry whenUnreadable = UnreadableRegistry::Fail);

// Removes the temporaries that starts and writes killed part-way left in the installation's
// folders and the settings folder, those older than this process (see
// TextFile::RemoveStaleTemporaries).
void RemoveStaleTemporaries(const QString &installFolder);

// The folder of the files a fresh installation is laid out from (paper.cfg, usertbl.DM, zip/),
// "share/pellor3/" beside the folder of the program: the same in the build folder and under any
// installation prefix.
QString ShippedDataFolder();

// Decompresses a gzip stream; empty on corrupt input.
QByteArray Gunzip(const QByteArray &compressed);

} // namespace Installer
