#include "Bench.h"

#include "../tests/common/TestEnv.h"
#include "app/FormMain.h"
#include "records/CustomerActions.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr int BookSize = 100000;

QString RandomKana(QRandomGenerator &random) {
    static const QString kana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ");
    QString text;
    const int length = 3 + random.bounded(6);
    for (int i = 0; i < length; ++i)
        text += kana[random.bounded(int(kana.size()))];
    return text;
}

// A book of 100 000 customers and the main window over it, made once for all figures.
struct Book {
    TestEnv env;
    std::unique_ptr<TFormMain> window;

    Book() {
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        QRandomGenerator random(3);
        sqlite3 *db = env.db().Handle();
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(
            db,
            "insert into Usertbl (Kana, Name, NameTitle, Zip, Address1, TelNo_1, "
            "Print, UseType, PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay, Note) "
            "values (?, ?, '様', '100-0001', '東京都千代田区千代田1-1', "
            "'03-1234-5678', ?, 0, 0, ?, ?, '不明', '1980-04-01', '2024-05-15', ?)",
            -1, &insert, nullptr);
        for (int i = 0; i < BookSize; ++i) {
            const QByteArray kana = RandomKana(random).toUtf8();
            const QByteArray name = QStringLiteral("顧客 %1").arg(i).toUtf8();
            const QByteArray note = QStringLiteral("備考 %1").arg(i).toUtf8();
            sqlite3_bind_text(insert, 1, kana.constData(), int(kana.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, i % 2);
            sqlite3_bind_int(insert, 4, i % 12);
            sqlite3_bind_int(insert, 5, (i / 12) % 12);
            sqlite3_bind_text(insert, 6, note.constData(), int(note.size()), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        window = std::make_unique<TFormMain>();
        window->show();
    }
};

Book *book = nullptr;

Book &TheBook() {
    if (!book) {
        book = new Book;
        // The window must go while the application still exists.
        qAddPostRoutine([] {
            delete book;
            book = nullptr;
        });
    }
    return *book;
}

} // namespace

PELLOR3_BENCH_FIGURE(RefreshList100000, "refreshlist_100000_ms", "ms") {
    TFormMain &window = *TheBook().window;
    return MedianMs(5, [&window] { window.RefreshList(); });
}

PELLOR3_BENCH_FIGURE(SqliteScan100000, "sqlite_scan_100000_ms", "ms") {
    sqlite3 *db = TheBook().env.db().Handle();
    return MedianMs(5, [db] {
        sqlite3_stmt *select = nullptr;
        sqlite3_prepare_v2(db, "select UserId, Name, Print from Usertbl order by Kana", -1, &select,
                           nullptr);
        qint64 sum = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            sum += sqlite3_column_int(select, 0) + sqlite3_column_int(select, 2);
            sum += sqlite3_column_bytes(select, 1);
            sum += reinterpret_cast<const char *>(sqlite3_column_text(select, 1))[0];
        }
        sqlite3_finalize(select);
        if (sum == 0)
            std::abort();
    });
}

PELLOR3_BENCH_FIGURE(SaveCustomer, "save_customer_ms", "ms") {
    TFormMain &window = *TheBook().window;
    auto *name = window.Editor()->findChild<QLineEdit *>("EditName");
    int round = 0;
    return MedianMs(101,
                    [name, &round] { name->setText(QStringLiteral("顧客 保存%1").arg(++round)); });
}

PELLOR3_BENCH_FIGURE(MarkPrint3000, "mark_print_3000_ms", "ms") {
    Book &book = TheBook();
    QList<int> ids;
    for (int id = 1; id <= 3000; ++id)
        ids << id;
    bool print = false;
    return MedianMs(3, [&] {
        print = !print;
        SetPrintFlags(book.window->UserQuery, ids, print);
    });
}
