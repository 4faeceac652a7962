#include "app/ListPrints.h"

#include "core/Clock.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "print/CustomerCardPrint.h"
#include "print/ListPrintCommon.h"
#include "print/PhoneListPrint.h"
#include "store/ClassTable.h"
#include "store/CustomerRecord.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"
#include "widgets/ProgressWindow.h"

#include <QPrinter>

namespace {

bool PrintList(ListPrintKind kind, QPrinter &printer, Query &classQuery, const QString &dbPath,
               const std::vector<CustomerRecord> &customers, QString *error,
               const PrintProgress &progress = {}) {
    if (kind == ListPrintKind::PhoneList)
        return PrintPhoneBook(printer, customers, error, progress);
    const PictureStorage pictures(classQuery.GetDatabase(), dbPath);
    const CardSources sources{ReadClassNamesById(classQuery, ClassAxis::First),
                              ReadClassNamesById(classQuery, ClassAxis::Second),
                              [&pictures](const QString &storedName) {
                                  return QImage::fromData(pictures.Read(storedName));
                              },
                              Clock::Today()};
    return PrintCustomerCards(printer, customers, sources, error, progress);
}

void PrintMarked(AppContext &context, QWidget *window, ListPrintKind kind,
                 const QString &nothingMarked) {
    try {
        const std::vector<CustomerRecord> customers = LoadCustomerRecords(
            context.SharedUserQuery(), context.ListedUserIds(), WhichCustomers::Marked);
        if (customers.empty()) {
            prompt().Message(nothingMarked);
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        if (!prompt().SetupPrinter(printer))
            return;
        QString error;
        bool printed = false;
        {
            ProgressWindow progress(QStringLiteral("印刷しています..."), QStringLiteral("印刷"),
                                    window, ProgressWindow::AfterAMoment);
            printed = PrintList(kind, printer, context.SharedClassQuery(), context.GetDbPath(),
                                customers, &error, progress.Reporter());
        }
        if (!printed && !error.isEmpty())
            prompt().Error(error);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
}

} // namespace

void PrintPhoneBook(AppContext &context, QWidget *window) {
    PrintMarked(context, window, ListPrintKind::PhoneList,
                QStringLiteral("印刷対照のデータがありません。"));
}

void BtnPrintChartClick(AppContext &context, QWidget *window) {
    PrintMarked(context, window, ListPrintKind::CustomerCards,
                QStringLiteral("印刷対象のデータがありません"));
}

bool PrintListToPdf(ListPrintKind kind, Database &database, const QString &dbPath,
                    const QList<int> &customerIds, const QString &pdfPath, QString *error) {
    Query userQuery(database);
    Query classQuery(database);
    const std::vector<CustomerRecord> customers =
        LoadCustomerRecords(userQuery, customerIds, WhichCustomers::Marked);
    if (customers.empty()) {
        *error = QStringLiteral("印刷対象のデータがありません");
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return PrintList(kind, printer, classQuery, dbPath, customers, error);
}
