#pragma once

#include <QString>

// The desktop's shell: special folders.
constexpr int DesktopFolderId = 0;

// The path of a special folder (id 0 = the desktop, from the XDG user folders).
QString GetSpecialFolder(int folderId);
