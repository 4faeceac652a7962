#pragma once

#include <QString>

// The registry of the program's settings outside the data folder: an INI file (UTF-8) at
// $PELLOR3_REGISTRY, or $XDG_CONFIG_HOME/pellor3/registry.ini. Sections are key paths.
namespace Registry {

inline const QString ProgramKey = QStringLiteral("Software\\Orvane\\Pellor3");
inline const QString PasswordKey = QStringLiteral("Software\\Orvane\\Pellor3\\PASSWD");

QString FilePath();

// What is found where the registry belongs: no file yet (a first start), a file that was read,
// or a file that is there but could not be read (the reason in `error`).
enum class FileState { Missing, Read, Unreadable };
FileState Examine(QString *error = nullptr);

// An unreadable or missing file reads as missing values (empty text).
QString ReadString(const QString &key, const QString &name);
// Writes one value, keeping all others; the file is private to the user (mode 0600).
bool WriteString(const QString &key, const QString &name, const QString &value,
                 QString *error = nullptr);

} // namespace Registry
