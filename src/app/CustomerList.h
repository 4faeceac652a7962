#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

// The reading filter of an index tab (1 to 12): "Kana LIKE '<prefix>%'" terms joined by " OR ";
// an empty text for any other index.
QString KanaClause(int index);

// The index tab (0 to 12) of a reading, by its first character as code page 932 holds it (one
// byte, or two after a lead byte), ASCII letters upper-cased.
int KanaTabIndex(const QString &reading);

// What narrows the customer list.
struct ListFilters {
    int classId = -1;     // class filter 1, -1 for none
    int classId2 = -1;    // class filter 2, -1 for none
    int readingIndex = 0; // KanaClause index, 0 for none
    QString searchClause; // the search's condition, empty for none
};

// The list statement: "select * from Usertbl", the filters, " order by Kana".
QString BuildListStatement(const ListFilters &filters);

// The list statement reading only the columns a list row shows (UserId, Name, Print), so the
// engine sorts narrow rows instead of whole customers.
QString ListColumnsStatement(const QString &listStatement);

// "shown/total件該当".
QString CountLabelText(int shown, int total);

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
