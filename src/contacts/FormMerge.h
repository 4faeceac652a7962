#pragma once

#include "store/CustomerMerge.h"

#include <QDialog>
#include <functional>
#include <optional>

class AppContext;
class QLabel;
class QPushButton;
class QTableWidget;

// Two customers side by side, field by field, the differing fields marked. A click on either
// side's value takes it; the result column can also be typed in. 「統合する」 stores the result
// as the kept customer and deletes the other (its history moves over); 「元に戻す」 puts the last
// merge back until the window closes. Before the first merge of a run a backup is made with
// `backupBeforeMerge`, which tells the user itself why it failed.
class TFormMerge : public QDialog {
    Q_OBJECT

public:
    TFormMerge(AppContext &context, std::function<bool()> backupBeforeMerge,
               QWidget *parent = nullptr);

    // Shows the two customers, `keptUserId` as the one kept; false when either is gone.
    bool Load(int keptUserId, int otherUserId);
    // Load, then the window; true when a merge was stored and not undone.
    bool RunMerge(int keptUserId, int otherUserId);
    bool Merged() const { return lastMerge_.has_value(); }

public slots:
    void GridFieldsCellClicked(int row, int column);
    void BtnSwapClick();
    void BtnMergeClick();
    void BtnUndoMergeClick();

private:
    void ShowCustomers();
    // The result column as a customer; nullopt after telling the user which field cannot be
    // stored.
    std::optional<CustomerRecord> MergedCustomer() const;
    void UpdateButtons();

    AppContext &context_;
    std::function<bool()> backupBeforeMerge_;
    bool backupMade_ = false;
    CustomerRecord kept_;
    CustomerRecord other_;
    std::optional<MergeUndo> lastMerge_;
    QLabel *LabelCustomers;
    QTableWidget *GridFields;
    QPushButton *BtnSwap;
    QPushButton *BtnMerge;
    QPushButton *BtnUndoMerge;
};
