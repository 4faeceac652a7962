#include "store/GreetingTable.h"

#include "core/SqlText.h"
#include "store/SqlDialect.h"
#include "store/TableEngine.h"

namespace {

// Enough ids for one statement without reaching the engine's limit on its length.
constexpr qsizetype kIdsPerStatement = 500;

QString CellCondition(int userId, int season, GreetingKind kind) {
    return QStringLiteral("UserId = %1 and Season = %2 and Kind = %3")
        .arg(userId)
        .arg(season)
        .arg(CodeOf(kind));
}

QString IdList(const QList<int> &ids) {
    QStringList texts;
    for (const int id : ids)
        texts << QString::number(id);
    return texts.join(u',');
}

GreetingEvent EventOf(const Query &query) {
    GreetingEvent event;
    event.userId = query.AsInteger(QStringLiteral("UserId"));
    event.season = query.AsInteger(QStringLiteral("Season"));
    event.kind = GreetingKindOfCode(query.AsInteger(QStringLiteral("Kind")))
                     .value_or(GreetingKind::NewYearSent);
    event.day = query.AsDate(QStringLiteral("Day"));
    event.note = query.AsString(QStringLiteral("Note"));
    return event;
}

// A New Year card received in the season by a customer who was sent none in it.
const QString kOpenReplyCondition = QStringLiteral(
    "g.Kind = 2 and not exists (select 1 from greetingtbl a where a.UserId = g.UserId and "
    "a.Season = g.Season and a.Kind = 1)");

} // namespace

const std::array<GreetingKind, kGreetingKindCount> &GreetingKinds() {
    static const std::array<GreetingKind, kGreetingKindCount> kinds = {
        GreetingKind::NewYearSent,  GreetingKind::NewYearReceived, GreetingKind::MourningReceived,
        GreetingKind::MourningSent, GreetingKind::WinterSent,      GreetingKind::WinterReceived,
        GreetingKind::SummerSent,   GreetingKind::SummerReceived};
    return kinds;
}

std::optional<GreetingKind> GreetingKindOfCode(int code) {
    if (code < 1 || code > kGreetingKindCount)
        return std::nullopt;
    return static_cast<GreetingKind>(code);
}

int GreetingSeasonOf(const QDate &day) {
    return day.month() >= 10 ? day.year() + 1 : day.year();
}

QString GreetingKindCaption(GreetingKind kind) {
    static const std::array<QString, kGreetingKindCount> captions = {
        QStringLiteral("年賀状 出した"),     QStringLiteral("年賀状 受け取った"),
        QStringLiteral("喪中 受け取った"),   QStringLiteral("喪中 出した"),
        QStringLiteral("寒中見舞い 出した"), QStringLiteral("寒中見舞い 受け取った"),
        QStringLiteral("暑中見舞い 出した"), QStringLiteral("暑中見舞い 受け取った")};
    return captions[CodeOf(kind) - 1];
}

bool GreetingTable::Toggle(int userId, int season, GreetingKind kind, const QDate &day) {
    Query query(database_);
    if (query.Execute(QStringLiteral("delete from greetingtbl where ") +
                      CellCondition(userId, season, kind)) > 0)
        return false;
    Set({userId, season, kind, day, {}});
    return true;
}

void GreetingTable::Set(const GreetingEvent &event) {
    Query query(database_);
    if (query.Execute(QStringLiteral("update greetingtbl set Day = %1, Note = %2 where ")
                          .arg(SqlDate(event.day), QuoteSql(event.note)) +
                      CellCondition(event.userId, event.season, event.kind)) > 0)
        return;
    query.Execute(QStringLiteral("insert into greetingtbl (UserId, Season, Kind, Day, Note) "
                                 "values(%1, %2, %3, %4, %5)")
                      .arg(event.userId)
                      .arg(event.season)
                      .arg(CodeOf(event.kind))
                      .arg(SqlDate(event.day), QuoteSql(event.note)));
}

void GreetingTable::Clear(int userId, int season, GreetingKind kind) {
    Query query(database_);
    query.Execute(QStringLiteral("delete from greetingtbl where ") +
                  CellCondition(userId, season, kind));
}

std::vector<GreetingEvent> GreetingTable::CustomerEvents(int userId) {
    const std::unique_ptr<EngineStatement> select =
        Prepare(QStringLiteral("select Season, Kind, Day, Note from greetingtbl where UserId = %1 "
                               "order by Season desc, Kind")
                    .arg(userId));
    std::vector<GreetingEvent> events;
    while (select->Step())
        if (const auto kind = GreetingKindOfCode(int(select->Integer(1))))
            events.push_back({userId, int(select->Integer(0)), *kind,
                              QDate::fromString(QString::fromUtf8(select->Text(2)), Qt::ISODate),
                              QString::fromUtf8(select->Text(3))});
    return events;
}

QList<int> GreetingTable::CustomerSeasons(int userId) {
    Query query(database_, QStringLiteral("select distinct Season from greetingtbl where "
                                          "UserId = %1 order by Season desc")
                               .arg(userId));
    QList<int> seasons;
    for (query.Open(); !query.AtEnd(); query.Next())
        seasons << query.AsInteger(QStringLiteral("Season"));
    return seasons;
}

std::vector<GreetingMark> GreetingTable::MarksOfSeasons(int firstSeason, int lastSeason) {
    const std::unique_ptr<EngineStatement> select =
        Prepare(QStringLiteral("select UserId, Season, Kind from greetingtbl where "
                               "Season >= %1 and Season <= %2")
                    .arg(firstSeason)
                    .arg(lastSeason));
    std::vector<GreetingMark> marks;
    while (select->Step())
        if (const auto kind = GreetingKindOfCode(int(select->Integer(2))))
            marks.push_back({int(select->Integer(0)), int(select->Integer(1)), *kind});
    return marks;
}

std::vector<SeasonCount> GreetingTable::SeasonCounts(int firstSeason, int lastSeason) {
    std::vector<SeasonCount> counts;
    for (int season = lastSeason; season >= firstSeason; --season)
        counts.push_back({season, {}, 0});
    const auto countOf = [&](int season) -> SeasonCount & {
        return counts[std::size_t(lastSeason - season)];
    };
    const QString range =
        QStringLiteral("g.Season >= %1 and g.Season <= %2").arg(firstSeason).arg(lastSeason);
    Query query(database_, QStringLiteral("select g.Season, g.Kind, count(*) as Number from "
                                          "greetingtbl g where %1 group by g.Season, g.Kind")
                               .arg(range));
    for (query.Open(); !query.AtEnd(); query.Next())
        if (const auto kind = GreetingKindOfCode(query.AsInteger(QStringLiteral("Kind"))))
            countOf(query.AsInteger(QStringLiteral("Season"))).kinds[CodeOf(*kind) - 1] =
                query.AsInteger(QStringLiteral("Number"));
    query.Close();
    query.SetText(QStringLiteral("select g.Season, count(*) as Number from greetingtbl g where "
                                 "%1 and %2 group by g.Season")
                      .arg(range, kOpenReplyCondition));
    for (query.Open(); !query.AtEnd(); query.Next())
        countOf(query.AsInteger(QStringLiteral("Season"))).openReplies =
            query.AsInteger(QStringLiteral("Number"));
    return counts;
}

std::unique_ptr<EngineStatement> GreetingTable::Prepare(const QString &select) {
    // The hot reads (a season of a large book, the editor's grid) take the fields by position.
    Engine &engine = database_.GetEngine();
    return engine.Prepare(TranslateStatement(select, engine.Target()).first());
}

QList<int> GreetingTable::ReadIds(const QString &statement) {
    Query query(database_, statement);
    QList<int> ids;
    for (query.Open(); !query.AtEnd(); query.Next())
        ids << query.AsInteger(QStringLiteral("UserId"));
    return ids;
}

QList<int> GreetingTable::CustomersWith(int season, GreetingKind kind) {
    return ReadIds(QStringLiteral("select u.UserId from greetingtbl g inner join usertbl u on "
                                  "u.UserId = g.UserId where g.Season = %1 and g.Kind = %2 "
                                  "order by u.Kana, u.UserId")
                       .arg(season)
                       .arg(CodeOf(kind)));
}

QList<int> GreetingTable::CustomersWithOpenReply(int season) {
    return ReadIds(QStringLiteral("select u.UserId from greetingtbl g inner join usertbl u on "
                                  "u.UserId = g.UserId where g.Season = %1 and %2 "
                                  "order by u.Kana, u.UserId")
                       .arg(season)
                       .arg(kOpenReplyCondition));
}

int GreetingTable::RecordForCustomers(const QList<int> &userIds, int season, GreetingKind kind,
                                      const QDate &day) {
    Transaction transaction(database_);
    Query query(database_);
    int added = 0;
    for (qsizetype from = 0; from < userIds.size(); from += kIdsPerStatement)
        added += query.Execute(
            QStringLiteral("insert into greetingtbl (UserId, Season, Kind, Day) select UserId, "
                           "%1, %2, %3 from usertbl where UserId in (%4) and UserId not in "
                           "(select UserId from greetingtbl where Season = %1 and Kind = %2)")
                .arg(season)
                .arg(CodeOf(kind))
                .arg(SqlDate(day), IdList(userIds.mid(from, kIdsPerStatement))));
    transaction.Commit();
    return added;
}

std::vector<GreetingTable::ExportRow> GreetingTable::ExportRows() {
    Query query(database_, QStringLiteral("select g.*, u.Name, u.Kana, u.Zip from greetingtbl g "
                                          "inner join usertbl u on u.UserId = g.UserId order by "
                                          "u.Kana, u.UserId, g.Season desc, g.Kind"));
    std::vector<ExportRow> rows;
    for (query.Open(); !query.AtEnd(); query.Next())
        rows.push_back({query.AsString(QStringLiteral("Name")),
                        query.AsString(QStringLiteral("Kana")),
                        query.AsString(QStringLiteral("Zip")), EventOf(query)});
    return rows;
}

QList<int> GreetingTable::CustomersNamed(const QString &name, const QString &kana,
                                         const QString &zip) {
    return ReadIds(QStringLiteral("select UserId from usertbl where Name = %1 and Kana = %2 and "
                                  "Zip = %3 order by UserId")
                       .arg(QuoteSql(name), QuoteSql(kana), QuoteSql(zip)));
}
