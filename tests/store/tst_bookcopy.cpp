#include "../common/TestEnv.h"

#include "store/BookCopy.h"
#include "store/DistinctPairs.h"
#include "store/GreetingTable.h"
#include "store/PictureStorage.h"
#include "store/Schema.h"

#include <QDir>
#include <QTest>

namespace {

const QByteArray Picture = QByteArray("BM") + QByteArray(300, '\x7f') + QByteArray(1, '\0');

// A book laid out fresh in `folder`, as a new installation has it.
void LayOutBook(Database &book, const QString &folder) {
    QDir().mkpath(folder);
    book.Open(folder, true);
    Schema::CreateTables(book);
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

class TestBookCopy : public QObject {
    Q_OBJECT

private slots:
    void copiesEverythingOnce() {
        TestEnv env;
        FillSource(env);
        Database target;
        const QString folder = env.root() + "target/";
        LayOutBook(target, folder);
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target, folder);
        int lastDone = 0;
        int reports = 0;
        const BookCounts copied =
            CopyBook(env.db(), sourcePictures, target, targetPictures, [&](int done, int total) {
                QVERIFY(done > lastDone && done <= total);
                lastDone = done;
                ++reports;
            });
        QCOMPARE(copied, (BookCounts{2, 1, 24, 1, 1, 1}));
        QCOMPARE(CountBook(target, targetPictures), CountBook(env.db(), sourcePictures));
        QCOMPARE(reports, 2 + 1 + 24 + 1 + 1);

        Query rows(target, "select UserId, Name, Note, img2 from Usertbl order by UserId");
        rows.Open();
        rows.Next();
        QCOMPARE(rows.AsString("Name"), QString("O'Brien"));
        QCOMPARE(rows.AsString("Note"), QString("改行\r\n入り"));
        QCOMPARE(targetPictures.Read(rows.AsString("img2")), Picture);
        const int keptKey = rows.AsInteger("UserId");
        Query(target).Execute("insert into Usertbl (Name) values ('新しい顧客')");
        Query newest(target, "select max(UserId) as Newest from Usertbl");
        newest.Open();
        QVERIFY(newest.AsInteger("Newest") > keptKey);
        Query className(target, "select Name from Classtbl where ClassId = 3");
        className.Open();
        QCOMPARE(className.AsString("Name"), QString("得意先"));
    }

    void aTargetHoldingDataIsRefusedAndLeftAlone_data() {
        QTest::addColumn<QString>("statement");
        QTest::newRow("customer") << "insert into Usertbl (Name) values ('先客')";
        QTest::newRow("history")
            << "insert into Historytbl (UserId, MakeDay, Title) values (9, '2024/01/01', 'x')";
        QTest::newRow("pair") << "insert into Distincttbl (UserId1, UserId2) values (1, 2)";
    }
    void aTargetHoldingDataIsRefusedAndLeftAlone() {
        QFETCH(QString, statement);
        TestEnv env;
        FillSource(env);
        Database target;
        const QString folder = env.root() + "target/";
        LayOutBook(target, folder);
        Query(target).Execute(statement);
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target, folder);
        const BookCounts before = CountBook(target, targetPictures);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 CopyBook(env.db(), sourcePictures, target, targetPictures));
        QCOMPARE(CountBook(target, targetPictures), before);
        QVERIFY(QDir(targetPictures.Folder()).isEmpty());
    }

    void aRefusedRowLeavesTheTargetAsItWas() {
        TestEnv env;
        FillSource(env);
        Database target;
        const QString folder = env.root() + "target/";
        LayOutBook(target, folder);
        // A second row for a pair the target's key refuses, found only at the end of the copy.
        Query(target).Execute("DROP TABLE distincttbl");
        Query(target).Execute("CREATE TABLE distincttbl (UserId1 INTEGER)");
        PictureStorage sourcePictures(env.db(), env.dbPath());
        PictureStorage targetPictures(target, folder);
        QVERIFY_THROWS_EXCEPTION(EngineError,
                                 CopyBook(env.db(), sourcePictures, target, targetPictures));
        QCOMPARE(CountBook(target, targetPictures), (BookCounts{0, 0, 24, 0, 0, 0}));
        QVERIFY(QDir(targetPictures.Folder()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBookCopy)
#include "tst_bookcopy.moc"
