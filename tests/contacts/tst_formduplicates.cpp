#include "../common/TestContext.h"

#include "contacts/FormDuplicates.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

class TestFormDuplicates : public QObject {
    Q_OBJECT

    static QStringList Rows(TFormDuplicates &window) {
        auto *list = window.findChild<QTreeWidget *>("ListViewDuplicates");
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int column = 0; column < list->columnCount(); ++column)
                cells << list->topLevelItem(i)->text(column);
            rows << cells.join('|');
        }
        return rows;
    }

private slots:
    // A pair declared different leaves the list and stays out of the next search; the undo
    // brings it back while the window is open.
    void declaresAPairDifferentAndTakesItBack() {
        OwningTestContext context;
        TestEnv &env = context.env;
        env.AddCustomer("濱田 優", "");
        env.AddCustomer("浜田優", "");
        env.AddCustomer("佐藤 美咲", "");
        env.AddCustomer("鈴木 美咲", "");
        env.Run("update Usertbl set Zip = '100-0001' where UserId in (1, 2)");
        env.Run("update Usertbl set TelNo_1 = '090-1111-2222' where UserId = 3");
        env.Run("update Usertbl set OfficeTel_2 = '09011112222' where UserId = 4");
        const QStringList both = {"1|濱田 優|2|浜田優|氏名と郵便番号",
                                  "3|佐藤 美咲|4|鈴木 美咲|携帯電話番号"};

        const auto backup = [] { return true; };
        TFormDuplicates window(context, backup);
        QVERIFY(window.Search());
        QCOMPARE(Rows(window), both);
        auto *distinct = window.findChild<QPushButton *>("BtnDistinct");
        auto *undo = window.findChild<QPushButton *>("BtnUndoDistinct");
        QVERIFY(!undo->isEnabled());
        distinct->click();
        QCOMPARE(Rows(window), QStringList{both.at(1)});
        QCOMPARE(env.Scalar("select UserId2 from Distincttbl where UserId1 = 1"), QString("2"));
        window.grab().save(env.root() + "duplicates.png");

        TFormDuplicates again(context, backup);
        QVERIFY(again.Search());
        QCOMPARE(Rows(again), QStringList{both.at(1)});

        undo->click();
        QCOMPARE(Rows(window), both);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(env.Scalar("select count(*) from Distincttbl"), QString("0"));
    }
};

QTEST_MAIN(TestFormDuplicates)
#include "tst_formduplicates.moc"
