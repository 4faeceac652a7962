#include "contacts/FormMerge.h"

#include "contacts/MergeChoice.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/EngineError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Caption, Kept, Other, Result };

// The rows after the texts: the two pictures (chosen, not typed) and the joint names
// (combined).
constexpr int PictureRows = 2;

QString PictureOf(const CustomerRecord &customer, int slot) {
    return slot == 0 ? customer.img1 : customer.img2;
}

QString JointNames(const CustomerRecord &customer) {
    QStringList names;
    for (size_t i = 0; i < customer.renmei.size(); ++i)
        if (!customer.renmei[i].isEmpty())
            names << customer.renmei[i] + customer.renNameTitle[i];
    return names.join(QStringLiteral("、"));
}

QTableWidgetItem *Cell(const QString &text, bool editable) {
    auto *item = new QTableWidgetItem(text);
    item->setFlags(editable ? item->flags() | Qt::ItemIsEditable
                            : item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

TFormMerge::TFormMerge(AppContext &context, std::function<bool()> backupBeforeMerge,
                       QWidget *parent)
    : QDialog(parent), context_(context), backupBeforeMerge_(std::move(backupBeforeMerge)) {
    setObjectName(QStringLiteral("FormMerge"));
    setWindowTitle(QStringLiteral("顧客の統合"));
    resize(820, 620);
    auto *layout = new QVBoxLayout(this);
    LabelCustomers = new QLabel(this);
    LabelCustomers->setObjectName(QStringLiteral("LabelCustomers"));
    LabelCustomers->setWordWrap(true);
    layout->addWidget(LabelCustomers);
    GridFields = new QTableWidget(this);
    GridFields->setObjectName(QStringLiteral("GridFields"));
    GridFields->setColumnCount(4);
    GridFields->verticalHeader()->hide();
    GridFields->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    GridFields->horizontalHeader()->setSectionResizeMode(Caption, QHeaderView::ResizeToContents);
    GridFields->setSelectionMode(QAbstractItemView::NoSelection);
    GridFields->setWordWrap(false);
    layout->addWidget(GridFields, 1);

    auto *buttons = new QHBoxLayout;
    BtnSwap = new QPushButton(QStringLiteral("残す方を入れ替える"), this);
    BtnSwap->setObjectName(QStringLiteral("BtnSwap"));
    BtnMerge = new QPushButton(QStringLiteral("統合する"), this);
    BtnMerge->setObjectName(QStringLiteral("BtnMerge"));
    BtnUndoMerge = new QPushButton(QStringLiteral("元に戻す"), this);
    BtnUndoMerge->setObjectName(QStringLiteral("BtnUndoMerge"));
    auto *BtnClose = new QPushButton(QStringLiteral("閉じる"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    buttons->addWidget(BtnSwap);
    buttons->addStretch(1);
    buttons->addWidget(BtnMerge);
    buttons->addWidget(BtnUndoMerge);
    buttons->addWidget(BtnClose);
    layout->addLayout(buttons);

    connect(GridFields, &QTableWidget::cellClicked, this, &TFormMerge::GridFieldsCellClicked);
    connect(BtnSwap, &QPushButton::clicked, this, &TFormMerge::BtnSwapClick);
    connect(BtnMerge, &QPushButton::clicked, this, &TFormMerge::BtnMergeClick);
    connect(BtnUndoMerge, &QPushButton::clicked, this, &TFormMerge::BtnUndoMergeClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormMerge::Load(int keptUserId, int otherUserId) {
    lastMerge_.reset();
    try {
        std::optional<CustomerRecord> kept =
            LoadCustomerRecord(context_.SharedUserQuery(), keptUserId);
        std::optional<CustomerRecord> other =
            LoadCustomerRecord(context_.SharedUserQuery(), otherUserId);
        if (!kept || !other) {
            prompt().Message(QStringLiteral("顧客が見つかりません。すでに削除されています。"));
            return false;
        }
        kept_ = std::move(*kept);
        other_ = std::move(*other);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    ShowCustomers();
    return true;
}

bool TFormMerge::RunMerge(int keptUserId, int otherUserId) {
    if (!Load(keptUserId, otherUserId))
        return false;
    exec();
    return Merged();
}

void TFormMerge::ShowCustomers() {
    LabelCustomers->setText(
        QStringLiteral("番号 %1「%2」を残し、番号 %3「%4」を統合して削除します。"
                       "左右の値をクリックするとその値を使います。統合後の欄には入力もできます。")
            .arg(kept_.userId)
            .arg(kept_.name)
            .arg(other_.userId)
            .arg(other_.name));
    GridFields->setHorizontalHeaderLabels(
        {QStringLiteral("項目"), QStringLiteral("残す顧客（番号 %1）").arg(kept_.userId),
         QStringLiteral("統合される顧客（番号 %1）").arg(other_.userId), QStringLiteral("統合後")});
    const CustomerRecord proposed = ProposedMerge(kept_, other_);
    const std::span<const MergeField> fields = MergeFields();
    GridFields->setRowCount(int(fields.size()) + PictureRows + 1);
    const auto showRow = [this](int row, const QString &caption, const QString &kept,
                                const QString &other, const QString &result, bool typed) {
        const bool differ = !kept.isEmpty() && !other.isEmpty() && kept != other;
        QTableWidgetItem *captionCell =
            Cell(differ ? QStringLiteral("≠ ") + caption : caption, false);
        if (differ) {
            QFont bold = captionCell->font();
            bold.setBold(true);
            captionCell->setFont(bold);
        }
        GridFields->setItem(row, Caption, captionCell);
        GridFields->setItem(row, Kept, Cell(kept, false));
        GridFields->setItem(row, Other, Cell(other, false));
        GridFields->setItem(row, Result, Cell(result, typed));
        for (int column = Caption; column <= Result && differ; ++column)
            GridFields->item(row, column)->setBackground(QColor(0xff, 0xf4, 0xc2));
    };
    int row = 0;
    for (const MergeField &field : fields) {
        showRow(row, QString::fromUtf16(field.caption), field.Of(kept_), field.Of(other_),
                field.Of(proposed), true);
        ++row;
    }
    for (int slot = 0; slot < PictureRows; ++slot, ++row)
        showRow(row, QStringLiteral("写真%1").arg(slot + 1), PictureOf(kept_, slot),
                PictureOf(other_, slot), PictureOf(proposed, slot), false);
    showRow(row, QStringLiteral("連名"), JointNames(kept_), JointNames(other_),
            JointNames(proposed), false);
    UpdateButtons();
}

void TFormMerge::GridFieldsCellClicked(int row, int column) {
    const int jointNamesRow = GridFields->rowCount() - 1;
    if ((column != Kept && column != Other) || row == jointNamesRow || lastMerge_)
        return;
    GridFields->item(row, Result)->setText(GridFields->item(row, column)->text());
}

void TFormMerge::BtnSwapClick() {
    std::swap(kept_, other_);
    ShowCustomers();
}

std::optional<CustomerRecord> TFormMerge::MergedCustomer() const {
    CustomerRecord merged = ProposedMerge(kept_, other_);
    int row = 0;
    for (const MergeField &field : MergeFields()) {
        const QString text = GridFields->item(row++, Result)->text();
        if (text != StripFilteredKeys(text) || !ShiftJis::IsRepresentable(text)) {
            prompt().Message(QStringLiteral("「%1」に使えない文字があります。")
                                 .arg(QString::fromUtf16(field.caption)));
            return std::nullopt;
        }
        field.text(merged) = text;
    }
    merged.img1 = GridFields->item(row++, Result)->text();
    merged.img2 = GridFields->item(row, Result)->text();
    return merged;
}

void TFormMerge::BtnMergeClick() {
    const std::optional<CustomerRecord> merged = MergedCustomer();
    if (!merged)
        return;
    if (!prompt().Confirm(QStringLiteral("番号 %1「%2」を番号 %3「%4」に統合し、番号 %1 を削除"
                                         "します。\r\nよろしいですか？")
                              .arg(other_.userId)
                              .arg(other_.name)
                              .arg(kept_.userId)
                              .arg(merged->name),
                          QStringLiteral("確認"), Prompt::Answer::No))
        return;
    if (!backupMade_ && !(backupMade_ = backupBeforeMerge_()))
        return;
    try {
        lastMerge_ = MergeCustomers(context_.GetDatabase(), *merged, other_.userId);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    if (!lastMerge_) {
        prompt().Message(QStringLiteral("顧客が見つかりません。すでに削除されています。"));
        return;
    }
    context_.RefreshList();
    LabelCustomers->setText(QStringLiteral("統合しました。番号 %1 は削除されました。"
                                           "この画面を閉じるまでは「元に戻す」で戻せます。")
                                .arg(other_.userId));
    UpdateButtons();
}

void TFormMerge::BtnUndoMergeClick() {
    if (!lastMerge_)
        return;
    try {
        UndoMerge(context_.GetDatabase(), *lastMerge_);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    // The undo stored both rows once more: a merge again starts from those versions.
    kept_.rowVersion = lastMerge_->keptVersionAfterMerge + 1;
    other_.rowVersion = lastMerge_->removed.rowVersion + 1;
    lastMerge_.reset();
    context_.RefreshList();
    ShowCustomers();
}

void TFormMerge::UpdateButtons() {
    BtnMerge->setEnabled(!lastMerge_);
    BtnSwap->setEnabled(!lastMerge_);
    BtnUndoMerge->setEnabled(lastMerge_.has_value());
    GridFields->setEnabled(!lastMerge_);
}
