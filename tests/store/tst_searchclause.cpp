#include "../common/TestEnv.h"
#include "SearchTestRows.h"

#include "core/Clock.h"
#include "core/TextHelpers.h"

#include <QTest>

namespace {

// The names of the customers the row's condition finds, in reading order.
QStringList NamesFound(TestEnv &env, const SearchRow &row) {
    Query query(env.db(),
                "select Name from Usertbl where " + BuildRowCondition(row) + " order by Kana");
    QStringList names;
    for (query.Open(); !query.AtEnd(); query.Next())
        names << query.AsString("Name");
    return names;
}

} // namespace

class TestSearchClause : public QObject {
    Q_OBJECT
private slots:
    void init() { Clock::SetFixed(QDateTime(QDate(2024, 5, 15), QTime(10, 0))); }
    void cleanup() { Clock::Reset(); }

    void fieldTable() {
        QCOMPARE(SearchFields().size(), 40);
        QCOMPARE(SearchFields().at(0).entry, QString("ﾌﾘｶﾞﾅ"));
        QCOMPARE(SearchFields().at(5).column, QString("Faxno "));
        QCOMPARE(SearchFields().at(23).kind, SearchKind::Age);
        QCOMPARE(SearchFields().at(31).entry, QString("用途"));
        QCOMPARE(SearchFields().at(35).column, QString("Renmei4 "));
        QCOMPARE(SearchFields().at(39).entry, QString("差込４"));
        QCOMPARE(SearchValueChoices(25, {"a", "b"}, {"c"}), QStringList({"a", "b"}));
        QCOMPARE(SearchValueChoices(26, {"a", "b"}, {"c"}), QStringList({"c"}));
        QCOMPARE(SearchValueChoices(24, {}, {}), QStringList({"", "男性", "女性", "不明"}));
        QVERIFY(SearchValueChoices(29, {}, {}).isEmpty());
    }

    void rowCondition_data() {
        QTest::addColumn<SearchRow>("row");
        QTest::addColumn<QString>("expected");
        const QString contain = "を含むﾃﾞｰﾀ", notContain = "を含まないﾃﾞｰﾀ", same = "と同じﾃﾞｰﾀ",
                      notSame = "でないﾃﾞｰﾀ";
        QTest::newRow("contains") << MakeRow("ﾌﾘｶﾞﾅ", "abc", contain) << "Kana LIKE '%abc%'";
        QTest::newRow("starts") << MakeRow("名前", "abc", "で始まるﾃﾞｰﾀ") << "Name LIKE 'abc%'";
        QTest::newRow("ends") << MakeRow("名前", "abc", "で終わるﾃﾞｰﾀ") << "Name LIKE '%abc'";
        QTest::newRow("same") << MakeRow("会社ＦＡＸ", "03", same) << "OfficeFax ='03'";
        QTest::newRow("not same") << MakeRow("名前", "abc", notSame)
                                  << "Name !='abc' OR Name  IS NULL";
        QTest::newRow("not contains") << MakeRow("差込３", "x", notContain)
                                      << "Sashikomi3 NOT LIKE '%x%' OR Sashikomi3  IS NULL";
        QTest::newRow("unentered same") << MakeRow("郵便番号", "未入力", same, 1) << "Zip =''";
        QTest::newRow("unentered not same")
            << MakeRow("郵便番号", "未入力", notSame, 1) << "Zip  IS NOT NULL";
        QTest::newRow("quote doubled") << MakeRow("名前", "O'Brien", same) << "Name ='O''Brien'";
        QTest::newRow("crafted value stays a value")
            << MakeRow("名前", "x' OR '1'='1", contain) << "Name LIKE '%x'' OR ''1''=''1%'";
        QTest::newRow("date after")
            << MakeRow("生年月日", "1990/1/5", "以降のﾃﾞｰﾀ") << "BirthDay > \"01/05/1990\"";
        QTest::newRow("date same")
            << MakeRow("作成日", "2024/12/31", same) << "MakeDay = \"12/31/2024\"";
        QTest::newRow("date before")
            << MakeRow("生年月日", "2000/02/29", "以前のﾃﾞｰﾀ") << "BirthDay < \"02/29/2000\"";
        QTest::newRow("date unentered")
            << MakeRow("生年月日", "未入力", "以降のﾃﾞｰﾀ", 1) << "Birthday IS NULL";
        QTest::newRow("not a date")
            << MakeRow("作成日", "2023/02/29", same) << "MakeDay = \"NULL\"";
        QTest::newRow("month") << MakeRow("生年月日", "5", "月のﾃﾞｰﾀ")
                               << "EXTRACT(MONTH FROM BirthDay ) = '5'";
        QTest::newRow("class same") << MakeRow("分類１", "項目4", same, 3) << "Class =3";
        QTest::newRow("class typed") << MakeRow("分類２", "x", notSame, -1) << "Class2 !=-1";
        QTest::newRow("print same yes") << MakeRow("印刷", "印刷する", same, 0) << "Print ='1'";
        QTest::newRow("print same no") << MakeRow("印刷", "印刷しない", same, 1) << "Print ='0'";
        QTest::newRow("print not yes") << MakeRow("印刷", "印刷する", notSame, 0) << "Print ='0'";
        QTest::newRow("print typed") << MakeRow("印刷", "x", notSame, -1) << "Print ='1'";
        QTest::newRow("use personal") << MakeRow("用途", "個人用", "のﾃﾞｰﾀ", 0) << "UseType ='0'";
        QTest::newRow("use typed") << MakeRow("用途", "x", "のﾃﾞｰﾀ", -1) << "UseType ='1'";
        QTest::newRow("memo words are no condition") << MakeRow("備考", "VIP", contain) << "";
        QTest::newRow("no operator") << MakeRow("備考", "未入力", "と同じﾃﾞｰﾀ") << "";
    }
    void rowCondition() {
        QFETCH(SearchRow, row);
        QFETCH(QString, expected);
        QCOMPARE(BuildRowCondition(row), expected);
    }

    void ageCondition_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("age");
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("same");
        QTest::addColumn<QString>("younger");
        QTest::newRow("example") << QDate(2024, 5, 15) << 30 << "BirthDay < \"05/16/1993\""
                                 << "(BirthDay > \"05/15/1993\") and (BirthDay < \"05/16/1994\")"
                                 << "BirthDay > \"05/15/1994\"";
        QTest::newRow("month end") << QDate(2024, 1, 31) << 30 << "BirthDay < \"02/01/1993\""
                                   << "(BirthDay > \"01/31/1993\") and (BirthDay < \"02/01/1994\")"
                                   << "BirthDay > \"01/31/1994\"";
        QTest::newRow("year end") << QDate(2023, 12, 31) << 0 << "BirthDay < \"01/01/2023\""
                                  << "(BirthDay > \"12/31/2022\") and (BirthDay < \"01/01/2024\")"
                                  << "BirthDay > \"12/31/2023\"";
        QTest::newRow("leap day, common years back")
            << QDate(2024, 2, 29) << 1 << "BirthDay < \"03/01/2022\""
            << "(BirthDay > \"02/28/2022\") and (BirthDay < \"03/01/2023\")"
            << "BirthDay > \"02/28/2023\"";
        QTest::newRow("leap day, leap year back")
            << QDate(2024, 2, 29) << 4 << "BirthDay < \"03/01/2019\""
            << "(BirthDay > \"02/28/2019\") and (BirthDay < \"03/01/2020\")"
            << "BirthDay > \"02/29/2020\"";
    }
    void ageCondition() {
        QFETCH(QDate, today);
        QFETCH(int, age);
        QFETCH(QString, older);
        QFETCH(QString, same);
        QFETCH(QString, younger);
        Clock::SetFixed(QDateTime(today, QTime(9, 0)));
        const QString value = QString::number(age);
        QCOMPARE(BuildRowCondition(MakeRow("年齢", value, "よりも大きいﾃﾞｰﾀ")), older);
        QCOMPARE(BuildRowCondition(MakeRow("年齢", value, "と同じﾃﾞｰﾀ")), same);
        QCOMPARE(BuildRowCondition(MakeRow("年齢", value, "よりも小さいﾃﾞｰﾀ")), younger);
    }

    // Whatever the day, the three age conditions pick exactly the customers whose age on that
    // day is above, equal to or below the value.
    void ageConditionsAgreeWithAge() {
        TestEnv env;
        env.Run("BEGIN");
        QList<QDate> birthdays;
        for (QDate day(2017, 2, 20); day <= QDate(2021, 3, 5); day = day.addDays(1)) {
            const int id = env.AddCustomer("x", "ｱ");
            env.Run(QString("update Usertbl set BirthDay = \"%1\" where UserId = %2")
                        .arg(day.toString("MM/dd/yyyy"))
                        .arg(id));
            birthdays << day;
        }
        env.Run("COMMIT");
        const QList<QDate> todays = {QDate(2024, 2, 29), QDate(2023, 2, 28), QDate(2023, 3, 1),
                                     QDate(2024, 1, 31), QDate(2023, 12, 31)};
        for (const QDate &today : todays) {
            Clock::SetFixed(QDateTime(today, QTime(9, 0)));
            for (int age : {2, 3, 4, 5}) {
                const QString ops[] = {"よりも大きいﾃﾞｰﾀ", "と同じﾃﾞｰﾀ", "よりも小さいﾃﾞｰﾀ"};
                for (int o = 0; o < 3; ++o) {
                    const QString condition =
                        BuildRowCondition(MakeRow("年齢", QString::number(age), ops[o]));
                    Query query(env.db(), "select * from Usertbl where " + condition);
                    query.Open();
                    QSet<int> found;
                    for (; !query.AtEnd(); query.Next())
                        found << query.AsInteger("UserId");
                    for (int i = 0; i < birthdays.size(); ++i) {
                        const int actual = CalcAge(birthdays[i], today);
                        const bool expected =
                            o == 0 ? actual > age : (o == 1 ? actual == age : actual < age);
                        if (found.contains(i + 1) != expected)
                            QFAIL(qPrintable(QString("%1 born %2 on %3: %4")
                                                 .arg(ops[o], birthdays[i].toString(Qt::ISODate),
                                                      today.toString(Qt::ISODate), condition)));
                    }
                }
            }
        }
    }

    void readingsAreFoundWhateverKanaIsTyped_data() {
        QTest::addColumn<SearchRow>("row");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("hiragana") << MakeRow("ﾌﾘｶﾞﾅ", "やまだ", "で始まるﾃﾞｰﾀ")
                                  << QStringList{"山田"};
        QTest::newRow("katakana") << MakeRow("ﾌﾘｶﾞﾅ", "ヤマダ", "で始まるﾃﾞｰﾀ")
                                  << QStringList{"山田"};
        QTest::newRow("half-width") << MakeRow("ﾌﾘｶﾞﾅ", "ﾀﾞﾀ", "を含むﾃﾞｰﾀ") << QStringList{"山田"};
        QTest::newRow("not") << MakeRow("ﾌﾘｶﾞﾅ", "やまだ", "を含まないﾃﾞｰﾀ") << QStringList{"青木"};
        QTest::newRow("company reading")
            << MakeRow("会社名フリガナ", "かぶしき", "で始まるﾃﾞｰﾀ") << QStringList{"青木"};
    }
    void readingsAreFoundWhateverKanaIsTyped() {
        QFETCH(SearchRow, row);
        QFETCH(QStringList, found);
        TestEnv env;
        env.AddCustomer("山田", "ﾔﾏﾀﾞﾀﾛｳ");
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        env.Run(
            QString("update Usertbl set OfficeKana = 'ｶﾌﾞｼｷｶﾞｲｼｬ' where UserId = %1").arg(aoki));
        QCOMPARE(NamesFound(env, row), found);
    }

    // Stored text holds the code page 932 forms; a pasted wave dash or minus sign finds it.
    void crossMappedFormsFindTheStoredText_data() {
        QTest::addColumn<SearchRow>("row");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("stored");
        QTest::newRow("minus sign")
            << MakeRow("住所１", "1\u22122", "を含むﾃﾞｰﾀ") << QStringList{"山田"} << "1－2";
        QTest::newRow("wave dash same")
            << MakeRow("名前", "青木\u301C", "と同じﾃﾞｰﾀ") << QStringList{"青木～"} << "青木～";
        QTest::newRow("wave dash not")
            << MakeRow("名前", "\u301C", "を含まないﾃﾞｰﾀ") << QStringList{"山田"} << "～";
    }
    void crossMappedFormsFindTheStoredText() {
        QFETCH(SearchRow, row);
        QFETCH(QStringList, found);
        QFETCH(QString, stored);
        TestEnv env;
        const int yamada = env.AddCustomer("山田", "ﾔﾏﾀﾞ");
        env.AddCustomer("青木～", "ｱｵｷ");
        env.Run(
            QString("update Usertbl set Address1 = '港区1－2－3' where UserId = %1").arg(yamada));
        QCOMPARE(NamesFound(env, row), found);
        SearchRows historyRows;
        historyRows[0] = MakeRow("履歴", row.value);
        QCOMPARE(BuildSearchClause(historyRows).HistoryWords.contain, QStringList{stored});
    }

    void ageMustBeWholeNumber_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("letters") << "abc";
        QTest::newRow("fraction") << "1.5";
        QTest::newRow("empty") << "";
        QTest::newRow("negative") << "-1";
        QTest::newRow("too large") << "1000";
    }
    void ageMustBeWholeNumber() {
        QFETCH(QString, value);
        SearchRows rows;
        rows[0] = MakeRow("名前", "a");
        rows[2] = MakeRow("年齢", value);
        try {
            BuildSearchClause(rows);
            QFAIL("accepted");
        } catch (const SearchInputError &error) {
            QCOMPARE(error.message(),
                     QString("検索条件３の年齢には0から999までの整数を入力して下さい"));
        }
    }

    void joinsRows_data() {
        QTest::addColumn<QList<SearchRow>>("rows");
        QTest::addColumn<QString>("clause");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("memo");
        const SearchRow kana = MakeRow("ﾌﾘｶﾞﾅ", "abc");
        SearchRow unused = MakeRow("名前", "");
        unused.inUse = false;
        const SearchRow zip = MakeRow("郵便番号", "未入力", "と同じﾃﾞｰﾀ", 1);
        const SearchRow word1 = MakeRow("履歴", "見積");
        const SearchRow word2 = MakeRow("履歴", "苦情", "を含まないﾃﾞｰﾀ");
        const SearchRow memo1 = MakeRow("備考", "VIP");
        const SearchRow memo2 = MakeRow("備考", "休眠", "を含まないﾃﾞｰﾀ");
        const SearchRow marker = MakeRow("備考", "#CONTAIN#x#CONTAIN_END#");
        QTest::newRow("row 1 alone")
            << QList<SearchRow>{kana} << "Kana LIKE '%abc%'" << QStringList() << QStringList();
        QTest::newRow("rows 1 and 3")
            << QList<SearchRow>{kana, unused, zip} << "(Kana LIKE '%abc%') AND (Zip ='')"
            << QStringList() << QStringList();
        QTest::newRow("history alone")
            << QList<SearchRow>{word1} << "" << QStringList{"+見積"} << QStringList();
        QTest::newRow("memo alone")
            << QList<SearchRow>{memo2} << "" << QStringList() << QStringList{"-休眠"};
        QTest::newRow("all kinds")
            << QList<SearchRow>{word1, memo1, kana, word2, memo2} << "(Kana LIKE '%abc%')"
            << QStringList{"+見積", "-苦情"} << QStringList{"+VIP", "-休眠"};
        QTest::newRow("marker text is a word") << QList<SearchRow>{marker} << "" << QStringList()
                                               << QStringList{"+#CONTAIN#x#CONTAIN_END#"};
    }
    // Words as "+word" (contained) and "-word" (not contained).
    static QStringList Signed(const SearchWords &words) {
        QStringList list;
        for (const QString &word : words.contain)
            list << "+" + word;
        for (const QString &word : words.notContain)
            list << "-" + word;
        return list;
    }
    void joinsRows() {
        QFETCH(QList<SearchRow>, rows);
        QFETCH(QString, clause);
        QFETCH(QStringList, history);
        QFETCH(QStringList, memo);
        SearchRows all;
        for (int i = 0; i < rows.size(); ++i)
            all[i] = rows[i];
        const SearchProducts products = BuildSearchClause(all);
        QCOMPARE(products.SearchClause, clause);
        QCOMPARE(Signed(products.HistoryWords), history);
        QCOMPARE(Signed(products.MemoWords), memo);
        QCOMPARE(products.NeedsFilterPass(), !history.isEmpty() || !memo.isEmpty());
    }

    // Who a greeting condition finds, alone and after a row's condition.
    void greetingCondition_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("kana"); // row 1: フリガナ contains; empty for none
        QTest::addColumn<QStringList>("found");
        QTest::newRow("sent") << 1 << true << "" << QStringList{"青木", "馬場"};
        QTest::newRow("not sent") << 1 << false << "" << QStringList{"千葉"};
        QTest::newRow("in mourning") << 3 << true << "" << QStringList{"馬場"};
        QTest::newRow("sent, with a row") << 1 << true << "ﾊﾞ" << QStringList{"馬場"};
        QTest::newRow("not sent, with a row") << 1 << false << "ｱ" << QStringList{};
    }
    void greetingCondition() {
        QFETCH(int, kind);
        QFETCH(bool, present);
        QFETCH(QString, kana);
        QFETCH(QStringList, found);
        TestEnv env;
        GreetingTable greetings(env.db());
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        const int baba = env.AddCustomer("馬場", "ﾊﾞﾊﾞ");
        const int chiba = env.AddCustomer("千葉", "ﾁﾊﾞ");
        for (const int id : {aoki, baba})
            greetings.Set({id, 2027, GreetingKind::NewYearSent, {}, {}});
        greetings.Set({baba, 2027, GreetingKind::MourningReceived, {}, {}});
        greetings.Set({chiba, 2026, GreetingKind::NewYearSent, {}, {}});
        SearchProducts products;
        if (!kana.isEmpty())
            products = BuildSearchClause({MakeRow("ﾌﾘｶﾞﾅ", kana)});
        AddGreetingCondition(products, {2027, *GreetingKindOfCode(kind), present});
        Query query(env.db(),
                    "select Name from Usertbl where " + products.SearchClause + " order by Kana");
        QStringList names;
        for (query.Open(); !query.AtEnd(); query.Next())
            names << query.AsString("Name");
        QCOMPARE(names, found);
    }

    void anOverLongValueIsRefusedWithAMessage() {
        SearchRows rows;
        rows[0] = MakeRow("名前", QString(MaxSearchValueLength + 1, u'あ'));
        try {
            BuildSearchClause(rows);
            QFAIL("built");
        } catch (const SearchInputError &error) {
            QVERIFY(error.message().contains("長すぎます"));
        }
    }

    void birthdayWithoutADate_data() {
        QTest::addColumn<SearchRow>("row");
        QTest::addColumn<QString>("condition");
        for (const QString op : {"以降のﾃﾞｰﾀ", "と同じﾃﾞｰﾀ", "以前のﾃﾞｰﾀ"})
            QTest::newRow(qPrintable("生年月日 " + op))
                << MakeRow("生年月日", "未入力", op) << "Birthday IS NULL";
        QTest::newRow("a date stays a date")
            << MakeRow("生年月日", "1990/01/05", "以降のﾃﾞｰﾀ") << "BirthDay > \"01/05/1990\"";
        QTest::newRow("MakeDay keeps NULL")
            << MakeRow("作成日", "abc", "以降のﾃﾞｰﾀ") << "MakeDay > \"NULL\"";
    }
    void birthdayWithoutADate() {
        QFETCH(SearchRow, row);
        QFETCH(QString, condition);
        QCOMPARE(BuildRowCondition(row), condition);
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestSearchClause)
#include "tst_searchclause.moc"
