#include "../common/TestEnv.h"

#include "greetings/SeasonCards.h"
#include "print/PaperKinds.h"
#include "store/CustomerTable.h"

#include <QTest>

namespace {
constexpr int kSeason = 2027;
constexpr int kCustomer = 7;
} // namespace

class TestSeasonCards : public QObject {
    Q_OBJECT
private slots:
    // One customer's record of the season before, this season and the one before that (kind
    // codes), and which rules are ticked: is the customer chosen, listed as mourner?
    void rules_data() {
        QTest::addColumn<QList<int>>("earlier");
        QTest::addColumn<QList<int>>("last");
        QTest::addColumn<QList<int>>("current");
        QTest::addColumn<bool>("openReplies");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<bool>("mourner");
        using L = QList<int>;
        QTest::newRow("no record") << L{} << L{} << L{} << true << false << false;
        QTest::newRow("sent last season") << L{} << L{1} << L{} << false << true << false;
        QTest::newRow("received last season") << L{} << L{2} << L{} << false << true << false;
        QTest::newRow("both last season") << L{} << L{1, 2} << L{} << false << true << false;
        QTest::newRow("only two seasons ago") << L{1, 2} << L{} << L{} << true << false << false;
        QTest::newRow("their mourning last season") << L{} << L{3} << L{} << false << true << false;
        QTest::newRow("our mourning last season") << L{} << L{4} << L{} << false << false << false;
        QTest::newRow("sent last, mourning now") << L{} << L{1, 2} << L{3} << true << false << true;
        QTest::newRow("mourning now only") << L{} << L{} << L{3} << true << false << true;
        QTest::newRow("unanswered, not ticked") << L{} << L{} << L{2} << false << false << false;
        QTest::newRow("unanswered, ticked") << L{} << L{} << L{2} << true << true << false;
        QTest::newRow("answered") << L{} << L{} << L{1, 2} << true << false << false;
        QTest::newRow("unanswered in mourning") << L{} << L{} << L{2, 3} << true << false << true;
        QTest::newRow("summer cards only") << L{} << L{7, 8} << L{5} << true << false << false;
    }
    void rules() {
        QFETCH(QList<int>, earlier);
        QFETCH(QList<int>, last);
        QFETCH(QList<int>, current);
        QFETCH(bool, openReplies);
        QFETCH(bool, chosen);
        QFETCH(bool, mourner);
        std::vector<GreetingMark> marks;
        for (const auto &[season, kinds] :
             {std::pair{kSeason - 2, earlier}, std::pair{kSeason - 1, last},
              std::pair{kSeason, current}})
            for (const int code : kinds)
                marks.push_back({kCustomer, season, *GreetingKindOfCode(code)});
        SeasonRules rules;
        rules.openReplies = openReplies;
        const SeasonChoice choice = ChooseSeasonCards(marks, kSeason, rules);
        QCOMPARE(choice.chosen.contains(kCustomer), chosen);
        QCOMPARE(choice.mourners.contains(kCustomer), mourner);
        // Outside the list's filters nobody is counted or chosen.
        const SeasonChoice filtered = ChooseSeasonCards(marks, kSeason, rules, QSet<int>{1});
        QVERIFY(filtered.chosen.isEmpty() && filtered.mourners.isEmpty());
    }

    void countsEachRuleBeforeTheMourningIsTakenOut() {
        const std::vector<GreetingMark> marks = {
            {1, kSeason - 1, GreetingKind::NewYearSent},
            {1, kSeason - 1, GreetingKind::NewYearReceived},
            {2, kSeason - 1, GreetingKind::NewYearReceived},
            {2, kSeason, GreetingKind::MourningReceived},
            {3, kSeason, GreetingKind::NewYearReceived},
        };
        SeasonRules rules;
        rules.sentLastSeason = false;
        const SeasonChoice choice = ChooseSeasonCards(marks, kSeason, rules);
        QCOMPARE(choice.sentLastSeason, 1);
        QCOMPARE(choice.receivedLastSeason, 2);
        QCOMPARE(choice.openReplies, 1);
        QCOMPARE(choice.chosen, QList<int>{1});
        QCOMPARE(choice.mourners, QList<int>{2});
    }

    void seasonOfTheCard_data() {
        QTest::addColumn<int>("paperKind");
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("season"); // 0: no season, no check
        QTest::newRow("New Year card in October") << kNewYearCardKind << QDate(2026, 10, 1) << 2027;
        QTest::newRow("on New Year's Eve") << kNewYearCardKind << QDate(2026, 12, 31) << 2027;
        QTest::newRow("late, in January") << kNewYearCardKind << QDate(2027, 1, 6) << 2027;
        QTest::newRow("in September") << kNewYearCardKind << QDate(2026, 9, 30) << 2026;
        QTest::newRow("plain postcard") << 1 << QDate(2026, 12, 1) << 0;
        QTest::newRow("summer card") << 4 << QDate(2026, 7, 1) << 0;
        QTest::newRow("label sheet") << 0 << QDate(2026, 12, 1) << 0;
    }
    void seasonOfTheCard() {
        QFETCH(int, paperKind);
        QFETCH(QDate, day);
        QFETCH(int, season);
        QCOMPARE(CardSeason(paperKind, day).value_or(0), season);
    }

    // Marking replaces or adds to the print marks; recording a run asks once, いいえ first.
    void marksTheChoiceAndRecordsTheRun() {
        TestEnv env;
        const int sent = env.AddCustomer("佐藤", "ｻﾄｳ");
        const int mourning = env.AddCustomer("青木", "ｱｵｷ");
        const int other = env.AddCustomer("田中", "ﾀﾅｶ", true);
        GreetingTable greetings(env.db());
        for (const int id : {sent, mourning})
            greetings.Set({id, kSeason - 1, GreetingKind::NewYearSent, {}, {}});
        greetings.Set({mourning, kSeason, GreetingKind::MourningReceived, {}, "祖父"});

        const SeasonChoice choice = ChooseSeasonCards(env.db(), kSeason, SeasonRules{});
        QCOMPARE(MarkChosenCustomers(env.db(), choice, MarkMode::Add), 1);
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Print = 1"), QString("2"));
        QCOMPARE(MarkChosenCustomers(env.db(), choice, MarkMode::Replace), 1);
        QCOMPARE(env.Scalar("select group_concat(UserId) from Usertbl where Print = 1"),
                 QString::number(sent));
        QCOMPARE(MournersForCard(env.db(), kNewYearCardKind, QDate(2026, 11, 1)),
                 QSet<int>{mourning});
        QVERIFY(MournersForCard(env.db(), 1, QDate(2026, 11, 1)).isEmpty());

        const QDate day(2026, 12, 10);
        QCOMPARE(OfferToRecordCardsSent(env.db(), 1, day, {sent, other}), 0);
        QVERIFY(env.prompt().calls().empty());
        env.prompt().PushEnter();
        QCOMPARE(OfferToRecordCardsSent(env.db(), kNewYearCardKind, day, {sent, other}), 0);
        env.prompt().PushAnswer(Prompt::Answer::Yes);
        QCOMPARE(OfferToRecordCardsSent(env.db(), kNewYearCardKind, day, {sent, other}), 2);
        QCOMPARE(greetings.CustomersWith(kSeason, GreetingKind::NewYearSent),
                 (QList<int>{sent, other}));
        QCOMPARE(env.prompt().calls().size(), 2u);
    }
};

QTEST_GUILESS_MAIN(TestSeasonCards)
#include "tst_seasoncards.moc"
