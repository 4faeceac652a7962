#include "Bench.h"

#include "../tests/common/TestEnv.h"
#include "app/FormMain.h"
#include "records/CustomerActions.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <memory>

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
        Transaction transaction(env.db());
        const std::unique_ptr<EngineStatement> insert = env.db().GetEngine().Prepare(
            "insert into Usertbl (Kana, Name, NameTitle, Zip, Address1, TelNo_1, "
            "Print, UseType, PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay, Note) "
            "values (?, ?, '様', '100-0001', '東京都千代田区千代田1-1', "
            "'03-1234-5678', ?, 0, 0, ?, ?, '不明', '1980-04-01', '2024-05-15', ?)");
        for (int i = 0; i < BookSize; ++i) {
            insert->BindText(1, RandomKana(random).toUtf8());
            insert->BindText(2, QStringLiteral("顧客 %1").arg(i).toUtf8());
            insert->BindInteger(3, i % 2);
            insert->BindInteger(4, i % 12);
            insert->BindInteger(5, (i / 12) % 12);
            insert->BindText(6, QStringLiteral("備考 %1").arg(i).toUtf8());
            insert->Step();
            insert->Reset();
        }
        transaction.Commit();
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
    Engine &engine = TheBook().env.db().GetEngine();
    return MedianMs(5, [&engine] {
        const std::unique_ptr<EngineStatement> select =
            engine.Prepare("select UserId, Name, Print from Usertbl order by Kana");
        qint64 sum = 0;
        while (select->Step()) {
            sum += select->Integer(0) + select->Integer(2);
            const QByteArrayView name = select->Text(1);
            sum += name.size() + name.front();
        }
        if (sum == 0)
            std::abort();
    });
}

// What an editor save cannot do without: one customer's row changed by one prepared update.
PELLOR3_BENCH_FIGURE(SqliteUpdateRow, "sqlite_update_row_ms", "ms") {
    Engine &engine = TheBook().env.db().GetEngine();
    int round = 0;
    return MedianMs(101, [&engine, &round] {
        const std::unique_ptr<EngineStatement> update =
            engine.Prepare("update Usertbl set Name = ? where UserId = ?");
        update->BindText(1, QStringLiteral("顧客 更新%1").arg(++round).toUtf8());
        update->BindInteger(2, BookSize / 2);
        update->Step();
    });
}

PELLOR3_BENCH_FIGURE(SaveCustomer, "save_customer_ms", "ms") {
    TFormMain &window = *TheBook().window;
    QLineEdit *name = window.Editor()->EditName;
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
