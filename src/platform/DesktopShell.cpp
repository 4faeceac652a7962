#include "platform/DesktopShell.h"

#include <QStandardPaths>

QString GetSpecialFolder(int folderId) {
    if (folderId == DesktopFolderId)
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return {};
}
