#include "Bench.h"
#include "BenchBook.h"

#include "../tests/common/TestContext.h"
#include "core/ShiftJis.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/HeadlessExchange.h"
#include "platform/AppContext.h"
#include "store/ExchangeColumns.h"

#include <QFile>
#include <memory>

namespace {

constexpr int FileLines = 100000;

// A fresh book listing every customer it holds.
using BenchContext = OwningTestContext;

// The import file: twelve columns as a spreadsheet writes them, a quoted comma included.
const QString &ImportFilePath() {
    static const QString path = [] {
        static TestEnv files;
        QString text;
        for (int i = 0; i < FileLines; ++i)
            text += QStringLiteral("顧客 %1,こきゃく,様,100-0001,東京都千代田区千代田1-1,"
                                   "\"ビル 1,2階\",03-1234-5678,,user%1@example.jp,"
                                   "株式会社サンプル,1980/4/1,備考 %1\r\n")
                        .arg(i);
        const QString file = files.root() + QStringLiteral("import.csv");
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(ShiftJis::Encode(text));
        return file;
    }();
    return path;
}

const QStringList Assignments{"名前",   "ﾌﾘｶﾞﾅ",  "敬称",     "郵便番号", "住所１",   "住所２",
                              "電話１", "電話２", "メール１", "会社名",   "生年月日", "備考"};

ImportPlan ReadPlan() {
    QString error;
    const std::optional<ImportFile> file = ReadImportFile(ImportFilePath(), error);
    return BuildImportPlan(*file, Assignments);
}

ExportOptions EveryColumn() {
    ExportOptions options;
    options.ticked.assign(ExportColumns().size(), true);
    options.header = true;
    return options;
}

void ImportEveryLine(TestEnv &env) {
    InsertImportRows(env.db(), ReadPlan(), env.prompt(), [](int, int) { return true; });
}

std::vector<int> ListedIds(Database &database) {
    std::vector<int> listed;
    Query ids(database, QStringLiteral("select UserId from Usertbl order by Kana"));
    for (ids.Open(); !ids.AtEnd(); ids.Next())
        listed.push_back(ids.AsInteger(QStringLiteral("UserId")));
    return listed;
}

// The book the import figure filled, kept for the export figures.
std::unique_ptr<BenchContext> importedBook;

BenchContext &ImportedBook() {
    if (!importedBook) {
        importedBook = std::make_unique<BenchContext>();
        ImportEveryLine(importedBook->env);
    }
    importedBook->listed = ListedIds(importedBook->env.db());
    return *importedBook;
}

// The same on the server.
std::unique_ptr<TestEnv> serverImportedBook;

TestEnv &ServerImportedBook() {
    if (!serverImportedBook) {
        serverImportedBook = std::make_unique<TestEnv>(SqlTarget::Postgres);
        ImportEveryLine(*serverImportedBook);
    }
    return *serverImportedBook;
}

PGconn *ServerConnection(TestEnv &env) {
    return static_cast<PostgresEngine &>(env.db().GetEngine()).Connection();
}

// The statement an import runs per line, its parameters written as `marks` are.
QString ImportInsert(const QStringList &marks) {
    QStringList columns;
    for (const ImportField &field : ImportFields())
        columns << field.Column();
    return QStringLiteral("insert into usertbl(%1)values(%2)")
        .arg(columns.join(u','), marks.join(u','));
}

// The columns an export reads, the key first.
QString ExportSelect() {
    QStringList columns{QStringLiteral("UserId")};
    for (const ExportColumn &column : ExportColumns())
        columns << column.Column();
    return QStringLiteral("select %1 from Usertbl").arg(columns.join(u','));
}

void WriteEveryColumn(Database &database, const std::vector<int> &listed, const QString &path) {
    const std::optional<QByteArray> bytes =
        BuildCsvExport(database, listed, EveryColumn(), [](int, int) { return true; });
    WriteExportFile(path, *bytes);
}

} // namespace

PELLOR3_BENCH_FIGURE(CsvImport100000, "csv_import_100000_ms", "ms") {
    ImportFilePath();
    importedBook = std::make_unique<BenchContext>();
    BenchContext &book = *importedBook;
    return ElapsedMs([&book] { ImportEveryLine(book.env); });
}

PELLOR3_BENCH_FIGURE(ServerCsvImport100000, "server_csv_import_100000_ms", "ms") {
    if (TestServerUri().isEmpty())
        return NotMeasured();
    ImportFilePath();
    serverImportedBook = std::make_unique<TestEnv>(SqlTarget::Postgres);
    TestEnv &book = *serverImportedBook;
    return ElapsedMs([&book] { ImportEveryLine(book); });
}

// One prepared insert per line in one transaction, every empty field NULL as the import stores it.
PELLOR3_BENCH_FIGURE(ServerInsert100000, "server_bare_insert_100000_ms", "ms") {
    if (TestServerUri().isEmpty())
        return NotMeasured();
    const ImportPlan plan = ReadPlan();
    TestEnv book(SqlTarget::Postgres);
    PGconn *conn = ServerConnection(book);
    QStringList marks;
    for (size_t i = 1; i <= ImportFields().size(); ++i)
        marks << u'$' + QString::number(i);
    return ElapsedMs([&] {
        BareStatement insert(conn, ImportInsert(marks).toUtf8(), int(marks.size()));
        BareControl(conn, "BEGIN");
        for (const QStringList &row : plan.rows) {
            QList<QByteArray> values;
            for (const QString &value : row)
                values << (value.isEmpty() ? QByteArray() : value.toUtf8());
            insert.Run(values);
        }
        BareControl(conn, "COMMIT");
    });
}

// Every line needs a reading conversion, a postal code normalisation and a date in the
// Japanese era; the figure is held to three times the bare insert.
PELLOR3_BENCH_FIGURE(CsvImportConverted100000, "csv_import_converted_100000_ms", "ms") {
    static TestEnv files;
    QString text = QStringLiteral("名前,ふりがな,〒,住所,誕生日\r\n");
    for (int i = 0; i < FileLines; ++i)
        text += QStringLiteral("顧客 %1,こきゃく たろう,１００ ０００１,東京都千代田区,"
                               "昭和55年4月%2日\r\n")
                    .arg(i)
                    .arg(i % 28 + 1);
    const QString path = files.root() + QStringLiteral("converted.csv");
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(ShiftJis::Encode(text));
    out.close();
    BenchContext book;
    return ElapsedMs([&book, &path] {
        QString error;
        const std::optional<ImportFile> file = ReadImportFile(path, error);
        const ImportPlan plan = BuildImportPlan(
            *file, *HeaderAssignments(SampleFields(file->lines.value(0), file->separator)),
            {true, {}, {}});
        InsertImportRows(book.env.db(), plan, book.env.prompt(), [](int, int) { return true; });
    });
}

PELLOR3_BENCH_FIGURE(SqliteInsert100000, "sqlite_insert_100000_ms", "ms") {
    const ImportPlan plan = ReadPlan();
    BenchContext book;
    Database &db = book.env.db();
    const QString statement = ImportInsert(QStringList(qsizetype(ImportFields().size()), "?"));
    return ElapsedMs([&] {
        Transaction transaction(db);
        const std::unique_ptr<EngineStatement> insert = db.GetEngine().Prepare(statement);
        for (const QStringList &row : plan.rows) {
            for (int i = 0; i < row.size(); ++i)
                insert->BindText(i + 1, row[i].toUtf8());
            insert->Step();
            insert->Reset();
        }
        transaction.Commit();
    });
}

PELLOR3_BENCH_FIGURE(CsvExport100000, "csv_export_100000_ms", "ms") {
    BenchContext &book = ImportedBook();
    const QString path = book.env.root() + QStringLiteral("export.csv");
    return MedianMs(
        3, [&book, &path] { WriteEveryColumn(book.GetDatabase(), book.ListedUserIds(), path); });
}

PELLOR3_BENCH_FIGURE(ServerCsvExport100000, "server_csv_export_100000_ms", "ms") {
    if (TestServerUri().isEmpty())
        return NotMeasured();
    TestEnv &book = ServerImportedBook();
    const std::vector<int> listed = ListedIds(book.db());
    const QString path = book.root() + QStringLiteral("export.csv");
    return MedianMs(3, [&] { WriteEveryColumn(book.db(), listed, path); });
}

// The read a server export cannot do without, beside file_write_100000_ms of the same bytes.
PELLOR3_BENCH_FIGURE(ServerScanExport100000, "server_bare_scan_export_100000_ms", "ms") {
    if (TestServerUri().isEmpty())
        return NotMeasured();
    BareStatement select(ServerConnection(ServerImportedBook()), ExportSelect().toUtf8());
    return MedianMs(3, [&select] {
        if (select.Run() == 0)
            qFatal("no customers read");
    });
}

PELLOR3_BENCH_FIGURE(FileWrite100000, "file_write_100000_ms", "ms") {
    BenchContext &book = ImportedBook();
    const QByteArray bytes = *BuildCsvExport(book.GetDatabase(), book.ListedUserIds(),
                                             EveryColumn(), [](int, int) { return true; });
    const QString path = book.env.root() + QStringLiteral("bare.csv");
    return MedianMs(3, [&bytes, &path] {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    });
}

// The read the export cannot do without: its columns of every customer by one prepared select.
PELLOR3_BENCH_FIGURE(SqliteScanExport100000, "sqlite_scan_export_100000_ms", "ms") {
    BenchContext &book = ImportedBook();
    const QString statement = ExportSelect();
    Engine &engine = book.env.db().GetEngine();
    return MedianMs(3, [&] {
        const std::unique_ptr<EngineStatement> select = engine.Prepare(statement);
        qsizetype bytes = 0;
        while (select->Step())
            for (int i = 0; i < select->ColumnCount(); ++i)
                bytes += select->Text(i).size();
        if (bytes == 0)
            qFatal("no customers read");
    });
}

namespace {

constexpr int ExchangedCustomers = 10000;

// A book of the import file's first customers, and the CSV and vCard files the figures below
// wrote of it, read back into fresh books.
struct ExchangedBook {
    BenchContext book;
    std::vector<int> userIds;
    QString csvPath = book.env.root() + QStringLiteral("exchanged.csv");
    QString vcardPath = book.env.root() + QStringLiteral("exchanged.vcf");

    ExchangedBook() {
        ImportPlan plan = ReadPlan();
        plan.rows.resize(ExchangedCustomers);
        plan.lineNumbers.resize(ExchangedCustomers);
        InsertImportRows(book.env.db(), plan, book.env.prompt(), [](int, int) { return true; });
        Query ids(book.env.db(), QStringLiteral("select UserId from Usertbl order by Kana"));
        for (ids.Open(); !ids.AtEnd(); ids.Next())
            userIds.push_back(ids.AsInteger(QStringLiteral("UserId")));
    }
};

ExchangedBook &Exchanged() {
    static ExchangedBook exchanged;
    return exchanged;
}

template <typename Import> double ImportMs(const QString &path, Import import) {
    BenchContext book;
    return ElapsedMs([&] {
        QString error;
        if (import(book, path, &error) != 0)
            qFatal("import refused: %s", qPrintable(error));
    });
}

} // namespace

// The vCard figures are held to three times the CSV ones of the same customers.
PELLOR3_BENCH_FIGURE(CsvExport10000, "csv_export_10000_ms", "ms") {
    ExchangedBook &exchanged = Exchanged();
    return MedianMs(3, [&exchanged] {
        QString error;
        ExportCsvHeadless(exchanged.book.env.db(), exchanged.userIds, exchanged.csvPath, &error);
    });
}

PELLOR3_BENCH_FIGURE(VCardExport10000, "vcard_export_10000_ms", "ms") {
    ExchangedBook &exchanged = Exchanged();
    return MedianMs(3, [&exchanged] {
        QString error;
        const QString dataPath = exchanged.book.env.dataPath();
        ExportVCardsHeadless(exchanged.book.env.db(), exchanged.userIds, dataPath, dataPath,
                             exchanged.vcardPath, VCard::Version::V4, &error);
    });
}

PELLOR3_BENCH_FIGURE(CsvImport10000, "csv_import_10000_ms", "ms") {
    return ImportMs(Exchanged().csvPath,
                    [](BenchContext &book, const QString &path, QString *error) {
                        return ImportCsvHeadless(
                            book.env.db(), path, [](const QString &) {}, error);
                    });
}

PELLOR3_BENCH_FIGURE(VCardImport10000, "vcard_import_10000_ms", "ms") {
    return ImportMs(
        Exchanged().vcardPath, [](BenchContext &book, const QString &path, QString *error) {
            return ImportVCardsHeadless(
                book.env.db(), book.env.dataPath(), path, [](const QString &) {}, error);
        });
}
