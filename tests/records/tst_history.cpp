#include "../common/TestEnv.h"

#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "records/FormHistory.h"
#include "records/History.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

HistoryRow Row(const QString &date, const QString &title, const QString &contents = {},
               int id = 0) {
    HistoryRow row;
    row.date = date;
    row.title = title;
    row.contents = contents;
    row.historyId = id;
    return row;
}

QStringList Column(const std::vector<HistoryRow> &rows, int column) {
    QStringList texts;
    for (const HistoryRow &row : rows)
        texts << HistorySort::ColumnText(row, column);
    return texts;
}

QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int AddEntry(TestEnv &env, int userId, const QString &date, const QString &title,
             const QString &contents) {
    Query query(env.db());
    InsertHistory(query, userId, {ParseShortDate(date), title, contents});
    return static_cast<int>(query.LastInsertId());
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void sortFlagFlipsOnEveryClick() {
        std::vector<HistoryRow> rows{Row("2024/02/01", "b"), Row("2024/01/05", "C"),
                                     Row("2023/12/31", "a")};
        HistorySort sort;
        sort.ColumnClick(0);
        sort.Sort(rows);
        QCOMPARE(Column(rows, 0), QStringList({"2023/12/31", "2024/01/05", "2024/02/01"}));
        // The next click, on another column, sorts that column descending.
        sort.ColumnClick(1);
        sort.Sort(rows);
        QCOMPARE(Column(rows, 1), QStringList({"C", "b", "a"}));
        sort.ColumnClick(0);
        sort.Sort(rows);
        QCOMPARE(Column(rows, 0), QStringList({"2023/12/31", "2024/01/05", "2024/02/01"}));
    }

    void compareIgnoresAsciiCaseOnly_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("ascii case") << "abc"
                                    << "ABC" << 0;
        QTest::newRow("letters in order") << "abd"
                                          << "ABC" << 1;
        QTest::newRow("prefix first") << "ab"
                                      << "abc" << -1;
        QTest::newRow("full-width case counts") << "ａ"
                                                << "Ａ" << 1;
        // Shift-JIS byte order (815B before 82A0), not Unicode order (U+30FC after U+3042).
        QTest::newRow("shift-jis order") << "ー"
                                         << "あ" << -1;
    }
    void compareIgnoresAsciiCaseOnly() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        std::vector<HistoryRow> rows{Row("", "", a, 1), Row("", "", b, 2)};
        HistorySort sort;
        sort.ColumnClick(2);
        sort.Sort(rows);
        // Equal texts keep their order in both directions.
        const QStringList aFirst{"1", "2"}, bFirst{"2", "1"};
        QCOMPARE(Column(rows, 3), sign > 0 ? bFirst : aFirst);
        sort.ColumnClick(2);
        sort.Sort(rows);
        QCOMPARE(Column(rows, 3), sign < 0 ? bFirst : aFirst);
    }

    void equalKeysKeepTheirOrder() {
        std::vector<HistoryRow> rows{Row("2024/01/01", "x", "", 1), Row("2024/01/01", "X", "", 2),
                                     Row("2023/01/01", "x", "", 3)};
        HistorySort sort;
        sort.ColumnClick(1);
        sort.Sort(rows);
        QCOMPARE(Column(rows, 3), QStringList({"1", "2", "3"}));
    }

    void csvBytes() {
        TestEnv env;
        const QString path = env.root() + "out.csv";
        env.prompt().PushPath(path);
        QVERIFY(SaveHistoryCsv({Row("2024/02/01", "電話", "見積"), Row("2023/12/31", "", "来店")},
                               "山田 太郎", "様"));
        QCOMPARE(Bytes(path), ShiftJis::Encode("日付,項目,内容\r\n2024/02/01,電話,見積\r\n"
                                               "2023/12/31,,来店\r\n"));
        const auto &call = env.prompt().calls().front();
        QCOMPARE(call.kind, QString("save"));
        QCOMPARE(call.text, QString("山田 太郎 様の履歴"));
        QCOMPARE(call.title, QString("山田 太郎 様の履歴保存"));
    }

    void csvWithoutEntriesHasTheHeaderOnly() {
        TestEnv env;
        env.prompt().PushPath(env.root() + "empty");
        QVERIFY(SaveHistoryCsv({}, "a", "殿"));
        QCOMPARE(Bytes(env.root() + "empty.csv"), ShiftJis::Encode("日付,項目,内容\r\n"));
    }

    void aDotInTheNameStillGetsTheExtension() {
        TestEnv env;
        env.prompt().PushPath(env.root() + "T.Yamada 様の履歴");
        QVERIFY(SaveHistoryCsv({}, "T.Yamada", "様"));
        QVERIFY(QFile::exists(env.root() + "T.Yamada 様の履歴.csv"));
    }

    void csvNotWritten_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("error");
        QTest::newRow("cancelled") << "" << false << false;
        QTest::newRow("a folder of that name") << "old.csv" << true << true;
        QTest::newRow("missing folder") << "no/such/folder/x.csv" << false << true;
    }
    void csvNotWritten() {
        QFETCH(QString, target);
        QFETCH(bool, folder);
        QFETCH(bool, error);
        TestEnv env;
        const QString path = target.isEmpty() ? QString() : env.root() + target;
        if (folder)
            QVERIFY(QDir().mkpath(path));
        env.prompt().PushPath(path);
        QVERIFY(!SaveHistoryCsv({Row("2024/02/01", "a", "b")}, "a", "様"));
        QCOMPARE(env.prompt().Texts("error").size(), error ? 1 : 0);
        QVERIFY(QDir(env.root()).entryList({"*.csv"}, QDir::Files).isEmpty());
        QVERIFY(QDir(env.root()).entryList({"*.csv*"}, QDir::Hidden | QDir::Files).isEmpty());
    }

    void existingFileWithAddedExtensionIsAskedAbout() {
        TestEnv env;
        QFile old(env.root() + "list.csv");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        env.prompt().PushPath(env.root() + "list");
        env.prompt().PushAnswer(Prompt::Answer::No);
        QVERIFY(!SaveHistoryCsv({}, "a", "様"));
        QCOMPARE(Bytes(env.root() + "list.csv"), QByteArray("old"));
        QCOMPARE(env.prompt().Texts("confirm").size(), 1);
    }

    void proposedNameHasNoFolder() {
        QCOMPARE(HistoryCsvProposedName("A/B商事", "御中"), QString("A／B商事 御中の履歴"));
    }

    void summary() {
        TestEnv env;
        Query query(env.db());
        QCOMPARE(HistorySummary(query, 1), QString());
        AddEntry(env, 1, "2024/01/05", "電話", "見積依頼");
        AddEntry(env, 2, "2024/01/06", "other", "customer");
        AddEntry(env, 1, "2023/12/31", "来店", "");
        QCOMPARE(HistorySummary(query, 1),
                 QString("2024/01/05 - 電話 - 見積依頼 | 2023/12/31 - 来店 -  | "));
    }

    void statementsQuoteValues() {
        TestEnv env;
        const QString title = "O'Neil \"株\"";
        const int id = AddEntry(env, 3, "2024/05/01", title, "it's");
        Query query(env.db());
        auto entry = ReadHistoryEntry(query, id);
        QVERIFY(entry);
        QCOMPARE(entry->date, QDate(2024, 5, 1));
        QCOMPARE(entry->title, title);
        QCOMPARE(entry->contents, QString("it's"));
        QVERIFY(UpdateHistory(query, id, entry->rowVersion, {QDate(2024, 6, 2), "x'y", "z"}));
        QCOMPARE(
            env.Scalar(
                QString("select MakeDay || Title || Contents from Historytbl where HistoryId = %1")
                    .arg(id)),
            QString("2024/06/02x'yz"));
        QVERIFY(!ReadHistoryEntry(query, id + 1));
    }

    void deleteEntry_data() {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("none selected") << false << true << 2;
        QTest::newRow("answered no") << true << false << 2;
        QTest::newRow("answered yes") << true << true << 1;
    }
    void deleteEntry() {
        QFETCH(bool, selected);
        QFETCH(bool, answer);
        QFETCH(int, left);
        TestEnv env;
        const int first = AddEntry(env, 1, "2024/01/05", "a", "b");
        const int second = AddEntry(env, 1, "2024/01/06", "c", "d");
        env.prompt().PushAnswer(answer ? Prompt::Answer::Yes : Prompt::Answer::No);
        Query query(env.db());
        QCOMPARE(DeleteHistoryEntry(query, selected ? std::optional(Row("", "", "", second))
                                                    : std::nullopt),
                 selected && answer);
        QCOMPARE(env.Scalar("select count(*) from Historytbl"), QString::number(left));
        QCOMPARE(env.Scalar("select min(HistoryId) from Historytbl"), QString::number(first));
        QCOMPARE(env.prompt().calls().front().text,
                 QString(selected ? "選択している履歴を削除しますか？"
                                  : "削除する履歴を選択して下さい"));
    }

    // The entry as this PC listed it; meanwhile another PC left it, changed it or deleted it.
    void deleteKeepsWhatAnotherPcStored_data() {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QStringList>("told");
        QTest::newRow("nothing") << ""
                                 << "" << QStringList();
        QTest::newRow("changed") << "update Historytbl set Title = '電話', RowVersion = 1"
                                 << "電話"
                                 << QStringList{"他のパソコンでこの履歴が変更されたため、"
                                                "削除しませんでした。\r\n\r\n"
                                                "他のパソコン: 2024/01/05 / 電話 / b"};
        QTest::newRow("deleted") << "delete from Historytbl"
                                 << "" << QStringList{"他のパソコンでこの履歴が削除されました。"};
    }
    void deleteKeepsWhatAnotherPcStored() {
        QFETCH(QString, meanwhile);
        TestEnv env;
        AddEntry(env, 1, "2024/01/05", "a", "b");
        Query query(env.db());
        const HistoryRow listed = LoadHistoryRows(query, 1).front();
        if (!meanwhile.isEmpty()) {
            Database pc2;
            env.OpenAsAnotherPc(pc2);
            Query(pc2).Execute(meanwhile);
        }
        env.prompt().PushAnswer(Prompt::Answer::Yes);
        QVERIFY(DeleteHistoryEntry(query, listed));
        QTEST(env.Scalar("select Title from Historytbl"), "left");
        QTEST(env.prompt().Texts("message"), "told");
    }

    void addThroughTheWindow() {
        TestEnv env;
        TFormHistory form;
        QCOMPARE(form.windowTitle(), QString("履歴"));
        Query query(env.db());
        QTimer::singleShot(0, &form, [&] {
            QCOMPARE(form.findChild<QPushButton *>("BtnOk")->text(), QString("登録"));
            QCOMPARE(form.findChild<QDateEdit *>("DateTimePicker1")->date(), QDate(2024, 5, 15));
            QVERIFY(form.findChild<QLineEdit *>("EditTitle")->text().isEmpty());
            QTest::keyClicks(form.findChild<QLineEdit *>("EditTitle"), "a,b'c");
            form.findChild<QLineEdit *>("EditContents")->setText("内容");
            form.findChild<QPushButton *>("BtnOk")->click();
        });
        QVERIFY(form.AddEntry(query, 4));
        QCOMPARE(env.Scalar("select UserId || MakeDay || Title || Contents from Historytbl"),
                 QString("42024/05/15abc内容"));
    }

    void editThroughTheWindowKeepsTheKey() {
        TestEnv env;
        const int id = AddEntry(env, 4, "2024/01/05", "電話", "見積");
        TFormHistory form;
        Query query(env.db());
        QVERIFY(!form.EditEntry(query, std::nullopt));
        QCOMPARE(env.prompt().Texts("message"), QStringList{"編集する履歴を選択して下さい"});
        QTimer::singleShot(0, &form, [&] {
            QCOMPARE(form.findChild<QPushButton *>("BtnOk")->text(), QString("更新"));
            QCOMPARE(form.findChild<QDateEdit *>("DateTimePicker1")->date(), QDate(2024, 1, 5));
            QCOMPARE(form.findChild<QLineEdit *>("EditTitle")->text(), QString("電話"));
            form.findChild<QLineEdit *>("EditContents")->setText("受注");
            form.findChild<QPushButton *>("BtnOk")->click();
        });
        QVERIFY(form.EditEntry(query, id));
        QCOMPARE(
            env.Scalar(QString("select Contents from Historytbl where HistoryId = %1").arg(id)),
            QString("受注"));
        QCOMPARE(env.Scalar("select count(*) from Historytbl"), QString("1"));
    }

    void tooLongItemKeepsTheWindowOpen() {
        TestEnv env;
        TFormHistory form;
        Query query(env.db());
        QTimer::singleShot(0, &form, [&] {
            form.findChild<QLineEdit *>("EditTitle")->setText(QString(26, QChar(0x3042)));
            form.findChild<QPushButton *>("BtnOk")->click();
            QVERIFY(form.isVisible());
            QCOMPARE(env.prompt().Texts("error").size(), 1);
            form.findChild<QPushButton *>("BtnCancel")->click();
        });
        QVERIFY(!form.AddEntry(query, 1));
        QCOMPARE(env.Scalar("select count(*) from Historytbl"), QString("0"));
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
