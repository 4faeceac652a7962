#include "core/Clock.h"
#include "platform/Prompt.h"
#include "search/FormSearch.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

class TestFormSearch : public QObject {
    Q_OBJECT

    ScriptedPrompt *prompt_ = nullptr;

    template <typename T> static T *Find(TFormSearch &form, const QString &name) {
        T *widget = form.findChild<T *>(name);
        if (!widget)
            qFatal("no %s", qPrintable(name));
        return widget;
    }
    static QComboBox *Box(TFormSearch &form, int row, int part) {
        return Find<QComboBox>(form, QString("CB_%1_Topic%2").arg(row).arg(part));
    }
    static QStringList Items(QComboBox *box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    // Typing into a value box, as the user does.
    static void Type(TFormSearch &form, int row, const QString &text) {
        QLineEdit *edit = Box(form, row, 2)->lineEdit();
        edit->selectAll();
        edit->insert(text);
    }

private slots:
    void init() {
        auto prompt = std::make_unique<ScriptedPrompt>();
        prompt_ = prompt.get();
        Prompt::Install(std::move(prompt));
    }

    void layoutAfterShowing() {
        TFormSearch form;
        form.SetClassNames({"顧客", "業者"}, {"東", "西", "南"});
        form.show();
        QCOMPARE(form.windowTitle(), QString("検索"));
        QVERIFY(Find<QRadioButton>(form, "RBAll")->isChecked());
        QCOMPARE(Find<QRadioButton>(form, "RB_ABC")->text(), QString("ABC"));
        QCOMPARE(Box(form, 1, 1)->count(), 40);
        QCOMPARE(Box(form, 1, 1)->currentText(), QString("ﾌﾘｶﾞﾅ"));
        QCOMPARE(Items(Box(form, 1, 2)), QStringList({"", "未入力"}));
        QCOMPARE(Box(form, 1, 3)->currentText(), QString("を含むﾃﾞｰﾀ"));
        QVERIFY(!form.findChild<QCheckBox *>("ChB1"));
        QVERIFY(Find<QCheckBox>(form, "ChB5")->isHidden());

        Box(form, 4, 1)->setCurrentIndex(26); // 分類２
        QCOMPARE(Items(Box(form, 4, 2)), QStringList({"東", "西", "南"}));
        QCOMPARE(Box(form, 4, 2)->currentText(), QString("東"));
        QCOMPARE(Items(Box(form, 4, 3)), QStringList({"と同じﾃﾞｰﾀ", "でないﾃﾞｰﾀ"}));
        QVERIFY(!Find<QCheckBox>(form, "ChB4")->isChecked());
        Box(form, 2, 1)->setCurrentIndex(23); // 年齢
        QCOMPARE(Box(form, 2, 2)->count(), 0);
        QVERIFY(!Box(form, 2, 2)->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));

        if (qEnvironmentVariableIsSet("PELLOR3_GRAB"))
            form.grab().save(qEnvironmentVariable("PELLOR3_GRAB"));
    }

    void startNeedsRowOne() {
        TFormSearch form;
        form.show();
        Type(form, 1, "  ");
        QTest::mouseClick(Find<QPushButton>(form, "BtnStart"), Qt::LeftButton);
        QVERIFY(!form.AllowClose());
        QVERIFY(form.isVisible());
        QCOMPARE(prompt_->Texts(), QStringList({"検索条件１の検索条件が未入力です"}));
        QCOMPARE(Box(form, 1, 2)->currentText(), QString("  "));
    }

    // The greeting row alone is a search; it starts unticked at the season of today.
    void greetingConditionAlone() {
        Clock::SetFixed(QDateTime(QDate(2026, 10, 1), QTime(9, 0)));
        TFormSearch form;
        form.show();
        Clock::Reset();
        QVERIFY(!form.HasConditions());
        QCOMPARE(Find<QSpinBox>(form, "SpinGreetingSeason")->value(), 2027);
        Find<QGroupBox>(form, "GroupGreeting")->setChecked(true);
        Find<QComboBox>(form, "CBGreetingKind")->setCurrentIndex(2);     // 喪中 受け取った
        Find<QComboBox>(form, "CBGreetingPresence")->setCurrentIndex(1); // なし
        QVERIFY(form.HasConditions());
        QCOMPARE(form.BuildSearchClause()->SearchClause,
                 QString("UserId not in (select UserId from greetingtbl where Season = 2027 and "
                         "Kind = 3)"));
    }

    void searchAndShowAgain() {
        TFormSearch form;
        form.SetClassNames({"顧客"}, {"東"});
        form.show();
        Find<QRadioButton>(form, "RB_N")->setChecked(true);
        Type(form, 1, "ab'c");
        Box(form, 2, 2)->setCurrentIndex(1); // 未入力
        QCOMPARE(Box(form, 2, 3)->currentText(), QString("と同じﾃﾞｰﾀ"));
        QVERIFY(Find<QCheckBox>(form, "ChB2")->isChecked());
        Box(form, 3, 1)->setCurrentIndex(28); // 印刷
        QVERIFY(!Find<QCheckBox>(form, "ChB3")->isChecked());
        Box(form, 3, 2)->setCurrentIndex(1); // 印刷しない
        QVERIFY(Find<QCheckBox>(form, "ChB3")->isChecked());
        Type(form, 4, "x");
        Type(form, 4, "");
        QVERIFY(!Find<QCheckBox>(form, "ChB4")->isChecked());

        QCOMPARE(form.ReadingRangeIndex(), 11);
        QVERIFY(form.HasConditions());
        const auto products = form.BuildSearchClause();
        QVERIFY(products);
        QCOMPARE(products->SearchClause,
                 QString("(Kana LIKE '%ab''c%') AND (Kana ='') AND (Print ='0')"));

        QTest::mouseClick(Find<QPushButton>(form, "BtnStart"), Qt::LeftButton);
        QVERIFY(form.AllowClose());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QVERIFY(!form.isVisible());
        QVERIFY(prompt_->calls().empty());

        form.show();
        QCOMPARE(Box(form, 1, 2)->currentText(), QString());
        QCOMPARE(Box(form, 3, 1)->currentText(), QString("印刷"));
        QCOMPARE(Box(form, 3, 2)->currentText(), QString("印刷する"));
        QVERIFY(!Find<QCheckBox>(form, "ChB2")->isChecked());
        QVERIFY(!Find<QCheckBox>(form, "ChB3")->isChecked());
        QCOMPARE(form.ReadingRangeIndex(), 11);
        QVERIFY(!form.HasConditions());
    }

    void ageThatIsNoNumberKeepsWindowOpen() {
        TFormSearch form;
        form.show();
        Type(form, 1, "ｱ");
        Box(form, 2, 1)->setCurrentIndex(23); // 年齢
        Type(form, 2, "三十");
        QTest::mouseClick(Find<QPushButton>(form, "BtnStart"), Qt::LeftButton);
        QVERIFY(!form.AllowClose());
        QVERIFY(form.isVisible());
        const QString message = "検索条件２の年齢には0から999までの整数を入力して下さい";
        QCOMPARE(prompt_->Texts(), QStringList({message}));
        QVERIFY(!form.BuildSearchClause());
        QCOMPARE(prompt_->Texts(), QStringList({message, message}));

        QTest::mouseClick(Find<QPushButton>(form, "BtnCancel"), Qt::LeftButton);
        QVERIFY(form.AllowClose());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(TestFormSearch)
#include "tst_formsearch.moc"
