#pragma once

#include <QString>

class IniFile;

// A password of a "Config.ini" section (SMTP, POP3, CARDDAV), kept like every password of the
// settings: in the desktop's keyring where one answers, otherwise in the section's PASSWORD
// key as scrambled Shift-JIS bytes in uppercase hex pairs.

QString EncodeStoredPassword(const QString &password);
QString DecodeStoredPassword(const QString &stored);

// A password still in the file (written before the keyring, or without one) wins over the
// keyring's until the next save moves it there.
QString ReadSettingsPassword(const QString &dataPath, const IniFile &ini, const QString &section);
// True when the keyring took the password; the section's PASSWORD is then written empty,
// otherwise EncodeStoredPassword's, and `ini` saved with SaveSettingsPrivately.
bool KeepPasswordInKeyring(const QString &dataPath, const QString &section,
                           const QString &password);
// Saves the file readable by its owner only, since it may hold passwords.
bool SaveSettingsPrivately(IniFile &ini, QString *error);
