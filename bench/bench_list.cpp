#include "Bench.h"
#include "BenchBook.h"

#include "records/CustomerActions.h"
#include "records/EditPanel.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <memory>
#include <sqlite3.h>
#include <vector>

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

// The change itself is made unheard, so only the editor's save of it is measured.
PELLOR3_BENCH_FIGURE(EditorSave, "editor_save_ms", "ms") {
    EditPanel &editor = *TheBook().window->Editor();
    const int userId = editor.ShownUserId();
    int round = 0;
    return MedianMs(101, [&editor, userId, &round] {
        {
            const QSignalBlocker unheard(editor.EditName);
            editor.EditName->setText(QStringLiteral("顧客 保存%1").arg(++round));
        }
        editor.SaveCustomer(userId);
    });
}

PELLOR3_BENCH_FIGURE(SqliteUpdateRow, "sqlite_update_row_ms", "ms") {
    sqlite3 *db = TheBook().env.db().Handle();
    const int userId = TheBook().window->Editor()->ShownUserId();
    int round = 0;
    return MedianMs(101, [db, userId, &round] {
        const QByteArray name = QStringLiteral("顧客 更新%1").arg(++round).toUtf8();
        sqlite3_stmt *update = nullptr;
        sqlite3_prepare_v2(db, "update Usertbl set Name = ? where UserId = ?", -1, &update,
                           nullptr);
        sqlite3_bind_text(update, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(update, 2, userId);
        if (sqlite3_step(update) != SQLITE_DONE)
            std::abort();
        sqlite3_finalize(update);
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
