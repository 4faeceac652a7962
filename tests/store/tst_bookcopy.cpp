#include "../common/TestEnv.h"

#include "store/BookCopy.h"
#include "store/DistinctPairs.h"
#include "store/GreetingTable.h"
#include "store/PictureStorage.h"

#include <QDir>
#include <QTest>

namespace {

const QByteArray Picture = QByteArray("BM") + QByteArray(300, '\x7f') + QByteArray(1, '\0');

// A fresh installed book to copy into: local, or a database of its own on the test server.
// The source's TestEnv comes first: the target's then holds the registry and prompt.
std::unique_ptr<TestEnv> TargetBook(bool onServer) {
    if (onServer && TestServerUri().isEmpty())
        return nullptr;
    return std::make_unique<TestEnv>(onServer ? SqlTarget::Postgres : SqlTarget::Sqlite);
}

void AddTargetEngines() {
    QTest::addColumn<bool>("targetOnServer");
    QTest::newRow("to a local book") << false;
    QTest::newRow("to a server") << true;
}

// What a copy must carry: customers with their keys, a picture, history, class names, a
// greeting entry and a pair declared different.
void FillSource(TestEnv &env) {
    const int first = env.AddCustomer("山田　太郎", "ﾔﾏﾀﾞ ﾀﾛｳ");
    const int second = env.AddCustomer("O'Brien", "ｵﾌﾞﾗｲｴﾝ");
    env.Run(QStringLiteral("delete from Usertbl where UserId = %1").arg(second));
    const int third = env.AddCustomer("O'Brien", "ｵﾌﾞﾗｲｴﾝ");
    PictureStorage pictures(env.db(), env.dbPath());
    env.Run(QStringLiteral("update Usertbl set img2 = '%1', Note = '改行\r\n入り' where "
                           "UserId = %2")
                .arg(pictures.Write(third, 1, Picture))
                .arg(third));
    env.Run(QStringLiteral("insert into Historytbl (UserId, MakeDay, Title, Contents) values "
                           "(%1, '2024/05/01', '来店', '')")
                .arg(first));
    env.Run("update Classtbl set Name = '得意先' where ClassId = 3");
    GreetingTable(env.db()).Set(
        {third, 2025, GreetingKind::NewYearSent, QDate(2024, 12, 20), "済"});
    StoreDistinctPair(env.db(), first, third);
}

} // namespace

#define TARGET_OR_SKIP(target)                                                                     \
    QFETCH(bool, targetOnServer);                                                                  \
    const std::unique_ptr<TestEnv> target = TargetBook(targetOnServer);                            \
    if (!target)                                                                                   \
    QSKIP("PELLOR3_TEST_SERVER is not set")

class TestBookCopy : public QObject {
    Q_OBJECT

private slots:
    void copiesEverythingOnce_data() { AddTargetEngines(); }
    void copiesEverythingOnce() {
        TestEnv env;
        FillSource(env);
        TARGET_OR_SKIP(target);
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target->db(), target->dbPath());
        int lastDone = 0;
        int reports = 0;
        bool inOrder = true;
        const BookCounts copied = CopyBook(env.db(), sourcePictures, target->db(), targetPictures,
                                           [&](int done, int total) {
                                               inOrder &= done > lastDone && done <= total;
                                               lastDone = done;
                                               ++reports;
                                               return true;
                                           });
        QVERIFY(inOrder);
        QCOMPARE(copied, (BookCounts{2, 1, 24, 1, 1, 1}));
        QCOMPARE(CountBook(target->db(), targetPictures), CountBook(env.db(), sourcePictures));
        QCOMPARE(reports, 2 + 1 + 24 + 1 + 1 + 1);
        QCOMPARE(QDir(targetPictures.Folder()).entryList(QDir::Files).size(),
                 targetOnServer ? 0 : 1);

        Query rows(target->db(), "select UserId, Name, Note, img2 from Usertbl order by UserId");
        rows.Open();
        rows.Next();
        QCOMPARE(rows.AsString("Name"), QString("O'Brien"));
        QCOMPARE(rows.AsString("Note"), QString("改行\r\n入り"));
        QCOMPARE(targetPictures.Read(rows.AsString("img2")), Picture);
        const int copiedKey = rows.AsInteger("UserId");
        // New customers and history entries are numbered after the copied ones.
        QVERIFY(target->AddCustomer("新しい顧客", "ｱ") > copiedKey);
        Query history(target->db());
        history.Execute("insert into Historytbl (UserId, MakeDay, Title) values (1, '2024/06/01', "
                        "'次')");
        QCOMPARE(target->Scalar("select count(distinct HistoryId) from Historytbl"), QString("2"));
        QCOMPARE(target->Scalar("select Name from Classtbl where ClassId = 3"), QString("得意先"));
        QCOMPARE(target->Scalar("select Note from Greetingtbl"), QString("済"));
    }

    void aTargetHoldingDataIsRefusedAndLeftAlone_data() {
        QTest::addColumn<bool>("targetOnServer");
        QTest::addColumn<QString>("statement");
        for (const bool onServer : {false, true}) {
            const char *where = onServer ? "server" : "local";
            QTest::addRow("%s customer", where)
                << onServer << "insert into Usertbl (Name) values ('先客')";
            QTest::addRow("%s history", where)
                << onServer
                << "insert into Historytbl (UserId, MakeDay, Title) values (9, '2024/01/01', 'x')";
            QTest::addRow("%s pair", where)
                << onServer << "insert into Distincttbl (UserId1, UserId2) values (1, 2)";
        }
    }
    void aTargetHoldingDataIsRefusedAndLeftAlone() {
        QFETCH(QString, statement);
        TestEnv env;
        FillSource(env);
        TARGET_OR_SKIP(target);
        target->Run(statement);
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target->db(), target->dbPath());
        const BookCounts before = CountBook(target->db(), targetPictures);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 CopyBook(env.db(), sourcePictures, target->db(), targetPictures));
        QCOMPARE(CountBook(target->db(), targetPictures), before);
    }

    void aRefusedRowLeavesTheTargetAsItWas_data() { AddTargetEngines(); }
    void aRefusedRowLeavesTheTargetAsItWas() {
        TestEnv env;
        FillSource(env);
        TARGET_OR_SKIP(target);
        // The pairs come last; a table that cannot take them fails the copy at its end.
        target->Run("DROP TABLE distincttbl");
        target->Run("CREATE TABLE distincttbl (UserId1 INTEGER)");
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target->db(), target->dbPath());
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 CopyBook(env.db(), sourcePictures, target->db(), targetPictures));
        QCOMPARE(CountBook(target->db(), targetPictures), (BookCounts{0, 0, 24, 0, 0, 0}));
        QVERIFY(QDir(targetPictures.Folder()).entryList(QDir::Files).isEmpty());
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestBookCopy)
#include "tst_bookcopy.moc"
