#include "app/CommandManual.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

// Writes the manual page and the bash completion under the folder given (share/ of the build),
// where they are installed from.
int main(int argc, char *argv[]) {
    if (argc != 2) {
        std::fputs("usage: pellor3-manual SHARE-FOLDER\n", stderr);
        return 2;
    }
    const QDir share(QString::fromLocal8Bit(argv[1]));
    const struct {
        QString path;
        QString text;
    } outputs[] = {
        {QStringLiteral("man/man1/pellor3.1"), ManualPage(QStringLiteral(PELLOR3_VERSION))},
        {QStringLiteral("bash-completion/completions/pellor3"), BashCompletion()},
    };
    for (const auto &output : outputs) {
        const QString path = share.filePath(output.path);
        QSaveFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(output.text.toUtf8()) < 0 || !file.commit()) {
            std::fprintf(stderr, "pellor3-manual: %s\n", qPrintable(file.errorString()));
            return 1;
        }
    }
    return 0;
}
