#pragma once

#include "store/SearchClause.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringMatcher>
#include <functional>
#include <vector>

class Database;
class Query;

// The history and memo words of one search, and the customers whose history meets them.
// Containment is a substring test that ignores letter case; an empty word is contained in
// nothing.
class SearchFilter {
public:
    explicit SearchFilter(const SearchProducts &products);

    // Reads every history entry (when there is a history clause) and notes, per customer, which
    // contain words it holds and whether it holds a not-contain word. Throws EngineError.
    void LoadHistory(Database &database);

    // Whether the customer with this id and memo enters the list. Call after LoadHistory.
    bool Passes(int userId, const QString &note) const;

    const QStringList &HistoryContainTerms() const { return historyContain_; }
    const QStringList &HistoryNotContainTerms() const { return historyNotContain_; }
    const QStringList &MemoContainTerms() const { return memoContain_; }
    const QStringList &MemoNotContainTerms() const { return memoNotContain_; }

private:
    // What a customer's history holds: one bit per contain word, and any not-contain word.
    struct HistoryHits {
        quint32 contained = 0;
        bool excluded = false;
    };

    bool hasHistoryWords_;
    quint32 allContained_ = 0;
    QStringList historyContain_;
    QStringList historyNotContain_;
    QStringList memoContain_;
    QStringList memoNotContain_;
    std::vector<QStringMatcher> memoContainMatchers_;
    std::vector<QStringMatcher> memoNotContainMatchers_;
    QHash<int, HistoryHits> historyHits_;
};

// The filter pass of a list rebuild whose search has history or memo words. `list` is the
// opened list statement standing on its first row; it is walked to its end and `enter` is
// called for each row that enters the list, in statement order. Returns the count label text
// (entered rows, "/", `total`, "件該当"). Throws EngineError from the history query.
QString RunFilterPass(Database &database, Query &list, const SearchProducts &products, int total,
                      const std::function<void(const Query &row)> &enter);
