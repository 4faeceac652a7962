#include "store/HistoryTable.h"

#include "core/SqlText.h"
#include "core/TextHelpers.h"
#include "store/TableEngine.h"

namespace {

void OpenSelect(Query &query, const QString &statement) {
    query.SetText(statement);
    query.Close();
    query.Open();
}

// The stored date text read back as a date and written as date text again.
QString DateText(const QString &stored) {
    const QDate date = ParseShortDate(stored);
    return date.isValid() ? ShortDateText(date) : stored;
}

} // namespace

HistoryDateError::HistoryDateError(const QString &message, std::vector<HistoryRow> rowsSoFar)
    : std::runtime_error(message.toStdString()), message_(message), rows_(std::move(rowsSoFar)) {}

void InsertHistory(Query &historyQuery, int userId, const HistoryEntry &entry) {
    historyQuery.Execute(QStringLiteral("insert into Historytbl(UserId,MakeDay,Title,Contents)"
                                        "values(%1,%2,%3,%4)")
                             .arg(QString::number(userId), QuoteSql(ShortDateText(entry.date)),
                                  QuoteSql(entry.title), QuoteSql(entry.contents)));
}

bool UpdateHistory(Query &historyQuery, int historyId, int readVersion, const HistoryEntry &entry) {
    return historyQuery.Execute(
               QStringLiteral("Update Historytbl set MakeDay =%1,Title=%2,Contents=%3, RowVersion "
                              "= RowVersion + 1 where HistoryId = %4 and RowVersion = %5")
                   .arg(QuoteSql(ShortDateText(entry.date)), QuoteSql(entry.title),
                        QuoteSql(entry.contents), QString::number(historyId),
                        QString::number(readVersion))) > 0;
}

bool DeleteHistory(Query &historyQuery, int historyId, int readVersion) {
    return historyQuery.Execute(
               QStringLiteral("delete from Historytbl where HistoryId=%1 and RowVersion = %2")
                   .arg(historyId)
                   .arg(readVersion)) > 0;
}

std::optional<HistoryEntry> ReadHistoryEntry(Query &historyQuery, int historyId) {
    historyQuery.Close();
    historyQuery.SetText(
        QStringLiteral("select * from Historytbl where HistoryId=%1").arg(historyId));
    historyQuery.Open();
    std::optional<HistoryEntry> entry;
    if (!historyQuery.AtEnd())
        entry = HistoryEntry{ParseShortDate(historyQuery.AsString(QStringLiteral("MakeDay"))),
                             historyQuery.AsString(QStringLiteral("Title")),
                             historyQuery.AsString(QStringLiteral("Contents")),
                             historyQuery.AsInteger(QStringLiteral("RowVersion"))};
    // An open result would keep the other PCs from writing.
    historyQuery.Close();
    return entry;
}

std::vector<HistoryRow> LoadHistoryRows(Query &historyQuery, int userId) {
    OpenSelect(historyQuery, QStringLiteral("select * from Historytbl where UserID =") +
                                 QString::number(userId) +
                                 QStringLiteral(" order by Makeday Desc"));
    std::vector<HistoryRow> rows;
    for (; !historyQuery.AtEnd(); historyQuery.Next()) {
        const QString stored = historyQuery.AsString(QStringLiteral("MakeDay"));
        const QDate day = ParseShortDate(stored);
        if (!day.isValid())
            throw HistoryDateError(QStringLiteral("'%1' は正しい日付ではありません。").arg(stored),
                                   std::move(rows));
        rows.push_back({ShortDateText(day), historyQuery.AsString(QStringLiteral("Title")),
                        historyQuery.AsString(QStringLiteral("Contents")),
                        historyQuery.AsInteger(QStringLiteral("HistoryId")),
                        historyQuery.AsInteger(QStringLiteral("RowVersion"))});
    }
    return rows;
}

QString HistorySummary(Query &historyQuery, int userId) {
    historyQuery.Close();
    historyQuery.SetText(QStringLiteral("select * from Historytbl where UserID =%1").arg(userId));
    historyQuery.Open();
    QString summary;
    for (; !historyQuery.AtEnd(); historyQuery.Next())
        summary += DateText(historyQuery.AsString(QStringLiteral("MakeDay"))) +
                   QStringLiteral(" - ") + historyQuery.AsString(QStringLiteral("Title")) +
                   QStringLiteral(" - ") + historyQuery.AsString(QStringLiteral("Contents")) +
                   QStringLiteral(" | ");
    return summary;
}

void ProbeHistoryTable(Query &historyQuery) {
    OpenSelect(historyQuery, QStringLiteral("select * from Historytbl"));
    historyQuery.Close();
}
