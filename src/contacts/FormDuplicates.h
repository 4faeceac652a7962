#pragma once

#include "contacts/DuplicateFinder.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <utility>

class AppContext;
class QLabel;
class QPushButton;
class QTreeWidget;
class TFormMerge;

// The customers that look entered twice, each pair with its reasons. 「別人として登録」
// remembers the selected pair as two people, so it is not shown again; 「元に戻す」 takes the
// last such declaration back while the window is open. 「統合...」 opens the selected pair in the
// merge window (with `backupBeforeMerge`, see TFormMerge).
class TFormDuplicates : public QDialog {
    Q_OBJECT

public:
    TFormDuplicates(AppContext &context, std::function<bool()> backupBeforeMerge,
                    QWidget *parent = nullptr);

    // Searches the book and shows the window; nothing is shown when the search was cancelled
    // or refused (the refusal is told).
    void RunSearch();
    // Fills the list from the book; false when cancelled or refused.
    bool Search();

public slots:
    void BtnDistinctClick();
    void BtnUndoDistinctClick();
    void BtnMergeClick();

private:
    void ShowPairs();
    // The count above the list and the buttons that can act.
    void UpdateButtons();

    AppContext &context_;
    std::vector<DuplicatePair> pairs_;
    std::optional<DuplicatePair> lastDeclared_;
    QTreeWidget *ListViewDuplicates;
    QLabel *LabelCount;
    QPushButton *BtnDistinct;
    QPushButton *BtnUndoDistinct;
    QPushButton *BtnMerge;
    TFormMerge *FormMerge;
};
