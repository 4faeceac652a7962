#include "Bench.h"
#include "BenchBook.h"

#include "records/CustomerActions.h"
#include "records/EditPanel.h"

#include <QLineEdit>
#include <memory>
#include <vector>

PELLOR3_BENCH_FIGURE(RefreshList100000, "refreshlist_100000_ms", "ms") {
    TFormMain &window = *TheBook().window;
    return MedianMs(5, [&window] { window.RefreshList(); });
}

namespace {

// The columns a list row shows, in the list's order.
constexpr const char *ListedColumns =
    "select UserId, Name, Print, Kana, UseType, Zip, Address1, Address2, TelNo_1, OfficeZip, "
    "OfficeAddress1, OfficeAddress2, OfficeTel_1 from Usertbl order by Kana";

// A typed change of the shown customer's name, which the editor stores at once.
double EditorSaveMs(EditPanel &editor) {
    auto *name = editor.findChild<QLineEdit *>("EditName");
    int round = 0;
    return MedianMs(101,
                    [name, &round] { name->setText(QStringLiteral("顧客 保存%1").arg(++round)); });
}

} // namespace

PELLOR3_BENCH_FIGURE(ServerRefreshList100000, "server_refreshlist_100000_ms", "ms") {
    ServerBook *book = TheServerBook();
    return book ? MedianMs(5, [book] { book->list->Refresh({}); }) : NotMeasured();
}

PELLOR3_BENCH_FIGURE(ServerScan100000, "server_bare_scan_100000_ms", "ms") {
    ServerBook *book = TheServerBook();
    if (!book)
        return NotMeasured();
    BareStatement select(book->Connection(), ListedColumns);
    return MedianMs(5, [&select] {
        if (select.Run() == 0)
            std::abort();
    });
}

// The bare read of the columns a list row shows.
PELLOR3_BENCH_FIGURE(SqliteScan100000, "sqlite_scan_100000_ms", "ms") {
    Engine &engine = TheBook().env.db().GetEngine();
    return MedianMs(5, [&engine] {
        const std::unique_ptr<EngineStatement> select =
            engine.Prepare(QString::fromLatin1(ListedColumns));
        qint64 sum = 0;
        while (select->Step()) {
            sum += select->Integer(0) + select->Integer(2) + select->Integer(4);
            for (int text : {1, 3, 5, 6, 7, 8, 9, 10, 11, 12})
                sum += select->Text(text).size();
        }
        if (sum == 0)
            std::abort();
    });
}

PELLOR3_BENCH_FIGURE(EditorSave, "editor_save_ms", "ms") {
    return EditorSaveMs(*TheBook().window->Editor());
}

PELLOR3_BENCH_FIGURE(ServerEditorSave, "server_editor_save_ms", "ms") {
    ServerBook *book = TheServerBook();
    return book ? EditorSaveMs(*book->editor) : NotMeasured();
}

// What an editor save on the server cannot do without: one prepared update of the row.
PELLOR3_BENCH_FIGURE(ServerUpdateRow, "server_bare_update_row_ms", "ms") {
    ServerBook *book = TheServerBook();
    if (!book)
        return NotMeasured();
    BareStatement update(book->Connection(), "update Usertbl set Name = $1 where UserId = $2", 2);
    const QByteArray userId = QByteArray::number(book->editor->ShownUserId());
    int round = 0;
    return MedianMs(101, [&update, &userId, &round] {
        update.Run({QStringLiteral("顧客 更新%1").arg(++round).toUtf8(), userId});
    });
}

// What an editor save cannot do without: the shown customer's row changed by one prepared update.
PELLOR3_BENCH_FIGURE(SqliteUpdateRow, "sqlite_update_row_ms", "ms") {
    Engine &engine = TheBook().env.db().GetEngine();
    const int userId = TheBook().window->Editor()->ShownUserId();
    int round = 0;
    return MedianMs(101, [&engine, userId, &round] {
        const std::unique_ptr<EngineStatement> update =
            engine.Prepare("update Usertbl set Name = ? where UserId = ?");
        update->BindText(1, QStringLiteral("顧客 更新%1").arg(++round).toUtf8());
        update->BindInteger(2, userId);
        update->Step();
    });
}

// From the window's construction to its first list, shown offscreen.
PELLOR3_BENCH_FIGURE(Startup100000, "startup_100000_ms", "ms") {
    qputenv("PELLOR3_REGISTRY", TheBook().registry);
    std::vector<std::unique_ptr<TFormMain>> windows;
    return MedianMs(3, [&windows] {
        windows.push_back(std::make_unique<TFormMain>());
        windows.back()->show();
    });
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
