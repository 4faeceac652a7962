#pragma once

#include <QFile>
#include <QString>

// The folders that hold the customer book, its settings and its backups are the user's alone.
inline constexpr QFile::Permissions PrivateFolderPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
inline constexpr QFile::Permissions PrivateFilePermissions = QFile::ReadOwner | QFile::WriteOwner;

// Makes the folder (and any missing above it) and makes it private to the user where the drive
// keeps owner rights; false, with "フォルダを作成できません: <path>", when it cannot be made.
bool MakePrivateFolder(const QString &path, QString *error = nullptr);
