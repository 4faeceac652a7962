#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

class Query;

// The dated entries of a customer (historytbl). Dates are stored as the short date text; every
// statement throws EngineError when refused.

// One entry as the entry window edits it.
struct HistoryEntry {
    QDate date;
    QString title;
    QString contents;
    int rowVersion = 0; // as read; each stored change increases it
};

// One entry as the editor's history box lists it.
struct HistoryRow {
    QString date; // the entry's day as short date text
    QString title;
    QString contents;
    int historyId = 0;
    int rowVersion = 0; // as listed
};

// A history date that does not read as a date; message() is for the user.
class HistoryDateError : public std::runtime_error {
public:
    HistoryDateError(const QString &message, std::vector<HistoryRow> rowsSoFar);
    const QString &message() const { return message_; }
    const std::vector<HistoryRow> &RowsSoFar() const { return rows_; }

private:
    QString message_;
    std::vector<HistoryRow> rows_;
};

void InsertHistory(Query &historyQuery, int userId, const HistoryEntry &entry);
// Stores the entry while its row is still at `readVersion`; false (nothing stored) when another
// PC changed or deleted it since.
bool UpdateHistory(Query &historyQuery, int historyId, int readVersion, const HistoryEntry &entry);
// Deletes the entry while its row is still at `readVersion`; false (nothing deleted) when
// another PC changed or deleted it since.
bool DeleteHistory(Query &historyQuery, int historyId, int readVersion);
// The entry with this key; nothing when it no longer exists.
std::optional<HistoryEntry> ReadHistoryEntry(Query &historyQuery, int historyId);

// The entries of a customer, newest first. Throws HistoryDateError at a stored day that is not
// a date.
std::vector<HistoryRow> LoadHistoryRows(Query &historyQuery, int userId);

// Every entry of the customer as "date - item - content | ", in table order; empty without
// entries.
QString HistorySummary(Query &historyQuery, int userId);

// Opens and closes the whole table once, so a missing or unreadable table is reported at start.
void ProbeHistoryTable(Query &historyQuery);
