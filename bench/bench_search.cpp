#include "Bench.h"

#include "BenchBook.h"
#include "core/SqlText.h"
#include "store/ListStatement.h"

#include <QRandomGenerator>
#include <vector>

namespace {

constexpr int Customers = 100000;
constexpr int HistoryEntries = 300000;
constexpr int RowsPerInsert = 500;

const QStringList Words = {"見積", "訪問", "苦情", "納品", "請求", "電話", "VIP", "紹介"};

QString Pick(QRandomGenerator &random) {
    return Words.at(random.bounded(Words.size()));
}

void FillBook(TestEnv &env) {
    QRandomGenerator random(7);
    const QString kana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ");
    env.Run(QStringLiteral("BEGIN"));
    QStringList values;
    const auto flush = [&](const QString &head) {
        if (!values.isEmpty())
            env.Run(head + values.join(u','));
        values.clear();
    };
    const QString customerHead = QStringLiteral(
        "insert into Usertbl (Kana, Name, Note, Print, UseType, Class, Class2, BirthDay, "
        "MakeDay) values");
    for (int i = 1; i <= Customers; ++i) {
        QString reading;
        for (int c = 0; c < 6; ++c)
            reading += kana.at(random.bounded(kana.size()));
        const QString note = random.bounded(4) == 0
                                 ? QStringLiteral("メモ %1 %2 です").arg(Pick(random), Pick(random))
                                 : QString();
        values << QStringLiteral("(%1, %2, %3, '1', '0', %4, 0, \"%5\", \"05/15/2024\")")
                      .arg(QuoteSql(reading), QuoteSql(QStringLiteral("顧客%1").arg(i)),
                           QuoteSql(note))
                      .arg(random.bounded(12))
                      .arg(QDate(1940, 1, 1)
                               .addDays(random.bounded(25000))
                               .toString(QStringLiteral("MM/dd/yyyy")));
        if (values.size() == RowsPerInsert)
            flush(customerHead);
    }
    flush(customerHead);
    const QString historyHead =
        QStringLiteral("insert into Historytbl(UserId,MakeDay,Title,Contents)values");
    for (int i = 0; i < HistoryEntries; ++i) {
        values << QStringLiteral("(%1, '2024/01/02', %2, %3)")
                      .arg(1 + random.bounded(Customers))
                      .arg(QuoteSql(Pick(random)),
                           QuoteSql(QStringLiteral("%1の件について連絡").arg(Pick(random))));
        if (values.size() == RowsPerInsert)
            flush(historyHead);
    }
    flush(historyHead);
    env.Run(QStringLiteral("COMMIT"));
}

SearchRow Row(int field, const QString &value) {
    SearchRow row;
    row.field = field;
    row.value = value;
    row.operatorIndex = 0; // を含むﾃﾞｰﾀ
    row.inUse = true;
    return row;
}

// 名前 containing "1", history containing "見積", memo containing "VIP": the list rebuild of
// that search, its filter pass included.
double SearchHistoryMemoMs(TestEnv &env) {
    SearchRows rows;
    rows[0] = Row(1, QStringLiteral("1"));
    rows[1] = Row(29, QStringLiteral("見積"));
    rows[2] = Row(27, QStringLiteral("VIP"));
    size_t listed = 0;
    const double ms = MedianMs(5, [&] {
        Query list(env.db());
        listed =
            LoadListedCustomers(env.db(), list, {-1, -1, 0, BuildSearchClause(rows)}).rows.size();
    });
    if (listed == 0)
        qFatal("the search listed nobody");
    return ms;
}

} // namespace

PELLOR3_BENCH_FIGURE(SearchHistoryMemo, "search_history_memo_100000_ms", "ms") {
    TestEnv env;
    FillBook(env);
    return SearchHistoryMemoMs(env);
}

namespace {

// A book of the search's size on the server, made for the two figures below.
TestEnv *ServerSearchBook() {
    static std::unique_ptr<TestEnv> book;
    if (!book && !TestServerUri().isEmpty()) {
        book = std::make_unique<TestEnv>(SqlTarget::Postgres);
        FillBook(*book);
    }
    return book.get();
}

} // namespace

PELLOR3_BENCH_FIGURE(ServerSearchHistoryMemo, "server_search_history_memo_100000_ms", "ms") {
    TestEnv *book = ServerSearchBook();
    return book ? SearchHistoryMemoMs(*book) : NotMeasured();
}

// What the search cannot do without: the customers' and the history's searched columns read
// whole through libpq alone.
PELLOR3_BENCH_FIGURE(ServerScanSearched100000, "server_bare_scan_searched_100000_ms", "ms") {
    TestEnv *book = ServerSearchBook();
    if (!book)
        return NotMeasured();
    PGconn *conn = static_cast<PostgresEngine &>(book->db().GetEngine()).Connection();
    BareStatement customers(conn, "select UserId, Name, Print, Note from Usertbl");
    BareStatement history(conn, "select UserId, Title, Contents from Historytbl");
    return MedianMs(5, [&] {
        if (customers.Run() + history.Run() == 0)
            qFatal("nothing read");
    });
}
