#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

class Database;
class EngineStatement;

// The greeting record (greetingtbl): one row per card or notice a customer sent or received in a
// season, at most one per customer, season and kind. A season is the greeting year: the New
// Year card for 2027, sent in December 2026, belongs to season 2027. Every statement throws
// EngineError when refused.

// The stored codes of greetingtbl.Kind; they are a file format and never change.
enum class GreetingKind {
    NewYearSent = 1,
    NewYearReceived = 2,
    MourningReceived = 3, // their mourning: they get no New Year card that season
    MourningSent = 4,
    WinterSent = 5,
    WinterReceived = 6,
    SummerSent = 7,
    SummerReceived = 8,
};
constexpr int kGreetingKindCount = 8;

// Every kind in code order.
const std::array<GreetingKind, kGreetingKindCount> &GreetingKinds();
// The kind of a stored code; nothing for a code outside 1 to 8.
std::optional<GreetingKind> GreetingKindOfCode(int code);
inline int CodeOf(GreetingKind kind) {
    return static_cast<int>(kind);
}
// The greeting season of a day: from October to December the coming year (the New Year cards
// being written then), otherwise the current one.
int GreetingSeasonOf(const QDate &day);

// The kind's caption: "年賀状 出した", "喪中 受け取った", ...
QString GreetingKindCaption(GreetingKind kind);

struct GreetingEvent {
    int userId = 0;
    int season = 0;
    GreetingKind kind = GreetingKind::NewYearSent;
    QDate day; // invalid when not known
    QString note;

    bool operator==(const GreetingEvent &) const = default;
};

// One row as the season rules read it.
struct GreetingMark {
    int userId = 0;
    int season = 0;
    GreetingKind kind = GreetingKind::NewYearSent;
};

// The rows of one season by kind, and the New Year cards received and not answered in it.
struct SeasonCount {
    int season = 0;
    std::array<int, kGreetingKindCount> kinds{};
    int openReplies = 0;

    int Of(GreetingKind kind) const { return kinds[CodeOf(kind) - 1]; }
};

class GreetingTable {
public:
    explicit GreetingTable(Database &database) : database_(database) {}

    // Adds the event (dated `day`) when the customer has none of the kind in the season, and
    // removes it when there is one. True when it is present afterwards.
    bool Toggle(int userId, int season, GreetingKind kind, const QDate &day);
    // Stores the event, replacing the day and note of one already there.
    void Set(const GreetingEvent &event);
    void Clear(int userId, int season, GreetingKind kind);

    // The events of one customer, newest season first, by kind within a season.
    std::vector<GreetingEvent> CustomerEvents(int userId);
    // The seasons the customer has events in, newest first.
    QList<int> CustomerSeasons(int userId);

    // Every row of the seasons from `firstSeason` to `lastSeason`.
    std::vector<GreetingMark> MarksOfSeasons(int firstSeason, int lastSeason);
    // The counts of each season from `firstSeason` to `lastSeason`, newest first, seasons
    // without any row included.
    std::vector<SeasonCount> SeasonCounts(int firstSeason, int lastSeason);
    // The customers behind a count, in reading order.
    QList<int> CustomersWith(int season, GreetingKind kind);
    QList<int> CustomersWithOpenReply(int season);

    // Records the kind in the season for every customer of `userIds` that exists and has none
    // yet, in one transaction; one already recorded keeps its day and note. Returns the number
    // of rows added.
    int RecordForCustomers(const QList<int> &userIds, int season, GreetingKind kind,
                           const QDate &day);

    // Every event with the customer's name, reading and postal code, by reading and season.
    struct ExportRow {
        QString name;
        QString kana;
        QString zip;
        GreetingEvent event;
    };
    std::vector<ExportRow> ExportRows();
    // The customers with exactly this name, reading and postal code (an empty one matching an
    // empty field).
    QList<int> CustomersNamed(const QString &name, const QString &kana, const QString &zip);

private:
    // One select in the program's dialect, prepared for the engine.
    std::unique_ptr<EngineStatement> Prepare(const QString &select);
    QList<int> ReadIds(const QString &statement);

    Database &database_;
};
