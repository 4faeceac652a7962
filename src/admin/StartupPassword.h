#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The start-up password's two stores: the marker (line 12 of "usertbl.DM" in the table folder)
// says whether it is asked for, the registry value PASS of the key PASSWD holds it scrambled.

enum class PasswordMarker { On, Off, Unknown };

// The marker file of a table folder.
QString PasswordMarkerPath(const QString &dbPath);

// Reads the marker file; false with the message for the user when it is missing or shorter
// than twelve lines.
bool ReadMarkerLines(const QString &dbPath, QStringList &lines, QString *error);
PasswordMarker MarkerOf(const QStringList &lines);
// The delivered marker line in its "on" (8th character the digit zero) or "off" form.
QString MarkerLine(bool on);
// Replaces line 12 and writes the file through a temporary file; every other line is kept.
bool WriteMarker(const QString &dbPath, QStringList lines, bool on, QString *error);

// The registry text of a password: its scrambled Shift-JIS bytes as characters, except that
// bytes a settings line cannot carry (control bytes and "%") are written as "%" and two hex
// digits, so every password is stored whole.
QString StoredPasswordText(const QString &password);
QString PasswordFromStoredText(const QString &stored);

// Whether the registry can be read at all (a missing file reads as an empty key).
bool PasswordKeyReadable();
// The unscrambled PASS value; empty when none is stored.
QString ReadStoredPassword();
// Writes PASS (empty text for none); false when the registry cannot be written.
bool WriteStoredPassword(const QString &password);

// Whether `typed` is the stored password; a cross-mapped character counts in either form, as
// the settings page stores it in its code page 932 form.
bool PasswordMatches(const QString &typed, const QString &stored);

// Whether a start asks for the password. A marker that is missing, cut short or unreadable
// (`marker` nullopt or Unknown) asks as "on" does while a password is stored, so deleting or
// truncating the file does not open the book.
bool StartupAsksPassword(std::optional<PasswordMarker> marker);

// What the user is told when the password is on but none is stored.
QString TamperMessage();

// Whether the commands run without a window may open the book of `dbPath`: nothing when they
// may, otherwise the reason. With the start-up password on, `typedPassword` is asked for it.
std::optional<QString> HeadlessOpeningRefusal(const QString &dbPath,
                                              const std::function<QString()> &typedPassword);
