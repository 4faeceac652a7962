#include "records/HistoryBox.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "records/EditPanelControls.h"
#include "store/TableEngine.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The hidden column holds the key; the version the row was listed at rides along with it.
constexpr int KeyColumn = 3;
constexpr int VersionRole = Qt::UserRole;

HistoryRow RowOf(const QTreeWidgetItem &item) {
    return {item.text(0), item.text(1), item.text(2), item.text(KeyColumn).toInt(),
            item.data(KeyColumn, VersionRole).toInt()};
}

} // namespace

HistoryBox::HistoryBox(AppContext &context, QWidget *parent)
    : QGroupBox(QStringLiteral("履歴"), parent), context_(context) {
    setObjectName(QStringLiteral("GroupBox2"));
    ListViewHistory = new QTreeWidget(this);
    ListViewHistory->setObjectName(QStringLiteral("ListViewHistory"));
    ListViewHistory->setColumnCount(4);
    ListViewHistory->setHeaderLabels(
        {QStringLiteral("日付"), QStringLiteral("項目"), QStringLiteral("内容"), QString()});
    ListViewHistory->setRootIsDecorated(false);
    ListViewHistory->setUniformRowHeights(true);
    ListViewHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewHistory->setAllColumnsShowFocus(true);
    ListViewHistory->header()->setSectionsClickable(true);
    ListViewHistory->header()->setStretchLastSection(false);
    ListViewHistory->setColumnWidth(0, 80);
    ListViewHistory->setColumnWidth(1, 100);
    ListViewHistory->setColumnWidth(2, 200);
    ListViewHistory->setColumnHidden(KeyColumn, true);
    BtnAddHistory = NewEditorButton(this, "BtnAddHistory", QStringLiteral("登録"));
    BtnEditHistory = NewEditorButton(this, "BtnEditHistory", QStringLiteral("編集"));
    BtnDelHistory = NewEditorButton(this, "BtnDelHistory", QStringLiteral("削除"));
    BtlHisSave = NewEditorButton(this, "BtlHisSave", QStringLiteral("CSV保存"));
    auto *historyButtons = new QVBoxLayout;
    historyButtons->setSpacing(3);
    for (QPushButton *button : {BtnAddHistory, BtnEditHistory, BtnDelHistory, BtlHisSave})
        historyButtons->addWidget(button);
    historyButtons->addStretch(1);
    auto *historyLayout = new QHBoxLayout(this);
    historyLayout->setContentsMargins(6, 4, 6, 6);
    historyLayout->addWidget(ListViewHistory, 1);
    historyLayout->addLayout(historyButtons);

    connect(BtnAddHistory, &QPushButton::clicked, this, &HistoryBox::AddClicked);
    connect(BtnEditHistory, &QPushButton::clicked, this, &HistoryBox::EditClicked);
    connect(BtnDelHistory, &QPushButton::clicked, this, &HistoryBox::DeleteClicked);
    connect(BtlHisSave, &QPushButton::clicked, this, &HistoryBox::SaveCsvClicked);
    connect(ListViewHistory->header(), &QHeaderView::sectionClicked, this,
            &HistoryBox::ColumnClicked);
}

void HistoryBox::LoadHistory(int userId) {
    std::vector<HistoryRow> rows;
    QString problem;
    try {
        rows = LoadHistoryRows(context_.SharedHistoryQuery(), userId);
    } catch (const HistoryDateError &error) {
        rows = error.RowsSoFar();
        problem = error.message();
    } catch (const EngineError &error) {
        problem = error.message();
    }
    ShowHistoryRows(rows);
    if (!problem.isEmpty())
        prompt().Error(problem);
}

void HistoryBox::ShowStoredHistory(int userId) {
    std::vector<HistoryRow> stored;
    try {
        stored = LoadHistoryRows(context_.SharedHistoryQuery(), userId);
    } catch (const std::runtime_error &) {
        return;
    }
    const auto versions = [](const std::vector<HistoryRow> &rows) {
        std::vector<std::pair<int, int>> keys;
        for (const HistoryRow &row : rows)
            keys.emplace_back(row.historyId, row.rowVersion);
        std::sort(keys.begin(), keys.end());
        return keys;
    };
    if (versions(stored) == versions(HistoryRowsShown()))
        return;
    const std::optional<HistoryRow> selected = SelectedHistory();
    ShowHistoryRows(stored);
    if (!selected)
        return;
    for (int i = 0; i < ListViewHistory->topLevelItemCount(); ++i)
        if (QTreeWidgetItem *item = ListViewHistory->topLevelItem(i);
            RowOf(*item).historyId == selected->historyId)
            ListViewHistory->setCurrentItem(item);
}

void HistoryBox::ShowHistoryRows(const std::vector<HistoryRow> &rows) {
    ListViewHistory->clear();
    QList<QTreeWidgetItem *> items;
    for (const HistoryRow &row : rows) {
        auto *item = new QTreeWidgetItem(
            QStringList{row.date, row.title, row.contents, QString::number(row.historyId)});
        item->setData(KeyColumn, VersionRole, row.rowVersion);
        items << item;
    }
    ListViewHistory->addTopLevelItems(items);
}

std::vector<HistoryRow> HistoryBox::HistoryRowsShown() const {
    std::vector<HistoryRow> rows;
    for (int i = 0; i < ListViewHistory->topLevelItemCount(); ++i)
        rows.push_back(RowOf(*ListViewHistory->topLevelItem(i)));
    return rows;
}

std::optional<HistoryRow> HistoryBox::SelectedHistory() const {
    const QTreeWidgetItem *item = ListViewHistory->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return RowOf(*item);
}

void HistoryBox::Clear() {
    ListViewHistory->clear();
}
