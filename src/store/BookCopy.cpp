#include "store/BookCopy.h"

#include "core/SqlText.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"

#include <QList>
#include <QStringList>
#include <utility>

namespace {

// The tables copied row by row, the customers first; each row keeps its keys, so history,
// greeting entries and pairs still name their customers.
const QStringList &CopiedTables() {
    static const QStringList tables{QStringLiteral("usertbl"),     QStringLiteral("historytbl"),
                                    QStringLiteral("classtbl"),    QStringLiteral("classtbl2"),
                                    QStringLiteral("greetingtbl"), QStringLiteral("distincttbl")};
    return tables;
}

// A server numbers new rows from a sequence that rows inserted with their keys leave behind;
// it is set past the copied keys. SQLite numbers after the largest key by itself.
void NumberAfterCopiedKeys(Database &target) {
    if (target.GetEngine().Target() != SqlTarget::Postgres)
        return;
    for (const auto &[table, key] :
         {std::pair{"usertbl", "userid"}, std::pair{"historytbl", "historyid"},
          std::pair{"greetingtbl", "greetingid"}}) {
        Query next(target, QStringLiteral("select setval(pg_get_serial_sequence('%1', '%2'), "
                                          "(select coalesce(max(%2), 0) + 1 from %1), false) as "
                                          "Next")
                               .arg(QLatin1String(table), QLatin1String(key)));
        next.Open();
    }
}

int CountRows(Database &book, const QString &table) {
    Query count(book, QStringLiteral("select count(*) as Total from %1").arg(table));
    count.Open();
    return count.AsInteger(QStringLiteral("Total"));
}

// A field as the insert writes it; dates come as ISO text, which both engines read as a date.
QString Literal(const Query &row, int field) {
    const QString text = row.AsString(field);
    return text.isEmpty() ? QStringLiteral("NULL") : QuoteSql(text);
}

// Tells the progress of one more row or picture; stops the copy when it asks so.
void Report(const CopyProgress &progress, int &done, int total) {
    if (progress && !progress(++done, total))
        throw CopyCancelled();
}

void CopyRows(Database &source, Database &target, const QString &table, int &done, int total,
              const CopyProgress &progress) {
    Query rows(source, QStringLiteral("select * from %1").arg(table));
    rows.Open();
    const QStringList columns = rows.FieldNames();
    const QString head = QStringLiteral("insert into %1 (%2) values (")
                             .arg(table, columns.join(QStringLiteral(", ")));
    Query insert(target);
    for (; !rows.AtEnd(); rows.Next()) {
        QStringList values;
        for (int field = 0; field < columns.size(); ++field)
            values << Literal(rows, field);
        insert.Execute(head + values.join(QStringLiteral(", ")) + u')');
        Report(progress, done, total);
    }
}

// Each named picture read from the source and stored under its customer and slot in the
// target, the column then naming it as the target stores it; `stored` lists the slots written.
void CopyPictures(Database &source, const PictureStorage &sourcePictures, Database &target,
                  PictureStorage &targetPictures, QList<std::pair<int, int>> &stored, int &done,
                  int total, const CopyProgress &progress) {
    Query rows(source, QStringLiteral("select UserId, img1, img2 from Usertbl where img1 != '' or "
                                      "img2 != ''"));
    Query update(target);
    for (rows.Open(); !rows.AtEnd(); rows.Next()) {
        const int userId = rows.AsInteger(QStringLiteral("UserId"));
        for (int slot : {0, 1}) {
            const QString column = slot == 0 ? QStringLiteral("img1") : QStringLiteral("img2");
            const QByteArray bytes = sourcePictures.Read(rows.AsString(column));
            QString name;
            if (!bytes.isEmpty()) {
                name = targetPictures.Write(userId, slot, bytes);
                stored.append({userId, slot});
                Report(progress, done, total);
            }
            update.Execute(QStringLiteral("update Usertbl set %1 = %2 where UserId = %3")
                               .arg(column, QuoteSql(name))
                               .arg(userId));
        }
    }
}

} // namespace

BookCounts CountBook(Database &book, const PictureStorage &pictures) {
    BookCounts counts{CountRows(book, QStringLiteral("usertbl")),
                      CountRows(book, QStringLiteral("historytbl")),
                      CountRows(book, QStringLiteral("classtbl")) +
                          CountRows(book, QStringLiteral("classtbl2")),
                      CountRows(book, QStringLiteral("greetingtbl")),
                      CountRows(book, QStringLiteral("distincttbl")),
                      0};
    Query rows(book, QStringLiteral("select img1, img2 from Usertbl where img1 != '' or "
                                    "img2 != ''"));
    for (rows.Open(); !rows.AtEnd(); rows.Next())
        for (const QString &column : {QStringLiteral("img1"), QStringLiteral("img2")})
            if (!pictures.Read(rows.AsString(column)).isEmpty())
                ++counts.pictures;
    return counts;
}

bool IsEmptyBook(const BookCounts &counts) {
    return counts.customers == 0 && counts.historyEntries == 0 && counts.greetingEntries == 0 &&
           counts.distinctPairs == 0 && counts.pictures == 0;
}

BookCounts CopyBook(Database &source, const PictureStorage &sourcePictures, Database &target,
                    PictureStorage &targetPictures, const CopyProgress &progress) {
    if (!IsEmptyBook(CountBook(target, targetPictures)))
        throw EngineError(QStringLiteral("コピー先の台帳にはすでにデータがあります。"
                                         "空のデータベースを指定して下さい。"));
    const BookCounts expected = CountBook(source, sourcePictures);
    int total = expected.pictures;
    for (const QString &table : CopiedTables())
        total += CountRows(source, table);
    int done = 0;
    BookCounts copied;
    QList<std::pair<int, int>> storedPictures;
    try {
        Transaction transaction(target);
        Query clear(target);
        for (const QString &table : {QStringLiteral("classtbl"), QStringLiteral("classtbl2")})
            clear.Execute(QStringLiteral("delete from %1").arg(table));
        for (const QString &table : CopiedTables())
            CopyRows(source, target, table, done, total, progress);
        CopyPictures(source, sourcePictures, target, targetPictures, storedPictures, done, total,
                     progress);
        NumberAfterCopiedKeys(target);
        copied = CountBook(target, targetPictures);
        if (copied != expected)
            throw EngineError(QStringLiteral("コピーした件数が元の台帳と合いません。"
                                             "コピー先は元のままです。\n元: %1\nコピー先: %2")
                                  .arg(BookCountsText(expected), BookCountsText(copied)));
        transaction.Commit();
    } catch (const EngineError &) {
        // The rollback takes back what the server stored; files a local book was given go here.
        if (!targetPictures.OnServer())
            for (const auto &[userId, slot] : storedPictures)
                targetPictures.Remove(userId, slot);
        throw;
    }
    return copied;
}

QString BookCountsText(const BookCounts &counts) {
    return QStringLiteral("顧客 %1件、履歴 %2件、分類名 %3件、挨拶状の記録 %4件、別人の組 %5件、"
                          "画像 %6件")
        .arg(counts.customers)
        .arg(counts.historyEntries)
        .arg(counts.classNames)
        .arg(counts.greetingEntries)
        .arg(counts.distinctPairs)
        .arg(counts.pictures);
}
