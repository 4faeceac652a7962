#include "printui/PrintAddress.h"

#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "platform/ZipData.h"
#include "print/LayoutEngine.h"
#include "print/PaperPicture.h"
#include "print/PrintFonts.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"
#include "printui/FormPrintAdjust.h"
#include "printui/FormPrintCheck.h"
#include "printui/FormWarituke.h"
#include "printui/FramePlacementPreview.h"
#include "printui/LabelSheetTab.h"
#include "store/TableEngine.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPageSize>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QSizeF postcardMm(100, 148);

QGroupBox *Group(const QString &title, QWidget *parent) {
    return new QGroupBox(title, parent);
}

} // namespace

TPrintAddress::TPrintAddress(AppContext &context, PrintAddressServices services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), dataPath_(context.GetDataPath()), services_(std::move(services)),
      printer_(QPrinter::HighResolution) {
    Q_ASSERT(services_.drawFace && services_.runPrint && services_.checkAddresses &&
             services_.reloadSenderData && services_.showSenderPrintConfig);
    setObjectName(QStringLiteral("PrintAddress"));
    setWindowTitle(QStringLiteral("宛名印刷"));

    auto *previewColumn = new QVBoxLayout;
    auto *Label1 = new QLabel(QStringLiteral("プレビュー"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    preview_ = new FramePlacementPreview(this);
    preview_->SetFrames(DefaultFrames(kDefaultPaperKind, true));
    previewColumn->addWidget(Label1);
    previewColumn->addWidget(preview_);
    previewColumn->addStretch();

    PCPrintType = new QTabWidget(this);
    PCPrintType->setObjectName(QStringLiteral("PCPrintType"));
    PCPrintType->addTab(BuildPostcardTab(), QStringLiteral("ハガキ・封筒"));
    labelTab_ = new LabelSheetTab(context, this);
    PCPrintType->addTab(labelTab_, QStringLiteral("タックシール"));

    auto *costom = Group(QStringLiteral("カスタマーコード"), this);
    CBCostom = new QCheckBox(QStringLiteral("カスタマーコードを印刷する"), costom);
    CBCostom->setObjectName(QStringLiteral("CBCostom"));
    (new QVBoxLayout(costom))->addWidget(CBCostom);

    auto *sizes = Group(QStringLiteral("文字サイズ"), this);
    RBWaritukeAuto = new QRadioButton(QStringLiteral("自動設定"), sizes);
    RBWaritukeAuto->setObjectName(QStringLiteral("RBWaritukeAuto"));
    RBWaritukeManual = new QRadioButton(QStringLiteral("自分で設定"), sizes);
    RBWaritukeManual->setObjectName(QStringLiteral("RBWaritukeManual"));
    BtnWarituke = new QPushButton(QStringLiteral("文字サイズ"), sizes);
    BtnWarituke->setObjectName(QStringLiteral("BtnWarituke"));
    RBWaritukeAuto->setChecked(true);
    BtnWarituke->setEnabled(false);
    auto *sizesLayout = new QGridLayout(sizes);
    sizesLayout->addWidget(RBWaritukeAuto, 0, 0);
    sizesLayout->addWidget(RBWaritukeManual, 1, 0);
    sizesLayout->addWidget(BtnWarituke, 0, 1, 2, 1);

    auto *fonts = Group(QStringLiteral("印刷フォント"), this);
    ListBoxFont = new QListWidget(fonts);
    ListBoxFont->setObjectName(QStringLiteral("ListBoxFont"));
    (new QVBoxLayout(fonts))->addWidget(ListBoxFont);

    for (QGroupBox *group : {costom, sizes, fonts})
        group->setFixedWidth(210);
    auto *settingsColumn = new QVBoxLayout;
    settingsColumn->addWidget(costom);
    settingsColumn->addWidget(sizes);
    settingsColumn->addWidget(fonts, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(previewColumn);
    top->addWidget(PCPrintType, 1);
    top->addLayout(settingsColumn);

    auto *list = Group(QStringLiteral("印刷リスト"), this);
    ListViewPrint = new QTableView(list);
    ListViewPrint->setObjectName(QStringLiteral("ListViewPrint"));
    printRows_ = new PrintListModel(this);
    ListViewPrint->setModel(printRows_);
    ListViewPrint->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewPrint->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewPrint->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewPrint->setTabKeyNavigation(false);
    ListViewPrint->setShowGrid(true);
    ListViewPrint->verticalHeader()->hide();
    ListViewPrint->verticalHeader()->setDefaultSectionSize(ListViewPrint->fontMetrics().height() +
                                                           6);
    ListViewPrint->horizontalHeader()->setDefaultSectionSize(96);
    ListViewPrint->horizontalHeader()->setSectionsClickable(true);
    ListViewPrint->setColumnWidth(0, 48);
    ListViewPrint->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(ListViewPrint);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *N1 = PopupMenu1->addAction(QStringLiteral("印刷をオフにする"));
    N1->setObjectName(QStringLiteral("N1"));
    QAction *N2 = PopupMenu1->addAction(QStringLiteral("印刷をオンにする"));
    N2->setObjectName(QStringLiteral("N2"));
    ListViewPrint->setMinimumHeight(150);
    (new QVBoxLayout(list))->addWidget(ListViewPrint);

    Button2 = new QPushButton(QStringLiteral("プリンタ設定"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    ButtonAdjust = new QPushButton(QStringLiteral("プリンタ調整"), this);
    ButtonAdjust->setObjectName(QStringLiteral("ButtonAdjust"));
    ButtonPrint = new QPushButton(QStringLiteral("印刷"), this);
    ButtonPrint->setObjectName(QStringLiteral("ButtonPrint"));
    ButtonPrintSample = new QPushButton(QStringLiteral("1枚だけ印刷"), this);
    ButtonPrintSample->setObjectName(QStringLiteral("ButtonPrintSample"));
    ButtonPrintSample->setToolTip(QStringLiteral("プレビューの宛先を1枚だけ印刷して確かめます"));
    ButtonCancel = new QPushButton(QStringLiteral("閉じる"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(ButtonAdjust);
    buttons->addWidget(ButtonPrintSample);
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    resize(1120, 800);

    FormWarituke = new TFormWarituke(this);
    FormPrintCheck = new TFormPrintCheck(this);
    FormPrintAdjust = new TFormPrintAdjust(this);
    connect(FormPrintAdjust, &TFormPrintAdjust::TestPrintClicked, this,
            &TPrintAddress::TestPrintClick);

    connect(paperButtons_, &QButtonGroup::idClicked, this, &TPrintAddress::PaperButtonClick);
    connect(PCPrintType, &QTabWidget::currentChanged, this, &TPrintAddress::PCPrintTypeChange);
    connect(RadioButtonTate, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonTateClick();
    });
    connect(RadioButtonYoko, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonYokoClick();
    });
    connect(CBCostom, &QCheckBox::toggled, this, &TPrintAddress::CBCostomClick);
    connect(RadioButtonKanjiCounted, &QRadioButton::toggled, this, &TPrintAddress::RefreshPreview);
    connect(CheckBoxPrintSender, &QCheckBox::toggled, this,
            &TPrintAddress::CheckBoxPrintSenderClick);
    connect(ButtonPrintConfig, &QPushButton::clicked, this, &TPrintAddress::ButtonPrintConfigClick);
    connect(RBWaritukeAuto, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBWaritukeAutoClick();
    });
    connect(RBWaritukeManual, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RBWaritukeManualClick();
    });
    connect(BtnWarituke, &QPushButton::clicked, this, &TPrintAddress::BtnWaritukeClick);
    connect(ListViewPrint->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TPrintAddress::ListViewPrintSelectItem);
    connect(ListViewPrint->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TPrintAddress::ListViewPrintColumnClick);
    connect(ListViewPrint, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        PopupMenu1->popup(ListViewPrint->viewport()->mapToGlobal(pos));
    });
    connect(N1, &QAction::triggered, this, &TPrintAddress::N1Click);
    connect(N2, &QAction::triggered, this, &TPrintAddress::N2Click);
    connect(ListBoxFont, &QListWidget::currentRowChanged, this, &TPrintAddress::ListBoxFontClick);
    connect(preview_, &FramePlacementPreview::FramesPlaced, this, &TPrintAddress::RefreshPreview);
    connect(labelTab_, &LabelSheetTab::SheetSelected, this, &TPrintAddress::LabelSheetSelected);
    connect(Button2, &QPushButton::clicked, this, &TPrintAddress::Button2Click);
    connect(ButtonAdjust, &QPushButton::clicked, this, &TPrintAddress::ButtonAdjustClick);
    connect(ButtonPrint, &QPushButton::clicked, this, &TPrintAddress::ButtonPrintClick);
    connect(ButtonPrintSample, &QPushButton::clicked, this, &TPrintAddress::ButtonPrintSampleClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TPrintAddress::ButtonCancelClick);

    {
        const QSignalBlocker blocker(paperButtons_);
        paperButtons_->button(kDefaultPaperKind)->setChecked(true);
    }
    preview_->SetPanelSize(PanelSizeFor(postcardMm, PaperKindOf(kDefaultPaperKind).PanelHeight));
    preview_->ShowPaperPicture(pictureKind_);
    preview_->ApplyFrames();
    ApplyShapeVisibility();
}

TPrintAddress::~TPrintAddress() = default;

QWidget *TPrintAddress::BuildPostcardTab() {
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet1"));

    auto *papers = Group(QStringLiteral("ハガキ・封筒 選択"), tab);
    auto *paperGrid = new QGridLayout(papers);
    paperButtons_ = new QButtonGroup(this);
    paperButtons_->setExclusive(true);
    for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind) {
        const PaperKind &paper = PaperKindOf(kind);
        auto *button = new QToolButton(papers);
        button->setObjectName(paper.ButtonName);
        button->setText(paper.Caption);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        if (IsPostcardKind(kind)) {
            const QSize icon(40, 59);
            button->setIcon(QPixmap::fromImage(PaperPicture(kind, icon)));
            button->setIconSize(icon);
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            paperGrid->addWidget(button, 0, kind - 1);
        } else {
            button->setMinimumHeight(28);
            const int index = kind - kLastPostcardKind - 1;
            paperGrid->addWidget(button, 1 + index / 2, (index % 2) * 2, 1, 2);
        }
        paperButtons_->addButton(button, kind);
    }

    auto *direction = Group(QStringLiteral("縦書き・横書き"), tab);
    RadioButtonTate = new QRadioButton(QStringLiteral("縦書き"), direction);
    RadioButtonTate->setObjectName(QStringLiteral("RadioButtonTate"));
    RadioButtonYoko = new QRadioButton(QStringLiteral("横書き"), direction);
    RadioButtonYoko->setObjectName(QStringLiteral("RadioButtonYoko"));
    RadioButtonTate->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(RadioButtonTate);
    directionLayout->addWidget(RadioButtonYoko);
    directionLayout->addStretch();

    auto *numerals = Group(QStringLiteral("縦書きの番地"), tab);
    RadioButtonKanjiDigits = new QRadioButton(QStringLiteral("二一"), numerals);
    RadioButtonKanjiDigits->setObjectName(QStringLiteral("RadioButtonKanjiDigits"));
    RadioButtonKanjiCounted = new QRadioButton(QStringLiteral("二十一"), numerals);
    RadioButtonKanjiCounted->setObjectName(QStringLiteral("RadioButtonKanjiCounted"));
    RadioButtonKanjiDigits->setChecked(true);
    auto *numeralsLayout = new QHBoxLayout(numerals);
    numeralsLayout->addWidget(RadioButtonKanjiDigits);
    numeralsLayout->addWidget(RadioButtonKanjiCounted);
    numeralsLayout->addStretch();

    auto *sender = Group(QStringLiteral("差出人印刷"), tab);
    CheckBoxPrintSender = new QCheckBox(QStringLiteral("差出人を印刷する"), sender);
    CheckBoxPrintSender->setObjectName(QStringLiteral("CheckBoxPrintSender"));
    ButtonPrintConfig = new QPushButton(QStringLiteral("印刷項目設定"), sender);
    ButtonPrintConfig->setObjectName(QStringLiteral("ButtonPrintConfig"));
    auto *senderLayout = new QHBoxLayout(sender);
    senderLayout->addWidget(CheckBoxPrintSender);
    senderLayout->addStretch();
    senderLayout->addWidget(ButtonPrintConfig);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(papers);
    layout->addWidget(direction);
    layout->addWidget(numerals);
    layout->addWidget(sender);
    layout->addStretch();
    return tab;
}

FaceSettings TPrintAddress::CurrentFaceSettings() const {
    FaceSettings face;
    face.FaceName = ListBoxFont->currentItem() ? ListBoxFont->currentItem()->text() : QString();
    face.Vertical = RadioButtonTate->isChecked();
    face.LabelTab = IsLabelTab();
    face.PrintSender = CheckBoxPrintSender->isChecked();
    face.PrintCostom = CBCostom->isChecked();
    face.CountedNumerals = RadioButtonKanjiCounted->isChecked();
    face.PaperMm = paperMm_;
    const QSize picture = preview_->PanelSize();
    face.PreviewPixelsPerMm = picture.width() / paperMm_.width();
    face.PictureHeight = picture.height();
    face.Frames = preview_->Frames();
    FontSizeOffsets offsets = FormWarituke->Offsets();
    offsets.Manual = RBWaritukeManual->isChecked();
    face.FontSizes = offsets.Applied();
    face.ZipDataPath = ZipFilePath(dataPath_);
    return face;
}

const FrameSet &TPrintAddress::Frames() const {
    return preview_->Frames();
}

bool TPrintAddress::IsLabelTab() const {
    return PCPrintType->currentIndex() == 1;
}

void TPrintAddress::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPrintAddress::FormShow() {
    opening_ = true;
    labelTab_->SetOpening(true);
    preview_->Deselect();
    FillFontList();
    try {
        const std::vector<int> listed = context_.ListedUserIds();
        printRows_->SetRows(
            FillPrintList(context_.GetDatabase(), QList<int>(listed.begin(), listed.end())));
    } catch (const EngineError &error) {
        printRows_->SetRows({});
        prompt().Error(error.message());
    }
    if (printRows_->rowCount() > 0)
        ListViewPrint->selectRow(0);
    services_.reloadSenderData();
    labelTab_->ReloadPaperList(false);
    LoadPrintSettings();
    ReselectPaperKind();
    opening_ = false;
    labelTab_->SetOpening(false);
    preview_->ApplyFrames();
    ApplyShapeVisibility();
    RefreshPreview();
}

void TPrintAddress::LoadPrintSettings() {
    IniFile ini(SenderConfPath(dataPath_));
    ini.Load();
    const PrintSettings s = ReadPrintSettings(ini);
    const bool labels = s.Type == 1;
    {
        const QSignalBlocker blocker(PCPrintType);
        PCPrintType->setCurrentIndex(s.Type);
    }
    if (labels) {
        pictureKind_ = kWhitePaper;
        preview_->ShowPaperPicture(pictureKind_);
    } else {
        paperMm_ = postcardMm;
        PaperButtonClick(s.PostcardIndex);
    }
    paperKind_ = s.PostcardIndex;
    // Labels are written horizontally and without the sender.
    (s.Vertical && !labels ? RadioButtonTate : RadioButtonYoko)->setChecked(true);
    CheckBoxPrintSender->setChecked(s.PrintSender && !labels);
    CBCostom->setChecked(s.PrintCostom);
    offsets_ = s.Offsets;
    (s.CountedNumerals ? RadioButtonKanjiCounted : RadioButtonKanjiDigits)->setChecked(true);
    QStringList entries;
    for (int i = 0; i < ListBoxFont->count(); ++i)
        entries << ListBoxFont->item(i)->text();
    const QString font = ChooseFontEntry(entries, s.Font);
    if (!font.isEmpty())
        ListBoxFont->setCurrentRow(static_cast<int>(entries.indexOf(font)));
    preview_->SetFrames(s.Frames);
    if (labels)
        labelTab_->SelectStoredSheet(s.PMaker, s.PIndex);
    preview_->ApplyFrames();
    ApplyShapeVisibility();
}

void TPrintAddress::SavePrintSettings() {
    IniFile ini(SenderConfPath(dataPath_));
    ini.Load();
    PrintSettings s;
    s.Type = IsLabelTab() ? 1 : 0;
    s.PostcardIndex = paperKind_;
    s.Vertical = RadioButtonTate->isChecked();
    s.PrintSender = CheckBoxPrintSender->isChecked();
    s.PrintCostom = CBCostom->isChecked();
    s.CountedNumerals = RadioButtonKanjiCounted->isChecked();
    s.Offsets = offsets_;
    s.Font = ListBoxFont->currentItem() ? ListBoxFont->currentItem()->text() : QString();
    const int maker = labelTab_->MakerIndex();
    const int row = labelTab_->SelectedSheetRow();
    if (maker != 0 || row >= 0) {
        s.PMaker = maker;
        s.PIndex = std::max(row, 0);
    } else {
        s.PMaker = 1;
        s.PIndex = 0;
    }
    s.Frames = preview_->Frames();
    WritePrintSettings(ini, s);
    QString error;
    if (!ini.Save(&error))
        prompt().Error(error);
}

void TPrintAddress::FillFontList() {
    const QStringList entries =
        FontListEntries(InstalledJapaneseFaces(), RadioButtonTate->isChecked());
    const QSignalBlocker blocker(ListBoxFont);
    ListBoxFont->clear();
    ListBoxFont->addItems(entries);
    const QString chosen = ChooseFontEntry(entries, kVerticalFaceMark + kDefaultFontName);
    ListBoxFont->setCurrentRow(static_cast<int>(entries.indexOf(chosen)));
}

void TPrintAddress::RefreshPreview() {
    const QSize size = preview_->PanelSize();
    QImage face(size, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::white);
    // The face and the printable area go through the scale the frames are placed in.
    const PreviewScale scale = PreviewScaleOf(size, paperMm_);
    {
        QPainter painter(&face);
        painter.scale(scale.FaceScale, scale.FaceScale);
        const int row = SelectedPrintRow();
        if (row >= 0) {
            painter.save();
            services_.drawFace(painter, CurrentFaceSettings(), scale.Dpi, scale.Dpi, scale.Gap,
                               printRows_->Row(row));
            painter.restore();
        }
        if (!IsLabelTab())
            DrawPrintableArea(painter, scale.Dpi, PrinterAreaFor(printer_, paperMm_));
    }
    preview_->ShowFace(std::move(face));
}

void TPrintAddress::ApplyShapeVisibility() {
    preview_->ShowFramesFor(IsLabelTab(), CheckBoxPrintSender->isChecked(), CBCostom->isChecked());
}

void TPrintAddress::PaperButtonClick(int kind) {
    if (!IsPaperKind(kind))
        kind = kDefaultPaperKind;
    {
        const QSignalBlocker blocker(paperButtons_);
        paperButtons_->button(kind)->setChecked(true);
    }
    const PaperKind &paper = PaperKindOf(kind);
    paperKind_ = kind;
    paperMm_ = paper.PaperMm;
    pictureKind_ = kind;
    preview_->SetPanelSize(PanelSizeFor(paper.PaperMm, paper.PanelHeight));
    preview_->ShowPaperPicture(pictureKind_);
    // While opening, the stored frames are kept.
    if (!opening_)
        preview_->SetFrames(DefaultFrames(kind, RadioButtonTate->isChecked()));
    preview_->ApplyFrames();
    preview_->Deselect();
    RefreshPreview();
}

void TPrintAddress::ReselectPaperKind() {
    if (IsLabelTab()) {
        preview_->ShowPaperPicture(pictureKind_);
        RefreshPreview();
    } else if (IsPostcardKind(paperKind_) || opening_) {
        PaperButtonClick(paperKind_);
    } else {
        RefreshPreview();
    }
}

void TPrintAddress::PCPrintTypeChange(int index) {
    if (index == 0) {
        paperMm_ = postcardMm;
        PaperButtonClick(kDefaultPaperKind);
    } else {
        EnterLabelTab();
    }
    ApplyShapeVisibility();
    RefreshPreview();
}

void TPrintAddress::EnterLabelTab() {
    RadioButtonYoko->setChecked(true);
    CheckBoxPrintSender->setChecked(false);
    preview_->Deselect();
    pictureKind_ = kWhitePaper;
    labelTab_->SelectFirstSheetIfNone(!opening_);
    if (const std::optional<SheetGeometry> &sheet = labelTab_->Sheet()) {
        paperMm_ = sheet->LabelMm;
        preview_->SetPanelSize(LabelPanelSize(paperMm_));
    }
    preview_->SetFrames(LabelTabFrames(LabelPanelSize(paperMm_)));
    preview_->ShowPaperPicture(pictureKind_);
    preview_->ApplyFrames();
}

void TPrintAddress::ChangeDirection(bool vertical) {
    QString remembered =
        ListBoxFont->currentItem() ? ListBoxFont->currentItem()->text() : QString();
    remembered.remove(QLatin1Char('@'));
    FillFontList();
    QStringList entries;
    for (int i = 0; i < ListBoxFont->count(); ++i)
        entries << ListBoxFont->item(i)->text();
    const QString chosen =
        ChooseFontEntry(entries, vertical ? kVerticalFaceMark + remembered : remembered);
    {
        const QSignalBlocker blocker(ListBoxFont);
        ListBoxFont->setCurrentRow(static_cast<int>(entries.indexOf(chosen)));
    }
    ReselectPaperKind();
}

void TPrintAddress::RadioButtonTateClick() {
    ChangeDirection(true);
}

void TPrintAddress::RadioButtonYokoClick() {
    ChangeDirection(false);
}

void TPrintAddress::CBCostomClick() {
    ApplyShapeVisibility();
    RefreshPreview();
}

void TPrintAddress::CheckBoxPrintSenderClick() {
    ApplyShapeVisibility();
    RefreshPreview();
}

void TPrintAddress::ButtonPrintConfigClick() {
    CheckBoxPrintSender->setChecked(true);
    services_.showSenderPrintConfig();
    RefreshPreview();
}

void TPrintAddress::RBWaritukeAutoClick() {
    BtnWarituke->setEnabled(false);
    RefreshPreview();
}

void TPrintAddress::RBWaritukeManualClick() {
    BtnWarituke->setEnabled(true);
    RefreshPreview();
}

void TPrintAddress::BtnWaritukeClick() {
    FormWarituke->exec();
    RefreshPreview();
}

int TPrintAddress::SelectedPrintRow() const {
    const QList<int> rows = SelectedPrintRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> TPrintAddress::SelectedPrintRows() const {
    QList<int> rows;
    for (const QModelIndex &index : ListViewPrint->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TPrintAddress::ListViewPrintSelectItem() {
    RefreshPreview();
}

void TPrintAddress::ListViewPrintColumnClick(int column) {
    sortAscending_ = !sortAscending_;
    printRows_->SortBy(column, sortAscending_);
}

void TPrintAddress::N1Click() {
    printRows_->SetMarked(SelectedPrintRows(), false);
}

void TPrintAddress::N2Click() {
    printRows_->SetMarked(SelectedPrintRows(), true);
}

void TPrintAddress::ListBoxFontClick() {
    RefreshPreview();
}

void TPrintAddress::LabelSheetSelected(bool usable) {
    if (usable) {
        // Frames the user has not moved follow the label's size; moved ones are kept.
        const bool defaultFrames = preview_->Frames() == LabelTabFrames(LabelPanelSize(paperMm_));
        paperMm_ = labelTab_->Sheet()->LabelMm;
        if (IsLabelTab()) {
            preview_->SetPanelSize(LabelPanelSize(paperMm_));
            if (defaultFrames && !opening_)
                preview_->SetFrames(LabelTabFrames(LabelPanelSize(paperMm_)));
            preview_->ShowPaperPicture(pictureKind_);
            preview_->ApplyFrames();
        }
    }
    RefreshPreview();
}

void TPrintAddress::Button2Click() {
    prompt().ChoosePrinter(printer_);
    RefreshPreview();
}

bool TPrintAddress::ChooseSheet(PrintRunRequest &request) {
    if (!IsLabelTab())
        return true;
    request.Sheet = labelTab_->SheetToPrint();
    return request.Sheet.has_value();
}

void TPrintAddress::ButtonAdjustClick() {
    const int index = OffsetIndex(IsLabelTab(), paperKind_);
    const QString printer = AdjustedPrinterName(printer_);
    FormPrintAdjust->SetOffsetTenths(IsLabelTab() ? QStringLiteral("タックシール")
                                                  : PaperKindOf(paperKind_).Caption,
                                     printer, offsets_.For(printer, index));
    FormPrintAdjust->exec();
    offsets_.Set(printer, index, FormPrintAdjust->OffsetTenths());
}

void TPrintAddress::TestPrintClick() {
    PrintRunRequest request;
    if (!ChooseSheet(request))
        return;
    request.Face = CurrentFaceSettings();
    request.OffsetMm = OffsetMm(FormPrintAdjust->OffsetTenths());
    SetPaperOf(printer_, request);
    if (!prompt().SetupPrinter(printer_))
        return;
    printer_.setPageOrientation(PaperOrientation(request));
    printer_.setDocName(QStringLiteral("テスト印刷"));
    QString error;
    if (PrintTestSheet(printer_, request, paperKind_, &error) == PrintRunResult::Failed)
        prompt().Error(error);
}

void TPrintAddress::ButtonPrintClick() {
    const QList<PrintRow> rows = RowsToPrint(printRows_->Rows());
    if (rows.isEmpty()) {
        prompt().Warning(QStringLiteral("印刷対象がありません。"));
        return;
    }
    PrintRows(rows, labelTab_->FirstLabel(), QStringLiteral("印刷"));
}

void TPrintAddress::ButtonPrintSampleClick() {
    const int row = SelectedPrintRow();
    if (row < 0) {
        prompt().Warning(QStringLiteral("1枚だけ印刷する宛先を、一覧で選んで下さい。"));
        return;
    }
    PrintRows({printRows_->Row(row)}, labelTab_->FirstLabel(), QStringLiteral("1枚だけ印刷"));
}

void TPrintAddress::PrintRows(const QList<PrintRow> &rows, int firstLabel,
                              const QString &documentName) {
    PrintRunRequest request;
    request.Rows = rows;
    if (!ChooseSheet(request))
        return;
    request.FirstLabel = firstLabel;
    request.PaperKind = IsLabelTab() ? 0 : paperKind_;
    request.Face = CurrentFaceSettings();
    const std::optional<QList<AddressProblem>> problems = services_.checkAddresses(request, *this);
    if (!problems || (!problems->isEmpty() && !FormPrintCheck->ConfirmPrint(*problems)))
        return;
    // The dialog proposes the paper of the faces; the user may still choose another.
    SetPaperOf(printer_, request);
    if (!prompt().SetupPrinter(printer_))
        return;
    request.OffsetMm = OffsetMm(
        offsets_.For(AdjustedPrinterName(printer_), OffsetIndex(IsLabelTab(), paperKind_)));
    printer_.setPageOrientation(PaperOrientation(request));
    printer_.setDocName(documentName);
    services_.runPrint(printer_, request, *this);
}

void TPrintAddress::ButtonCancelClick() {
    SavePrintSettings();
    QDialog::reject();
}

void TPrintAddress::reject() {
    ButtonCancelClick();
}
