#include "BenchBook.h"

#include "core/IniFile.h"
#include "store/Engine.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <libpq-fe.h>
#include <limits>

namespace {

QString RandomKana(QRandomGenerator &random) {
    static const QString kana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ");
    QString text;
    const int length = 3 + random.bounded(6);
    for (int i = 0; i < length; ++i)
        text += kana[random.bounded(int(kana.size()))];
    return text;
}

void FillCustomers(Database &database, int count) {
    QRandomGenerator random(3);
    Transaction transaction(database);
    const std::unique_ptr<EngineStatement> insert = database.GetEngine().Prepare(
        "insert into Usertbl (Kana, Name, NameTitle, Zip, Address1, TelNo_1, "
        "Print, UseType, PrintCtrl, Class, Class2, Sex, BirthDay, MakeDay, Note) "
        "values (?, ?, '様', '100-0001', '東京都千代田区千代田1-1', "
        "'03-1234-5678', ?, 0, 0, ?, ?, '不明', '1980-04-01', '2024-05-15', ?)");
    for (int i = 0; i < count; ++i) {
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
}

} // namespace

Book::Book() : registry(qgetenv("PELLOR3_REGISTRY")) {
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    FillCustomers(env.db(), Size);
    window = std::make_unique<TFormMain>();
    window->show();
}

ServerBook::ServerBook() {
    FillCustomers(env.db(), Book::Size);
    list = std::make_unique<MainListPanel>(env.db(), context.SharedUserQuery(), IniFile(), nullptr);
    list->show();
    list->Refresh({});
    editor = std::make_unique<EditPanel>(context);
    editor->show();
    context.selection = {ListSelection::One, list->ListedUserIds().front()};
    editor->ShowCustomer(context.selection.userId);
}

PGconn *ServerBook::Connection() {
    return static_cast<PostgresEngine &>(env.db().GetEngine()).Connection();
}

namespace {
ServerBook *serverBook = nullptr;
} // namespace

ServerBook *TheServerBook() {
    if (!serverBook && !TestServerUri().isEmpty()) {
        serverBook = new ServerBook;
        qAddPostRoutine([] {
            delete serverBook;
            serverBook = nullptr;
        });
    }
    return serverBook;
}

double NotMeasured() {
    return std::numeric_limits<double>::quiet_NaN();
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

namespace {

void Check(PGconn *conn, PGresult *result) {
    const ExecStatusType status = PQresultStatus(result);
    PQclear(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        qFatal("bare statement refused: %s", PQerrorMessage(conn));
}

} // namespace

BareStatement::BareStatement(PGconn *conn, const QByteArray &statement, int parameters)
    : conn_(conn) {
    static int made = 0;
    name_ = "bare_" + QByteArray::number(++made);
    Check(conn_, PQprepare(conn_, name_.constData(), statement.constData(), parameters, nullptr));
}

BareStatement::~BareStatement() {
    PQclear(PQexec(conn_, QByteArray("DEALLOCATE " + name_).constData()));
}

qsizetype BareStatement::Run(const QList<QByteArray> &values) {
    std::vector<const char *> pointers;
    for (const QByteArray &value : values)
        pointers.push_back(value.isNull() ? nullptr : value.constData());
    PGresult *result = PQexecPrepared(conn_, name_.constData(), int(pointers.size()),
                                      pointers.data(), nullptr, nullptr, 0);
    qsizetype bytes = 0;
    const int rows = PQntuples(result);
    const int fields = PQnfields(result);
    for (int row = 0; row < rows; ++row)
        for (int field = 0; field < fields; ++field)
            bytes += PQgetlength(result, row, field);
    Check(conn_, result);
    return bytes;
}

void BareControl(PGconn *conn, const char *statement) {
    Check(conn, PQexec(conn, statement));
}
