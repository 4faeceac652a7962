#pragma once

#include "platform/AppContext.h"
#include "records/ClassNames.h"
#include "store/ListStatement.h"

#include <QStringList>
#include <QWidget>
#include <vector>

class CustomerListModel;
class Database;
class IniFile;
struct CustomerRecord;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QTableView;

// The section of conf.ini that keeps how the user laid out the main window and its list.
inline const QString MainListSection = QStringLiteral("MAIN_LIST");

// The customer list beside the editor: its class filters, the count label, the list itself and
// its pop-up menu.
class MainListPanel : public QWidget {
    Q_OBJECT

public:
    // As wide as the print mark and the name.
    static constexpr int NarrowestWidth = 187;

    // The columns start with the widths `settings` kept.
    MainListPanel(Database &database, Query &userQuery, const IniFile &settings, QWidget *parent);

    // Lists the customers of `filters` narrowed by the class filters and selects the first
    // row; false (reported) when the book could not be read.
    bool Refresh(ListFilters filters);
    // Lists them again keeping the selected customers (those still listed) and the scroll
    // position, without signalling a new selection; false (reported) as Refresh.
    bool RefreshInPlace(ListFilters filters);
    int RowCount() const;
    std::vector<int> ListedUserIds() const;
    std::vector<int> SelectedUserIds() const;
    ListSelection CurrentSelection() const;
    // Selects the row of `userId` alone; false when it is not listed.
    bool SelectUserId(int userId);
    void ClearSelection();
    // The row of the customer, when it is the one selected, shows a stored change.
    void UpdateSelectedRow(const CustomerRecord &record);
    void KeepColumnWidths(IniFile &settings) const;
    // Back to "指定なし" without rebuilding the list.
    void ResetClassFiltersSilently();
    // The class filter boxes, for loading and renaming class names.
    void AddFilterBoxes(ClassBoxes &boxes) const;
    // The class names of both axes in class id order.
    QStringList ClassNames(int axis) const;

signals:
    void FiltersChanged();
    void SelectionChanged();
    void PrintOnClicked();
    void PrintOffClicked();
    void DeleteClicked();
    void FindDuplicatesClicked();

public slots:
    void ListViewMainContextPopup(const QPoint &position);

private:
    // Reads the rows of `filters`; false (reported) when the book could not be read.
    bool LoadRows(ListFilters filters);
    void RestoreColumnWidths(const IniFile &settings);
    void WidenMarkColumnToContents();

    Database &database_;
    Query &userQuery_;
    CustomerListModel *listModel_;
    QWidget *Panel1;
    QGroupBox *GroupBoxShowKind;
    QComboBox *CBPrClass;
    QComboBox *CBPrClass2;
    QLabel *LabelDbNum;
    QTableView *ListViewMain;
    QMenu *PopupMenu1;
    QAction *N2; // 印刷をオンにする
    QAction *N1; // 印刷をオフにする
    QAction *N7; // 削除する
    QAction *N8; // 重複している顧客を探す
};
