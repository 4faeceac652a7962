#include "app/HeadlessCommand.h"

#include "app/DataFolder.h"
#include "platform/Installer.h"
#include "postal/PostalUpdate.h"
#include "print/HeadlessPrint.h"
#include "store/CustomerTable.h"
#include "store/TableEngine.h"

#include <cstdio>

namespace {
QByteArray ConsoleText(const QString &message) {
    QString text = message;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit();
}

int Fail(const QString &message) {
    std::fprintf(stderr, "pellor3: %s\n", ConsoleText(message).constData());
    return 1;
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
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    try {
        Database database;
        database.Open(DbPathOf(dataFolder));
        Query query(database);
        const QList<int> ids = CustomerIdsByReading(query);
        const int status =
            PrintAddressesToPdf(database, DataPathOf(dataFolder), ids, pdfPath, &error);
        return status == 0 ? 0 : Fail(error);
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
}

bool CheckAddressesRequested(const QStringList &arguments) {
    return arguments.contains(QStringLiteral("--check-addresses"));
}

int RunCheckAddressesCommand() {
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    try {
        Database database;
        database.Open(DbPathOf(dataFolder));
        Query query(database);
        QStringList problems;
        const int status = CheckAddressesHeadless(database, DataPathOf(dataFolder),
                                                  CustomerIdsByReading(query), &problems, &error);
        if (status == 1)
            return Fail(error);
        for (const QString &line : problems)
            std::printf("%s\n", ConsoleText(line).constData());
        return status;
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
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
    QString error;
    const QString dataFolder = Installer::EnsureInstalled(&error);
    if (dataFolder.isEmpty())
        return Fail(error);
    try {
        Database database;
        database.Open(DbPathOf(dataFolder));
        Query query(database);
        const QList<int> ids = CustomerIdsByReading(query);
        if (!PrintListToPdf(kind, database, DbPathOf(dataFolder), ids, pdfPath, &error))
            return Fail(error);
        return 0;
    } catch (const EngineError &e) {
        return Fail(e.message());
    }
}
