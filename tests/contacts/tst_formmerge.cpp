#include "../common/TestContext.h"

#include "contacts/FormMerge.h"
#include "contacts/MergeChoice.h"
#include "store/CustomerRecord.h"

#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <tuple>

namespace {

struct Fixture {
    OwningTestContext context;
    int kept = 0;
    int other = 0;
    int backups = 0;

    Fixture() {
        TestEnv &env = context.env;
        kept = env.AddCustomer("髙橋 一郎", "ﾀｶﾊｼ ｲﾁﾛｳ");
        other = env.AddCustomer("高橋一郎", "");
        env.Run(QString("update Usertbl set Zip = '160-0023', TelNo_1 = '03-1111-2222', img2 = "
                        "'k2.jpg', Renmei1 = '花子', RenNameTitle1 = '様', CheckRen1 = 1, "
                        "Renmei2 = '次郎', RenNameTitle2 = '様', CheckRen2 = 1 where UserId = %1")
                    .arg(kept));
        env.Run(QString("update Usertbl set Zip = '1600023', TelNo_1 = '090-3333-4444', Mail_1 = "
                        "'ichiro@example.jp', img1 = 'o1.jpg', img2 = 'o2.jpg', Renmei1 = "
                        "'花子', RenNameTitle1 = '様', CheckRen1 = 1, Renmei2 = '三郎', "
                        "RenNameTitle2 = '君', CheckRen2 = 1, Renmei3 = '四郎', Renmei4 = "
                        "'五郎' where UserId = %1")
                    .arg(other));
        for (int id : {kept, other, other})
            env.Run(QString("insert into Historytbl (UserId, MakeDay, Title) values (%1, "
                            "'2024/05/01', '来店')")
                        .arg(id));
    }
    std::function<bool()> Backup() {
        return [this] {
            ++backups;
            return true;
        };
    }
    CustomerRecord Load(int userId) {
        return *LoadCustomerRecord(context.SharedUserQuery(), userId);
    }
    QString Scalar(const QString &statement) { return context.env.Scalar(statement); }
};

int RowOf(const QString &caption) {
    const auto fields = MergeFields();
    for (size_t i = 0; i < fields.size(); ++i)
        if (QString::fromUtf16(fields[i].caption) == caption)
            return int(i);
    return -1;
}

} // namespace

class TestFormMerge : public QObject {
    Q_OBJECT
private slots:
    // The window's proposal, a side clicked and a value typed are stored as the kept customer;
    // the other's history moves over and it is gone; the undo puts both back.
    void mergesTwoCustomersAndUndoesIt() {
        Fixture book;
        TFormMerge window(book.context, book.Backup());
        QVERIFY(window.Load(book.kept, book.other));
        auto *grid = window.findChild<QTableWidget *>("GridFields");
        QCOMPARE(grid->item(RowOf("電話1"), 0)->text(), QString("≠ 電話1"));
        QCOMPARE(grid->item(RowOf("郵便番号"), 0)->text(), QString("≠ 郵便番号"));
        QCOMPARE(grid->item(RowOf("メール1"), 0)->text(), QString("メール1"));
        QCOMPARE(grid->item(RowOf("メール1"), 3)->text(), QString("ichiro@example.jp"));
        grid->cellClicked(RowOf("電話1"), 2);
        grid->item(RowOf("電話2"), 3)->setText("03-1111-2222");
        grid->item(RowOf("氏名"), 3)->setText("高橋 一郎");
        const CustomerRecord keptBefore = book.Load(book.kept);
        // Both sent a card in 2026; only the other's mourning notice of 2027 is new to the kept.
        for (const auto &[id, season, kind] :
             {std::tuple{book.kept, 2026, 1}, std::tuple{book.other, 2026, 1},
              std::tuple{book.other, 2027, 3}})
            book.context.env.Run(
                QString("insert into greetingtbl (UserId, Season, Kind, Note) values (%1, %2, %3, "
                        "'祖母')")
                    .arg(id)
                    .arg(season)
                    .arg(kind));
        const auto greetings = [&book](int id) {
            return book.Scalar(QString("select group_concat(Season || '/' || Kind, ' ') from "
                                       "(select Season, Kind from greetingtbl where UserId = %1 "
                                       "order by Season, Kind)")
                                   .arg(id));
        };

        window.findChild<QPushButton *>("BtnMerge")->click();
        QCOMPARE(greetings(book.kept), QString("2026/1 2027/3"));
        QCOMPARE(greetings(book.other), QString());
        const CustomerRecord merged = book.Load(book.kept);
        QCOMPARE(merged.name, QString("高橋 一郎"));
        QCOMPARE(merged.telNo1, QString("090-3333-4444"));
        QCOMPARE(merged.telNo2, QString("03-1111-2222"));
        QCOMPARE(merged.zip, QString("160-0023"));
        QCOMPARE(merged.mail1, QString("ichiro@example.jp"));
        QCOMPARE(merged.img1, QString("o1.jpg"));
        QCOMPARE(merged.img2, QString("k2.jpg"));
        QCOMPARE(QStringList(merged.renmei.begin(), merged.renmei.end()),
                 QStringList({"花子", "次郎", "三郎", "四郎"}));
        QCOMPARE(merged.renNameTitle[2], QString("君"));
        QVERIFY(merged.checkRen[2] && !merged.checkRen[3]);
        QCOMPARE(
            book.Scalar(QString("select count(*) from Usertbl where UserId = %1").arg(book.other)),
            QString("0"));
        QCOMPARE(book.Scalar(
                     QString("select count(*) from Historytbl where UserId = %1").arg(book.kept)),
                 QString("3"));
        QCOMPARE(book.backups, 1);
        QCOMPARE(book.context.refreshes, 1);

        window.findChild<QPushButton *>("BtnUndoMerge")->click();
        QCOMPARE(book.Load(book.kept).name, keptBefore.name);
        QCOMPARE(book.Load(book.kept).telNo1, keptBefore.telNo1);
        QCOMPARE(book.Load(book.other).mail1, QString("ichiro@example.jp"));
        QCOMPARE(book.Load(book.other).img1, QString("o1.jpg"));
        QCOMPARE(book.Load(book.other).makeDay, QDate(2024, 5, 15));
        QCOMPARE(book.Load(book.kept).img1, QString());
        QCOMPARE(book.Scalar(
                     QString("select count(*) from Historytbl where UserId = %1").arg(book.other)),
                 QString("2"));
        QCOMPARE(greetings(book.kept), QString("2026/1"));
        QCOMPARE(greetings(book.other), QString("2026/1 2027/3"));

        // The backup is made once a run, and a "no" stores nothing.
        book.context.env.prompt().PushAnswer(Prompt::Answer::No);
        window.findChild<QPushButton *>("BtnMerge")->click();
        QCOMPARE(book.Scalar("select count(*) from Usertbl"), QString("2"));
        window.findChild<QPushButton *>("BtnMerge")->click();
        QCOMPARE(book.Scalar("select count(*) from Usertbl"), QString("1"));
        QCOMPARE(book.backups, 1);
    }

    void refusesWhatCannotBeStored() {
        Fixture book;
        int backups = 0;
        TFormMerge window(book.context, [&backups] {
            ++backups;
            return false;
        });
        QVERIFY(window.Load(book.kept, book.other));
        auto *grid = window.findChild<QTableWidget *>("GridFields");
        grid->item(RowOf("住所1"), 3)->setText("東京都'新宿区");
        window.findChild<QPushButton *>("BtnMerge")->click();
        QCOMPARE(book.context.env.prompt().Texts("message"),
                 QStringList{"「住所1」に使えない文字があります。"});
        grid->item(RowOf("住所1"), 3)->setText("東京都新宿区");
        window.findChild<QPushButton *>("BtnMerge")->click();
        QCOMPARE(backups, 1);
        QCOMPARE(book.Scalar("select count(*) from Usertbl"), QString("2"));
        QVERIFY(!window.Load(book.kept, 999));
    }
};

QTEST_MAIN(TestFormMerge)
#include "tst_formmerge.moc"
