#include "platform/DesktopShell.h"

#include "platform/Prompt.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// xdg-open starts even when no program takes mail, so the desktop's own choice is asked first.
bool DesktopHasMailProgram() {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/mailto")});
    if (!process.waitForFinished(5000))
        return true;
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QString GetSpecialFolder(int folderId) {
    if (folderId == DesktopFolderId)
        return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return {};
}

void OpenMailLink(const QUrl &mailto) {
    if (DesktopHasMailProgram() && QDesktopServices::openUrl(mailto))
        return;
    prompt().Message(QStringLiteral("メールソフトを起動できませんでした。\r\nデスクトップの設定で"
                                    "メールを扱うプログラムを選んでから、もう一度お試し下さい。"));
}
