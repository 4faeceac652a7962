#include "../common/TestEnv.h"

#include "records/ClassNames.h"
#include "records/FormEditClass.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

struct Boxes {
    QComboBox cbClass, cbClass2, cbPrClass, cbPrClass2;
    ClassBoxes All() { return {&cbClass, &cbClass2, &cbPrClass, &cbPrClass2}; }
};

void AnswerEditor(TFormEditClass &form, std::function<void()> edit, bool ok) {
    QTimer::singleShot(0, [&form, edit, ok] {
        QVERIFY(form.isVisible());
        edit();
        (ok ? form.findChild<QPushButton *>("BtnOk") : form.findChild<QPushButton *>("BtnCancel"))
            ->click();
    });
}

} // namespace

class TestClassNames : public QObject {
    Q_OBJECT
private slots:
    void updateStatements() {
        const QStringList statements = ClassNameUpdates(
            ClassAxis::Second, {"A", "O'Neil", "", "d", "e", "f", "g", "h", "i", "j", "k", "l"});
        QCOMPARE(statements.size(), 12);
        QCOMPARE(statements[0], QString("Update Classtbl2 set Name='A'where ClassId = 0"));
        QCOMPARE(statements[1], QString("Update Classtbl2 set Name='O''Neil'where ClassId = 1"));
        QCOMPARE(statements[2], QString("Update Classtbl2 set Name=''where ClassId = 2"));
        QCOMPARE(statements[11], QString("Update Classtbl2 set Name='l'where ClassId = 11"));
    }

    void enterMovesToTheNextName() {
        TFormEditClass form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.findChild<QLineEdit *>("EditCass1_12")->setFocus();
        QTest::keyClick(form.findChild<QLineEdit *>("EditCass1_12"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), form.findChild<QLineEdit *>("EditCass2_1"));
        QTest::keyClick(form.findChild<QLineEdit *>("EditCass2_12"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), form.findChild<QPushButton *>("BtnOk"));
        QVERIFY(form.isVisible());
    }

    void fillClassNames_data() {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("fifth");
        QTest::addColumn<QString>("last");
        QTest::newRow("twelve") << QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
                                                "11", "12"})
                                << "5"
                                << "12";
        QTest::newRow("three repeat the last") << QStringList({"a", "b", "c"}) << "c"
                                               << "c";
        QTest::newRow("none") << QStringList() << ""
                              << "";
    }
    void fillClassNames() {
        QFETCH(QStringList, stored);
        const QStringList names = FillClassNames(stored);
        QCOMPARE(names.size(), 12);
        QTEST(names[4], "fifth");
        QTEST(names[11], "last");
    }

    void loadingFillsTheBoxesSilently() {
        TestEnv env;
        Query query(env.db());
        Boxes boxes;
        QSignalSpy changed(&boxes.cbPrClass, &QComboBox::currentIndexChanged);
        LoadClassNames(query, boxes.All());
        QCOMPARE(boxes.cbClass.count(), 12);
        QCOMPARE(boxes.cbPrClass2.count(), 13);
        QCOMPARE(boxes.cbPrClass.itemText(0), QString("指定なし"));
        QCOMPARE(boxes.cbPrClass.itemText(12), QString("項目12"));
        QCOMPARE(boxes.cbClass.currentIndex(), 0);
        QCOMPARE(changed.size(), 0);
    }

    void editingStoresNamesAsTypedAndKeepsSelections() {
        TestEnv env;
        Query query(env.db());
        Boxes boxes;
        LoadClassNames(query, boxes.All());
        boxes.cbClass.setCurrentIndex(3);
        boxes.cbPrClass.setCurrentIndex(4);
        boxes.cbPrClass2.setCurrentIndex(12);
        TFormEditClass form;
        AnswerEditor(
            form,
            [&form] {
                form.findChild<QLineEdit *>("EditCass1_4")->insert("O'Neil商事");
                form.findChild<QLineEdit *>("EditCass2_1")->clear();
                form.findChild<QLineEdit *>("EditCass2_12")->setText(" 末尾 ");
            },
            true);
        QSignalSpy changed(&boxes.cbPrClass, &QComboBox::currentIndexChanged);
        const bool stored = EditClassNames(query, form, boxes.All());
        QCOMPARE(env.prompt().Texts(), QStringList());
        QVERIFY(stored);
        QCOMPARE(env.Scalar("select Name from Classtbl where ClassId = 3"),
                 QString("項目4O'Neil商事"));
        QCOMPARE(env.Scalar("select count(*) from Classtbl2 where Name IS NULL"), QString("1"));
        QCOMPARE(env.Scalar("select Name from Classtbl2 where ClassId = 11"), QString(" 末尾 "));
        QCOMPARE(boxes.cbClass.itemText(3), QString("項目4O'Neil商事"));
        QCOMPARE(boxes.cbPrClass.itemText(4), QString("項目4O'Neil商事"));
        QCOMPARE(boxes.cbClass2.itemText(0), QString());
        QCOMPARE(boxes.cbPrClass2.itemText(12), QString(" 末尾 "));
        QCOMPARE(boxes.cbClass.currentIndex(), 3);
        QCOMPARE(boxes.cbPrClass.currentIndex(), 4);
        QCOMPARE(boxes.cbPrClass2.currentIndex(), 12);
        QCOMPARE(changed.size(), 0);
        QVERIFY(env.prompt().calls().empty());
        Boxes reloaded;
        LoadClassNames(query, reloaded.All());
        QCOMPARE(reloaded.cbClass.itemText(3), QString("項目4O'Neil商事"));
        QCOMPARE(reloaded.cbClass.itemText(4), QString("項目5"));
    }

    void cancelLeavesTheTablesAlone() {
        TestEnv env;
        Query query(env.db());
        Boxes boxes;
        LoadClassNames(query, boxes.All());
        TFormEditClass form;
        AnswerEditor(
            form, [&form] { form.findChild<QLineEdit *>("EditCass1_1")->setText("変更"); }, false);
        QVERIFY(!EditClassNames(query, form, boxes.All()));
        QCOMPARE(env.Scalar("select Name from Classtbl where ClassId = 0"), QString("未分類"));
        QCOMPARE(boxes.cbClass.itemText(0), QString("未分類"));
    }

    void theEditorShowsStoredNamesAndTakesNoFilteredKeys() {
        TestEnv env;
        env.Run("delete from Classtbl where ClassId > 2");
        Query query(env.db());
        Boxes boxes;
        LoadClassNames(query, boxes.All());
        TFormEditClass form;
        AnswerEditor(
            form,
            [&form] {
                QCOMPARE(form.findChild<QLineEdit *>("EditCass1_2")->text(), QString("項目2"));
                QCOMPARE(form.findChild<QLineEdit *>("EditCass1_12")->text(), QString("項目3"));
                QCOMPARE(form.findChild<QLineEdit *>("EditCass2_12")->text(), QString("項目12"));
                form.findChild<QLineEdit *>("EditCass2_6")->clear();
                QTest::keyClicks(form.findChild<QLineEdit *>("EditCass2_6"), "a'b,c");
                QCOMPARE(form.findChild<QLineEdit *>("EditCass2_6")->text(), QString("abc"));
                form.findChild<QLineEdit *>("EditCass2_6")->insert(QString(31, u'x'));
                QCOMPARE(form.findChild<QLineEdit *>("EditCass2_6")->text().size(), 30);
            },
            false);
        EditClassNames(query, form, boxes.All());
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    TestClassNames test;
    return RunOnEveryEngine(test, argc, argv);
}
#include "tst_classnames.moc"
