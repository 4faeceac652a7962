#include "app/HeadlessCommand.h"

#include "app/FormMain.h"
#include "platform/Installer.h"
#include "print/HeadlessPrint.h"
#include "store/CustomerTable.h"
#include "store/TableEngine.h"

#include <cstdio>

namespace {
int Fail(const QString &message) {
    std::fprintf(stderr, "pellor3: %s\n", message.toLocal8Bit().constData());
    return 1;
}
} // namespace

std::optional<QString> PrintAddressesTarget(const QStringList &arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--print-addresses"));
    if (at < 0)
        return std::nullopt;
    return arguments.value(at + 1);
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
