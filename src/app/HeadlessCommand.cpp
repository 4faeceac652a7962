#include "app/HeadlessCommand.h"

#include "admin/StartupPassword.h"
#include "app/DataFolder.h"
#include "platform/Installer.h"
#include "postal/PostalUpdate.h"
#include "print/HeadlessPrint.h"
#include "store/CustomerTable.h"
#include "store/TableEngine.h"

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {
QByteArray ConsoleText(const QString &message) {
    QString text = message;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit();
}

int Fail(const QString &message) {
    std::fprintf(stderr, "pellor3: %s\n", ConsoleText(message).constData());
    return 1;
}

// From a terminal the password is typed unseen; from a script it is the first line given.
QString ReadPassword() {
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        std::fputs(ConsoleText(QStringLiteral("パスワード: ")).constData(), stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios unseen = saved;
        unseen.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &unseen);
    }
    QByteArray line;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, stdin)) {
        line += buffer;
        if (line.endsWith('\n'))
            break;
    }
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputc('\n', stderr);
    }
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

// Installs the book when needed, asks for the start-up password when it is on, opens the book
// and runs `command` with the data folder and every
// customer's id in reading order; a refused statement ends the command with its message.
template <typename Command> int WithInstalledBook(Command command) {
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    if (const std::optional<QString> refusal =
            HeadlessOpeningRefusal(DbPathOf(dataFolder), ReadPassword))
        return Fail(*refusal);
    try {
        Database database;
        database.Open(DbPathOf(dataFolder));
        Query query(database);
        return command(database, dataFolder, CustomerIdsByReading(query));
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
}
} // namespace

std::optional<QString> OptionValue(const QStringList &arguments, const QString &option) {
    const qsizetype at = arguments.indexOf(option);
    if (at < 0)
        return std::nullopt;
    return arguments.value(at + 1);
}

std::optional<QString> PrintAddressesTarget(const QStringList &arguments) {
    return OptionValue(arguments, QStringLiteral("--print-addresses"));
}

int RunPrintAddressesCommand(const QString &pdfPath) {
    if (pdfPath.isEmpty())
        return Fail(QStringLiteral("使い方: pellor3 --print-addresses FILE.pdf"));
    return WithInstalledBook(
        [&](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QString error;
            return PrintAddressesToPdf(database, DataPathOf(dataFolder), ids, pdfPath, &error) == 0
                       ? 0
                       : Fail(error);
        });
}

bool CheckAddressesRequested(const QStringList &arguments) {
    return arguments.contains(QStringLiteral("--check-addresses"));
}

int RunCheckAddressesCommand() {
    return WithInstalledBook(
        [](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QStringList problems;
            QString error;
            const int status =
                CheckAddressesHeadless(database, DataPathOf(dataFolder), ids, &problems, &error);
            if (status == 1)
                return Fail(error);
            for (const QString &line : problems)
                std::printf("%s\n", ConsoleText(line).constData());
            return status;
        });
}

bool UpdatePostalDataRequested(const QStringList &arguments) {
    return arguments.contains(QStringLiteral("--update-postal-data"));
}

int RunUpdatePostalDataCommand() {
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    const UnattendedZipUpdate result = UpdatePostalDataUnattended(DataPathOf(dataFolder));
    if (!result.ok)
        return Fail(result.message);
    std::printf("%s\n", ConsoleText(result.message).constData());
    return 0;
}

int RunPrintListCommand(ListPrintKind kind, const QString &pdfPath) {
    if (pdfPath.isEmpty())
        return Fail(kind == ListPrintKind::PhoneList
                        ? QStringLiteral("使い方: pellor3 --print-phone-list FILE.pdf")
                        : QStringLiteral("使い方: pellor3 --print-cards FILE.pdf"));
    return WithInstalledBook(
        [&](Database &database, const QString &dataFolder, const QList<int> &ids) {
            QString error;
            return PrintListToPdf(kind, database, DbPathOf(dataFolder), ids, pdfPath, &error)
                       ? 0
                       : Fail(error);
        });
}
