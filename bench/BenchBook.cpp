#include "BenchBook.h"

#include "store/Engine.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>

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
    Transaction transaction(env.db());
    const std::unique_ptr<EngineStatement> insert = env.db().GetEngine().Prepare(
        "insert into Usertbl (Kana, Name, NameTitle, Zip, Address1, TelNo_1, "
        "Print, UseType, PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay, Note) "
        "values (?, ?, '様', '100-0001', '東京都千代田区千代田1-1', "
        "'03-1234-5678', ?, 0, 0, ?, ?, '不明', '1980-04-01', '2024-05-15', ?)");
    for (int i = 0; i < Size; ++i) {
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
    book.env.db().GetEngine().Prepare(QString::fromLatin1(statement))->Step();
}
