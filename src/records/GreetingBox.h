#pragma once

#include "store/GreetingTable.h"

#include <QGroupBox>

class AppContext;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// "挨拶状": the greeting record of the customer the editor shows, a row per season (newest
// first) and a check per kind. A toggled check is stored at once; the 喪中 received cell also
// holds the note of who died, typed into the cell.
class GreetingBox : public QGroupBox {
    Q_OBJECT

public:
    explicit GreetingBox(AppContext &context, QWidget *parent = nullptr);

    // Shows the customer's record from this season back to its oldest, at least ten seasons;
    // problems are reported to the user.
    void ShowCustomer(int userId);
    // Empties and disables the box.
    void Clear();
    // The record as another PC left it, the current cell kept; a note being typed stays as it is.
    void ShowStoredRecord();
    // Ten older seasons more ("前へ").
    void ShowOlderSeasons();

    QTableWidget *Grid() const { return grid_; }

private:
    // Reads the record afresh into the seasons shown, widened to every season it holds.
    void Reload();
    void Fill(const std::vector<GreetingEvent> &events);
    void Widen(const std::vector<GreetingEvent> &events);
    void CellChanged(QTableWidgetItem *cell);

    AppContext &context_;
    int userId_ = 0;
    int newestSeason_ = 0;
    int oldestSeason_ = 0;
    std::vector<GreetingEvent> shown_;
    bool filling_ = false;
    QTableWidget *grid_;
    QPushButton *btnOlder_;
};
