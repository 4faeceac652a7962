#pragma once

#include "store/HistoryTable.h"

#include <QGroupBox>
#include <optional>
#include <vector>

class AppContext;
class QPushButton;
class QTreeWidget;

// "履歴": the history entries of the customer the editor shows, with the buttons whose work the
// main window does.
class HistoryBox : public QGroupBox {
    Q_OBJECT

public:
    explicit HistoryBox(AppContext &context, QWidget *parent = nullptr);

    // Fills the box; problems are reported to the user.
    void LoadHistory(int userId);
    // The entries as another PC left them, the selected one kept; nothing changes on screen
    // while the box shows them already, and problems wait for the next LoadHistory.
    void ShowStoredHistory(int userId);
    // The rows in display order, and showing rows in a new order.
    std::vector<HistoryRow> HistoryRowsShown() const;
    void ShowHistoryRows(const std::vector<HistoryRow> &rows);
    // The selected row, with the version it was listed at.
    std::optional<HistoryRow> SelectedHistory() const;
    void Clear();

signals:
    void AddClicked();
    void EditClicked();
    void DeleteClicked();
    void SaveCsvClicked();
    void ColumnClicked(int column);

private:
    AppContext &context_;
    QTreeWidget *ListViewHistory;
    QPushButton *BtnAddHistory;
    QPushButton *BtnEditHistory;
    QPushButton *BtnDelHistory;
    QPushButton *BtlHisSave;
};
