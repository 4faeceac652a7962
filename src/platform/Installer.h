#pragma once

#include <QString>

class Database;

// What a fresh installation holds, laid out the first time the program starts.
namespace Installer {

// The default installation folder: $XDG_DATA_HOME/pellor3/ (ends in "/").
QString DefaultInstallFolder();

// Lays out an installation under `installFolder` (ending in "/"): Data/DB/pellor3.db with the
// four tables, Data/DB/DBDWORK.INI, Data/DB/usertbl.DM, Data/DB/img/, Data/zip/zip.dat,
// Data/zip/version.txt and Data/paper.cfg. Files that already exist are left as they are.
// Returns false with the reason when the folder cannot be written; nothing half-written stays.
bool LayOut(const QString &installFolder, QString *error);

// Installs into the default folder when the registry names no data folder, and records the
// location in the registry. Returns the data folder location (DataFolder), or empty on failure.
QString EnsureInstalled(QString *error);

// Decompresses a gzip stream; empty on corrupt input.
QByteArray Gunzip(const QByteArray &compressed);

} // namespace Installer
