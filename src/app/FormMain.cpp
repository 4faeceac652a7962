#include "app/FormMain.h"

#include "admin/Backup.h"
#include "admin/FormPassInput.h"
#include "app/CustomerList.h"
#include "app/FormSelectPrint.h"
#include "app/IndexTabBar.h"
#include "app/ToolbarArt.h"
#include "core/DomainWords.h"
#include "core/TextFile.h"
#include "mail/MailSettings.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "records/ClassNames.h"
#include "records/FormEditClass.h"
#include "search/FormSearch.h"
#include "store/HistoryTable.h"
#include "store/SchemaUpgrade.h"
#include "widgets/ImageButton.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString SearchTabCaption = QStringLiteral("検索");
constexpr int ToolButtonWidth = 70;
constexpr int ToolButtonHeight = 64;

// The picture filling the top panel.
class BannerPicture : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        PaintBanner(painter, rect(), font());
    }
};

// The top panel, with the banner picture filling it under the toolbar.
class TopPanel : public QWidget {
public:
    explicit TopPanel(QWidget *parent) : QWidget(parent), banner_(new BannerPicture(this)) {
        banner_->setObjectName(QStringLiteral("Image3"));
        banner_->lower();
    }

protected:
    void resizeEvent(QResizeEvent *event) override {
        banner_->setGeometry(rect());
        QWidget::resizeEvent(event);
    }

private:
    BannerPicture *banner_;
};

QString SlashPath(const QString &dataFolder) {
    QString folder = dataFolder;
    folder.replace(u'\\', u'/');
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

QString DataPathOf(const QString &dataFolder) {
    return SlashPath(dataFolder) + QStringLiteral("Data/");
}

QString DbPathOf(const QString &dataFolder) {
    return SlashPath(dataFolder) + QStringLiteral("Data/DB/");
}

bool PasswordMarkerIsOn(const QStringList &markerLines) {
    return markerLines.size() >= 12 && markerLines[11].size() >= 8 && markerLines[11][7] == u'0';
}

TFormMain::TFormMain(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Brisko Pellor3"));
    QFont font(kDefaultFontName);
    font.setFamilies({kDefaultFontName, QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAexGothic")});
    font.setPointSize(9);
    setFont(font);

    listModel_ = new CustomerListModel(this);
    BuildToolbar();
    BuildListPanel();
    // After the list: the editor asks it for the selection.
    editor_ = new EditPanel(*this);
    BuildEditPanel();
    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(PanelMainListView);
    body->addWidget(PanelEdit, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelTopMenu);
    layout->addLayout(body, 1);
    // Never smaller than the size at which every control shows its content.
    setMinimumSize(layout->totalMinimumSize());
    resize(QSize(963, 649).expandedTo(minimumSize()));

    formEditClass_ = new TFormEditClass(this);
    formSelectPrint_ = new TFormSelectPrint(this);
    formSearch_ = new TFormSearch(this);
    connect(this, &TFormMain::ClassNamesLoaded, formSearch_, &TFormSearch::SetClassNames);
    Prompt::SetParentWindow(this);
    FormCreate();
}

TFormMain::~TFormMain() = default;

void TFormMain::BuildToolbar() {
    PanelTopMenu = new TopPanel(this);
    PanelTopMenu->setObjectName(QStringLiteral("PanelTopMenu"));
    PanelTopMenu->setFixedHeight(72);
    auto *row = new QHBoxLayout(PanelTopMenu);
    row->setContentsMargins(178, 4, 6, 4);
    row->setSpacing(1);
    struct Tool {
        ImageButton *&button;
        const char *name;
        ToolIcon icon;
        QString caption;
    };
    const Tool tools[] = {
        {PNGButtonAddData, "PNGButtonAddData", ToolIcon::AddData, QStringLiteral("データ追加")},
        {PNGButtonEditClass, "PNGButtonEditClass", ToolIcon::EditClass,
         QStringLiteral("分類名編集")},
        {PNGButtonMyData, "PNGButtonMyData", ToolIcon::MyData, QStringLiteral("自社情報")},
        {PNGButtonPrint, "PNGButtonPrint", ToolIcon::Print, QStringLiteral("印刷")},
        {PNGButtonImport, "PNGButtonImport", ToolIcon::Import, QStringLiteral("インポート")},
        {PNGButtonExport, "PNGButtonExport", ToolIcon::Export, QStringLiteral("エクスポート")},
        {PNGButtonBackup, "PNGButtonBackup", ToolIcon::Backup, QStringLiteral("バックアップ")},
        {PNGButtonConfig, "PNGButtonConfig", ToolIcon::Config, QStringLiteral("設定")},
        {PNGButtonSendmail, "PNGButtonSendmail", ToolIcon::SendMail, QStringLiteral("メール送信")},
        {PNGButtonZip, "PNGButtonZip", ToolIcon::Zip, QStringLiteral("〒データ更新")},
        {PNGButtonFormat, "PNGButtonFormat", ToolIcon::Format, QStringLiteral("初期化")},
    };
    const QSize size(ToolButtonWidth, ToolButtonHeight);
    for (const Tool &tool : tools) {
        tool.button = new ImageButton(PanelTopMenu);
        tool.button->setObjectName(QLatin1String(tool.name));
        tool.button->setToolTip(tool.caption);
        tool.button->setFixedSize(size);
        tool.button->SetPictures(PaintToolPictures(tool.icon, tool.caption, size, font()));
        // Compared by icon: the later buttons are not made yet.
        tool.button->setEnabled(tool.icon == ToolIcon::EditClass || tool.icon == ToolIcon::Print);
        row->addWidget(tool.button);
    }
    row->addStretch(1);

    const auto hidden = [this](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->hide();
        return button;
    };
    BtnEditClass = hidden("BtnEditClass", QStringLiteral("分類名編集"));
    PrintDM = hidden("PrintDM", QStringLiteral("DM印刷"));
    BtnPrintChart = hidden("BtnPrintChart", QStringLiteral("印刷"));
    BtnAdddata = hidden("BtnAdddata", QStringLiteral("データ追加"));
    BtnMyData = hidden("BtnMyData", QStringLiteral("自社情報登録"));
    BtnImport = hidden("BtnImport", QStringLiteral("インポート"));
    BtnExport = hidden("BtnExport", QStringLiteral("エクスポート"));
    BtnBackup = hidden("BtnBackup", QStringLiteral("バックアップ"));
    Button1 = hidden("Button1", QStringLiteral("〒データ更新"));

    connect(PNGButtonAddData, &ImageButton::clicked, BtnAdddata, &QPushButton::click);
    connect(PNGButtonEditClass, &ImageButton::clicked, BtnEditClass, &QPushButton::click);
    connect(PNGButtonMyData, &ImageButton::clicked, BtnMyData, &QPushButton::click);
    connect(PNGButtonPrint, &ImageButton::clicked, this, &TFormMain::IBtnPrintClick);
    connect(PNGButtonImport, &ImageButton::clicked, BtnImport, &QPushButton::click);
    connect(PNGButtonBackup, &ImageButton::clicked, BtnBackup, &QPushButton::click);
    connect(PNGButtonSendmail, &ImageButton::clicked, this, &TFormMain::ImgBtnSendmailClick);
    connect(PNGButtonZip, &ImageButton::clicked, Button1, &QPushButton::click);
    connect(BtnEditClass, &QPushButton::clicked, this, &TFormMain::BtnEditClassClick);
}

void TFormMain::BuildListPanel() {
    PanelMainListView = new QWidget(this);
    PanelMainListView->setObjectName(QStringLiteral("PanelMainListView"));
    PanelMainListView->setFixedWidth(187);

    Panel1 = new QWidget(PanelMainListView);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(92);
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

    ListViewMain = new QTableView(PanelMainListView);
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
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    ListViewMain->setColumnWidth(CustomerListModel::MarkColumn, 37);
    ListViewMain->setColumnWidth(CustomerListModel::NameColumn, 142);
    ListViewMain->setColumnHidden(CustomerListModel::IdColumn, true);
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
    for (QAction *action : {N2, N1, N7})
        action->setEnabled(false);

    auto *layout = new QVBoxLayout(PanelMainListView);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ListViewMain, 1);

    connect(CBPrClass, &QComboBox::currentIndexChanged, this, &TFormMain::RefreshList);
    connect(CBPrClass2, &QComboBox::currentIndexChanged, this, &TFormMain::RefreshList);
    connect(ListViewMain->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFormMain::ListViewMainSelectItem);
    connect(ListViewMain, &QWidget::customContextMenuRequested, this,
            &TFormMain::ListViewMainContextPopup);
}

void TFormMain::BuildEditPanel() {
    PanelEdit = new QWidget(this);
    PanelEdit->setObjectName(QStringLiteral("PanelEdit"));
    editor_->setParent(PanelEdit);
    TabControlClass3 = new IndexTabBar(PanelEdit);
    TabControlClass3->setObjectName(QStringLiteral("TabControlClass3"));
    for (const char *caption :
         {"全", "あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ", "ん", "ABC", "検索"})
        TabControlClass3->addTab(QString::fromUtf8(caption));
    TabControlClass3->setCurrentIndex(0);
    auto *layout = new QVBoxLayout(PanelEdit);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(editor_, 1);
    layout->addWidget(TabControlClass3);

    connect(TabControlClass3, &QTabBar::currentChanged, this, &TFormMain::ApplyIndexTab);
    connect(TabControlClass3, &IndexTabBar::Reselected, this, &TFormMain::ApplyIndexTab);
    connect(editor_, &EditPanel::Saved, this, &TFormMain::UpdateListedRow);
}

void TFormMain::FormCreate() {
    const QString dataFolder =
        Registry::ReadString(Registry::ProgramKey, QStringLiteral("DataFolder"));
    dataPath_ = DataPathOf(dataFolder);
    dbPath_ = DbPathOf(dataFolder);
    if (QString error; !Backup::FinishCutOffRestore(dbPath_, &error))
        prompt().Error(QStringLiteral("前回中断したバックアップの読み込みを片付けられません"
                                      "でした。\n%1")
                           .arg(error));
    try {
        database_.Open(dbPath_);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
}

void TFormMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (const QScreen *desktop = screen())
            move(desktop->availableGeometry().center() - rect().center());
        FormShow();
    }
}

void TFormMain::FormShow() {
    const QString markerPath = dbPath_ + QStringLiteral("usertbl.DM");
    QStringList marker;
    QString error;
    if (!TextFile::ReadLines(markerPath, marker, &error)) {
        prompt().Error(QStringLiteral("%1 を読み込めません。\n%2").arg(markerPath, error));
        return;
    }
    if (marker.size() < 12) {
        prompt().Error(QStringLiteral("%1 の内容が正しくありません。").arg(markerPath));
        return;
    }
    if (PasswordMarkerIsOn(marker) && !AskStartupPassword(this)) {
        // No data is shown; the program ends as soon as its event loop runs.
        PanelMainListView->hide();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    // A table folder that could not be opened was reported when the window was created.
    if (!database_.IsOpen())
        return;
    try {
        ProbeHistoryTable(HistoryQuery);
    } catch (const EngineError &failure) {
        prompt().Error(failure.message());
    }
    UserQuery.SetText(QString());
    if (const QString problem = RunSchemaUpgrade(database_, dataPath_); !problem.isEmpty())
        prompt().Error(problem);
    RefreshList();
    LoadClassNames();
    const ListSelection selection = CurrentSelection();
    if (selection.kind == ListSelection::None)
        return;
    if (selection.kind == ListSelection::One)
        LoadSelectedCustomer(selection.userId);
    const QString desktop = GetSpecialFolder(DesktopFolderId);
    if (!desktop.isEmpty())
        QFile::remove(desktop + QStringLiteral("/resttemp.TV"));
}

void TFormMain::closeEvent(QCloseEvent *event) {
    if (!MayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    QWidget::closeEvent(event);
}

// A change that could not be stored (the book was busy, the disk full) gets one more try before
// the window goes; if it still cannot be stored, the user decides.
bool TFormMain::MayClose() {
    return editor_->MayDropUnsavedChange(
        QStringLiteral("閉じると失われますが、閉じてもよろしいですか？"));
}

void TFormMain::FormClose() {
    ClearListSelection();
}

void TFormMain::Raise() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TFormMain::RefreshList() {
    const int tab = TabControlClass3->currentIndex();
    const bool searchTab = TabControlClass3->tabText(tab) == SearchTabCaption;
    ListFilters filters = searchTab ? search_ : ListFilters{};
    if (!searchTab && tab >= 1 && tab <= 12)
        filters.readingIndex = tab;
    if (CBPrClass->currentIndex() > 0)
        filters.classId = CBPrClass->currentIndex() - 1;
    if (CBPrClass2->currentIndex() > 0)
        filters.classId2 = CBPrClass2->currentIndex() - 1;
    lastListStatement_ = BuildListStatement(filters);

    std::vector<ListRow> rows;
    QString label;
    try {
        ListedCustomers listed = LoadListedCustomers(database_, UserQuery, filters);
        rows.reserve(listed.rows.size());
        for (ListedCustomer &customer : listed.rows)
            rows.push_back({customer.userId, std::move(customer.name),
                            customer.print ? PrintMark::On : PrintMark::Off});
        label = listed.label;
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    listModel_->SetRows(std::move(rows));
    LabelDbNum->setText(label);
    if (listModel_->rowCount() == 0) {
        editor_->ClearEditPanel();
        editor_->EnableEditPanel(false);
        return;
    }
    ListViewMain->selectionModel()->setCurrentIndex(
        listModel_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListViewMain->scrollToTop();
}

void TFormMain::LoadClassNames() {
    try {
        ::LoadClassNames(ClassQuery, {editor_->CBClass, editor_->CBClass2, CBPrClass, CBPrClass2});
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
    AnnounceClassNames();
}

void TFormMain::AnnounceClassNames() {
    QStringList names1, names2;
    for (int i = 0; i < editor_->CBClass->count(); ++i)
        names1 << editor_->CBClass->itemText(i);
    for (int i = 0; i < editor_->CBClass2->count(); ++i)
        names2 << editor_->CBClass2->itemText(i);
    emit ClassNamesLoaded(names1, names2);
}

void TFormMain::BtnEditClassClick() {
    if (EditClassNames(ClassQuery, *formEditClass_,
                       {editor_->CBClass, editor_->CBClass2, CBPrClass, CBPrClass2}))
        AnnounceClassNames();
}

void TFormMain::ApplyIndexTab() {
    const bool searchTab =
        TabControlClass3->tabText(TabControlClass3->currentIndex()) == SearchTabCaption;
    if (!searchTab) {
        RefreshList();
        return;
    }
    if (formSearch_->exec() != QDialog::Accepted)
        return;
    search_.readingIndex = formSearch_->ReadingRangeIndex();
    if (!formSearch_->HasConditions()) {
        search_.search = {};
    } else {
        try {
            search_.search = BuildSearchClause(formSearch_->CurrentRows());
        } catch (const SearchInputError &) {
            // The window has told the user; the last search that could be built stays.
        }
    }
    RefreshList();
}

ListSelection TFormMain::CurrentSelection() const {
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
    return {ListSelection::One, listModel_->Row(selectedRow).userId};
}

void TFormMain::ListViewMainSelectItem() {
    if (returningToUnsaved_)
        return;
    // Leaving a customer whose change could not be stored: one more try, then the user decides;
    // staying puts the selection back on that customer while it is listed.
    if (!editor_->MayDropUnsavedChange(
            QStringLiteral("別の顧客を表示すると失われますが、よろしいですか？"))) {
        returningToUnsaved_ = true;
        const bool listed = SelectUserId(editor_->ShownUserId());
        returningToUnsaved_ = false;
        if (listed)
            return;
    }
    const ListSelection selection = CurrentSelection();
    if (selection.kind == ListSelection::One) {
        LoadSelectedCustomer(selection.userId);
    } else {
        editor_->ClearEditPanel();
        editor_->EnableEditPanel(false);
    }
}

void TFormMain::LoadSelectedCustomer(int userId) {
    editor_->EnableEditPanel(false);
    try {
        // A customer removed by another program meanwhile shows an empty, disabled editor, so
        // nothing of another customer stays on screen and nothing is written for the row.
        if (!editor_->LoadCustomer(userId)) {
            editor_->ClearEditPanel();
            return;
        }
    } catch (const EngineError &error) {
        // The selected row must not show the customer that was loaded before.
        editor_->ClearEditPanel();
        prompt().Error(error.message());
        return;
    }
    editor_->LoadHistory(userId);
    editor_->EnableEditPanel(true);
}

void TFormMain::UpdateListedRow(int userId, bool print, const QString &name) {
    const QModelIndexList rows = ListViewMain->selectionModel()->selectedRows();
    if (rows.size() == 1 && listModel_->Row(rows.first().row()).userId == userId)
        listModel_->UpdateRow(rows.first().row(), print, name);
}

void TFormMain::ListViewMainContextPopup(const QPoint &position) {
    if (!ListViewMain->selectionModel()->hasSelection())
        return;
    PopupMenu1->popup(ListViewMain->viewport()->mapToGlobal(position));
}

void TFormMain::IBtnPrintClick() {
    if (listModel_->rowCount() == 0) {
        prompt().Message(QStringLiteral("印刷対象がありません"));
        return;
    }
    switch (formSelectPrint_->Choose()) {
    case TFormSelectPrint::Choice::AddressPrint:
        PrintDM->click();
        break;
    case TFormSelectPrint::Choice::CustomerCards:
        BtnPrintChart->click();
        break;
    case TFormSelectPrint::Choice::PhoneList:
        emit PhoneListPrintRequested();
        break;
    case TFormSelectPrint::Choice::Cancel:
        break;
    }
}

void TFormMain::ImgBtnSendmailClick() {
    if (MailSettings settings; !MailSettingsComplete(dataPath_, settings)) {
        prompt().Message(QStringLiteral("メール送信設定が完了していないため使用できません\n"
                                        "設定ボタンから設定を行ってください"));
        return;
    }
    if (listModel_->rowCount() == 0) {
        prompt().Message(QStringLiteral("メール送信の対象がいないため使用できません\n"
                                        "送信対象者を抽出してください"));
        return;
    }
    emit SendMailRequested();
}

int TFormMain::ListRowCount() const {
    return listModel_->rowCount();
}

std::vector<int> TFormMain::ListedUserIds() const {
    std::vector<int> ids;
    ids.reserve(listModel_->rowCount());
    for (int row = 0; row < listModel_->rowCount(); ++row)
        ids.push_back(listModel_->Row(row).userId);
    return ids;
}

std::vector<int> TFormMain::SelectedUserIds() const {
    std::vector<int> rows;
    for (const QModelIndex &index : ListViewMain->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    std::vector<int> ids;
    for (int row : rows)
        ids.push_back(listModel_->Row(row).userId);
    return ids;
}

bool TFormMain::SelectUserId(int userId) {
    const int row = listModel_->RowOf(userId);
    if (row < 0)
        return false;
    const QModelIndex index = listModel_->index(row, 0);
    ListViewMain->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                               QItemSelectionModel::Rows);
    ListViewMain->scrollTo(index);
    return true;
}

void TFormMain::ClearListSelection() {
    ListViewMain->selectionModel()->clearSelection();
}

void TFormMain::ResetClassFiltersSilently() {
    const QSignalBlocker block1(CBPrClass);
    const QSignalBlocker block2(CBPrClass2);
    CBPrClass->setCurrentIndex(0);
    CBPrClass2->setCurrentIndex(0);
}

void TFormMain::SelectIndexTabSilently(int index) {
    TabControlClass3->SelectSilently(index);
}
