#include "printui/LabelSheetTab.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "print/LabelGrid.h"
#include "printui/FormAddPaper.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// The miniature of the label sheet beside the first label's number.
const QSize kSheetMapSize(64, 90);
} // namespace

LabelSheetTab::LabelSheetTab(AppContext &context, QWidget *parent)
    : QWidget(parent), context_(context), paperFile_(context.GetDataPath() + kPaperFileName) {
    setObjectName(QStringLiteral("TabSheet2"));
    TCMaker = new QTabBar(this);
    TCMaker->setObjectName(QStringLiteral("TCMaker"));
    TCMaker->setExpanding(false);
    TCMaker->setUsesScrollButtons(true);
    for (const QString &maker : MakerTabs())
        TCMaker->addTab(maker);
    TCMaker->setCurrentIndex(1);

    ListViewPaper = new QTableWidget(0, 10, this);
    ListViewPaper->setObjectName(QStringLiteral("ListViewPaper"));
    ListViewPaper->setHorizontalHeaderLabels({QStringLiteral("型番"), QStringLiteral("横幅"),
                                              QStringLiteral("縦幅"), QStringLiteral("上余白"),
                                              QStringLiteral("下余白"), QStringLiteral("左余白"),
                                              QStringLiteral("右余白"), QStringLiteral("列数"),
                                              QStringLiteral("段数"), QStringLiteral("向き")});
    ListViewPaper->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewPaper->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewPaper->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewPaper->setTabKeyNavigation(false);
    ListViewPaper->verticalHeader()->hide();
    ListViewPaper->verticalHeader()->setDefaultSectionSize(ListViewPaper->fontMetrics().height() +
                                                           6);
    ListViewPaper->horizontalHeader()->setDefaultSectionSize(48);
    ListViewPaper->setColumnWidth(0, 120);

    Button4 = new QPushButton(QStringLiteral("登録"), this);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button3 = new QPushButton(QStringLiteral("削除"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setEnabled(false);
    Button3->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button4);
    buttons->addWidget(Button3);

    SpinFirstLabel = new QSpinBox(this);
    SpinFirstLabel->setObjectName(QStringLiteral("SpinFirstLabel"));
    SpinFirstLabel->setRange(1, 1);
    ImageSheetMap = new QLabel(this);
    ImageSheetMap->setObjectName(QStringLiteral("ImageSheetMap"));
    ImageSheetMap->setFixedSize(kSheetMapSize);
    auto *firstLabel = new QHBoxLayout;
    firstLabel->addWidget(new QLabel(QStringLiteral("印刷開始位置"), this));
    firstLabel->addWidget(SpinFirstLabel);
    firstLabel->addWidget(ImageSheetMap);
    firstLabel->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TCMaker);
    layout->addWidget(ListViewPaper, 1);
    layout->addLayout(firstLabel);
    layout->addLayout(buttons);

    FormAddPaper = new TFormAddPaper(context.GetDataPath(), this);

    connect(SpinFirstLabel, &QSpinBox::valueChanged, this, &LabelSheetTab::RefreshSheetMap);
    connect(TCMaker, &QTabBar::currentChanged, this, &LabelSheetTab::TCMakerChange);
    connect(ListViewPaper, &QTableWidget::itemSelectionChanged, this,
            &LabelSheetTab::ListViewPaperSelectItem);
    connect(Button4, &QPushButton::clicked, this, &LabelSheetTab::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &LabelSheetTab::Button3Click);
}

bool LabelSheetTab::ReloadPaperList(bool reportFailure) {
    QList<LabelSheet> sheets;
    QString error;
    const bool read = ReadPaperFile(paperFile_, sheets, &error);
    listedSheets_ = SheetsOfMaker(sheets, TCMaker->tabText(TCMaker->currentIndex()));
    {
        const QSignalBlocker blocker(ListViewPaper);
        ListViewPaper->clearSelection();
        ListViewPaper->setRowCount(0);
        ListViewPaper->setRowCount(static_cast<int>(listedSheets_.size()));
        for (int row = 0; row < listedSheets_.size(); ++row) {
            const LabelSheet &sheet = listedSheets_.at(row);
            ListViewPaper->setItem(row, 0, new QTableWidgetItem(sheet.Model));
            const QStringList values = sheet.ListColumns();
            for (int column = 0; column < values.size(); ++column)
                ListViewPaper->setItem(row, column + 1, new QTableWidgetItem(values.at(column)));
        }
    }
    const bool own = TCMaker->currentIndex() == 0;
    Button3->setEnabled(own);
    Button4->setEnabled(own);
    if (!read && reportFailure)
        prompt().Error(error);
    return read;
}

void LabelSheetTab::SelectFirstSheetIfNone(bool reportFailure) {
    if (SelectedSheetRow() >= 0)
        return;
    if (ListViewPaper->rowCount() == 0) {
        {
            const QSignalBlocker blocker(TCMaker);
            TCMaker->setCurrentIndex(1);
        }
        ReloadPaperList(reportFailure);
    }
    SelectPaperRow(0);
}

void LabelSheetTab::SelectStoredSheet(int maker, int row) {
    if (TCMaker->currentIndex() == maker)
        ReloadPaperList(false);
    else
        TCMaker->setCurrentIndex(maker);
    SelectPaperRow(row);
}

int LabelSheetTab::MakerIndex() const {
    return TCMaker->currentIndex();
}

int LabelSheetTab::SelectedSheetRow() const {
    const QList<QModelIndex> rows = ListViewPaper->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::optional<SheetGeometry> LabelSheetTab::SheetToPrint() {
    const int row = SelectedSheetRow();
    if (row < 0 || row >= listedSheets_.size()) {
        prompt().Warning(QStringLiteral("印刷用紙が選択されていません。"));
        return std::nullopt;
    }
    std::optional<SheetGeometry> sheet = SheetGeometryOf(listedSheets_.at(row));
    if (!sheet)
        prompt().Error(kBadSheetMessage);
    return sheet;
}

int LabelSheetTab::FirstLabel() const {
    return SpinFirstLabel->value() - 1;
}

void LabelSheetTab::TCMakerChange() {
    ReloadPaperList(!opening_);
}

void LabelSheetTab::SelectPaperRow(int row) {
    if (row >= 0 && row < ListViewPaper->rowCount())
        ListViewPaper->selectRow(row);
    else
        ListViewPaper->clearSelection();
}

void LabelSheetTab::ListViewPaperSelectItem() {
    const int row = SelectedSheetRow();
    if (row < 0)
        return;
    bool usable = false;
    if (row < listedSheets_.size()) {
        sheet_ = SheetGeometryOf(listedSheets_.at(row));
        usable = sheet_.has_value();
        if (!usable && !opening_)
            prompt().Error(kBadSheetMessage);
        if (usable) {
            SpinFirstLabel->setRange(1, LabelsPerPage(*sheet_));
            RefreshSheetMap();
        }
    }
    emit SheetSelected(usable);
}

void LabelSheetTab::RefreshSheetMap() {
    QImage map(kSheetMapSize, QImage::Format_ARGB32_Premultiplied);
    map.fill(Qt::transparent);
    if (sheet_) {
        QPainter painter(&map);
        DrawSheetMap(painter, *sheet_, SpinFirstLabel->value() - 1,
                     QRectF(QPointF(0, 0), kSheetMapSize - QSize(1, 1)));
    }
    ImageSheetMap->setPixmap(QPixmap::fromImage(map));
}

void LabelSheetTab::Button4Click() {
    if (FormAddPaper->exec() == QDialog::Accepted)
        ReloadPaperList(true);
}

void LabelSheetTab::Button3Click() {
    const int row = SelectedSheetRow();
    if (row < 0 || row >= listedSheets_.size()) {
        prompt().Warning(QStringLiteral("削除するラベルを選択して下さい"));
        return;
    }
    const QString model = listedSheets_.at(row).Model;
    if (!prompt().Confirm(model + QStringLiteral("を削除しますか？"), QStringLiteral("確認"),
                          Prompt::Answer::No))
        return;
    if (TCMaker->tabText(TCMaker->currentIndex()) != kOriginalMaker) {
        prompt().Warning(QStringLiteral("オリジナル欄以外のラベルは削除できません"));
        return;
    }
    QString error;
    if (!DeleteOriginalSheet(paperFile_, model, &error))
        prompt().Error(error);
    ReloadPaperList(true);
}
