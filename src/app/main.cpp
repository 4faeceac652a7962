#include "app/AppWindows.h"
#include "app/FormMain.h"
#include "platform/Installer.h"
#include "platform/Prompt.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pellor3"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brisko Pellor3"));

    SingleInstance instance(QStringLiteral("Adrova"));
    if (!instance.Acquire())
        return 0;

    QString error;
    if (Installer::EnsureInstalled(&error).isEmpty())
        prompt().Error(error);

    TFormMain FormMain;
    TAppWindows windows(FormMain);
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &FormMain, &TFormMain::Raise);
    FormMain.show();
    return app.exec();
}
