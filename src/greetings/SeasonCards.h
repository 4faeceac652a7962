#pragma once

// The season's cards: who gets one, who is in mourning, and the record a card run leaves.
//
// Usage (choosing and marking the New Year cards of 2027):
//     const SeasonChoice choice = ChooseSeasonCards(database, 2027, SeasonRules{});
//     MarkChosenCustomers(database, choice, MarkMode::Replace);

#include "store/GreetingTable.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <optional>
#include <vector>

class Database;

// The greeting season a card printed on `day` belongs to: for the New Year card from October to
// December the coming year, otherwise the current one; nothing for every other paper.
std::optional<int> CardSeason(int paperKind, const QDate &day);

// The rules the user ticks; a customer is chosen when any ticked rule holds.
struct SeasonRules {
    bool sentLastSeason = true;     // we sent them a New Year card last season
    bool receivedLastSeason = true; // they sent us one last season
    bool openReplies = false;       // they sent one this season and were sent none (返礼)
};

// What the rules choose for a season, counted before anything changes. The counts are per rule
// before mourners are taken out; `chosen` and `mourners` are sorted by customer id.
struct SeasonChoice {
    int season = 0;
    int sentLastSeason = 0;
    int receivedLastSeason = 0;
    int openReplies = 0;
    QList<int> chosen;
    // Customers with a mourning notice received for the season: never chosen, listed for a
    // 寒中見舞い instead.
    QList<int> mourners;
};

// The rules over the rows of the season and the one before it; with `among`, only those
// customers (the list's class and reading filters) are counted and chosen.
SeasonChoice ChooseSeasonCards(const std::vector<GreetingMark> &marks, int season,
                               const SeasonRules &rules,
                               const std::optional<QSet<int>> &among = std::nullopt);
// The same over the book. Throws EngineError.
SeasonChoice ChooseSeasonCards(Database &database, int season, const SeasonRules &rules,
                               const std::optional<QSet<int>> &among = std::nullopt);

enum class MarkMode {
    Replace, // the chosen are marked for printing and every other customer unmarked
    Add,     // the chosen are marked, the marks already set stay
};
// Sets the print flags in one transaction; returns the number of customers marked by the choice.
// Throws EngineError.
int MarkChosenCustomers(Database &database, const SeasonChoice &choice, MarkMode mode);

// The customers in mourning for the season of a card of `paperKind` printed on `day`; none for
// a paper without a season. Throws EngineError.
QSet<int> MournersForCard(Database &database, int paperKind, const QDate &day);

// After a print run of `paperKind` on `day`: for New Year cards, asks once whether to record
// "年賀状 出した" for every printed customer and records it in one transaction. Shows a refused
// statement as an error. Returns the number of rows added.
int OfferToRecordCardsSent(Database &database, int paperKind, const QDate &day,
                           const QList<int> &printedIds);
