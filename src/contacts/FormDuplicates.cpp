#include "contacts/FormDuplicates.h"

#include "contacts/FormMerge.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/DistinctPairs.h"
#include "store/EngineError.h"
#include "widgets/ProgressWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

TFormDuplicates::TFormDuplicates(AppContext &context, std::function<bool()> backupBeforeMerge,
                                 QWidget *parent)
    : QDialog(parent), context_(context),
      FormMerge(new TFormMerge(context, std::move(backupBeforeMerge), this)) {
    setObjectName(QStringLiteral("FormDuplicates"));
    setWindowTitle(QStringLiteral("重複候補"));
    resize(760, 460);
    auto *layout = new QVBoxLayout(this);
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    layout->addWidget(LabelCount);
    ListViewDuplicates = new QTreeWidget(this);
    ListViewDuplicates->setObjectName(QStringLiteral("ListViewDuplicates"));
    ListViewDuplicates->setRootIsDecorated(false);
    ListViewDuplicates->setUniformRowHeights(true);
    ListViewDuplicates->setHeaderLabels({QStringLiteral("番号"), QStringLiteral("氏名"),
                                         QStringLiteral("番号"), QStringLiteral("氏名"),
                                         QStringLiteral("一致した項目")});
    ListViewDuplicates->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListViewDuplicates->header()->setStretchLastSection(true);
    layout->addWidget(ListViewDuplicates, 1);

    auto *buttons = new QHBoxLayout;
    BtnDistinct = new QPushButton(QStringLiteral("別人として登録"), this);
    BtnDistinct->setObjectName(QStringLiteral("BtnDistinct"));
    BtnDistinct->setToolTip(QStringLiteral("選んだ組を別人として覚え、次から表示しません"));
    BtnUndoDistinct = new QPushButton(QStringLiteral("元に戻す"), this);
    BtnUndoDistinct->setObjectName(QStringLiteral("BtnUndoDistinct"));
    BtnMerge = new QPushButton(QStringLiteral("統合..."), this);
    BtnMerge->setObjectName(QStringLiteral("BtnMerge"));
    auto *BtnClose = new QPushButton(QStringLiteral("閉じる"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    buttons->addWidget(BtnMerge);
    buttons->addWidget(BtnDistinct);
    buttons->addWidget(BtnUndoDistinct);
    buttons->addStretch(1);
    buttons->addWidget(BtnClose);
    layout->addLayout(buttons);

    connect(BtnDistinct, &QPushButton::clicked, this, &TFormDuplicates::BtnDistinctClick);
    connect(BtnUndoDistinct, &QPushButton::clicked, this, &TFormDuplicates::BtnUndoDistinctClick);
    connect(BtnMerge, &QPushButton::clicked, this, &TFormDuplicates::BtnMergeClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListViewDuplicates, &QTreeWidget::itemSelectionChanged, this,
            &TFormDuplicates::UpdateButtons);
}

void TFormDuplicates::RunSearch() {
    if (Search())
        exec();
}

bool TFormDuplicates::Search() {
    lastDeclared_.reset();
    ProgressWindow progress(QStringLiteral("重複している顧客を探しています..."), windowTitle(),
                            parentWidget(), ProgressWindow::AfterAMoment);
    try {
        auto found = FindDuplicatesInBook(context_.GetDatabase(), progress.Reporter());
        if (!found)
            return false;
        pairs_ = std::move(*found);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    ShowPairs();
    return true;
}

void TFormDuplicates::ShowPairs() {
    ListViewDuplicates->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(pairs_.size()));
    for (const DuplicatePair &pair : pairs_)
        items << new QTreeWidgetItem({QString::number(pair.userId), pair.name,
                                      QString::number(pair.otherUserId), pair.otherName,
                                      ReasonText(pair.reasons)});
    ListViewDuplicates->addTopLevelItems(items);
    if (!items.isEmpty())
        ListViewDuplicates->setCurrentItem(items.first());
    UpdateButtons();
}

void TFormDuplicates::UpdateButtons() {
    LabelCount->setText(
        pairs_.empty()
            ? QStringLiteral("二重に登録されていそうな顧客は見つかりませんでした。")
            : QStringLiteral("二重に登録されていそうな顧客が %1 組あります。").arg(pairs_.size()));
    BtnDistinct->setEnabled(ListViewDuplicates->currentItem() != nullptr);
    BtnMerge->setEnabled(ListViewDuplicates->currentItem() != nullptr);
    BtnUndoDistinct->setEnabled(lastDeclared_.has_value());
}

void TFormDuplicates::BtnDistinctClick() {
    const int row = ListViewDuplicates->indexOfTopLevelItem(ListViewDuplicates->currentItem());
    if (row < 0)
        return;
    const DuplicatePair pair = pairs_[size_t(row)];
    try {
        StoreDistinctPair(context_.GetDatabase(), pair.userId, pair.otherUserId);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    lastDeclared_ = pair;
    pairs_.erase(pairs_.begin() + row);
    delete ListViewDuplicates->takeTopLevelItem(row);
    UpdateButtons();
}

void TFormDuplicates::BtnUndoDistinctClick() {
    if (!lastDeclared_)
        return;
    try {
        RemoveDistinctPair(context_.GetDatabase(), lastDeclared_->userId,
                           lastDeclared_->otherUserId);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    const DuplicatePair pair = *lastDeclared_;
    lastDeclared_.reset();
    const auto at = std::lower_bound(
        pairs_.begin(), pairs_.end(), pair, [](const DuplicatePair &a, const DuplicatePair &b) {
            return std::pair(a.userId, a.otherUserId) < std::pair(b.userId, b.otherUserId);
        });
    const int row = int(at - pairs_.begin());
    pairs_.insert(at, pair);
    ShowPairs();
    ListViewDuplicates->setCurrentItem(ListViewDuplicates->topLevelItem(row));
}

void TFormDuplicates::BtnMergeClick() {
    const int row = ListViewDuplicates->indexOfTopLevelItem(ListViewDuplicates->currentItem());
    if (row < 0)
        return;
    const DuplicatePair pair = pairs_[size_t(row)];
    if (FormMerge->RunMerge(pair.userId, pair.otherUserId))
        Search();
}
