#pragma once

#include "store/SearchClause.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "検索": the reading range and five condition rows that narrow the customer list. It runs no
// query; the list rebuild takes its products. Created once and reused; each showing clears the
// values but keeps the fields chosen and the reading range. Rows are numbered 1 to 5.
//
// How the list rebuild (RefreshList) uses it, in order:
//  1. Whenever the class names are loaded: SetClassNames(axis 1 names, axis 2 names).
//  2. Tab "検索" selected or clicked again: exec(); rebuild only when it returns Accepted.
//  3. Reading filter while tab "検索" is selected: ReadingRangeIndex(); 0 means none, otherwise
//     the KanaClause index.
//  4. Search products while tab "検索" is selected and HasConditions():
//     products = BuildSearchClause(). On nullopt the user has been told why: stop, leaving the
//     list and the count label as they are.
//  5. A non-empty products->SearchClause is the last term: " and (" clause ")" after an earlier
//     term, else " where  (" clause ")"; then " order by Kana".
//  6. Open the statement.
//  7. When it has rows and products->NeedsFilterPass(): LabelDbNum = RunFilterPass(database,
//     query, *products, total, add row) (SearchFilter.h) instead of adding every row. It walks
//     the opened query and calls "add row" for each row that enters, in order.
// The products are values; nothing is left in the window to empty afterwards.
class TFormSearch : public QDialog {
    Q_OBJECT

public:
    explicit TFormSearch(QWidget *parent = nullptr);

    // The class names of the two axes in class id order, offered by the 分類 fields.
    void SetClassNames(const QStringList &classNames1, const QStringList &classNames2);

    // 0 when RBAll is on, else the KanaClause index of the range button that is on (1 to 12).
    int ReadingRangeIndex() const;
    // Whether row 1 holds a value (blanks trimmed) or the greeting condition is ticked, i.e.
    // there is a search to build.
    bool HasConditions() const;
    // The greeting condition when ticked.
    std::optional<GreetingCondition> CurrentGreetingCondition() const;
    // The rows as they stand.
    SearchRows CurrentRows() const;
    // The products of the rows in use; nullopt after telling the user about a value that
    // cannot be used.
    std::optional<SearchProducts> BuildSearchClause();

    bool AllowClose() const { return allowClose_; }

public slots:
    void SetupRow(int row);
    void ApplyUnenteredChoice(int row);
    void CB_1_Topic1Change(int row);
    void Topic2Change(int row);
    void BtnStartClick();
    void BtnCancelClick();
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    QGroupBox *GroupBox2;
    QRadioButton *RBAll;
    std::array<QRadioButton *, 12> rangeButtons_;           // RB_A ... RB_N, RB_ABC
    std::array<QComboBox *, SearchRowCount> fieldBoxes_;    // CB_n_Topic1
    std::array<QComboBox *, SearchRowCount> valueBoxes_;    // CB_n_Topic2
    std::array<QComboBox *, SearchRowCount> operatorBoxes_; // CB_n_Topic3
    std::array<QCheckBox *, SearchRowCount> useChecks_;     // ChB2 ... ChB5; none for row 1
    QGroupBox *GroupGreeting; // checkable: the greeting condition is in use
    QSpinBox *SpinGreetingSeason;
    QComboBox *CBGreetingKind;
    QComboBox *CBGreetingPresence; // "あり", "なし"
    QPushButton *BtnStart;
    QPushButton *BtnCancel;
    QStringList classNames1_;
    QStringList classNames2_;
    bool allowClose_ = false;
};
