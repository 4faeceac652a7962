#pragma once

#include "store/HistoryTable.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Query;

// The dated entries of a customer (historytbl). Statements run in the query the main window
// passes (its HistoryQuery); every value goes through QuoteSql. Dates are stored as the short
// date text.
//
// How the main window calls it; each handler acts only when exactly one row of ListViewMain
// is selected (u = its UserId). rows = the rows of ListViewHistory in display order (HistoryRow
// of HistoryTable.h); selected = the selected history row, or std::nullopt.
//   BtnAddHistoryClick:  if (FormHistory->AddEntry(HistoryQuery, u)) LoadHistory(u);
//   BtnEditHistoryClick: if (FormHistory->EditEntry(HistoryQuery, selected id)) LoadHistory(u);
//   BtnDelHistoryClick:  if (DeleteHistoryEntry(HistoryQuery, selected)) LoadHistory(u);
//   BtlHisSaveClick:     SaveHistoryCsv(rows, EditName->text(), CBNameTitle->currentText());
//   ListViewHistoryColumnClick: HistorySort.ColumnClick(column); HistorySort.Sort(rows); and
//                        show rows in that order.

// BtnDelHistoryClick: "削除する履歴を選択して下さい" without a selected entry, else asks
// "選択している履歴を削除しますか？" and deletes it as listed. An entry another PC changed or
// deleted since is left as that PC stored it, and the user told so. True when the list no
// longer shows the book: the entry was deleted, here or elsewhere, or changed elsewhere.
bool DeleteHistoryEntry(Query &historyQuery, const std::optional<HistoryRow> &selected);

// An entry as one line, "date / item / content", for telling the user about another PC's change.
QString HistoryEntryText(const HistoryEntry &entry);

// Sorting by a clicked column header. Every click flips the direction flag, whichever column
// was clicked, so the first click sorts ascending and the next one descending. The flag lives
// as long as the main window; a reload does not reset it.
class HistorySort {
public:
    void ColumnClick(int column);

    // Orders the rows by the sort column (a stable sort): the column texts compared on their
    // Shift-JIS bytes, ASCII letters without regard to case; descending unless the flag is set.
    void Sort(std::vector<HistoryRow> &rows) const;

    // The text of a column: 0 date, 1 item, 2 content, 3 key.
    static QString ColumnText(const HistoryRow &row, int column);

private:
    int column_ = 0;
    bool ascending_ = false;
};

// The lines of the history CSV: a header and one line per row, fields joined by commas.
QStringList HistoryCsvLines(const std::vector<HistoryRow> &rows);
// "<name> <honorific>の履歴", the file name the save dialog proposes.
QString HistoryCsvProposedName(const QString &name, const QString &nameTitle);
// BtlHisSaveClick: asks for a file and writes the lines as Shift-JIS with CR LF. False when
// cancelled or not written (the reason shown).
bool SaveHistoryCsv(const std::vector<HistoryRow> &rows, const QString &name,
                    const QString &nameTitle);
