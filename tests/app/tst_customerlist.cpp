#include "app/CustomerList.h"
#include "store/ListStatement.h"

#include <QTest>

class TestCustomerList : public QObject {
    Q_OBJECT
private slots:
    void kanaClause_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("clause");
        QTest::newRow("あ") << 1
                            << "Kana LIKE 'あ%' OR Kana LIKE 'ア%' OR Kana LIKE 'ｱ%' OR "
                               "Kana LIKE 'い%' OR Kana LIKE 'イ%' OR Kana LIKE 'ｲ%' OR "
                               "Kana LIKE 'う%' OR Kana LIKE 'ウ%' OR Kana LIKE 'ｳ%' OR "
                               "Kana LIKE 'え%' OR Kana LIKE 'エ%' OR Kana LIKE 'ｴ%' OR "
                               "Kana LIKE 'お%' OR Kana LIKE 'オ%' OR Kana LIKE 'ｵ%'";
        QTest::newRow("や") << 8
                            << "Kana LIKE 'や%' OR Kana LIKE 'ヤ%' OR Kana LIKE 'ﾔ%' OR "
                               "Kana LIKE 'ゆ%' OR Kana LIKE 'ユ%' OR Kana LIKE 'ﾕ%' OR "
                               "Kana LIKE 'よ%' OR Kana LIKE 'ヨ%' OR Kana LIKE 'ﾖ%'";
        QTest::newRow("わ") << 10
                            << "Kana LIKE 'わ%' OR Kana LIKE 'ワ%' OR Kana LIKE 'ﾜ%' OR "
                               "Kana LIKE 'を%' OR Kana LIKE 'ヲ%' OR Kana LIKE 'ｦ%'";
        QTest::newRow("ん") << 11 << "Kana LIKE 'ん%' OR Kana LIKE 'ン%' OR Kana LIKE 'ﾝ%'";
        QTest::newRow("全") << 0 << "";
        QTest::newRow("検索") << 13 << "";
        QTest::newRow("negative") << -1 << "";
    }
    void kanaClause() {
        QFETCH(int, index);
        QFETCH(QString, clause);
        QCOMPARE(KanaClause(index), clause);
    }

    void alphaNumericClauseOrder() {
        const QStringList terms = KanaClause(12).split(" OR ");
        QCOMPARE(terms.size(), 36);
        QCOMPARE(terms.first(), QString("Kana LIKE '1%'"));
        QCOMPARE(terms[8], QString("Kana LIKE '9%'"));
        QCOMPARE(terms[9], QString("Kana LIKE 'A%'"));
        QCOMPARE(terms[34], QString("Kana LIKE 'Z%'"));
        QCOMPARE(terms.last(), QString("Kana LIKE '0%'"));
    }

    void everyKanaClauseHasFiveSoundsOrFewer() {
        const int sounds[] = {5, 5, 5, 5, 5, 5, 5, 3, 5, 2, 1};
        for (int index = 1; index <= 11; ++index)
            QCOMPARE(KanaClause(index).split(" OR ").size(), sounds[index - 1] * 3);
    }

    void kanaTabIndex_data() {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<int>("tab");
        QTest::newRow("hiragana あ") << "あおき" << 1;
        QTest::newRow("katakana オ") << "オオタ" << 1;
        QTest::newRow("half-width ｵ") << "ｵｵﾀ" << 1;
        QTest::newRow("full-width voiced ガ") << "ガクト" << 2;
        QTest::newRow("hiragana voiced ご") << "ごとう" << 2;
        QTest::newRow("half-width voiced ｶﾞ") << "ｶﾞｸﾄ" << 2;
        QTest::newRow("ざ") << "ざいつ" << 3;
        QTest::newRow("ぢ") << "ぢ" << 4;
        QTest::newRow("ﾅ") << "ﾅｶﾞｵ" << 5;
        QTest::newRow("ぼ") << "ぼう" << 6;
        QTest::newRow("semi-voiced ぱ") << "ぱく" << 0;
        QTest::newRow("ﾓ") << "ﾓﾘ" << 7;
        QTest::newRow("ﾖ") << "ﾖｼﾀﾞ" << 8;
        QTest::newRow("ロ") << "ロドリゲス" << 9;
        QTest::newRow("ｦ") << "ｦ" << 10;
        QTest::newRow("ﾝ") << "ﾝｺﾞﾛ" << 11;
        QTest::newRow("capital letter") << "Smith" << 12;
        QTest::newRow("lower-case letter") << "smith" << 12;
        QTest::newRow("digit zero") << "0120" << 12;
        QTest::newRow("digit nine") << "9" << 12;
        QTest::newRow("small kana") << "ゃ" << 0;
        QTest::newRow("full-width letter") << "Ａ" << 0;
        QTest::newRow("full-width digit") << "１" << 0;
        QTest::newRow("kanji") << "山田" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("blank") << " ｱ" << 0;
    }
    void kanaTabIndex() {
        QFETCH(QString, reading);
        QFETCH(int, tab);
        QCOMPARE(KanaTabIndex(reading), tab);
    }

    void listStatement_data() {
        QTest::addColumn<int>("classId");
        QTest::addColumn<int>("classId2");
        QTest::addColumn<int>("readingIndex");
        QTest::addColumn<QString>("searchClause");
        QTest::addColumn<QString>("statement");
        QTest::newRow("no filter") << -1 << -1 << 0 << ""
                                   << "select * from Usertbl order by Kana";
        QTest::newRow("class 1 with tab ん")
            << 2 << -1 << 11 << ""
            << "select *, (select count(*) from Usertbl) as BookCustomers from Usertbl where "
               "(class = 2) and (Kana LIKE 'ん%' OR Kana LIKE 'ン%' "
               "OR Kana LIKE 'ﾝ%') order by Kana";
        QTest::newRow("both classes")
            << 0 << 3 << 0 << ""
            << "select *, (select count(*) from Usertbl) as BookCustomers from Usertbl where "
               "(class = 0) and (class2 = "
               "3) order by Kana";
        QTest::newRow("only class 2")
            << -1 << 5 << 0 << ""
            << "select *, (select count(*) from Usertbl) as BookCustomers from Usertbl where  "
               "(class2 = 5) order by Kana";
        QTest::newRow("only a reading")
            << -1 << -1 << 11 << ""
            << "select *, (select count(*) from Usertbl) as BookCustomers from Usertbl where  "
               "(Kana LIKE 'ん%' OR Kana LIKE 'ン%' OR Kana LIKE "
               "'ﾝ%') order by Kana";
        QTest::newRow("only a search") << -1 << -1 << 0 << "Kana LIKE '%abc%'"
                                       << "select *, (select count(*) from Usertbl) as "
                                          "BookCustomers from Usertbl where  (Kana LIKE '%abc%') "
                                          "order by Kana";
        QTest::newRow("class 2, reading and search")
            << -1 << 1 << 10 << "Name ='x'"
            << "select *, (select count(*) from Usertbl) as BookCustomers from Usertbl where  "
               "(class2 = 1) and (Kana LIKE 'わ%' OR Kana LIKE 'ワ%' "
               "OR Kana LIKE 'ﾜ%' OR Kana LIKE 'を%' OR Kana LIKE 'ヲ%' OR Kana LIKE 'ｦ%') and "
               "(Name ='x') order by Kana";
    }
    void listStatement() {
        QFETCH(int, classId);
        QFETCH(int, classId2);
        QFETCH(int, readingIndex);
        QFETCH(QString, searchClause);
        QFETCH(QString, statement);
        QCOMPARE(BuildListStatement({classId, classId2, readingIndex, {searchClause, {}, {}}}),
                 statement);
    }

    void listColumnsStatementKeepsTheConditions() {
        QCOMPARE(
            BuildListStatement({2, -1, 0, {}}, ListColumns::ListRow),
            QString("select UserId, RowVersion, Name, Print, Kana, UseType, Zip, Address1, "
                    "Address2, TelNo_1, OfficeZip, OfficeAddress1, OfficeAddress2, OfficeTel_1, "
                    "(select count(*) from Usertbl) as BookCustomers from Usertbl where "
                    "(class = 2) order by Kana"));
    }

    void countLabel() { QCOMPARE(CountLabelText(25, 120), QString("25/120件該当")); }

    void modelShowsMarksNamesAndIds() {
        CustomerListModel model;
        model.SetRows({{{7, "山田"}, PrintMark::On}, {{9, "佐藤"}, PrintMark::Off}});
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.index(0, 0).data().toString(), QString("〇"));
        QCOMPARE(model.index(1, 0).data().toString(), QString("Ｘ"));
        QCOMPARE(model.index(1, 1).data().toString(), QString("佐藤"));
        QCOMPARE(model.index(1, 2).data().toString(), QString("9"));
        model.UpdateRow(0, {7, "山田太郎", false});
        QCOMPARE(model.index(0, 0).data().toString(), QString("×"));
        QCOMPARE(model.index(0, 1).data().toString(), QString("山田太郎"));
        QCOMPARE(model.RowOf(9), 1);
        QCOMPARE(model.RowOf(8), -1);
    }
};

QTEST_GUILESS_MAIN(TestCustomerList)
#include "tst_customerlist.moc"
