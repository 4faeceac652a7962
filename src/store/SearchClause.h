#pragma once

#include "store/GreetingTable.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <stdexcept>

// What a search field compares and how its condition text is built.
enum class SearchKind { Text, Date, Age, Class, PrintFlag, UseType, Memo, History };

// The input mode the value box takes for a field; Unchanged keeps the one it has.
enum class SearchInputMode { HalfWidthKatakana, Hiragana, Off, Unchanged };

// What the value box offers for a field.
enum class SearchChoices {
    Unentered,
    Sex,
    ClassAxis1,
    ClassAxis2,
    EmptyOnly,
    PrintFlag,
    UseType,
    None
};

// One entry of the field box.
struct SearchField {
    QString entry;  // the text in the field box
    QString column; // what the condition starts with, one trailing blank; empty when not a column
    SearchKind kind;
    SearchChoices choices;
    QStringList operators;
    SearchInputMode inputMode;
};

// The 40 entries of the field box, in their order.
const QList<SearchField> &SearchFields();

// The value choices of the field at `fieldPosition`; the class fields offer the class names of
// their axis in class id order.
QStringList SearchValueChoices(int fieldPosition, const QStringList &classNames1,
                               const QStringList &classNames2);

inline constexpr int SearchRowCount = 5;
// Longer values are refused with a message rather than handed to the engine.
inline constexpr int MaxSearchValueLength = 1000;
inline const QString UnenteredValue = QStringLiteral("未入力");
inline const QString SameOperator = QStringLiteral("と同じﾃﾞｰﾀ");

// The state of one condition row as the window shows it.
struct SearchRow {
    int field = 0;         // position in SearchFields()
    QString value;         // the value box's text
    int valueIndex = -1;   // the value choice picked, -1 when the text was typed
    int operatorIndex = 0; // position in the field's operator list, -1 when none is selected
    bool inUse = false;    // rows 2 to 5 only; row 1 is always in use
};
using SearchRows = std::array<SearchRow, SearchRowCount>;

// The words of the 備考 or 履歴 rows: each is searched for as it was typed (an empty word is
// contained in nothing).
struct SearchWords {
    QStringList contain;
    QStringList notContain;
    bool IsEmpty() const { return contain.isEmpty() && notContain.isEmpty(); }
    bool operator==(const SearchWords &) const = default;
};

// What a search hands to the list rebuild.
struct SearchProducts {
    QString SearchClause; // condition over usertbl columns; may be empty
    SearchWords HistoryWords;
    SearchWords MemoWords;
    bool NeedsFilterPass() const { return !HistoryWords.IsEmpty() || !MemoWords.IsEmpty(); }
};

// A row value the search cannot use (a 年齢 that is not a whole number); message() is for the
// user.
class SearchInputError : public std::runtime_error {
public:
    explicit SearchInputError(const QString &message);
    const QString &message() const { return message_; }

private:
    QString message_;
};

// The condition text of one row; every typed value is quoted with QuoteSql. Age conditions are
// taken against Clock::Today(). Empty when the row has no operator selected. Throws
// SearchInputError for a 年齢 value that is not a whole number from 0 to 999.
QString BuildRowCondition(const SearchRow &row);

// Joins the rows in use into the three products. Throws SearchInputError (naming the row).
SearchProducts BuildSearchClause(const SearchRows &rows);

// The greeting condition of a search: the customers with, or without, a record of the kind in
// the season.
struct GreetingCondition {
    int season = 0;
    GreetingKind kind = GreetingKind::NewYearSent;
    bool present = true;
};

// Adds the condition to the products' clause as one more term.
void AddGreetingCondition(SearchProducts &products, const GreetingCondition &condition);
