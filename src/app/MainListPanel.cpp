#include "app/MainListPanel.h"

#include "app/CustomerList.h"
#include "core/IniFile.h"
#include "platform/Prompt.h"
#include "store/CustomerRecord.h"
#include "store/TableEngine.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The columns the user sees, the width each starts with and the key its width is kept under.
struct ShownColumn {
    CustomerListModel::Column column;
    const char *key;
    int width;
};
constexpr ShownColumn ShownColumns[] = {
    {CustomerListModel::MarkColumn, "PRINT_WID", 37},
    {CustomerListModel::NameColumn, "NAME_WID", 142},
    {CustomerListModel::KanaColumn, "KANA_WID", 110},
    {CustomerListModel::ZipColumn, "ZIP_WID", 72},
    {CustomerListModel::AddressColumn, "ADDRESS_WID", 240},
    {CustomerListModel::TelColumn, "TEL_WID", 100},
};
// A kept width outside these is not one the user gave; the column starts with its own.
constexpr int NarrowestKeptWidth = 8;
constexpr int WidestKeptWidth = 2000;

} // namespace

MainListPanel::MainListPanel(Database &database, Query &userQuery, const IniFile &settings,
                             QWidget *parent)
    : QWidget(parent), database_(database), userQuery_(userQuery),
      listModel_(new CustomerListModel(this)) {
    setObjectName(QStringLiteral("PanelMainListView"));
    setMinimumWidth(NarrowestWidth);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // As high as its filters and count need in the font the desktop gives.
    Panel1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    GroupBoxShowKind = new QGroupBox(QStringLiteral("表示種別"), Panel1);
    GroupBoxShowKind->setObjectName(QStringLiteral("GroupBox3"));
    CBPrClass = new QComboBox(GroupBoxShowKind);
    CBPrClass->setObjectName(QStringLiteral("CBPrClass"));
    CBPrClass2 = new QComboBox(GroupBoxShowKind);
    CBPrClass2->setObjectName(QStringLiteral("CBPrClass2"));
    auto *filters = new QGridLayout(GroupBoxShowKind);
    filters->setContentsMargins(6, 2, 6, 4);
    filters->setHorizontalSpacing(4);
    filters->setVerticalSpacing(3);
    filters->addWidget(new QLabel(QStringLiteral("分類１"), GroupBoxShowKind), 0, 0);
    filters->addWidget(CBPrClass, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("分類２"), GroupBoxShowKind), 1, 0);
    filters->addWidget(CBPrClass2, 1, 1);
    filters->setColumnStretch(1, 1);
    LabelDbNum = new QLabel(Panel1);
    LabelDbNum->setObjectName(QStringLiteral("LabelDbNum"));
    LabelDbNum->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = LabelDbNum->font();
    bold.setBold(true);
    LabelDbNum->setFont(bold);
    auto *panel1Layout = new QVBoxLayout(Panel1);
    panel1Layout->setContentsMargins(3, 2, 3, 2);
    panel1Layout->setSpacing(2);
    panel1Layout->addWidget(GroupBoxShowKind);
    panel1Layout->addWidget(LabelDbNum);

    ListViewMain = new QTableView(this);
    ListViewMain->setObjectName(QStringLiteral("ListViewMain"));
    ListViewMain->setModel(listModel_);
    ListViewMain->setShowGrid(true);
    ListViewMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewMain->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewMain->setSortingEnabled(false);
    ListViewMain->setWordWrap(false);
    ListViewMain->setTabKeyNavigation(false);
    ListViewMain->verticalHeader()->hide();
    ListViewMain->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListViewMain->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 5);
    QHeaderView *header = ListViewMain->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(NarrowestKeptWidth);
    ListViewMain->setColumnHidden(CustomerListModel::IdColumn, true);
    RestoreColumnWidths(settings);
    QPalette keepVisible = ListViewMain->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        keepVisible.setColor(QPalette::Inactive, role, keepVisible.color(QPalette::Active, role));
    ListViewMain->setPalette(keepVisible);
    ListViewMain->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N2 = PopupMenu1->addAction(QStringLiteral("印刷をオンにする"));
    N2->setObjectName(QStringLiteral("N2"));
    N1 = PopupMenu1->addAction(QStringLiteral("印刷をオフにする"));
    N1->setObjectName(QStringLiteral("N1"));
    PopupMenu1->addSeparator();
    N7 = PopupMenu1->addAction(QStringLiteral("削除する"));
    N7->setObjectName(QStringLiteral("N7"));
    PopupMenu1->addSeparator();
    N8 = PopupMenu1->addAction(QStringLiteral("重複している顧客を探す..."));
    N8->setObjectName(QStringLiteral("N8"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ListViewMain, 1);

    connect(CBPrClass, &QComboBox::currentIndexChanged, this, &MainListPanel::FiltersChanged);
    connect(CBPrClass2, &QComboBox::currentIndexChanged, this, &MainListPanel::FiltersChanged);
    connect(ListViewMain->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MainListPanel::SelectionChanged);
    connect(ListViewMain, &QWidget::customContextMenuRequested, this,
            &MainListPanel::ListViewMainContextPopup);
    connect(N2, &QAction::triggered, this, &MainListPanel::PrintOnClicked);
    connect(N1, &QAction::triggered, this, &MainListPanel::PrintOffClicked);
    connect(N7, &QAction::triggered, this, &MainListPanel::DeleteClicked);
    connect(N8, &QAction::triggered, this, &MainListPanel::FindDuplicatesClicked);
}

bool MainListPanel::Refresh(ListFilters filters) {
    if (!LoadRows(std::move(filters)))
        return false;
    if (listModel_->rowCount() > 0) {
        ListViewMain->selectionModel()->setCurrentIndex(listModel_->index(0, 0),
                                                        QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        ListViewMain->scrollToTop();
    }
    return true;
}

bool MainListPanel::RefreshInPlace(ListFilters filters) {
    const std::vector<int> selected = SelectedUserIds();
    const QModelIndex current = ListViewMain->selectionModel()->currentIndex();
    const int currentId = current.isValid() ? listModel_->UserIdAt(current.row()) : 0;
    const int scrolled = ListViewMain->verticalScrollBar()->value();
    // The rows in view stay where they are when customers come or go above them.
    const int topRow = ListViewMain->rowAt(0);
    const int topId = topRow >= 0 ? listModel_->UserIdAt(topRow) : 0;
    bool loaded = false;
    {
        const QSignalBlocker quiet(ListViewMain->selectionModel());
        loaded = LoadRows(std::move(filters));
        QItemSelection kept;
        for (const int userId : selected)
            if (const int row = listModel_->RowOf(userId); row >= 0)
                kept.select(listModel_->index(row, 0),
                            listModel_->index(row, CustomerListModel::ColumnCount - 1));
        if (const int row = listModel_->RowOf(currentId); row >= 0)
            ListViewMain->selectionModel()->setCurrentIndex(listModel_->index(row, 0),
                                                            QItemSelectionModel::NoUpdate);
        ListViewMain->selectionModel()->select(kept, QItemSelectionModel::ClearAndSelect);
        if (const int row = listModel_->RowOf(topId); row >= 0)
            ListViewMain->scrollTo(listModel_->index(row, 0), QAbstractItemView::PositionAtTop);
        else
            ListViewMain->verticalScrollBar()->setValue(scrolled);
    }
    // A selected customer another PC deleted leaves the selection: the editor must hear it.
    if (SelectedUserIds().size() != selected.size())
        emit SelectionChanged();
    return loaded;
}

bool MainListPanel::LoadRows(ListFilters filters) {
    if (CBPrClass->currentIndex() > 0)
        filters.classId = CBPrClass->currentIndex() - 1;
    if (CBPrClass2->currentIndex() > 0)
        filters.classId2 = CBPrClass2->currentIndex() - 1;
    std::vector<ListRow> rows;
    QString label;
    try {
        ListedCustomers listed = LoadListedCustomers(database_, userQuery_, filters);
        rows.reserve(listed.rows.size());
        for (ListedCustomer &customer : listed.rows) {
            const PrintMark mark = customer.print ? PrintMark::On : PrintMark::Off;
            rows.push_back({std::move(customer), mark});
        }
        label = listed.label;
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    listModel_->SetRows(std::move(rows));
    WidenMarkColumnToContents();
    LabelDbNum->setText(label);
    return true;
}

void MainListPanel::RestoreColumnWidths(const IniFile &settings) {
    for (const ShownColumn &shown : ShownColumns) {
        const int kept =
            settings.ReadInteger(MainListSection, QLatin1String(shown.key), shown.width);
        const bool usable = kept >= NarrowestKeptWidth && kept <= WidestKeptWidth;
        ListViewMain->setColumnWidth(shown.column, usable ? kept : shown.width);
    }
}

void MainListPanel::KeepColumnWidths(IniFile &settings) const {
    for (const ShownColumn &shown : ShownColumns)
        settings.WriteInteger(MainListSection, QLatin1String(shown.key),
                              ListViewMain->columnWidth(shown.column));
}

// Whatever the font, the caption stays readable after every rebuild, and with it the marks, one
// character each.
void MainListPanel::WidenMarkColumnToContents() {
    const int needed =
        ListViewMain->horizontalHeader()->sectionSizeHint(CustomerListModel::MarkColumn);
    if (ListViewMain->columnWidth(CustomerListModel::MarkColumn) < needed)
        ListViewMain->setColumnWidth(CustomerListModel::MarkColumn, needed);
}

ListSelection MainListPanel::CurrentSelection() const {
    int selectedRow = -1;
    for (const QItemSelectionRange &range : ListViewMain->selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (selectedRow < 0)
                selectedRow = row;
            else if (row != selectedRow)
                return {ListSelection::Several, 0};
        }
    }
    if (selectedRow < 0 || selectedRow >= listModel_->rowCount())
        return {};
    return {ListSelection::One, listModel_->UserIdAt(selectedRow)};
}

void MainListPanel::UpdateSelectedRow(const CustomerRecord &record) {
    const QModelIndexList rows = ListViewMain->selectionModel()->selectedRows();
    if (rows.size() == 1 && listModel_->UserIdAt(rows.first().row()) == record.userId)
        listModel_->UpdateRow(rows.first().row(), ListedCustomerOf(record));
}

void MainListPanel::ListViewMainContextPopup(const QPoint &position) {
    if (!ListViewMain->selectionModel()->hasSelection())
        return;
    PopupMenu1->popup(ListViewMain->viewport()->mapToGlobal(position));
}

int MainListPanel::RowCount() const {
    return listModel_->rowCount();
}

std::vector<int> MainListPanel::ListedUserIds() const {
    std::vector<int> ids;
    ids.reserve(listModel_->rowCount());
    for (int row = 0; row < listModel_->rowCount(); ++row)
        ids.push_back(listModel_->UserIdAt(row));
    return ids;
}

std::vector<int> MainListPanel::SelectedUserIds() const {
    std::vector<int> rows;
    for (const QModelIndex &index : ListViewMain->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> ids;
    for (int row : rows)
        ids.push_back(listModel_->UserIdAt(row));
    return ids;
}

bool MainListPanel::SelectUserId(int userId) {
    const int row = listModel_->RowOf(userId);
    if (row < 0)
        return false;
    const QModelIndex index = listModel_->index(row, 0);
    ListViewMain->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    ListViewMain->scrollTo(index);
    return true;
}

void MainListPanel::ClearSelection() {
    ListViewMain->selectionModel()->clearSelection();
}

void MainListPanel::ResetClassFiltersSilently() {
    const QSignalBlocker block1(CBPrClass);
    const QSignalBlocker block2(CBPrClass2);
    CBPrClass->setCurrentIndex(0);
    CBPrClass2->setCurrentIndex(0);
}

void MainListPanel::AddFilterBoxes(ClassBoxes &boxes) const {
    boxes.CBPrClass = CBPrClass;
    boxes.CBPrClass2 = CBPrClass2;
}

QStringList MainListPanel::ClassNames(int axis) const {
    const QComboBox *filter = axis == 1 ? CBPrClass : CBPrClass2;
    QStringList names;
    // Entry 0 is "指定なし".
    for (int i = 1; i < filter->count(); ++i)
        names << filter->itemText(i);
    return names;
}
