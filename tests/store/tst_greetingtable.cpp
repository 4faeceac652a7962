#include "../common/TestEnv.h"

#include "store/CustomerTable.h"
#include "store/DataReset.h"
#include "store/GreetingTable.h"

#include <QTest>

class TestGreetingTable : public QObject {
    Q_OBJECT
private slots:
    void cellsCountsAndTheCustomersBehindThem() {
        TestEnv env;
        GreetingTable greetings(env.db());
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        const int baba = env.AddCustomer("馬場", "ﾊﾞﾊﾞ");
        const QDate day(2026, 12, 20);
        QVERIFY(greetings.Toggle(aoki, 2027, GreetingKind::NewYearReceived, day));
        QVERIFY(greetings.Toggle(baba, 2027, GreetingKind::NewYearReceived, day));
        QVERIFY(greetings.Toggle(baba, 2027, GreetingKind::NewYearSent, day));
        QVERIFY(greetings.Toggle(aoki, 2026, GreetingKind::NewYearSent, day));
        QVERIFY(!greetings.Toggle(aoki, 2026, GreetingKind::NewYearSent, day));
        greetings.Set({baba, 2025, GreetingKind::MourningReceived, day, "祖母 ハナ"});
        greetings.Set({baba, 2025, GreetingKind::MourningReceived, {}, "祖父"});

        const std::vector<GreetingEvent> events = greetings.CustomerEvents(baba);
        QCOMPARE(events.size(), 3u);
        QCOMPARE(events.back().note, QString("祖父"));
        QVERIFY(!events.back().day.isValid());
        QCOMPARE(greetings.CustomerSeasons(baba), (QList<int>{2027, 2025}));

        const std::vector<SeasonCount> counts = greetings.SeasonCounts(2024, 2027);
        QCOMPARE(counts.size(), 4u);
        QCOMPARE(counts[0].season, 2027);
        QCOMPARE(counts[0].Of(GreetingKind::NewYearReceived), 2);
        QCOMPARE(counts[0].openReplies, 1);
        QCOMPARE(counts[1].Of(GreetingKind::NewYearSent), 0);
        QCOMPARE(counts[2].Of(GreetingKind::MourningReceived), 1);
        QCOMPARE(greetings.CustomersWithOpenReply(2027), QList<int>{aoki});
        QCOMPARE(greetings.CustomersWith(2027, GreetingKind::NewYearReceived),
                 (QList<int>{aoki, baba}));

        // Recording a run adds only what is missing and skips ids that are no customer.
        QCOMPARE(
            greetings.RecordForCustomers({aoki, baba, 999}, 2027, GreetingKind::NewYearSent, day),
            1);
        QCOMPARE(greetings.CustomersWithOpenReply(2027), QList<int>{});

        Query user(env.db());
        DeleteCustomerRow(user, baba);
        QCOMPARE(greetings.CustomerEvents(baba).size(), 0u);
        QCOMPARE(greetings.CustomerEvents(aoki).size(), 2u);
        Query history(env.db()), classes(env.db());
        QCOMPARE(ResetCustomerBook(user, history, classes).greetingEvents, 2);
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestGreetingTable)
#include "tst_greetingtable.moc"
