#include "records/History.h"

#include "core/ShiftJis.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "platform/TableEngine.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

void Run(Query &query, const QString &statement) {
    query.Close();
    query.SetText(statement);
    query.Execute();
}

// The stored date text read back as a date and written as date text again.
QString DateText(const QString &stored) {
    const QDate date = ParseShortDate(stored);
    return date.isValid() ? ShortDateText(date) : stored;
}

// Shift-JIS bytes with single-byte ASCII letters upper-cased, so byte order ignores their case.
QByteArray CaseFoldedBytes(const QString &text) {
    QByteArray bytes = ShiftJis::Encode(text);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (ShiftJis::IsLeadByte(b))
            ++i;
        else if (b >= 'a' && b <= 'z')
            bytes[i] = static_cast<char>(b - 'a' + 'A');
    }
    return bytes;
}

int CompareBytes(const QByteArray &a, const QByteArray &b) {
    const int result = std::memcmp(a.constData(), b.constData(),
                                   static_cast<size_t>(std::min(a.size(), b.size())));
    if (result != 0)
        return result < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

void InsertHistory(Query &historyQuery, int userId, const HistoryEntry &entry) {
    Run(historyQuery, QStringLiteral("insert into Historytbl(UserId,MakeDay,Title,Contents)"
                                     "values(%1,%2,%3,%4)")
                          .arg(QString::number(userId), QuoteSql(ShortDateText(entry.date)),
                               QuoteSql(entry.title), QuoteSql(entry.contents)));
}

void UpdateHistory(Query &historyQuery, int historyId, const HistoryEntry &entry) {
    Run(historyQuery,
        QStringLiteral("Update Historytbl set MakeDay =%1,Title=%2,Contents=%3where HistoryId = %4")
            .arg(QuoteSql(ShortDateText(entry.date)), QuoteSql(entry.title),
                 QuoteSql(entry.contents), QString::number(historyId)));
}

std::optional<HistoryEntry> ReadHistoryEntry(Query &historyQuery, int historyId) {
    historyQuery.Close();
    historyQuery.SetText(
        QStringLiteral("select * from Historytbl where HistoryId=%1").arg(historyId));
    historyQuery.Open();
    if (historyQuery.AtEnd())
        return std::nullopt;
    return HistoryEntry{ParseShortDate(historyQuery.AsString(QStringLiteral("MakeDay"))),
                        historyQuery.AsString(QStringLiteral("Title")),
                        historyQuery.AsString(QStringLiteral("Contents"))};
}

bool DeleteHistoryEntry(Query &historyQuery, std::optional<int> historyId) {
    if (!historyId) {
        prompt().Message(QStringLiteral("削除する履歴を選択して下さい"));
        return false;
    }
    if (!prompt().Confirm(QStringLiteral("選択している履歴を削除しますか？"),
                          QStringLiteral("確認")))
        return false;
    try {
        Run(historyQuery,
            QStringLiteral("delete from Historytbl where HistoryId=%1").arg(*historyId));
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
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

void HistorySort::ColumnClick(int column) {
    ascending_ = !ascending_;
    column_ = column;
}

QString HistorySort::ColumnText(const HistoryRow &row, int column) {
    switch (column) {
    case 0:
        return row.date;
    case 1:
        return row.title;
    case 2:
        return row.contents;
    default:
        return QString::number(row.historyId);
    }
}

int HistorySort::CompareText(const QString &a, const QString &b) {
    return CompareBytes(CaseFoldedBytes(a), CaseFoldedBytes(b));
}

int HistorySort::Compare(const HistoryRow &a, const HistoryRow &b) const {
    const int result = CompareText(ColumnText(a, column_), ColumnText(b, column_));
    return ascending_ ? result : -result;
}

void HistorySort::Sort(std::vector<HistoryRow> &rows) const {
    std::vector<QByteArray> keys;
    keys.reserve(rows.size());
    for (const HistoryRow &row : rows)
        keys.push_back(CaseFoldedBytes(ColumnText(row, column_)));
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int result = CompareBytes(keys[a], keys[b]);
        return ascending_ ? result < 0 : result > 0;
    });
    std::vector<HistoryRow> sorted;
    sorted.reserve(rows.size());
    for (size_t i : order)
        sorted.push_back(rows[i]);
    rows = std::move(sorted);
}

QStringList HistoryCsvLines(const std::vector<HistoryRow> &rows) {
    QStringList lines{QStringLiteral("日付,項目,内容")};
    for (const HistoryRow &row : rows)
        lines << row.date + u',' + row.title + u',' + row.contents;
    return lines;
}

QString HistoryCsvProposedName(const QString &name, const QString &nameTitle) {
    QString proposed = name + u' ' + nameTitle + QStringLiteral("の履歴");
    // A slash in a name would be read as a folder.
    proposed.replace(u'/', QChar(0xFF0F));
    return proposed;
}

bool SaveHistoryCsv(const std::vector<HistoryRow> &rows, const QString &name,
                    const QString &nameTitle) {
    QString path = prompt().SaveFile(name + u' ' + nameTitle + QStringLiteral("の履歴保存"),
                                     HistoryCsvProposedName(name, nameTitle),
                                     QStringLiteral("CSVファイル (*.csv)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty()) {
        // The dialog asked about the name as typed; the name with the extension may exist.
        path += QStringLiteral(".csv");
        if (QFileInfo::exists(path) &&
            !prompt().Confirm(QDir::toNativeSeparators(path) +
                              QStringLiteral("は既に存在します。\r\n上書きしますか？")))
            return false;
    }
    QString error;
    if (!TextFile::WriteLines(path, HistoryCsvLines(rows), &error)) {
        prompt().Error(QStringLiteral("CSVファイルを保存できませんでした。\r\n%1\r\n%2")
                           .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}
