#include "store/SearchFilter.h"

#include "store/TableEngine.h"

namespace {

// Customers without entries hold no word, so the entries alone decide; read in table order,
// which is far faster than joining them to the customers.
const QString HistoryEntries = QStringLiteral("select UserId, Title, Contents from Historytbl");

std::vector<QStringMatcher> Matchers(const QStringList &terms) {
    std::vector<QStringMatcher> matchers;
    for (const QString &term : terms)
        matchers.emplace_back(term, Qt::CaseInsensitive);
    return matchers;
}

bool Holds(const QString &text, const QStringMatcher &matcher) {
    return !matcher.pattern().isEmpty() && matcher.indexIn(text) >= 0;
}

bool HoldsAny(const QString &text, const std::vector<QStringMatcher> &matchers) {
    for (const QStringMatcher &matcher : matchers)
        if (Holds(text, matcher))
            return true;
    return false;
}

} // namespace

SearchFilter::SearchFilter(const SearchProducts &products)
    : hasHistoryWords_(!products.HistoryWords.IsEmpty()),
      // One bit per word; five rows give at most five.
      historyContain_(products.HistoryWords.contain.mid(0, 32)),
      historyNotContain_(products.HistoryWords.notContain),
      memoContain_(products.MemoWords.contain), memoNotContain_(products.MemoWords.notContain) {
    allContained_ = quint32((quint64(1) << historyContain_.size()) - 1);
    memoContainMatchers_ = Matchers(memoContain_);
    memoNotContainMatchers_ = Matchers(memoNotContain_);
}

void SearchFilter::LoadHistory(Database &database) {
    historyHits_.clear();
    if (!hasHistoryWords_)
        return;
    const std::vector<QStringMatcher> contain = Matchers(historyContain_);
    const std::vector<QStringMatcher> notContain = Matchers(historyNotContain_);
    Query history(database, HistoryEntries);
    for (history.Open(); !history.AtEnd(); history.Next()) {
        const QString title = history.AsString(QStringLiteral("title"));
        const QString contents = history.AsString(QStringLiteral("contents"));
        quint32 contained = 0;
        for (size_t t = 0; t < contain.size(); ++t)
            if (Holds(title, contain[t]) || Holds(contents, contain[t]))
                contained |= quint32(1) << t;
        bool excluded = false;
        for (const QStringMatcher &term : notContain)
            excluded = excluded || Holds(title, term) || Holds(contents, term);
        if (contained == 0 && !excluded)
            continue;
        HistoryHits &hits = historyHits_[history.AsInteger(QStringLiteral("userid"))];
        hits.contained |= contained;
        hits.excluded = hits.excluded || excluded;
    }
}

bool SearchFilter::Passes(int userId, const QString &note) const {
    bool pass = !hasHistoryWords_ && memoContain_.isEmpty();
    if (hasHistoryWords_) {
        const HistoryHits hits = historyHits_.value(userId);
        if (hits.contained == allContained_)
            pass = true;
        if (hits.excluded)
            pass = false;
    }
    if (HoldsAny(note, memoContainMatchers_))
        pass = true;
    if (pass && HoldsAny(note, memoNotContainMatchers_))
        pass = false;
    return pass;
}

QString RunFilterPass(Database &database, Query &list, const SearchProducts &products, int total,
                      const std::function<void(const Query &row)> &enter) {
    SearchFilter filter(products);
    filter.LoadHistory(database);
    int entered = 0;
    for (; !list.AtEnd(); list.Next()) {
        if (filter.Passes(list.AsInteger(QStringLiteral("userid")),
                          list.AsString(QStringLiteral("note")))) {
            enter(list);
            ++entered;
        }
    }
    return QStringLiteral("%1/%2件該当").arg(entered).arg(total);
}
