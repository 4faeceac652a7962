#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// The print mark of a list row: "〇" on, "Ｘ" off, "×" off after an edit in the editor.
enum class PrintMark : quint8 { On, Off, OffEdited };
QString PrintMarkText(PrintMark mark);

struct ListRow {
    int userId = 0;
    QString name;
    PrintMark mark = PrintMark::Off;
};

// The rows of ListViewMain: print mark, Name and UserId (as decimal text) per row.
class CustomerListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { MarkColumn, NameColumn, IdColumn, ColumnCount };

    explicit CustomerListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetRows(std::vector<ListRow> rows);
    const ListRow &Row(int row) const { return rows_[row]; }
    // The in-place update after a save.
    void UpdateRow(int row, bool print, const QString &name);
    // The row showing `userId`, or -1.
    int RowOf(int userId) const;

private:
    std::vector<ListRow> rows_;
};
