#include "Bench.h"

#include "../tests/common/TestEnv.h"
#include "greetings/SeasonCards.h"
#include "store/GreetingTable.h"

#include <QRandomGenerator>
#include <memory>

namespace {

constexpr int Customers = 100000;
constexpr int LastSeason = 2027;
constexpr int Seasons = 10;
// One customer's grid is too quick to time alone; this many customers are read in turn.
constexpr int GridLookups = 1000;

// 100 000 customers, each with one row in every one of 10 seasons: mostly New Year cards sent,
// some received, a few mourning notices (1 000 000 rows).
struct GreetingBook {
    TestEnv env;

    GreetingBook() {
        Engine &engine = env.db().GetEngine();
        QRandomGenerator random(11);
        engine.Begin();
        const std::unique_ptr<EngineStatement> customer = engine.Prepare(QStringLiteral(
            "insert into Usertbl (UserId, Kana, Name, Print) values (?, ?, ?, '0')"));
        const std::unique_ptr<EngineStatement> greeting = engine.Prepare(
            QStringLiteral("insert into greetingtbl (UserId, Season, Kind) values (?, ?, ?)"));
        for (int id = 1; id <= Customers; ++id) {
            customer->BindInteger(1, id);
            customer->BindText(2, QStringLiteral("ｱｲｳ%1").arg(id).toUtf8());
            customer->BindText(3, QStringLiteral("顧客%1").arg(id).toUtf8());
            customer->Step();
            customer->Reset();
            for (int season = LastSeason - Seasons + 1; season <= LastSeason; ++season) {
                const quint32 roll = random.bounded(100);
                greeting->BindInteger(1, id);
                greeting->BindInteger(2, season);
                greeting->BindInteger(3, roll < 70 ? 1 : roll < 97 ? 2 : 3);
                greeting->Step();
                greeting->Reset();
            }
        }
        engine.Commit();
    }
};

GreetingBook &TheGreetingBook() {
    static GreetingBook book;
    return book;
}

} // namespace

// The rules over the season and the one before, as the choice of this season's cards reads them.
PELLOR3_BENCH_FIGURE(ChooseSeasonCardsFigure, "greeting_choose_season_100000_ms", "ms") {
    Database &database = TheGreetingBook().env.db();
    int chosen = 0;
    const double ms = MedianMs(5, [&] {
        chosen = int(ChooseSeasonCards(database, LastSeason, SeasonRules{}).chosen.size());
    });
    if (chosen == 0)
        qFatal("no season cards chosen");
    return ms;
}

// The same rows read by one bare indexed query.
PELLOR3_BENCH_FIGURE(SqliteSeasonRows, "sqlite_season_rows_100000_ms", "ms") {
    Engine &engine = TheGreetingBook().env.db().GetEngine();
    return MedianMs(5, [&engine] {
        const std::unique_ptr<EngineStatement> select =
            engine.Prepare(QStringLiteral("select UserId, Season, Kind from greetingtbl where "
                                          "Season >= %1 and Season <= %2")
                               .arg(LastSeason - 1)
                               .arg(LastSeason));
        qint64 sum = 0;
        while (select->Step())
            sum += select->Integer(0) + select->Integer(1) + select->Integer(2);
        if (sum == 0)
            std::abort();
    });
}

// The editor's grid of one customer, for 1 000 customers in turn.
PELLOR3_BENCH_FIGURE(CustomerGrid, "greeting_customer_grid_1000_ms", "ms") {
    GreetingTable greetings(TheGreetingBook().env.db());
    return MedianMs(5, [&greetings] {
        std::size_t events = 0;
        for (int n = 0; n < GridLookups; ++n)
            events += greetings.CustomerEvents(1 + n * (Customers / GridLookups)).size();
        if (events != std::size_t(GridLookups) * Seasons)
            qFatal("the grids lost rows");
    });
}

// The same rows by one bare select per customer.
PELLOR3_BENCH_FIGURE(SqliteCustomerRows, "sqlite_customer_rows_1000_ms", "ms") {
    Engine &engine = TheGreetingBook().env.db().GetEngine();
    return MedianMs(5, [&engine] {
        qint64 sum = 0;
        for (int n = 0; n < GridLookups; ++n) {
            const std::unique_ptr<EngineStatement> select = engine.Prepare(
                QStringLiteral("select * from greetingtbl where UserId = %1 order by Season desc, "
                               "Kind")
                    .arg(1 + n * (Customers / GridLookups)));
            while (select->Step())
                sum += select->Integer(2) + select->Integer(3) + select->Text(5).size();
        }
        if (sum == 0)
            std::abort();
    });
}
