#include "BenchBook.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <sqlite3.h>

namespace {

QString RandomKana(QRandomGenerator &random) {
    static const QString kana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ");
    QString text;
    const int length = 3 + random.bounded(6);
    for (int i = 0; i < length; ++i)
        text += kana[random.bounded(int(kana.size()))];
    return text;
}

} // namespace

Book::Book() : registry(qgetenv("PELLOR3_REGISTRY")) {
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    QRandomGenerator random(3);
    sqlite3 *db = env.db().Handle();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into Usertbl (Kana, Name, NameTitle, Zip, Address1, TelNo_1, "
                       "Print, UseType, PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay, Note) "
                       "values (?, ?, '様', '100-0001', '東京都千代田区千代田1-1', "
                       "'03-1234-5678', ?, 0, 0, ?, ?, '不明', '1980-04-01', '2024-05-15', ?)",
                       -1, &insert, nullptr);
    for (int i = 0; i < Size; ++i) {
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

namespace {
Book *book = nullptr;
} // namespace

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

void MarkEvery(Book &book, int step) {
    const QByteArray statement = QByteArray("update Usertbl set Print = case when UserId % ") +
                                 QByteArray::number(step) + " = 0 then 1 else 0 end";
    sqlite3_exec(book.env.db().Handle(), statement.constData(), nullptr, nullptr, nullptr);
}
