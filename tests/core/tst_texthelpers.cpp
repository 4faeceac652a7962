#include "core/TextHelpers.h"

#include <QTest>

class TestTextHelpers : public QObject {
    Q_OBJECT
private slots:
    void halfWidth_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hiragana") << "やまだ たろう"
                                  << "ﾔﾏﾀﾞ ﾀﾛｳ";
        QTest::newRow("voiced and small") << "ガッコウ　ぎょうざ"
                                          << "ｶﾞｯｺｳ ｷﾞｮｳｻﾞ";
        QTest::newRow("semi-voiced") << "ぱぴぷぺぽ"
                                     << "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ";
        QTest::newRow("vu and old kana") << "ヴァヰヱヲヮヵヶゔ"
                                         << "ｳﾞｧｲｴｦﾜｶｹｳﾞ";
        QTest::newRow("marks") << "ー・、。「」゛゜"
                               << "ｰ･､｡｢｣ﾞﾟ";
        QTest::newRow("full-width letters") << "ＡＢＣ１２３！"
                                            << "ABC123!";
        QTest::newRow("half-width and others kept") << "ｱｲｳ abc 漢字"
                                                    << "ｱｲｳ abc 漢字";
    }
    void halfWidth() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ToHalfWidthKatakana(text), expected);
    }

    void everyKanaBecomesHalfWidth() {
        for (char16_t c = 0x3041; c <= 0x3096; ++c)
            for (QChar h : ToHalfWidthKatakana(QString(QChar(c))))
                QVERIFY2(h.unicode() >= 0xFF61 && h.unicode() <= 0xFF9F,
                         qPrintable(QString(QChar(c))));
        for (char16_t c = 0x30A1; c <= 0x30FA; ++c)
            for (QChar h : ToHalfWidthKatakana(QString(QChar(c))))
                QVERIFY2(h.unicode() >= 0xFF61 && h.unicode() <= 0xFF9F,
                         qPrintable(QString(QChar(c))));
    }

    void calcAge_data() {
        QTest::addColumn<QDate>("birthday");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("age");
        QTest::newRow("day before the birthday") << QDate(2000, 5, 15) << QDate(2024, 5, 14) << 23;
        QTest::newRow("on the birthday") << QDate(2000, 5, 15) << QDate(2024, 5, 15) << 24;
        QTest::newRow("day after the birthday") << QDate(2000, 5, 15) << QDate(2024, 5, 16) << 24;
        QTest::newRow("earlier month") << QDate(2000, 12, 1) << QDate(2024, 11, 30) << 23;
        QTest::newRow("29 Feb, 28 Feb of a common year")
            << QDate(2000, 2, 29) << QDate(2023, 2, 28) << 22;
        QTest::newRow("29 Feb, 1 Mar of a common year")
            << QDate(2000, 2, 29) << QDate(2023, 3, 1) << 23;
        QTest::newRow("29 Feb, 28 Feb of a leap year")
            << QDate(2000, 2, 29) << QDate(2024, 2, 28) << 23;
        QTest::newRow("29 Feb, 29 Feb of a leap year")
            << QDate(2000, 2, 29) << QDate(2024, 2, 29) << 24;
        QTest::newRow("born today") << QDate(2024, 5, 15) << QDate(2024, 5, 15) << 0;
        QTest::newRow("new year's eve") << QDate(1990, 1, 1) << QDate(2023, 12, 31) << 33;
    }
    void calcAge() {
        QFETCH(QDate, birthday);
        QFETCH(QDate, today);
        QFETCH(int, age);
        QCOMPARE(CalcAge(birthday, today), age);
    }

    void filterKey_data() {
        QTest::addColumn<QChar>("key");
        QTest::addColumn<bool>("passes");
        QTest::newRow("double quote") << QChar(u'"') << false;
        QTest::newRow("single quote") << QChar(u'\'') << false;
        QTest::newRow("grave accent") << QChar(u'`') << false;
        QTest::newRow("comma") << QChar(u',') << false;
        QTest::newRow("letter") << QChar(u'a') << true;
        QTest::newRow("full-width comma") << QChar(0xFF0C) << true;
        QTest::newRow("ideographic comma") << QChar(0x3001) << true;
        QTest::newRow("right single quotation mark") << QChar(0x2019) << true;
        QTest::newRow("enter") << QChar(u'\r') << true;
    }
    void filterKey() {
        QFETCH(QChar, key);
        QFETCH(bool, passes);
        const std::optional<QChar> result = FilterKey(key);
        QCOMPARE(result.has_value(), passes);
        if (passes)
            QCOMPARE(*result, key);
    }

    void stripFilteredKeysRemovesOnlyTheFour() {
        QCOMPARE(StripFilteredKeys(QStringLiteral("O'Brien, \"株\" `x`、’")),
                 QStringLiteral("OBrien 株 x、’"));
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
