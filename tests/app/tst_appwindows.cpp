#include "../common/TestEnv.h"

#include "app/AppWindows.h"
#include "app/CustomerList.h"
#include "app/FormMain.h"
#include "core/ShiftJis.h"
#include "exchange/FormImport.h"
#include "postal/FormSearchZip.h"
#include "search/FormSearch.h"
#include "widgets/ImageButton.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

QStringList ListedNames(const TFormMain &w) {
    QStringList names;
    for (int row = 0; row < int(w.ListedUserIds().size()); ++row)
        names
            << w.findChild<QTableView *>("ListViewMain")->model()->index(row, 1).data().toString();
    return names;
}

QStringList Column(QTreeWidget *list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

} // namespace

// The main window together with the windows it opens, as the program runs them.
class TestAppWindows : public QObject {
    Q_OBJECT
private slots:
    void bulkPrintOffMarksEveryRow() {
        TestEnv env;
        for (const char *name : {"青木", "佐藤", "田中"})
            env.AddCustomer(name, QString("ｱ") + name, true);
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        w.findChild<QTableView *>("ListViewMain")->selectAll();
        QVERIFY(w.findChild<QAction *>("N1")->isEnabled());
        w.findChild<QAction *>("N1")->trigger();
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Print = 0"), QString("3"));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(
                w.findChild<QTableView *>("ListViewMain")->model()->index(row, 0).data().toString(),
                QString("Ｘ"));
        w.findChild<QTableView *>("ListViewMain")->selectAll();
        w.findChild<QAction *>("N2")->trigger();
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Print = 1"), QString("3"));
    }

    void searchTabNarrowsTheListWithAQuotedValue() {
        TestEnv env;
        env.AddCustomer("O'Brien", "ｵﾌﾞﾗｲｴﾝ");
        env.AddCustomer("Smith", "ｽﾐｽ");
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        QTimer::singleShot(0, w.findChild<TFormSearch *>("FormSearch"), [&w] {
            QComboBox *field =
                w.findChild<TFormSearch *>("FormSearch")->findChild<QComboBox *>("CB_1_Topic1");
            field->setCurrentIndex(field->findText("名前"));
            w.findChild<TFormSearch *>("FormSearch")
                ->findChild<QComboBox *>("CB_1_Topic2")
                ->lineEdit()
                ->setText("O'B");
            w.findChild<TFormSearch *>("FormSearch")->findChild<QPushButton *>("BtnStart")->click();
        });
        w.SelectIndexTabSilently(13);
        w.ApplyIndexTab();
        QCOMPARE(ListedNames(w), QStringList{"O'Brien"});
        w.SelectIndexTabSilently(0);
        w.RefreshList();
        QCOMPARE(ListedNames(w).size(), 2);
    }

    void historyHeaderClicksFlipTheOrder() {
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        for (const auto &[day, title] :
             {std::pair{"2024/01/02", "b"}, {"2024/03/04", "C"}, {"2024/02/03", "a"}})
            env.Run(QString("insert into Historytbl (UserId, MakeDay, Title, Contents) "
                            "values(%1, '%2', '%3', 'x')")
                        .arg(id)
                        .arg(day, title));
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        QTreeWidget *history = w.Editor()->findChild<QTreeWidget *>("ListViewHistory");
        QCOMPARE(history->topLevelItemCount(), 3);
        history->header()->sectionClicked(1);
        QCOMPARE(Column(history, 1), QStringList({"a", "b", "C"}));
        history->header()->sectionClicked(0);
        QCOMPARE(Column(history, 0), QStringList({"2024/03/04", "2024/02/03", "2024/01/02"}));
    }

    void postalButtonDoesNothingWithoutACustomer() {
        TestEnv env;
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        w.Editor()->findChild<QLineEdit *>("EditZip")->setText("100-0001");
        w.Editor()->findChild<QPushButton *>("SSB_Zip")->click();
        QVERIFY(!windows.FormSearchZip()->isVisible());
        QVERIFY(env.prompt().calls().empty());
    }

    void importButtonAddsTheFileAndRebuildsTheList() {
        TestEnv env;
        const QString path = env.root() + "in.csv";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ShiftJis::Encode("青木,あおき\r\n佐藤,さとう\r\n"));
        file.close();
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->rowCount(), 0);
        env.prompt().PushPath(path);
        QTimer::singleShot(0, [&windows] {
            TFormImport *form = windows.FormImport();
            for (int row = 0; row < 2; ++row) {
                form->SGMainSelectCell(row);
                form->findChild<QListWidget *>("ListBoxContents")->setCurrentRow(row);
                form->SBAddContentClick();
            }
            form->BtnImportClick();
        });
        QVERIFY(w.findChild<ImageButton *>("PNGButtonImport")->isEnabled() &&
                w.findChild<ImageButton *>("PNGButtonExport")->isEnabled());
        w.findChild<ImageButton *>("PNGButtonImport")->click();
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->rowCount(), 2);
        QCOMPARE(env.Scalar("select Kana from Usertbl where Name = '佐藤'"), QString("ｻﾄｳ"));
    }
};

QTEST_MAIN(TestAppWindows)
#include "tst_appwindows.moc"
