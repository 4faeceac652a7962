#include "Bench.h"
#include "BenchBook.h"

#include "core/IniFile.h"
#include "print/HeadlessPrint.h"
#include "print/PrintList.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"
#include "store/CustomerTable.h"
#include "store/Engine.h"
#include "store/TableEngine.h"

#include <QFile>

namespace {

constexpr int kPostcards = 1000;

// Marked customers in a fresh book, every fourth at its company with a joint name.
QList<int> AddMarkedCustomers(TestEnv &env) {
    QList<int> ids;
    Transaction transaction(env.db());
    for (int i = 0; i < kPostcards; ++i) {
        const int id =
            env.AddCustomer(QStringLiteral("山田　太郎%1").arg(i),
                            QStringLiteral("ﾔﾏﾀﾞ%1").arg(i, 4, 10, QLatin1Char('0')), true);
        env.Run(QStringLiteral("update Usertbl set Zip='263-0023', "
                               "Address1='千葉県千葉市稲毛区緑町3丁目%1-8', "
                               "Address2='郵便ビル403号', Office='株式会社ブリスコ商事', "
                               "OfficeZip='110-0016', OfficeAddress1='東京都台東区台東5-6-3', "
                               "OfficePost='営業部', OfficeExecutive='部長', UseType=%2, "
                               "PrintCtrl=3, CheckRen1=1, Renmei1='山田　花子', "
                               "RenNameTitle1='様' where UserId=%3")
                    .arg(i % 40 + 1)
                    .arg(i % 4 == 3 ? 1 : 0)
                    .arg(id));
        ids << id;
    }
    transaction.Commit();
    return ids;
}

void StoreVerticalPostcardChoices(TestEnv &env) {
    IniFile ini(SenderConfPath(env.dataPath()));
    ini.Load();
    PrintSettings settings;
    settings.Vertical = true;
    settings.PrintSender = true;
    settings.PrintCostom = true;
    WritePrintSettings(ini, settings);
    TSenderBuff sender;
    sender.Name = QStringLiteral("鈴木　一郎");
    sender.ZipCode = QStringLiteral("100-0001");
    sender.Zip1 = QStringLiteral("東京都千代田区千代田1-1");
    sender.Tel = QStringLiteral("03-1234-5678");
    sender.TelCheck = true;
    sender.OfficeName = QStringLiteral("ブリスコ株式会社");
    sender.OfficeCheck = true;
    WriteSenderData(ini, sender, {});
    ini.Save();
}

// Every column of the marked rows, read as the engine hands them out.
void SelectMarkedRows(Engine &engine) {
    const std::unique_ptr<EngineStatement> select =
        engine.Prepare("select * from Usertbl where Print = 1");
    qint64 bytes = 0;
    while (select->Step())
        for (int i = 0; i < select->ColumnCount(); ++i)
            bytes += select->Text(i).size() + (select->Text(i).isNull() ? 0 : 1);
    if (bytes == 0)
        std::abort();
}

double SelectMarkedMs(int step) {
    Book &book = TheBook();
    MarkEvery(book, step);
    const double ms = MedianMs(5, [&book] { SelectMarkedRows(book.env.db().GetEngine()); });
    MarkEvery(book, 2);
    return ms;
}

// The address print of `--print-addresses`, from reading the customers in reading order to
// the finished file, with the customers whose UserId is a multiple of `step` marked; with
// `onlyMarked` the list holds just those, so hardly anything but composing is left.
double PrintAddressesMs(int step, bool onlyMarked) {
    Book &book = TheBook();
    StoreVerticalPostcardChoices(book.env);
    MarkEvery(book, step);
    const QString path = book.env.root() + QStringLiteral("addresses.pdf");
    int status = 0;
    const double ms = MedianMs(3, [&] {
        Query query(book.env.db());
        QList<int> ids = CustomerIdsByReading(query);
        if (onlyMarked)
            ids.removeIf([step](int id) { return id % step != 0; });
        QString error;
        status |= PrintAddressesToPdf(book.env.db(), book.env.dataPath(), ids, path, &error);
    });
    MarkEvery(book, 2);
    return status == 0 ? ms : -1;
}

} // namespace

PELLOR3_BENCH_FIGURE(PrintAddresses10Of100000, "print_addresses_10_of_100000_ms", "ms") {
    return PrintAddressesMs(Book::Size / 10, false);
}

PELLOR3_BENCH_FIGURE(SqliteSelect10Marked, "sqlite_select_10_marked_ms", "ms") {
    return SelectMarkedMs(Book::Size / 10);
}

PELLOR3_BENCH_FIGURE(Compose10Faces, "compose_10_faces_ms", "ms") {
    return PrintAddressesMs(Book::Size / 10, true);
}

// The print window's list as it opens, without the window.
PELLOR3_BENCH_FIGURE(PrintWindowList1000Of100000, "print_window_list_1000_of_100000_ms", "ms") {
    Book &book = TheBook();
    MarkEvery(book, Book::Size / 1000);
    const std::vector<int> listed = book.window->ListedUserIds();
    const QList<int> ids(listed.begin(), listed.end());
    int rows = 0;
    const double ms = MedianMs(5, [&] {
        PrintListModel model;
        model.SetRows(FillPrintList(book.env.db(), ids));
        rows = model.rowCount();
    });
    MarkEvery(book, 2);
    return rows == 1000 ? ms : -1;
}

PELLOR3_BENCH_FIGURE(SqliteSelect1000Marked, "sqlite_select_1000_marked_ms", "ms") {
    return SelectMarkedMs(Book::Size / 1000);
}

// The national postal data of the installation is read for the barcodes within the figure.
PELLOR3_BENCH_FIGURE(Print1000Postcards, "print_1000_postcards_pdf_ms", "ms") {
    TestEnv env;
    StoreVerticalPostcardChoices(env);
    const QList<int> ids = AddMarkedCustomers(env);
    const QString path = env.root() + QStringLiteral("postcards.pdf");
    QString error;
    int status = 0;
    const double ms = ElapsedMs(
        [&] { status = PrintAddressesToPdf(env.db(), env.dataPath(), ids, path, &error); });
    if (qEnvironmentVariableIsSet("PELLOR3_BENCH_KEEP_PDF"))
        QFile::copy(path, qEnvironmentVariable("PELLOR3_BENCH_KEEP_PDF"));
    return status == 0 ? ms : -1;
}
