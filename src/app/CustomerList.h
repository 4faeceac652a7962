#pragma once

#include "store/ListStatement.h"

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// The print mark of a list row: "〇" on, "Ｘ" off, "×" off after an edit in the editor.
enum class PrintMark : quint8 { On, Off, OffEdited };
QString PrintMarkText(PrintMark mark);

struct ListRow {
    ListedCustomer customer;
    PrintMark mark = PrintMark::Off;
};

// The rows of ListViewMain: print mark, Name and UserId (as decimal text) per row, then the
// reading, postal code, address and phone.
class CustomerListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        MarkColumn,
        NameColumn,
        IdColumn,
        KanaColumn,
        ZipColumn,
        AddressColumn,
        TelColumn,
        ColumnCount
    };

    explicit CustomerListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetRows(std::vector<ListRow> rows);
    int UserIdAt(int row) const { return rows_[row].customer.userId; }
    // The in-place update after a save.
    void UpdateRow(int row, ListedCustomer customer);
    // The row showing `userId`, or -1.
    int RowOf(int userId) const;

private:
    std::vector<ListRow> rows_;
};
