#include "../common/TestEnv.h"
#include "print/PaperSheets.h"
#include "printui/FormAddPaper.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestFormAddPaper : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env_ = std::make_unique<TestEnv>();
        form_ = std::make_unique<TFormAddPaper>(env_->dataPath());
        form_->show();
    }
    void cleanup() {
        form_.reset();
        env_.reset();
    }

    void opensEmptyWithPortraitChosen() {
        Edit("EditTitle")->setText("old");
        form_->hide();
        form_->show();
        for (const char *name : editNames)
            QVERIFY(Edit(name)->text().isEmpty());
        QCOMPARE(form_->windowTitle(), QString("オリジナルサイズ入力"));
        QVERIFY(form_->findChild<QRadioButton *>("RadioButtonPaperA4")->isChecked());
    }

    void refusesUntilEveryFieldIsUsable_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("no title") << 0 << ""
                                  << "ラベルのタイトルを入力して下さい";
        QTest::newRow("no columns") << 7 << ""
                                    << "列数を入力して下さい";
        QTest::newRow("zero columns") << 7 << "0"
                                      << "列数には1から99までの整数を入力して下さい";
        QTest::newRow("rows not a number") << 8 << "x"
                                           << "段数には1から99までの整数を入力して下さい";
        QTest::newRow("three columns beyond A4") << 7 << "3" << kSheetTooLargeMessage;
    }
    void refusesUntilEveryFieldIsUsable() {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        FillGood("自作");
        Edit(editNames[field])->setText(value);
        Click("Button1");
        QCOMPARE(env_->prompt().Texts(), QStringList{message});
        QVERIFY(form_->isVisible());
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(env_->dataPath() + kPaperFileName, sheets));
        QVERIFY(SheetsOfMaker(sheets, kOriginalMaker).isEmpty());
    }

    void registersTheSheetAndCloses() {
        FillGood("自作A4横");
        form_->findChild<QRadioButton *>("RadioButtonPaperA4T")->setChecked(true);
        // Three rows of 50.8 mm fit the 210 mm of a landscape sheet; five would not.
        Edit(editNames[8])->setText("3");
        Click("Button1");
        QCOMPARE(env_->prompt().Texts(), QStringList{"自作A4横を追加しました"});
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(env_->dataPath() + kPaperFileName, sheets));
        const QList<LabelSheet> own = SheetsOfMaker(sheets, kOriginalMaker);
        QCOMPARE(own.size(), 1);
        QCOMPARE(own[0].Direction, QString("1"));
        QCOMPARE(own[0].Columns, QString("2"));
        QCOMPARE(own[0].Rows, QString("3"));
    }

    void duplicateTitleKeepsTheWindowOpen() {
        FillGood("Mine");
        Click("Button1");
        form_->show();
        FillGood("MINE");
        env_->prompt().Clear();
        Click("Button1");
        QCOMPARE(env_->prompt().Texts(),
                 QStringList{"同名のラベルが存在します、ラベルタイトルを別のものにしてください"});
        QVERIFY(form_->isVisible());
    }

    void cancelWritesNothing() {
        FillGood("消える");
        Click("Button2");
        QVERIFY(!form_->isVisible());
        QCOMPARE(form_->result(), int(QDialog::Rejected));
        QList<LabelSheet> sheets;
        QVERIFY(ReadPaperFile(env_->dataPath() + kPaperFileName, sheets));
        QVERIFY(SheetsOfMaker(sheets, kOriginalMaker).isEmpty());
    }

private:
    static constexpr const char *editNames[] = {
        "EditTitle",      "EditLabelHor",    "EditLabelVer", "EditOffsetUpper", "EditOffsetLower",
        "EditOffsetLeft", "EditOffsetRight", "EditLow",      "EditColumn"};

    QLineEdit *Edit(const char *name) { return form_->findChild<QLineEdit *>(name); }
    void Click(const char *name) { form_->findChild<QPushButton *>(name)->click(); }
    void FillGood(const QString &title) {
        const QStringList values = {title,  "86.4", "50.8", "21.2", "21.8",
                                    "18.6", "18.6", "2",    "5"};
        for (int i = 0; i < values.size(); ++i)
            Edit(editNames[i])->setText(values[i]);
    }

    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TFormAddPaper> form_;
};

QTEST_MAIN(TestFormAddPaper)
#include "tst_formaddpaper.moc"
