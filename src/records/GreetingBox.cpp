#include "records/GreetingBox.h"

#include "core/Clock.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "records/EditPanelControls.h"
#include "records/EntryGuard.h"
#include "store/EngineError.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kSeasonsShown = 10;
// What a cell remembers of the stored row: whether it is there, and its day.
constexpr int kStoredRole = Qt::UserRole;
constexpr int kDayRole = Qt::UserRole + 1;

// "年賀\n出": the grid is narrow enough to stand beside the history; the header's tooltip
// has the whole caption.
QString ColumnCaption(GreetingKind kind) {
    const QString caption = GreetingKindCaption(kind);
    return caption.left(2) + QLatin1Char('\n') + caption.at(caption.indexOf(QLatin1Char(' ')) + 1);
}

// The note is typed as every field of the record is: FilterKey's characters cannot be typed and
// text Shift-JIS cannot hold is refused.
class NoteDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            edit->setObjectName(QStringLiteral("EditGreetingNote"));
            edit->setMaxLength(kNoteLength);
            GuardEntry(edit, true);
        }
        return editor;
    }

private:
    static constexpr int kNoteLength = 255; // greetingtbl.Note
};

} // namespace

GreetingBox::GreetingBox(AppContext &context, QWidget *parent)
    : QGroupBox(QStringLiteral("挨拶状"), parent), context_(context) {
    setObjectName(QStringLiteral("GroupBoxGreeting"));
    grid_ = new QTableWidget(0, kGreetingKindCount, this);
    grid_->setObjectName(QStringLiteral("GridGreeting"));
    for (const GreetingKind kind : GreetingKinds()) {
        auto *header = new QTableWidgetItem(ColumnCaption(kind));
        header->setToolTip(GreetingKindCaption(kind));
        grid_->setHorizontalHeaderItem(CodeOf(kind) - 1, header);
    }
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid_->horizontalHeader()->setMinimumSectionSize(10);
    grid_->horizontalHeader()->setSectionResizeMode(CodeOf(GreetingKind::MourningReceived) - 1,
                                                    QHeaderView::Interactive);
    grid_->setColumnWidth(CodeOf(GreetingKind::MourningReceived) - 1,
                          grid_->fontMetrics().horizontalAdvance(QStringLiteral("祖父 一郎")) + 24);
    grid_->setItemDelegateForColumn(CodeOf(GreetingKind::MourningReceived) - 1,
                                    new NoteDelegate(grid_));
    const int rowHeight = grid_->fontMetrics().height() + 4;
    grid_->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The last ten seasons in view without scrolling.
    grid_->setMinimumHeight(rowHeight * (kSeasonsShown + 2) + grid_->frameWidth() * 2 + 4);
    btnOlder_ = NewEditorButton(this, "BtnGreetingOlder", QStringLiteral("前へ"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);
    layout->addWidget(grid_, 1);
    layout->addWidget(btnOlder_, 0, Qt::AlignLeft);

    connect(grid_, &QTableWidget::itemChanged, this, &GreetingBox::CellChanged);
    connect(btnOlder_, &QPushButton::clicked, this, &GreetingBox::ShowOlderSeasons);
    Clear();
}

void GreetingBox::ShowCustomer(int userId) {
    userId_ = userId;
    newestSeason_ = GreetingSeasonOf(Clock::Today());
    oldestSeason_ = newestSeason_ - kSeasonsShown + 1;
    Reload();
}

void GreetingBox::Clear() {
    userId_ = 0;
    filling_ = true;
    grid_->setRowCount(0);
    filling_ = false;
    setEnabled(false);
}

void GreetingBox::ShowOlderSeasons() {
    if (userId_ == 0)
        return;
    oldestSeason_ -= kSeasonsShown;
    Reload();
}

void GreetingBox::Reload() {
    std::vector<GreetingEvent> events;
    try {
        events = GreetingTable(context_.GetDatabase()).CustomerEvents(userId_);
    } catch (const EngineError &error) {
        Clear();
        prompt().Error(error.message());
        return;
    }
    Widen(events);
    Fill(events);
    setEnabled(true);
}

void GreetingBox::ShowStoredRecord() {
    const auto *note = grid_->findChild<QLineEdit *>(QStringLiteral("EditGreetingNote"));
    if (userId_ == 0 || (note && note->isVisible()))
        return;
    std::vector<GreetingEvent> events;
    try {
        events = GreetingTable(context_.GetDatabase()).CustomerEvents(userId_);
    } catch (const EngineError &) {
        // The connection's own report says why; the grid keeps what it shows.
        return;
    }
    if (events == shown_)
        return;
    const int currentSeason = newestSeason_ - grid_->currentRow();
    const int currentColumn = grid_->currentColumn();
    Widen(events);
    Fill(events);
    if (currentColumn >= 0)
        grid_->setCurrentCell(newestSeason_ - currentSeason, currentColumn);
}

void GreetingBox::Widen(const std::vector<GreetingEvent> &events) {
    for (const GreetingEvent &event : events) {
        newestSeason_ = std::max(newestSeason_, event.season);
        oldestSeason_ = std::min(oldestSeason_, event.season);
    }
}

void GreetingBox::Fill(const std::vector<GreetingEvent> &events) {
    filling_ = true;
    grid_->setRowCount(newestSeason_ - oldestSeason_ + 1);
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const int season = newestSeason_ - row;
        grid_->setVerticalHeaderItem(row, new QTableWidgetItem(QString::number(season)));
        for (const GreetingKind kind : GreetingKinds()) {
            auto *cell = new QTableWidgetItem;
            const bool note = kind == GreetingKind::MourningReceived;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                           (note ? Qt::ItemIsEditable : Qt::NoItemFlags));
            cell->setCheckState(Qt::Unchecked);
            cell->setData(kStoredRole, false);
            grid_->setItem(row, CodeOf(kind) - 1, cell);
        }
    }
    for (const GreetingEvent &event : events) {
        QTableWidgetItem *cell = grid_->item(newestSeason_ - event.season, CodeOf(event.kind) - 1);
        if (!cell)
            continue;
        cell->setCheckState(Qt::Checked);
        cell->setData(kStoredRole, true);
        cell->setData(kDayRole, event.day);
        cell->setText(event.note);
        cell->setToolTip(event.note);
    }
    shown_ = events;
    filling_ = false;
}

void GreetingBox::CellChanged(QTableWidgetItem *cell) {
    if (filling_ || userId_ == 0)
        return;
    const int season = newestSeason_ - cell->row();
    const GreetingKind kind = GreetingKinds()[std::size_t(cell->column())];
    const bool wasStored = cell->data(kStoredRole).toBool();
    const bool checkToggled = (cell->checkState() == Qt::Checked) != wasStored;
    // A note typed into an empty cell records the notice too; an unchecked cell keeps no note.
    const bool stored = checkToggled ? !wasStored : wasStored || !cell->text().isEmpty();
    const QDate day = wasStored ? cell->data(kDayRole).toDate() : Clock::Today();
    GreetingTable table(context_.GetDatabase());
    try {
        if (stored)
            table.Set({userId_, season, kind, day, cell->text()});
        else if (wasStored)
            table.Clear(userId_, season, kind);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        // The grid shows what is stored; not from inside the cell's own signal.
        QMetaObject::invokeMethod(this, &GreetingBox::Reload, Qt::QueuedConnection);
        return;
    }
    filling_ = true;
    cell->setCheckState(stored ? Qt::Checked : Qt::Unchecked);
    cell->setData(kStoredRole, stored);
    cell->setData(kDayRole, stored ? day : QDate());
    if (!stored)
        cell->setText({});
    cell->setToolTip(cell->text());
    filling_ = false;
}
