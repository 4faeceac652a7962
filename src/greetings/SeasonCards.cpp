#include "greetings/SeasonCards.h"

#include "platform/Prompt.h"
#include "print/PaperKinds.h"
#include "store/CustomerTable.h"
#include "store/EngineError.h"

#include <algorithm>

namespace {

// A customer's rows of the two seasons as bits: kind n of last season is bit n - 1, of this
// season bit n + 7.
using SeasonBits = quint16;

SeasonBits BitOf(GreetingKind kind, bool thisSeason) {
    return SeasonBits(1u << (CodeOf(kind) - 1 + (thisSeason ? 8 : 0)));
}

} // namespace

std::optional<int> CardSeason(int paperKind, const QDate &day) {
    if (paperKind != kNewYearCardKind || !day.isValid())
        return std::nullopt;
    return GreetingSeasonOf(day);
}

SeasonChoice ChooseSeasonCards(const std::vector<GreetingMark> &marks, int season,
                               const SeasonRules &rules, const std::optional<QSet<int>> &among) {
    // By customer id, so a book of 100 000 customers is walked once and the lists come sorted.
    int lastId = 0;
    for (const GreetingMark &mark : marks)
        lastId = std::max(lastId, mark.userId);
    std::vector<SeasonBits> customers(std::size_t(lastId) + 1, 0);
    for (const GreetingMark &mark : marks)
        if (mark.userId > 0 && (mark.season == season || mark.season == season - 1) &&
            (!among || among->contains(mark.userId)))
            customers[std::size_t(mark.userId)] |= BitOf(mark.kind, mark.season == season);

    SeasonChoice choice;
    choice.season = season;
    for (int id = 1; id <= lastId; ++id) {
        const SeasonBits bits = customers[std::size_t(id)];
        if (bits == 0)
            continue;
        const auto has = [bits](GreetingKind kind, bool thisSeason) {
            return (bits & BitOf(kind, thisSeason)) != 0;
        };
        // A household in mourning last season got no card only because of it.
        const bool sentLast =
            has(GreetingKind::NewYearSent, false) || has(GreetingKind::MourningReceived, false);
        const bool receivedLast = has(GreetingKind::NewYearReceived, false);
        const bool openReply =
            has(GreetingKind::NewYearReceived, true) && !has(GreetingKind::NewYearSent, true);
        choice.sentLastSeason += sentLast;
        choice.receivedLastSeason += receivedLast;
        choice.openReplies += openReply;
        if (has(GreetingKind::MourningReceived, true))
            choice.mourners << id;
        else if ((rules.sentLastSeason && sentLast) || (rules.receivedLastSeason && receivedLast) ||
                 (rules.openReplies && openReply))
            choice.chosen << id;
    }
    return choice;
}

SeasonChoice ChooseSeasonCards(Database &database, int season, const SeasonRules &rules,
                               const std::optional<QSet<int>> &among) {
    return ChooseSeasonCards(GreetingTable(database).MarksOfSeasons(season - 1, season), season,
                             rules, among);
}

int MarkChosenCustomers(Database &database, const SeasonChoice &choice, MarkMode mode) {
    return MarkCustomersForPrinting(database, choice.chosen, mode == MarkMode::Replace);
}

QSet<int> MournersForCard(Database &database, int paperKind, const QDate &day) {
    const std::optional<int> season = CardSeason(paperKind, day);
    if (!season)
        return {};
    const QList<int> ids =
        GreetingTable(database).CustomersWith(*season, GreetingKind::MourningReceived);
    return QSet<int>(ids.cbegin(), ids.cend());
}

int OfferToRecordCardsSent(Database &database, int paperKind, const QDate &day,
                           const QList<int> &printedIds) {
    const std::optional<int> season = CardSeason(paperKind, day);
    if (!season || printedIds.isEmpty())
        return 0;
    if (!prompt().Confirm(
            QStringLiteral("印刷した %1 件の宛先に、%2年の年賀状を出したと記録しますか？")
                .arg(printedIds.size())
                .arg(*season),
            QStringLiteral("確認"), Prompt::Answer::No))
        return 0;
    try {
        return GreetingTable(database).RecordForCustomers(printedIds, *season,
                                                          GreetingKind::NewYearSent, day);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return 0;
    }
}
