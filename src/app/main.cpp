#include "admin/FormBookServer.h"
#include "app/AppWindows.h"
#include "app/FormMain.h"
#include "app/HeadlessCommand.h"
#include "platform/Installer.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (commandLine.command != Command::OpenWindow)
        return RunCommand(commandLine, argc, argv);

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("pellor3: 画面を開けません。デスクトップのセッションから起動して下さい。\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pellor3"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brisko Pellor3"));
    QApplication::setDesktopFileName(QStringLiteral("jp.brisko.Pellor3"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pellor3.png")));

    // The program is Japanese whatever the desktop's language: calendars start on Sunday and Qt's
    // own dialogs (printing, files, folder names and file types) speak Japanese.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTranslator qtTranslations;
    if (qtTranslations.load(QStringLiteral("qtbase_ja"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    SingleInstance instance(QStringLiteral("Adrova"));
    if (!instance.Acquire())
        return 0;

    const bool firstStart = Registry::Examine() == Registry::FileState::Missing;
    QString error;
    const QString installFolder =
        Installer::EnsureInstalled(&error, Installer::UnreadableRegistry::AskUser);
    if (installFolder.isEmpty()) {
        // Without its tables the window could only show errors; the user chose to stop if
        // there is no reason.
        if (error.isEmpty())
            return 0;
        prompt().Error(error);
        return 1;
    }
    if (firstStart)
        ChooseBookPlace([] { return TFormBookServer().exec() == QDialog::Accepted; });
    // Only the one window copy clears them: a command running beside it may be writing its own.
    Installer::RemoveStaleTemporaries(installFolder);

    TFormMain FormMain;
    TAppWindows windows(FormMain);
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &FormMain, &TFormMain::Raise);
    FormMain.show();
    return app.exec();
}
