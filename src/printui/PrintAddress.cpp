#include "printui/PrintAddress.h"

#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "platform/ZipData.h"
#include "print/LabelGrid.h"
#include "print/LayoutEngine.h"
#include "print/PaperPicture.h"
#include "print/PrintFonts.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"
#include "printui/FormAddPaper.h"
#include "printui/FormPrintAdjust.h"
#include "printui/FormPrintCheck.h"
#include "printui/FormWarituke.h"
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
#include <QMouseEvent>
#include <QPageSize>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Room for the largest preview panel.
constexpr int kPreviewHolderSize = 452;
const QSizeF postcardMm(100, 148);
// The miniature of the label sheet beside the first label's number.
const QSize kSheetMapSize(64, 90);

// A placement frame: a blue dotted outline; pressing it selects and moves the frame.
class FrameShape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 0, 255), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// A corner square of the selected frame: black, white while it is held.
class CornerSquare : public QWidget {
public:
    using QWidget::QWidget;
    void SetHeld(bool held) {
        held_ = held;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), held_ ? Qt::white : Qt::black);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool held_ = false;
};

// The composed face over the paper picture.
class FaceOverlay : public QWidget {
public:
    FaceOverlay(const QImage &image, QWidget *parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

private:
    const QImage &image_;
};

// White shows the paper picture through.
void MakeWhiteTransparent(QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == 0xffffffffu)
                line[x] = 0;
    }
}

QGroupBox *Group(const QString &title, QWidget *parent) {
    return new QGroupBox(title, parent);
}

} // namespace

TPrintAddress::TPrintAddress(AppContext &context, PrintAddressServices services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), dataPath_(context.GetDataPath()), services_(std::move(services)),
      printer_(QPrinter::HighResolution), frames_(DefaultFrames(kDefaultPaperKind, true)) {
    Q_ASSERT(services_.drawFace && services_.runPrint && services_.checkAddresses &&
             services_.reloadSenderData && services_.showSenderPrintConfig);
    setObjectName(QStringLiteral("PrintAddress"));
    setWindowTitle(QStringLiteral("宛名印刷"));

    auto *previewColumn = new QVBoxLayout;
    auto *Label1 = new QLabel(QStringLiteral("プレビュー"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *holder = new QWidget(this);
    holder->setFixedSize(kPreviewHolderSize, kPreviewHolderSize);
    PanelPreview = new QWidget(holder);
    BuildPreview();
    previewColumn->addWidget(Label1);
    previewColumn->addWidget(holder);
    previewColumn->addStretch();

    PCPrintType = new QTabWidget(this);
    PCPrintType->setObjectName(QStringLiteral("PCPrintType"));
    PCPrintType->addTab(BuildPostcardTab(), QStringLiteral("ハガキ・封筒"));
    PCPrintType->addTab(BuildLabelTab(), QStringLiteral("タックシール"));

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
    ButtonCancel = new QPushButton(QStringLiteral("閉じる"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button2);
    buttons->addWidget(ButtonAdjust);
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    resize(1120, 800);

    FormWarituke = new TFormWarituke(this);
    FormAddPaper = new TFormAddPaper(dataPath_, this);
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
    connect(SpinFirstLabel, &QSpinBox::valueChanged, this, &TPrintAddress::RefreshSheetMap);
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
    connect(TCMaker, &QTabBar::currentChanged, this, &TPrintAddress::TCMakerChange);
    connect(ListViewPaper, &QTableWidget::itemSelectionChanged, this,
            &TPrintAddress::ListViewPaperSelectItem);
    connect(Button4, &QPushButton::clicked, this, &TPrintAddress::Button4Click);
    connect(Button3, &QPushButton::clicked, this, &TPrintAddress::Button3Click);
    connect(Button2, &QPushButton::clicked, this, &TPrintAddress::Button2Click);
    connect(ButtonAdjust, &QPushButton::clicked, this, &TPrintAddress::ButtonAdjustClick);
    connect(ButtonPrint, &QPushButton::clicked, this, &TPrintAddress::ButtonPrintClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &TPrintAddress::ButtonCancelClick);

    {
        const QSignalBlocker blocker(paperButtons_);
        paperButtons_->button(kDefaultPaperKind)->setChecked(true);
    }
    SetPanelSize(PanelSizeFor(postcardMm, PaperKindOf(kDefaultPaperKind).PanelHeight));
    ReloadPicture();
    ApplyFrames();
    ApplyShapeVisibility();
}

TPrintAddress::~TPrintAddress() = default;

void TPrintAddress::BuildPreview() {
    PanelPreview->setObjectName(QStringLiteral("PanelPreview"));
    ImagePreview = new QLabel(PanelPreview);
    ImagePreview->setObjectName(QStringLiteral("ImagePreview"));
    ImagePreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DrawTextImage = new FaceOverlay(overlay_, PanelPreview);
    DrawTextImage->setObjectName(QStringLiteral("DrawTextImage"));
    DrawTextImage->installEventFilter(this);
    for (const PrintFrame frame : kAllFrames) {
        auto *shape = new FrameShape(PanelPreview);
        shape->setObjectName(FrameObjectName(frame));
        shape->setCursor(Qt::SizeAllCursor);
        shape->installEventFilter(this);
        shapes_[static_cast<int>(frame)] = shape;
    }
    const char *squareNames[] = {"ShapeSquLeftTop", "ShapeSquRightTop", "ShapeSquLeftButtom",
                                 "ShapeSquRightButtom"};
    for (int i = 0; i < 4; ++i) {
        auto *square = new CornerSquare(PanelPreview);
        square->setObjectName(QString::fromLatin1(squareNames[i]));
        square->setFixedSize(kCornerSquareSize, kCornerSquareSize);
        square->setCursor(i == 0 || i == 3 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        square->installEventFilter(this);
        square->hide();
        squares_[i] = square;
    }
}

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

QWidget *TPrintAddress::BuildLabelTab() {
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet2"));
    TCMaker = new QTabBar(tab);
    TCMaker->setObjectName(QStringLiteral("TCMaker"));
    TCMaker->setExpanding(false);
    TCMaker->setUsesScrollButtons(true);
    for (const QString &maker : MakerTabs())
        TCMaker->addTab(maker);
    TCMaker->setCurrentIndex(1);

    ListViewPaper = new QTableWidget(0, 10, tab);
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

    Button4 = new QPushButton(QStringLiteral("登録"), tab);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button3 = new QPushButton(QStringLiteral("削除"), tab);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button4->setEnabled(false);
    Button3->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button4);
    buttons->addWidget(Button3);

    SpinFirstLabel = new QSpinBox(tab);
    SpinFirstLabel->setObjectName(QStringLiteral("SpinFirstLabel"));
    SpinFirstLabel->setRange(1, 1);
    ImageSheetMap = new QLabel(tab);
    ImageSheetMap->setObjectName(QStringLiteral("ImageSheetMap"));
    ImageSheetMap->setFixedSize(kSheetMapSize);
    auto *firstLabel = new QHBoxLayout;
    firstLabel->addWidget(new QLabel(QStringLiteral("印刷開始位置"), tab));
    firstLabel->addWidget(SpinFirstLabel);
    firstLabel->addWidget(ImageSheetMap);
    firstLabel->addStretch();

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(TCMaker);
    layout->addWidget(ListViewPaper, 1);
    layout->addLayout(firstLabel);
    layout->addLayout(buttons);
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
    face.PreviewPixelsPerMm = ImagePreview->width() / paperMm_.width();
    face.PictureHeight = ImagePreview->height();
    face.Frames = frames_;
    FontSizeOffsets offsets = FormWarituke->Offsets();
    offsets.Manual = RBWaritukeManual->isChecked();
    face.FontSizes = offsets.Applied();
    face.ZipDataPath = ZipFilePath(dataPath_);
    return face;
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
    HideSquares();
    selectedFrame_.reset();
    FillFontList();
    try {
        const std::vector<int> listed = context_.ListedUserIds();
        printRows_->SetRows(
            FillPrintList(context_.GetDatabase(), QList<int>(listed.begin(), listed.end())));
    } catch (const EngineError &error) {
        printRows_->SetRows({});
        context_.GetPrompt().Error(error.message());
    }
    if (printRows_->rowCount() > 0)
        ListViewPrint->selectRow(0);
    services_.reloadSenderData();
    ReloadPaperList(false);
    LoadPrintSettings();
    ReselectPaperKind();
    opening_ = false;
    ApplyFrames();
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
        ReloadPicture();
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
    frames_ = s.Frames;
    if (labels) {
        if (TCMaker->currentIndex() == s.PMaker)
            ReloadPaperList(false);
        else
            TCMaker->setCurrentIndex(s.PMaker);
        SelectPaperRow(s.PIndex);
    }
    ApplyFrames();
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
    const int maker = TCMaker->currentIndex();
    const int row = SelectedPaperRow();
    if (maker != 0 || row >= 0) {
        s.PMaker = maker;
        s.PIndex = std::max(row, 0);
    } else {
        s.PMaker = 1;
        s.PIndex = 0;
    }
    s.Frames = frames_;
    WritePrintSettings(ini, s);
    QString error;
    if (!ini.Save(&error))
        context_.GetPrompt().Error(error);
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
    const QSize size = PanelPreview->size();
    overlay_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    overlay_.fill(Qt::white);
    const int dpiX = Rnd(size.width() * 25.4 / paperMm_.width());
    const int dpiY = Rnd(size.height() * 25.4 / paperMm_.height());
    const int gap = Rnd(size.width() / paperMm_.width() * 0.2);
    {
        QPainter painter(&overlay_);
        const int row = SelectedPrintRow();
        if (row >= 0) {
            painter.save();
            services_.drawFace(painter, CurrentFaceSettings(), dpiX, dpiY, gap,
                               printRows_->Row(row));
            painter.restore();
        }
        if (!IsLabelTab())
            DrawPrintableArea(painter, dpiX, PrinterAreaOf(printer_));
    }
    MakeWhiteTransparent(overlay_);
    DrawTextImage->update();
}

void TPrintAddress::SetPanelSize(const QSize &size) {
    PanelPreview->setFixedSize(size);
    PanelPreview->move(std::max(0, (kPreviewHolderSize - size.width()) / 2), 0);
    ImagePreview->setGeometry(QRect(QPoint(0, 0), size));
    DrawTextImage->setGeometry(QRect(QPoint(0, 0), size));
}

void TPrintAddress::ReloadPicture() {
    ImagePreview->setPixmap(QPixmap::fromImage(PaperPicture(pictureKind_, PanelPreview->size())));
}

void TPrintAddress::ApplyFrames() {
    for (const PrintFrame frame : kAllFrames) {
        QRect &r = FrameOf(frames_, frame);
        r = BringInside(r, PanelPreview->size());
        shapes_[static_cast<int>(frame)]->setGeometry(r);
    }
    if (selectedFrame_ && squares_[0]->isVisible())
        ShowSquares();
}

void TPrintAddress::ApplyShapeVisibility() {
    const bool sender = !IsLabelTab() && CheckBoxPrintSender->isChecked();
    shapes_[static_cast<int>(PrintFrame::Sender)]->setVisible(sender);
    shapes_[static_cast<int>(PrintFrame::UnderPostCode)]->setVisible(sender);
    shapes_[static_cast<int>(PrintFrame::Costomer)]->setVisible(CBCostom->isChecked());
    if (selectedFrame_ && !shapes_[static_cast<int>(*selectedFrame_)]->isVisibleTo(PanelPreview)) {
        HideSquares();
        selectedFrame_.reset();
    }
}

void TPrintAddress::HideSquares() {
    for (QWidget *square : squares_)
        square->hide();
}

void TPrintAddress::ShowSquares() {
    if (!selectedFrame_)
        return;
    const QRect frame = FrameOf(frames_, *selectedFrame_);
    const FrameCorner corners[] = {FrameCorner::LeftTop, FrameCorner::RightTop,
                                   FrameCorner::LeftBottom, FrameCorner::RightBottom};
    for (int i = 0; i < 4; ++i) {
        squares_[i]->move(CornerSquarePos(frame, corners[i]));
        squares_[i]->show();
        squares_[i]->raise();
    }
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
    SetPanelSize(PanelSizeFor(paper.PaperMm, paper.PanelHeight));
    ReloadPicture();
    // While opening, the stored frames are kept.
    if (!opening_)
        frames_ = DefaultFrames(kind, RadioButtonTate->isChecked());
    ApplyFrames();
    HideSquares();
    selectedFrame_.reset();
    RefreshPreview();
}

void TPrintAddress::ReselectPaperKind() {
    if (IsLabelTab()) {
        ReloadPicture();
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
    HideSquares();
    selectedFrame_.reset();
    pictureKind_ = kWhitePaper;
    if (SelectedPaperRow() < 0) {
        if (ListViewPaper->rowCount() == 0) {
            {
                const QSignalBlocker blocker(TCMaker);
                TCMaker->setCurrentIndex(1);
            }
            ReloadPaperList(!opening_);
        }
        SelectPaperRow(0);
    }
    if (sheet_) {
        paperMm_ = sheet_->LabelMm;
        SetPanelSize(LabelPanelSize(paperMm_));
    }
    frames_ = LabelTabFrames(LabelPanelSize(paperMm_));
    ReloadPicture();
    ApplyFrames();
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

bool TPrintAddress::ReloadPaperList(bool reportFailure) {
    QList<LabelSheet> sheets;
    QString error;
    const bool read = ReadPaperFile(dataPath_ + kPaperFileName, sheets, &error);
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
        context_.GetPrompt().Error(error);
    return read;
}

void TPrintAddress::TCMakerChange() {
    ReloadPaperList(!opening_);
}

int TPrintAddress::SelectedPaperRow() const {
    const QList<QModelIndex> rows = ListViewPaper->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TPrintAddress::SelectPaperRow(int row) {
    if (row >= 0 && row < ListViewPaper->rowCount())
        ListViewPaper->selectRow(row);
    else
        ListViewPaper->clearSelection();
}

void TPrintAddress::ListViewPaperSelectItem() {
    if (SelectedPaperRow() < 0)
        return;
    SelectSheet();
    RefreshPreview();
}

void TPrintAddress::SelectSheet() {
    const int row = SelectedPaperRow();
    if (row < 0 || row >= listedSheets_.size())
        return;
    sheet_ = SheetGeometryOf(listedSheets_.at(row));
    if (!sheet_) {
        if (!opening_)
            context_.GetPrompt().Error(kBadSheetMessage);
        return;
    }
    // Frames the user has not moved follow the label's size; moved ones are kept.
    const bool defaultFrames = frames_ == LabelTabFrames(LabelPanelSize(paperMm_));
    paperMm_ = sheet_->LabelMm;
    SpinFirstLabel->setRange(1, LabelsPerPage(*sheet_));
    RefreshSheetMap();
    if (IsLabelTab()) {
        SetPanelSize(LabelPanelSize(paperMm_));
        if (defaultFrames && !opening_)
            frames_ = LabelTabFrames(LabelPanelSize(paperMm_));
        ReloadPicture();
        ApplyFrames();
    }
}

void TPrintAddress::RefreshSheetMap() {
    QImage map(kSheetMapSize, QImage::Format_ARGB32_Premultiplied);
    map.fill(Qt::transparent);
    if (sheet_) {
        QPainter painter(&map);
        DrawSheetMap(painter, *sheet_, SpinFirstLabel->value() - 1,
                     QRectF(QPointF(0, 0), kSheetMapSize - QSize(1, 1)));
    }
    ImageSheetMap->setPixmap(QPixmap::fromImage(map));
}

void TPrintAddress::Button4Click() {
    if (FormAddPaper->exec() == QDialog::Accepted)
        ReloadPaperList(true);
}

void TPrintAddress::Button3Click() {
    const int row = SelectedPaperRow();
    if (row < 0 || row >= listedSheets_.size()) {
        context_.GetPrompt().Warning(QStringLiteral("削除するラベルを選択して下さい"));
        return;
    }
    const QString model = listedSheets_.at(row).Model;
    if (!context_.GetPrompt().Confirm(model + QStringLiteral("を削除しますか？"),
                                      QStringLiteral("確認")))
        return;
    if (TCMaker->tabText(TCMaker->currentIndex()) != kOriginalMaker) {
        context_.GetPrompt().Warning(QStringLiteral("オリジナル欄以外のラベルは削除できません"));
        return;
    }
    QString error;
    if (!DeleteOriginalSheet(dataPath_ + kPaperFileName, model, &error))
        context_.GetPrompt().Error(error);
    ReloadPaperList(true);
}

void TPrintAddress::Button2Click() {
    context_.GetPrompt().SetupPrinter(printer_);
    RefreshPreview();
}

bool TPrintAddress::ChooseSheet(PrintRunRequest &request) {
    if (!IsLabelTab())
        return true;
    const int row = SelectedPaperRow();
    if (row < 0 || row >= listedSheets_.size()) {
        context_.GetPrompt().Warning(QStringLiteral("印刷用紙が選択されていません。"));
        return false;
    }
    request.Sheet = SheetGeometryOf(listedSheets_.at(row));
    if (!request.Sheet) {
        context_.GetPrompt().Error(kBadSheetMessage);
        return false;
    }
    return true;
}

void TPrintAddress::ButtonAdjustClick() {
    const int index = OffsetIndex(IsLabelTab(), paperKind_);
    FormPrintAdjust->SetOffsetTenths(IsLabelTab() ? QStringLiteral("タックシール")
                                                  : PaperKindOf(paperKind_).Caption,
                                     offsets_[index]);
    FormPrintAdjust->exec();
    offsets_[index] = FormPrintAdjust->OffsetTenths();
}

void TPrintAddress::TestPrintClick() {
    PrintRunRequest request;
    if (!ChooseSheet(request))
        return;
    request.Face = CurrentFaceSettings();
    request.OffsetMm = OffsetMm(FormPrintAdjust->OffsetTenths());
    SetPaperOf(printer_, request);
    if (!context_.GetPrompt().SetupPrinter(printer_))
        return;
    printer_.setPageOrientation(PaperOrientation(request));
    printer_.setDocName(QStringLiteral("テスト印刷"));
    QString error;
    if (PrintTestSheet(printer_, request, paperKind_, &error) == PrintRunResult::Failed)
        context_.GetPrompt().Error(error);
}

void TPrintAddress::ButtonPrintClick() {
    const QString nothing = QStringLiteral("印刷対象がありません。");
    if (printRows_->rowCount() == 0) {
        context_.GetPrompt().Warning(nothing);
        return;
    }
    PrintRunRequest request;
    request.Rows = RowsToPrint(printRows_->Rows());
    if (request.Rows.isEmpty()) {
        context_.GetPrompt().Warning(nothing);
        return;
    }
    if (!ChooseSheet(request))
        return;
    request.FirstLabel = SpinFirstLabel->value() - 1;
    request.Face = CurrentFaceSettings();
    request.OffsetMm = OffsetMm(offsets_[OffsetIndex(IsLabelTab(), paperKind_)]);
    const std::optional<QList<AddressProblem>> problems = services_.checkAddresses(request, *this);
    if (!problems || (!problems->isEmpty() && !FormPrintCheck->ConfirmPrint(*problems)))
        return;
    // The dialog proposes the paper of the faces; the user may still choose another.
    SetPaperOf(printer_, request);
    if (!context_.GetPrompt().SetupPrinter(printer_))
        return;
    printer_.setPageOrientation(PaperOrientation(request));
    printer_.setDocName(QStringLiteral("印刷"));
    services_.runPrint(printer_, request, *this);
}

void TPrintAddress::ButtonCancelClick() {
    SavePrintSettings();
    QDialog::reject();
}

void TPrintAddress::reject() {
    ButtonCancelClick();
}

std::optional<PrintFrame> TPrintAddress::FrameOfShape(QObject *shape) const {
    for (const PrintFrame frame : kAllFrames)
        if (shapes_[static_cast<int>(frame)] == shape)
            return frame;
    return std::nullopt;
}

bool TPrintAddress::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QDialog::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = PanelPreview->mapFromGlobal(mouse->globalPosition().toPoint());
    const bool leftPress = type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton;
    if (type == QEvent::MouseButtonRelease) {
        MouseUp();
        return true;
    }
    if (watched == DrawTextImage) {
        if (type == QEvent::MouseButtonPress) {
            HideSquares();
            selectedFrame_.reset();
        }
        return true;
    }
    if (const auto frame = FrameOfShape(watched)) {
        if (leftPress)
            ShapeMouseDown(*frame, pos);
        else if (type == QEvent::MouseMove && moving_)
            ShapeMouseMove(pos);
        return true;
    }
    const FrameCorner corners[] = {FrameCorner::LeftTop, FrameCorner::RightTop,
                                   FrameCorner::LeftBottom, FrameCorner::RightBottom};
    for (int i = 0; i < 4; ++i) {
        if (squares_[i] != watched)
            continue;
        if (leftPress)
            SquareMouseDown(corners[i]);
        else if (type == QEvent::MouseMove && resizing_)
            SquareMouseMove(pos);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintAddress::ShapeMouseDown(PrintFrame frame, const QPoint &panelPos) {
    selectedFrame_ = frame;
    ShowSquares();
    moving_ = true;
    lastMouse_ = panelPos;
}

void TPrintAddress::ShapeMouseMove(const QPoint &panelPos) {
    QRect &frame = FrameOf(frames_, *selectedFrame_);
    frame = MoveFrame(frame, panelPos - lastMouse_, PanelPreview->size());
    shapes_[static_cast<int>(*selectedFrame_)]->setGeometry(frame);
    ShowSquares();
    DrawTextImage->update();
    lastMouse_ = panelPos;
}

void TPrintAddress::SquareMouseDown(FrameCorner corner) {
    if (!selectedFrame_ || !IsResizable(*selectedFrame_, IsLabelTab()))
        return;
    resizing_ = true;
    resizeCorner_ = corner;
    static_cast<CornerSquare *>(squares_[static_cast<int>(corner)])->SetHeld(true);
}

void TPrintAddress::SquareMouseMove(const QPoint &panelPos) {
    QRect &frame = FrameOf(frames_, *selectedFrame_);
    frame = ResizeFrame(frame, resizeCorner_, panelPos, PanelPreview->size());
    shapes_[static_cast<int>(*selectedFrame_)]->setGeometry(frame);
    ShowSquares();
    DrawTextImage->update();
}

void TPrintAddress::MouseUp() {
    if (!moving_ && !resizing_)
        return;
    moving_ = false;
    resizing_ = false;
    for (QWidget *square : squares_)
        static_cast<CornerSquare *>(square)->SetHeld(false);
    RefreshPreview();
}
