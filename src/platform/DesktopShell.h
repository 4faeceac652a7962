#pragma once

#include <QString>

// The desktop's shell: special folders.
constexpr int DesktopFolderId = 0;

// The path of a special folder (id 0 = the desktop, from the XDG user folders).
QString GetSpecialFolder(int folderId);

class QUrl;

// Hands a "mailto:" address to the desktop's mail program; when the desktop names none, or it
// cannot be started, the user is told so.
void OpenMailLink(const QUrl &mailto);
