#include "../common/TestEnv.h"
#include "../print/PdfPages.h"

#include "admin/Backup.h"
#include "admin/StartupPassword.h"
#include "app/AppWindows.h"
#include "app/FormMain.h"
#include "app/HeadlessCommand.h"
#include "widgets/ImageButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

void OnNextModal(std::function<void(QWidget *)> action) {
    QTimer::singleShot(0, [action] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        action(dialog);
    });
}

QStringList Items(const QComboBox *box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class TestAdminWiring : public QObject {
    Q_OBJECT
private slots:
    void restoreFromTheToolbarReloadsListAndClasses() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        env.Run("Update Classtbl set Name='得意先' where ClassId = 0");
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        QVERIFY(w.findChild<ImageButton *>("PNGButtonBackup")->isEnabled() &&
                w.findChild<ImageButton *>("PNGButtonFormat")->isEnabled());
        OnNextModal([](QWidget *d) { d->findChild<QPushButton *>("BtnMake")->click(); });
        w.findChild<ImageButton *>("PNGButtonBackup")->click();

        env.prompt().PushAnswer(Prompt::Answer::Yes);
        env.prompt().PushAnswer(Prompt::Answer::Yes);
        env.prompt().PushAnswer(Prompt::Answer::No);
        w.findChild<ImageButton *>("PNGButtonFormat")->click();
        QCOMPARE(int(w.ListedUserIds().size()), 0);
        QCOMPARE(Items(w.findChild<QComboBox *>("CBPrClass")).mid(0, 3),
                 QStringList({"指定なし", "未分類", "項目2"}));

        OnNextModal([](QWidget *d) {
            auto *list = d->findChild<QTreeWidget *>("ListViewFileList");
            list->setCurrentItem(list->topLevelItem(0));
            d->findChild<QPushButton *>("BtnOk")->click();
        });
        w.findChild<ImageButton *>("PNGButtonBackup")->click();
        const QStringList messages = env.prompt().Texts("message");
        QCOMPARE(messages.size(), 3);
        QCOMPARE(messages[0], QString("バックアップを作成しました"));
        QVERIFY(messages[1].startsWith("初期化しました。\r\n顧客 1件"));
        QVERIFY(messages[2].startsWith("バックアップを読み込みました\r\n復元前のデータは"));
        QCOMPARE(int(w.ListedUserIds().size()), 1);
        QCOMPARE(w.findChild<QComboBox *>("CBPrClass")->itemText(1), QString("得意先"));
    }

    void settingsWindowSwitchesThePasswordOn() {
        TestEnv env;
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        OnNextModal([](QWidget *d) {
            auto *pages = d->findChild<QTabWidget *>("PageControl1");
            QCOMPARE(pages->tabText(0), QString("パスワード設定"));
            d->findChild<QCheckBox *>("CB_PassUse")->setChecked(true);
            d->findChild<QLineEdit *>("Edt_Pass1")->setText("pw");
            d->findChild<QLineEdit *>("Edt_Pass2")->setText("pw");
            d->findChild<QPushButton *>("Btn_OK")->click();
        });
        w.findChild<ImageButton *>("PNGButtonConfig")->click();
        QStringList lines;
        QVERIFY(ReadMarkerLines(env.dbPath(), lines, nullptr));
        QCOMPARE(MarkerOf(lines), PasswordMarker::On);
        QCOMPARE(ReadStoredPassword(), QString("pw"));
    }

    void printChoiceStartsTheListPrints_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("cards, none marked")
            << "Button2" << false << QStringList({"印刷対象のデータがありません"});
        QTest::newRow("phone list, none marked")
            << "Button4" << false << QStringList({"印刷対照のデータがありません。"});
        QTest::newRow("cards") << "Button2" << true << QStringList({""});
        QTest::newRow("phone list") << "Button4" << true << QStringList({""});
    }
    void printChoiceStartsTheListPrints() {
        QFETCH(QString, button);
        QFETCH(bool, marked);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ", marked);
        env.prompt().PushPrinterSetup(false);
        TFormMain w;
        TAppWindows windows(w);
        w.show();
        OnNextModal([button](QWidget *d) {
            auto *choice = d->findChild<QPushButton *>(button);
            QVERIFY(choice->isEnabled());
            choice->click();
        });
        w.findChild<ImageButton *>("PNGButtonPrint")->click();
        QStringList texts;
        for (const auto &call : env.prompt().calls())
            texts << call.text;
        QTEST(texts, "calls");
    }

    void headlessListPrints_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("marked");
        QTest::addColumn<int>("pages");
        QTest::newRow("phone list") << "--print-phone-list" << 16 << 2;
        QTest::newRow("cards") << "--print-cards" << 3 << 2;
    }
    void headlessListPrints() {
        QFETCH(QString, option);
        QFETCH(int, marked);
        TestEnv env;
        for (int i = 0; i < marked; ++i)
            env.AddCustomer(QString("顧客%1").arg(i), QString("ｺｷｬｸ%1").arg(i), true);
        env.AddCustomer("対象外", "ﾀｲｼｮｳｶﾞｲ", false);
        const QString pdf = env.root() + "list.pdf";
        const ListPrintKind kind =
            option == "--print-cards" ? ListPrintKind::CustomerCards : ListPrintKind::PhoneList;
        QCOMPARE(RunPrintListCommand(kind, pdf), 0);
        QTEST(PdfPageCount(pdf), "pages");
        QVERIFY(!QFile::exists(pdf + ".part"));
    }
};

QTEST_MAIN(TestAdminWiring)
#include "tst_adminwiring.moc"
