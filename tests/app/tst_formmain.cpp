#include "../common/TestEnv.h"

#include "admin/StartupPassword.h"
#include "app/CustomerList.h"
#include "app/FormMain.h"
#include "app/FormSelectPrint.h"
#include "app/IndexTabBar.h"
#include "app/MainListPanel.h"
#include "core/Clock.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "platform/DesktopShell.h"
#include "records/FormEditClass.h"
#include "search/FormSearch.h"
#include "store/ClassTable.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "widgets/ImageButton.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

// Runs `action` on the next modal dialog that opens.
void OnNextModal(std::function<void(QWidget *)> action) {
    QTimer::singleShot(0, [action] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        action(dialog);
    });
}

QStringList ListedNames(const TFormMain &w) {
    QStringList names;
    for (int row = 0; row < int(w.ListedUserIds().size()); ++row)
        names
            << w.findChild<QTableView *>("ListViewMain")->model()->index(row, 1).data().toString();
    return names;
}

// The list's cell under the column captioned `caption`; fails the test when no column has it.
QString ListCell(const TFormMain &w, int row, const QString &caption) {
    const QAbstractItemModel *model = w.findChild<QTableView *>("ListViewMain")->model();
    for (int column = 0; column < model->columnCount(); ++column)
        if (model->headerData(column, Qt::Horizontal).toString() == caption)
            return model->index(row, column).data().toString();
    return QStringLiteral("no column ") + caption;
}

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT
private slots:
    void dataPaths_data() {
        QTest::addColumn<QString>("dataFolder");
        QTest::addColumn<QString>("dataPath");
        QTest::addColumn<QString>("dbPath");
        QTest::newRow("windows form") << "C:\\App\\"
                                      << "C:/App/Data/"
                                      << "C:/App/Data/DB/";
        QTest::newRow("linux form") << "/opt/p3/"
                                    << "/opt/p3/Data/"
                                    << "/opt/p3/Data/DB/";
        QTest::newRow("no end separator") << "/opt/p3"
                                          << "/opt/p3/Data/"
                                          << "/opt/p3/Data/DB/";
        QTest::newRow("missing value") << ""
                                       << "Data/"
                                       << "Data/DB/";
    }
    void dataPaths() {
        QFETCH(QString, dataFolder);
        QFETCH(QString, dataPath);
        QFETCH(QString, dbPath);
        QCOMPARE(DataPathOf(dataFolder), dataPath);
        QCOMPARE(DbPathOf(dataFolder), dbPath);
    }

    void startUpListsAndLoadsTheFirstCustomer() {
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("田中", "ﾀﾅｶ");
        TFormMain w;
        w.show();
        QCOMPARE(ListedNames(w), QStringList({"青木", "佐藤", "田中"}));
        QCOMPARE(w.findChild<QLabel *>("LabelDbNum")->text(), QString("3/3件該当"));
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(1, 0).data().toString(),
                 QString("〇"));
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(0, 0).data().toString(),
                 QString("Ｘ"));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString("青木"));
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QCOMPARE(w.findChild<QComboBox *>("CBPrClass")->count(), 13);
        QCOMPARE(w.findChild<QComboBox *>("CBPrClass")->itemText(0), QString("指定なし"));
        QCOMPARE(w.Editor()->findChild<QComboBox *>("CBClass2")->itemText(11), QString("項目12"));
        QCOMPARE(w.Editor()->findChild<QComboBox *>("CBClass")->currentIndex(), 0);
        QVERIFY(env.prompt().calls().empty());
    }

    void desktopLeftOverIsRemovedOnlyWithCustomers_data() {
        QTest::addColumn<bool>("withCustomer");
        QTest::newRow("empty table") << false;
        QTest::newRow("one customer") << true;
    }
    void desktopLeftOverIsRemovedOnlyWithCustomers() {
        QFETCH(bool, withCustomer);
        TestEnv env;
        const QString desktop = env.root() + "Desktop";
        QDir().mkpath(desktop);
        QDir().mkpath(qEnvironmentVariable("XDG_CONFIG_HOME"));
        TextFile::WriteFileAtomically(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs",
                                      QString("XDG_DESKTOP_DIR=\"%1\"\n").arg(desktop).toUtf8());
        QCOMPARE(QDir(GetSpecialFolder(DesktopFolderId)).absolutePath(),
                 QDir(desktop).absolutePath());
        const QString leftOver = desktop + "/resttemp.TV";
        TextFile::WriteFileAtomically(leftOver, "x");
        if (withCustomer)
            env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        QCOMPARE(QFile::exists(leftOver), !withCustomer);
        QCOMPARE(w.findChild<QLabel *>("LabelDbNum")->text(),
                 withCustomer ? QString("1/1件該当") : QString("0/0件該当"));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled(), withCustomer);
    }

    void badPasswordMarkerStopsStartUp_data() {
        QTest::addColumn<int>("lines");
        QTest::newRow("missing") << -1;
        QTest::newRow("eleven lines") << 11;
    }
    void badPasswordMarkerStopsStartUp() {
        QFETCH(int, lines);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        const QString marker = env.dbPath() + "usertbl.DM";
        QFile::remove(marker);
        if (lines > 0)
            TextFile::WriteLines(marker, QStringList(lines, "line"));
        TFormMain w;
        w.show();
        QCOMPARE(env.prompt().Texts("error").size(), 1);
        QVERIFY(env.prompt().Texts("error").first().contains("usertbl.DM"));
        QCOMPARE(int(w.ListedUserIds().size()), 0);
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->text().isEmpty());
    }

    void passwordPromptRunsOnlyWhenTheMarkerAsks_data() {
        QTest::addColumn<QChar>("eighth");
        QTest::addColumn<int>("prompts");
        QTest::newRow("on") << QChar('0') << 1;
        QTest::newRow("off") << QChar('O') << 0;
    }
    void passwordPromptRunsOnlyWhenTheMarkerAsks() {
        QFETCH(QChar, eighth);
        QFETCH(int, prompts);
        TestEnv env;
        const QString marker = env.dbPath() + "usertbl.DM";
        QStringList lines;
        QVERIFY(TextFile::ReadLines(marker, lines));
        lines[11][7] = eighth;
        QVERIFY(TextFile::WriteLines(marker, lines));
        int asked = 0;
        if (prompts > 0) {
            QVERIFY(WriteStoredPassword("pw"));
            OnNextModal([&asked](QWidget *dialog) {
                ++asked;
                QCOMPARE(dialog->objectName(), QString("Pass_Input"));
                dialog->findChild<QLineEdit *>("Edt_Pass")->setText("pw");
                dialog->findChild<QPushButton *>("Btn_Auth")->click();
            });
        }
        TFormMain w;
        w.show();
        QCOMPARE(asked, prompts);
        QVERIFY(w.findChild<QWidget *>("PanelMainListView")->isVisibleTo(&w));
    }

    void filtersNarrowTheList() {
        TestEnv env;
        const int a = env.AddCustomer("安藤", "ｱﾝﾄﾞｳ");
        const int n = env.AddCustomer("ンジャイ", "ﾝｼﾞｬｲ");
        const int n2 = env.AddCustomer("ンドゥール", "ﾝﾄﾞｩｰﾙ");
        env.Run(
            QString("update Usertbl set Class = 2 where UserId = %1 or UserId = %2").arg(a).arg(n));
        env.Run(QString("update Usertbl set Class2 = 3 where UserId = %1").arg(n2));
        TFormMain w;
        w.show();
        w.findChild<QComboBox *>("CBPrClass")->setCurrentIndex(3);
        QCOMPARE(ListedNames(w), QStringList({"安藤", "ンジャイ"}));
        w.findChild<IndexTabBar *>("TabControlClass3")->setCurrentIndex(11);
        QCOMPARE(ListedNames(w), QStringList({"ンジャイ"}));
        QCOMPARE(w.findChild<QLabel *>("LabelDbNum")->text(), QString("1/3件該当"));
        w.findChild<QComboBox *>("CBPrClass")->setCurrentIndex(0);
        w.findChild<QComboBox *>("CBPrClass2")->setCurrentIndex(4);
        QCOMPARE(ListedNames(w), QStringList({"ンドゥール"}));
        w.findChild<IndexTabBar *>("TabControlClass3")->setCurrentIndex(1);
        QCOMPARE(int(w.ListedUserIds().size()), 0);
        QCOMPARE(w.findChild<QLabel *>("LabelDbNum")->text(), QString("0/3件該当"));
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->text().isEmpty());
    }

    void turningTheWheelOverTheReadingTabsKeepsTheList() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        IndexTabBar *tabs = w.findChild<IndexTabBar *>("TabControlClass3");
        const QPoint at = tabs->tabRect(0).center();
        QWheelEvent wheel(at, tabs->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(tabs, &wheel);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(ListedNames(w), QStringList({"青木", "佐藤"}));
    }

    void searchTabWithoutSearchListsAll() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("Smith", "SMITH");
        TFormMain w;
        w.show();
        AnswerSearch(w, "名前", "", "を含むﾃﾞｰﾀ", {"BtnCancel"});
        w.findChild<IndexTabBar *>("TabControlClass3")->setCurrentIndex(13);
        QCOMPARE(int(w.ListedUserIds().size()), 2);
    }

    // Fills row 1 of the search window once it shows, then presses the buttons in order.
    static void AnswerSearch(TFormMain &w, const QString &field, const QString &value,
                             const QString &op, QStringList buttons, const char *range = "RBAll") {
        TFormSearch *search = w.findChild<TFormSearch *>("FormSearch");
        QTimer::singleShot(0, search, [=] {
            auto *fieldBox = search->findChild<QComboBox *>("CB_1_Topic1");
            fieldBox->setCurrentIndex(fieldBox->findText(field));
            search->findChild<QComboBox *>("CB_1_Topic2")->setCurrentText(value);
            auto *opBox = search->findChild<QComboBox *>("CB_1_Topic3");
            opBox->setCurrentIndex(opBox->findText(op));
            search->findChild<QRadioButton *>(range)->setChecked(true);
            for (const QString &button : buttons)
                search->findChild<QPushButton *>(button)->click();
        });
    }

    void searchTabListsWhatTheSearchWindowBuilt() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("赤井", "ｱｶｲ");
        env.AddCustomer("Smith", "SMITH");
        env.Run("update Usertbl set BirthDay = NULL where Name <> '赤井'");
        TFormMain w;
        w.show();
        AnswerSearch(w, "生年月日", "未入力", "と同じﾃﾞｰﾀ", {"BtnCancel"});
        w.findChild<IndexTabBar *>("TabControlClass3")->setCurrentIndex(13);
        QCOMPARE(int(w.ListedUserIds().size()), 3);
        AnswerSearch(w, "生年月日", "未入力", "と同じﾃﾞｰﾀ", {"BtnStart"}, "RB_A");
        w.ApplyIndexTab();
        QCOMPARE(ListedNames(w), QStringList({"青木"}));
        QCOMPARE(w.findChild<QLabel *>("LabelDbNum")->text(), QString("1/3件該当"));
    }

    void aSearchThatCannotBeBuiltKeepsTheListWorking() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        const int akai = env.AddCustomer("赤井", "ｱｶｲ");
        TFormMain w;
        w.show();
        AnswerSearch(w, "名前", "青", "を含むﾃﾞｰﾀ", {"BtnStart"});
        w.findChild<IndexTabBar *>("TabControlClass3")->setCurrentIndex(13);
        QCOMPARE(ListedNames(w), QStringList({"青木"}));
        // The window refuses the age and stays; the user gives up with キャンセル.
        env.prompt().Clear();
        AnswerSearch(w, "年齢", "abc", "と同じﾃﾞｰﾀ", {"BtnStart", "BtnCancel"});
        w.ApplyIndexTab();
        QCOMPARE(env.prompt().Texts("message").size(), 1);
        QCOMPARE(ListedNames(w), QStringList({"青木"}));
        env.Run(QString("update Usertbl set Name = '青山' where UserId = %1").arg(akai));
        w.RefreshList();
        QCOMPARE(ListedNames(w), QStringList({"青木", "青山"}));
        QCOMPARE(env.prompt().Texts("message").size(), 1);
    }

    void atItsSmallestEveryPostalCodeFieldShowsACode() {
        TestEnv env;
        TFormMain w;
        w.show();
        w.resize(w.minimumSize());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (int page : {0, 1}) {
            w.Editor()->findChild<QTabWidget *>("TCUseType")->setCurrentIndex(page);
            QCoreApplication::processEvents();
            QLineEdit *zip = page == 0 ? w.Editor()->findChild<QLineEdit *>("EditZip")
                                       : w.Editor()->findChild<QLineEdit *>("EditOfficeZip");
            QVERIFY2(zip->width() >= zip->fontMetrics().horizontalAdvance("000-0000"),
                     qPrintable(zip->objectName()));
        }
        QVERIFY(w.width() >= 900);
    }

    void printButtonNeedsRows() {
        TestEnv env;
        TFormMain w;
        w.show();
        w.findChild<ImageButton *>("PNGButtonPrint")->click();
        QCOMPARE(env.prompt().Texts("message"), QStringList({"印刷対象がありません"}));
    }

    void printChoiceStartsTheChosenPrint_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("cards");
        QTest::addColumn<int>("phoneList");
        QTest::newRow("宛名印刷") << "Button1" << 1 << 0 << 0;
        QTest::newRow("カルテ印刷") << "Button2" << 0 << 1 << 0;
        QTest::newRow("電話番号一覧印刷") << "Button4" << 0 << 0 << 1;
        QTest::newRow("キャンセル") << "Button3" << 0 << 0 << 0;
    }
    void printChoiceStartsTheChosenPrint() {
        QFETCH(QString, button);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        QSignalSpy address(w.findChild<QPushButton *>("PrintDM"), &QPushButton::clicked);
        QSignalSpy cards(w.findChild<QPushButton *>("BtnPrintChart"), &QPushButton::clicked);
        QSignalSpy phoneList(&w, &TFormMain::PhoneListPrintRequested);
        bool wasEnabled = false;
        OnNextModal([button, &wasEnabled](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), QString("印刷選択"));
            QPushButton *choice = dialog->findChild<QPushButton *>(button);
            wasEnabled = choice->isEnabled();
            choice->click();
        });
        w.findChild<ImageButton *>("PNGButtonPrint")->click();
        QTEST(int(address.size()), "address");
        QTEST(int(cards.size()), "cards");
        QTEST(int(phoneList.size()), "phoneList");
        QVERIFY(wasEnabled);
    }

    void everyToolIsEnabled() {
        TestEnv env;
        TFormMain w;
        const QList<ImageButton *> buttons =
            w.findChild<QWidget *>("PanelTopMenu")->findChildren<ImageButton *>();
        QCOMPARE(buttons.size(), 11);
        for (ImageButton *button : buttons)
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    }

    void typingIntoTheNameSavesEachKeyAndTheRowFollows() {
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        QSignalSpy saved(w.Editor(), &EditPanel::Saved);
        w.Editor()->findChild<QLineEdit *>("EditName")->end(false);
        QTest::keyClicks(w.Editor()->findChild<QLineEdit *>("EditName"), "ab");
        QCOMPARE(saved.size(), 2);
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(0, 1).data().toString(),
                 QString("青木ab"));
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(0, 0).data().toString(),
                 QString("×"));
        QCOMPARE(env.Scalar(QString("select Name from Usertbl where UserId = %1").arg(id)),
                 QString("青木ab"));
        w.Editor()->findChild<QCheckBox *>("ChbPrint")->click();
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(0, 0).data().toString(),
                 QString("〇"));
        QCOMPARE(env.Scalar(QString("select Print from Usertbl where UserId = %1").arg(id)),
                 QString("1"));
    }

    // Two PCs on one book: what the other one stored shows in place, and a customer it deleted
    // is told and leaves the editor.
    void anotherPcsChangesShowInPlace() {
        TestEnv env;
        for (int i = 0; i < 80; ++i)
            env.AddCustomer(QString("顧客%1").arg(i, 2, 10, QChar('0')),
                            QString("ｺｷｬｸ%1").arg(i, 2, 10, QChar('0')));
        TFormMain w;
        w.show();
        auto *list = w.findChild<QTableView *>("ListViewMain");
        auto *classFilter = w.findChild<QComboBox *>("CBPrClass");
        classFilter->setCurrentIndex(1);
        QVERIFY(w.SelectUserId(60));
        const int scrolled = list->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);
        const QString topName = list->model()->index(list->rowAt(0), 1).data().toString();
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        Query query2(pc2);
        for (const int id : {5, 60}) {
            CustomerRecord row = *LoadCustomerRecord(query2, id);
            row.telNo1 = QString("03-%1").arg(id);
            QCOMPARE(SaveCustomerRecord(query2, row), SaveOutcome::Saved);
        }
        InsertCustomer(query2, "追加", "ｱ");
        QStringList classNames = FreshClassNames();
        classNames[1] = "得意先";
        StoreChangedClassNames(query2, ClassAxis::First,
                               ReadClassNamesAsRead(query2, ClassAxis::First), classNames);
        QSignalSpy selection(w.ListPanel(), &MainListPanel::SelectionChanged);

        w.ShowOtherPcsChanges();
        QCOMPARE(selection.size(), 0);
        QCOMPARE(w.SelectedUserIds(), std::vector<int>{60});
        // 追加 sorts above the rows in view; they stay in place all the same.
        QCOMPARE(list->model()->index(list->rowAt(0), 1).data().toString(), topName);
        QVERIFY(list->verticalScrollBar()->value() > scrolled);
        QCOMPARE(w.ListedUserIds().size(), size_t(81));
        QCOMPARE(ListCell(w, 5, "電話"), QString("03-5"));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditTel1")->text(), QString("03-60"));
        QCOMPARE(classFilter->itemText(2), QString("得意先"));
        QCOMPARE(classFilter->currentIndex(), 1);

        QVERIFY(DeleteCustomerRow(query2, 60));
        w.ShowOtherPcsChanges();
        QCOMPARE(env.prompt().Texts("message"),
                 QStringList{"表示していた顧客は他のパソコンで削除されました。"});
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QCOMPARE(w.ListedUserIds().size(), size_t(80));
    }

    void selectingACustomerSavesNothing() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        QSignalSpy saved(w.Editor(), &EditPanel::Saved);
        QVERIFY(w.SelectUserId(2));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString("佐藤"));
        QVERIFY(w.SelectUserId(1));
        QCOMPARE(saved.size(), 0);
    }

    void severalSelectedRowsEmptyAndDisableTheEditor() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        w.findChild<QTableView *>("ListViewMain")->selectAll();
        QCOMPARE(w.CurrentSelection().kind, ListSelection::Several);
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->text().isEmpty());
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QCOMPARE(w.SelectedUserIds(), std::vector<int>({1, 2}));
        QVERIFY(w.SelectUserId(2));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString("佐藤"));
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
    }

    void theListShowsTheBlockTheCustomerPrintsWith_data() {
        QTest::addColumn<int>("useType");
        QTest::addColumn<QString>("zip");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("tel");
        QTest::newRow("personal") << 0 << "100-0001"
                                  << "東京都千代田区 皇居前ビル3階"
                                  << "03-1234-5678";
        QTest::newRow("company") << 1 << "530-0001"
                                 << "大阪府大阪市北区"
                                 << "06-2345-6789";
    }
    void theListShowsTheBlockTheCustomerPrintsWith() {
        QFETCH(int, useType);
        TestEnv env;
        env.AddCustomer("青木 一郎", "ｱｵｷ ｲﾁﾛｳ");
        env.Run(
            QString("update Usertbl set Zip = '100-0001', Address1 = '東京都千代田区', Address2 "
                    "= '皇居前ビル3階', TelNo_1 = '03-1234-5678', OfficeZip = '530-0001', "
                    "OfficeAddress1 = '大阪府大阪市北区', OfficeTel_1 = '06-2345-6789', "
                    "UseType = %1")
                .arg(useType));
        TFormMain w;
        w.show();
        QCOMPARE(ListCell(w, 0, "ﾌﾘｶﾞﾅ"), QString("ｱｵｷ ｲﾁﾛｳ"));
        QTEST(ListCell(w, 0, "〒"), "zip");
        QTEST(ListCell(w, 0, "住所"), "address");
        QTEST(ListCell(w, 0, "電話"), "tel");
        // The row follows what the editor stores.
        w.Editor()->findChild<QLineEdit *>(useType ? "EditOfficeTel1" : "EditTel1")->setText("0");
        QCOMPARE(ListCell(w, 0, "電話"), QString("0"));
    }

    void columnWidthsAreKeptAcrossStarts() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ", true);
        IniFile conf(env.dataPath() + "conf.ini");
        conf.WriteString("MAIN_LIST", "TEL_WID", "abc");
        QVERIFY(conf.Save());
        {
            TFormMain w;
            w.show();
            QHeaderView *header = w.findChild<QTableView *>("ListViewMain")->horizontalHeader();
            QCOMPARE(header->sectionSize(CustomerListModel::TelColumn), 100);
            QCOMPARE(header->sectionResizeMode(1), QHeaderView::Interactive);
            header->resizeSection(CustomerListModel::AddressColumn, 321);
            header->resizeSection(CustomerListModel::MarkColumn, 10);
            w.close();
        }
        TFormMain again;
        again.show();
        auto *list = again.findChild<QTableView *>("ListViewMain");
        QCOMPARE(list->columnWidth(CustomerListModel::AddressColumn), 321);
        // The rebuild widens the mark column again.
        QVERIFY(list->columnWidth(0) > list->fontMetrics().horizontalAdvance("印刷"));
    }

    void theCustomersOwnBoxesFollowTheSelection_data() {
        QTest::addColumn<int>("selected");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("several") << 2;
    }
    void theCustomersOwnBoxesFollowTheSelection() {
        QFETCH(int, selected);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        w.ClearListSelection();
        if (selected == 1)
            QVERIFY(w.SelectUserId(2));
        if (selected == 2)
            w.findChild<QTableView *>("ListViewMain")->selectAll();
        // 履歴, 画像1, 画像2 and 登録日.
        for (const char *name : {"BtnAddHistory", "BtnLoadImg1", "BtnDelimg2", "EditMakeday"})
            QVERIFY2(w.Editor()->findChild<QWidget *>(name)->isEnabled() == (selected == 1), name);
    }

    void popUpMenuNeedsASelection() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        w.ClearListSelection();
        w.ListPanel()->ListViewMainContextPopup(QPoint(5, 5));
        QVERIFY(!w.findChild<QMenu *>("PopupMenu1")->isVisible());
        QVERIFY(w.SelectUserId(1));
        w.ListPanel()->ListViewMainContextPopup(QPoint(5, 5));
        QVERIFY(w.findChild<QMenu *>("PopupMenu1")->isVisible());
        w.findChild<QMenu *>("PopupMenu1")->hide();
    }

    void aCustomerGoneBeforeLoadingShowsAnEmptyDisabledEditor() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        env.Run("delete from Usertbl where UserId = 2");
        QSignalSpy saved(w.Editor(), &EditPanel::Saved);
        QVERIFY(w.SelectUserId(2));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString());
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QCOMPARE(saved.size(), 0);
        QVERIFY(env.prompt().calls().empty());
    }

    void aCustomerThatCannotBeReadShowsAnEmptyDisabledEditor() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString("青木"));
        env.Run("drop table Usertbl");
        QVERIFY(w.SelectUserId(2));
        QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(), QString());
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
        QCOMPARE(env.prompt().Texts("error").size(), 1);
    }

    void aPastedQuoteIsStoredAsTyped() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        w.Editor()->findChild<QLineEdit *>("EditName")->selectAll();
        w.Editor()->findChild<QLineEdit *>("EditName")->insert("O'Brien, \"Jr\"");
        QCOMPARE(env.Scalar("select Name from Usertbl where UserId = 1"),
                 QString("O'Brien, \"Jr\""));
        QVERIFY(env.prompt().calls().empty());
        QCOMPARE(w.findChild<QTableView *>("ListViewMain")->model()->index(0, 1).data().toString(),
                 QString("O'Brien, \"Jr\""));
    }

    void renamingAClassKeepsSelectionAndFilter() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        env.Run("update Usertbl set Class = 3 where UserId = 2");
        TFormMain w;
        w.show();
        w.findChild<QComboBox *>("CBPrClass")->setCurrentIndex(4);
        QCOMPARE(ListedNames(w), QStringList({"佐藤"}));
        QCOMPARE(w.Editor()->findChild<QComboBox *>("CBClass")->currentIndex(), 3);
        QSignalSpy saved(w.Editor(), &EditPanel::Saved);
        QSignalSpy announced(&w, &TFormMain::ClassNamesLoaded);
        OnNextModal([](QWidget *dialog) {
            auto *form = qobject_cast<TFormEditClass *>(dialog);
            QVERIFY(form);
            QCOMPARE(form->findChild<QLineEdit *>("EditCass1_4")->text(), QString("項目4"));
            form->findChild<QLineEdit *>("EditCass1_4")->setText("得意先");
            form->findChild<QPushButton *>("BtnOk")->click();
        });
        w.findChild<ImageButton *>("PNGButtonEditClass")->click();
        QCOMPARE(w.findChild<QComboBox *>("CBPrClass")->currentIndex(), 4);
        QCOMPARE(w.findChild<QComboBox *>("CBPrClass")->itemText(4), QString("得意先"));
        QCOMPARE(w.Editor()->findChild<QComboBox *>("CBClass")->currentIndex(), 3);
        QCOMPARE(w.Editor()->findChild<QComboBox *>("CBClass")->itemText(3), QString("得意先"));
        QCOMPARE(ListedNames(w), QStringList({"佐藤"}));
        QCOMPARE(saved.size(), 0);
        QCOMPARE(announced.size(), 1);
        QCOMPARE(announced.first().first().toStringList().value(3), QString("得意先"));
        QCOMPARE(env.Scalar("select Name from Classtbl where ClassId = 3"), QString("得意先"));
    }

    void closingEmptiesTheEditor() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        TFormMain w;
        w.show();
        w.close();
        QCOMPARE(w.CurrentSelection().kind, ListSelection::None);
        QVERIFY(w.Editor()->findChild<QLineEdit *>("EditName")->text().isEmpty());
        QVERIFY(!w.Editor()->findChild<QLineEdit *>("EditName")->isEnabled());
    }

    void leavingRetriesAChangeThatCouldNotBeStored_data() {
        QTest::addColumn<bool>("closing");
        QTest::addColumn<bool>("bookFreedBeforeLeaving");
        QTest::addColumn<bool>("leaveAnyway");
        for (const bool closing : {true, false}) {
            const char *how = closing ? "closing" : "showing another customer";
            QTest::addRow("%s: stored on leaving", how) << closing << true << false;
            QTest::addRow("%s: user stays", how) << closing << false << false;
            QTest::addRow("%s: user leaves anyway", how) << closing << false << true;
        }
    }
    void leavingRetriesAChangeThatCouldNotBeStored() {
        QFETCH(bool, closing);
        QFETCH(bool, bookFreedBeforeLeaving);
        QFETCH(bool, leaveAnyway);
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        const int otherId = env.AddCustomer("佐藤", "ｻﾄｳ");
        TFormMain w;
        w.show();
        QCOMPARE(w.CurrentSelection().userId, id);
        Query readOnly(w.GetDatabase(), "PRAGMA query_only = 1");
        readOnly.Execute();
        w.Editor()->findChild<QLineEdit *>("EditName")->end(false);
        QTest::keyClicks(w.Editor()->findChild<QLineEdit *>("EditName"), "ab");
        QCOMPARE(env.prompt().Texts("error").size(), 1);
        if (bookFreedBeforeLeaving) {
            readOnly.SetText("PRAGMA query_only = 0");
            readOnly.Execute();
        }
        env.prompt().PushAnswer(leaveAnyway ? Prompt::Answer::Yes : Prompt::Answer::No);
        if (closing)
            w.close();
        else
            w.SelectUserId(otherId);
        const QString stored =
            env.Scalar(QString("select Name from Usertbl where UserId = %1").arg(id));
        QCOMPARE(stored, bookFreedBeforeLeaving ? QString("青木ab") : QString("青木"));
        QCOMPARE(env.prompt().Texts("confirm").size(), bookFreedBeforeLeaving ? 0 : 1);
        const bool stayed = !bookFreedBeforeLeaving && !leaveAnyway;
        if (closing) {
            QCOMPARE(w.isVisible(), stayed);
        } else {
            QCOMPARE(w.CurrentSelection().userId, stayed ? id : otherId);
            QCOMPARE(w.Editor()->findChild<QLineEdit *>("EditName")->text(),
                     stayed ? QString("青木ab") : QString("佐藤"));
        }
    }

    void unopenableTablesAreReportedOnce() {
        TestEnv env;
        QFile::remove(env.dbPath() + Database::FileName);
        env.db().Close();
        TFormMain w;
        w.show();
        QCOMPARE(env.prompt().Texts("error").size(), 1);
        QCOMPARE(int(w.ListedUserIds().size()), 0);
        QVERIFY(w.findChild<QLabel *>("LabelDbNum")->text().isEmpty());
    }
};

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
