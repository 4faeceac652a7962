#include "records/History.h"

#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "store/TableEngine.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

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

bool DeleteHistoryEntry(Query &historyQuery, const std::optional<HistoryRow> &selected) {
    if (!selected) {
        prompt().Message(QStringLiteral("削除する履歴を選択して下さい"));
        return false;
    }
    if (!prompt().Confirm(QStringLiteral("選択している履歴を削除しますか？"),
                          QStringLiteral("確認"), Prompt::Answer::No))
        return false;
    try {
        if (DeleteHistory(historyQuery, selected->historyId, selected->rowVersion))
            return true;
        if (const auto other = ReadHistoryEntry(historyQuery, selected->historyId))
            prompt().Message(QStringLiteral("他のパソコンでこの履歴が変更されたため、削除しません"
                                            "でした。\r\n\r\n他のパソコン: %1")
                                 .arg(HistoryEntryText(*other)));
        else
            prompt().Message(QStringLiteral("他のパソコンでこの履歴が削除されました。"));
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

QString HistoryEntryText(const HistoryEntry &entry) {
    return QStringLiteral("%1 / %2 / %3")
        .arg(ShortDateText(entry.date), entry.title, entry.contents);
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
    // "T.Yamada 様の履歴" has a dot but no extension; only ".csv" counts as one.
    const QString path = AskCsvSavePath(
        prompt(), name + u' ' + nameTitle + QStringLiteral("の履歴保存"),
        HistoryCsvProposedName(name, nameTitle), QStringLiteral("CSVファイル (*.csv)"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!TextFile::WriteLines(path, HistoryCsvLines(rows), &error)) {
        prompt().Error(QStringLiteral("CSVファイルを保存できませんでした。\r\n%1").arg(error));
        return false;
    }
    return true;
}
