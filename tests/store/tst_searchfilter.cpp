#include "../common/TestEnv.h"
#include "SearchTestRows.h"
#include "store/ListStatement.h"

#include "core/SqlText.h"
#include "store/SearchFilter.h"

#include <QTest>

namespace {

// The list a rebuild with only these search rows shows: names in list order and the label.
struct Listed {
    QStringList names;
    QString label;
};

Listed RunSearch(TestEnv &env, const QList<SearchRow> &rowList, int classId = -1) {
    SearchRows rows;
    for (int i = 0; i < rowList.size(); ++i)
        rows[i] = rowList[i];
    Query list(env.db());
    const ListedCustomers listed =
        LoadListedCustomers(env.db(), list, {classId, -1, 0, BuildSearchClause(rows)});
    Listed names{{}, listed.label};
    for (const ListedCustomer &row : listed.rows)
        names.names << row.name;
    return names;
}

void AddHistory(TestEnv &env, int userId, const QString &title, const QString &contents) {
    env.Run(QString("insert into Historytbl(UserId,MakeDay,Title,Contents)values(%1,'2024/01/02',"
                    "%2,%3)")
                .arg(userId)
                .arg(QuoteSql(title), QuoteSql(contents)));
}

void SetNote(TestEnv &env, int userId, const QString &note) {
    Query query(env.db(),
                QString("update Usertbl set Note = :MEMOETC where UserId = %1").arg(userId));
    query.SetMemo(note);
    query.Execute();
}

const QString Contain = "を含むﾃﾞｰﾀ";
const QString NotContain = "を含まないﾃﾞｰﾀ";

} // namespace

class TestSearchFilter : public QObject {
    Q_OBJECT
private slots:
    void wordsAreTakenAsTyped() {
        SearchProducts products;
        products.HistoryWords = {{"a", "", "#CONTAIN#x#CONTAIN_END#"}, {"b"}};
        products.MemoWords = {{"m"}, {"n"}};
        const SearchFilter filter(products);
        QCOMPARE(filter.HistoryContainTerms(), QStringList({"a", "", "#CONTAIN#x#CONTAIN_END#"}));
        QCOMPARE(filter.HistoryNotContainTerms(), QStringList({"b"}));
        QCOMPARE(filter.MemoContainTerms(), QStringList({"m"}));
        QCOMPARE(filter.MemoNotContainTerms(), QStringList({"n"}));
    }

    // The count label is of the list against the whole book, through the filter pass or not.
    void labelCountsAgainstTheWholeBook_data() {
        QTest::addColumn<int>("classId");
        QTest::addColumn<QList<SearchRow>>("search");
        QTest::addColumn<QString>("label");
        const SearchRow vip = MakeRow("備考", "VIP", Contain);
        QTest::newRow("everyone") << -1 << QList<SearchRow>{} << "3/3件該当";
        QTest::newRow("one class") << 1 << QList<SearchRow>{} << "1/3件該当";
        QTest::newRow("a class of nobody") << 5 << QList<SearchRow>{} << "0/3件該当";
        QTest::newRow("memo words") << -1 << QList<SearchRow>{vip} << "2/3件該当";
        QTest::newRow("memo words in a class") << 1 << QList<SearchRow>{vip} << "1/3件該当";
        QTest::newRow("memo words of nobody")
            << -1 << QList<SearchRow>{MakeRow("備考", "休眠", Contain)} << "0/3件該当";
        QTest::newRow("a name of nobody, memo words")
            << -1 << QList<SearchRow>{MakeRow("名前", "無名", Contain), vip} << "0/3件該当";
    }
    void labelCountsAgainstTheWholeBook() {
        QFETCH(int, classId);
        QFETCH(QList<SearchRow>, search);
        QFETCH(QString, label);
        TestEnv env;
        SetNote(env, env.AddCustomer("VIP客", "ｱ"), "VIP");
        const int inClass = env.AddCustomer("VIP会員", "ｲ");
        SetNote(env, inClass, "vip");
        env.Run(QString("update Usertbl set Class = 1 where UserId = %1").arg(inClass));
        env.AddCustomer("メモなし", "ｳ");
        QCOMPARE(RunSearch(env, search, classId).label, label);
    }

    void historyWords() {
        TestEnv env;
        const int both = env.AddCustomer("同じ履歴", "ｱ");
        const int split = env.AddCustomer("別の履歴", "ｲ");
        const int one = env.AddCustomer("片方", "ｳ");
        env.AddCustomer("履歴なし", "ｴ");
        const int complaint = env.AddCustomer("苦情あり", "ｵ");
        AddHistory(env, both, "ESTIMATE", "order placed");
        AddHistory(env, split, "見積", "");
        AddHistory(env, split, "", "Order by phone");
        AddHistory(env, one, "estimate", "");
        AddHistory(env, complaint, "estimate", "order");
        AddHistory(env, complaint, "苦情", "");

        const SearchRow estimate = MakeRow("履歴", "estimate", Contain);
        const SearchRow order = MakeRow("履歴", "order", Contain);
        const SearchRow noComplaint = MakeRow("履歴", "苦情", NotContain);
        Listed listed = RunSearch(env, {estimate, order});
        QCOMPARE(listed.names, QStringList({"同じ履歴", "苦情あり"}));
        QCOMPARE(listed.label, QString("2/5件該当"));

        QCOMPARE(RunSearch(env, {MakeRow("履歴", "見積"), order}).names, QStringList({"別の履歴"}));
        QCOMPARE(RunSearch(env, {estimate, order, noComplaint}).names, QStringList({"同じ履歴"}));
        QCOMPARE(RunSearch(env, {noComplaint}).names,
                 QStringList({"同じ履歴", "別の履歴", "片方", "履歴なし"}));
    }

    void memoWords() {
        TestEnv env;
        SetNote(env, env.AddCustomer("VIP客", "ｱ"), "重要: vip 対応");
        SetNote(env, env.AddCustomer("常連", "ｲ"), "常連さん\r\n休眠なし");
        SetNote(env, env.AddCustomer("休眠VIP", "ｳ"), "VIP だが休眠");
        env.AddCustomer("メモなし", "ｴ");

        const SearchRow vip = MakeRow("備考", "VIP", Contain);
        const SearchRow regular = MakeRow("備考", "常連", Contain);
        const SearchRow dormant = MakeRow("備考", "休眠", NotContain);
        QCOMPARE(RunSearch(env, {vip, regular}).names, QStringList({"VIP客", "常連", "休眠VIP"}));
        QCOMPARE(RunSearch(env, {dormant}).names, QStringList({"VIP客", "メモなし"}));
        const Listed listed = RunSearch(env, {vip, dormant});
        QCOMPARE(listed.names, QStringList({"VIP客"}));
        QCOMPARE(listed.label, QString("1/4件該当"));
        // An empty word is contained in nothing.
        QCOMPARE(RunSearch(env, {MakeRow("備考", "未入力", Contain, 0)}).names, QStringList());
    }

    // With a history clause a customer also passes through its memo words.
    void historyOrMemo() {
        TestEnv env;
        AddHistory(env, env.AddCustomer("履歴で", "ｱ"), "訪問", "");
        SetNote(env, env.AddCustomer("備考で", "ｲ"), "訪問予定");
        env.AddCustomer("どちらも無し", "ｳ");
        QCOMPARE(RunSearch(env, {MakeRow("履歴", "訪問"), MakeRow("備考", "訪問")}).names,
                 QStringList({"履歴で", "備考で"}));
    }

    void searchClauseNarrowsBeforeFilter() {
        TestEnv env;
        AddHistory(env, env.AddCustomer("田中", "ﾀﾅｶ"), "訪問", "");
        AddHistory(env, env.AddCustomer("佐藤", "ｻﾄｳ"), "訪問", "");
        const Listed listed =
            RunSearch(env, {MakeRow("名前", "田", Contain), MakeRow("履歴", "訪問")});
        QCOMPARE(listed.names, QStringList({"田中"}));
        QCOMPARE(listed.label, QString("1/2件該当"));
    }

    void valueWithQuoteFindsItsCustomer() {
        TestEnv env;
        env.AddCustomer("O'Brien", "ｵﾌﾞﾗｲｴﾝ");
        env.AddCustomer("Brien", "ﾌﾞﾗｲｴﾝ");
        QCOMPARE(RunSearch(env, {MakeRow("名前", "O'B", Contain)}).names, QStringList({"O'Brien"}));
        QCOMPARE(RunSearch(env, {MakeRow("名前", "x' OR '1'='1", Contain)}).names, QStringList());
        QCOMPARE(RunSearch(env, {MakeRow("名前", "O'Brien", "でないﾃﾞｰﾀ")}).names,
                 QStringList({"Brien"}));
    }

    void wildcardsInAValueMatchThemselves_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("op");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("percent") << "%" << Contain << QStringList({"50%引き", "c\\%d"});
        QTest::newRow("underscore") << "_" << Contain << QStringList({"a_b"});
        QTest::newRow("backslash with percent") << "\\%" << Contain << QStringList({"c\\%d"});
        QTest::newRow("starts with") << "50%"
                                     << "で始まるﾃﾞｰﾀ" << QStringList({"50%引き"});
        QTest::newRow("not containing") << "%" << NotContain << QStringList({"a_b", "plain"});
    }
    void wildcardsInAValueMatchThemselves() {
        QFETCH(QString, value);
        QFETCH(QString, op);
        QFETCH(QStringList, names);
        TestEnv env;
        for (const QString name : {"50%引き", "a_b", "c\\%d", "plain"})
            env.AddCustomer(name, "ｱ");
        QStringList found = RunSearch(env, {MakeRow("名前", value, op)}).names;
        found.sort();
        names.sort();
        QCOMPARE(found, names);
    }

    void unenteredFindsEmptyFields() {
        TestEnv env;
        env.AddCustomer("郵便番号なし", "ｱ");
        env.Run(QString("update Usertbl set Zip = '100-0001' where UserId = %1")
                    .arg(env.AddCustomer("郵便番号あり", "ｲ")));
        QCOMPARE(RunSearch(env, {MakeRow("郵便番号", "未入力", "と同じﾃﾞｰﾀ", 1)}).names,
                 QStringList({"郵便番号なし"}));
        QCOMPARE(RunSearch(env, {MakeRow("郵便番号", "未入力", "でないﾃﾞｰﾀ", 1)}).names,
                 QStringList({"郵便番号あり"}));
    }

    void birthdayConditions_data() {
        if (!birthdays_) {
            birthdays_ = std::make_unique<TestEnv>();
            TestEnv &env = *birthdays_;
            const auto add = [&](const QString &name, const QString &kana, const QString &day) {
                env.Run(QString("update Usertbl set BirthDay = %1 where UserId = %2")
                            .arg(day)
                            .arg(env.AddCustomer(name, kana)));
            };
            add("五月", "ｱ", "\"05/03/1990\"");
            add("五月末", "ｲ", "\"05/31/1990\"");
            add("一月", "ｳ", "\"01/20/1985\"");
            add("不明", "ｴ", "\"NULL\"");
        }
        QTest::addColumn<SearchRow>("row");
        QTest::addColumn<QStringList>("names");
        for (const QString op : {"以降のﾃﾞｰﾀ", "と同じﾃﾞｰﾀ", "以前のﾃﾞｰﾀ"}) {
            QTest::newRow(qPrintable("unentered " + op))
                << MakeRow("生年月日", "未入力", op, 1) << QStringList({"不明"});
            QTest::newRow(qPrintable("not a date " + op))
                << MakeRow("生年月日", "昭和", op) << QStringList({"不明"});
        }
        QTest::newRow("after is strict")
            << MakeRow("生年月日", "1990/5/3", "以降のﾃﾞｰﾀ") << QStringList({"五月末"});
        QTest::newRow("same day") << MakeRow("生年月日", "1990/5/3", "と同じﾃﾞｰﾀ")
                                  << QStringList({"五月"});
        QTest::newRow("before is strict")
            << MakeRow("生年月日", "1990/5/31", "以前のﾃﾞｰﾀ") << QStringList({"五月", "一月"});
        QTest::newRow("month") << MakeRow("生年月日", "5", "月のﾃﾞｰﾀ")
                               << QStringList({"五月", "五月末"});
        QTest::newRow("month, two digits")
            << MakeRow("生年月日", "01", "月のﾃﾞｰﾀ") << QStringList({"一月"});
        QTest::newRow("made before")
            << MakeRow("作成日", "2024/5/15", "以前のﾃﾞｰﾀ") << QStringList();
        QTest::newRow("made unreadable") << MakeRow("作成日", "x", "と同じﾃﾞｰﾀ") << QStringList();
    }
    void birthdayConditions() {
        QFETCH(SearchRow, row);
        QFETCH(QStringList, names);
        QCOMPARE(RunSearch(*birthdays_, {row}).names, names);
    }

    void cleanupTestCase() { birthdays_.reset(); }

private:
    // Customers born in May and January 1990 and 1985, and one without a birthday.
    std::unique_ptr<TestEnv> birthdays_;
};

PELLOR3_ENGINES_TEST_MAIN(TestSearchFilter)
#include "tst_searchfilter.moc"
