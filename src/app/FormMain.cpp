#include "app/FormMain.h"

#include "admin/Backup.h"
#include "admin/BookPlace.h"
#include "admin/FormPassInput.h"
#include "admin/StartupPassword.h"
#include "app/FormSelectPrint.h"
#include "app/IndexTabBar.h"
#include "app/MainListPanel.h"
#include "app/ToolbarArt.h"
#include "core/DomainWords.h"
#include "core/IniFile.h"
#include "mail/MailSettings.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "print/SenderData.h"
#include "records/ClassNames.h"
#include "records/FormEditClass.h"
#include "search/FormSearch.h"
#include "store/BookChanges.h"
#include "store/HistoryTable.h"
#include "store/PostgresEngine.h"
#include "store/SchemaUpgrade.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>

namespace {

const QString SearchTabCaption = QStringLiteral("検索");
constexpr int ToolButtonWidth = 70;
constexpr int ToolButtonHeight = 64;
// Wide enough for the print mark, name, reading and postal code.
constexpr int DefaultListWidth = 480;

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

TFormMain::TFormMain(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Brisko Pellor3"));
    QFont font(kDefaultFontName);
    font.setFamilies({kDefaultFontName, QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAexGothic")});
    font.setPointSize(9);
    setFont(font);

    const QString dataFolder =
        Registry::ReadString(Registry::ProgramKey, QStringLiteral("DataFolder"));
    dataPath_ = DataPathOf(dataFolder);
    dbPath_ = DbPathOf(dataFolder);
    BuildToolbar();
    IniFile settings(SenderConfPath(dataPath_));
    settings.Load();
    listPanel_ = new MainListPanel(database_, UserQuery, settings, this);
    // After the list: the editor asks it for the selection.
    editor_ = new EditPanel(*this);
    BuildEditPanel();
    SplitterMain = new QSplitter(Qt::Horizontal, this);
    SplitterMain->setObjectName(QStringLiteral("SplitterMain"));
    SplitterMain->setChildrenCollapsible(false);
    SplitterMain->addWidget(listPanel_);
    SplitterMain->addWidget(PanelEdit);
    // A wider window shows more of the list; the editor already shows every field.
    SplitterMain->setStretchFactor(0, 1);
    SplitterMain->setStretchFactor(1, 0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PanelTopMenu);
    BarConnection = new QLabel(this);
    BarConnection->setObjectName(QStringLiteral("BarConnection"));
    // The theme's colours for a notice, readable in a light and a dark theme alike.
    BarConnection->setAutoFillBackground(true);
    BarConnection->setBackgroundRole(QPalette::ToolTipBase);
    BarConnection->setForegroundRole(QPalette::ToolTipText);
    BarConnection->setMargin(6);
    BarConnection->hide();
    layout->addWidget(BarConnection);
    layout->addWidget(SplitterMain, 1);
    otherPcsChanged_ = new QTimer(this);
    otherPcsChanged_->setSingleShot(true);
    // Changes close together are shown together.
    otherPcsChanged_->setInterval(150);
    connect(otherPcsChanged_, &QTimer::timeout, this, &TFormMain::ShowOtherPcsChanges);
    reconnect_ = new QTimer(this);
    reconnect_->setSingleShot(true);
    connect(reconnect_, &QTimer::timeout, this, &TFormMain::Reconnect);
    // Never smaller than the size at which every control shows its content.
    setMinimumSize(layout->totalMinimumSize());
    RestoreWindowSize(settings);

    formEditClass_ = new TFormEditClass(this);
    formSelectPrint_ = new TFormSelectPrint(this);
    formSearch_ = new TFormSearch(this);
    connect(this, &TFormMain::ClassNamesLoaded, formSearch_, &TFormSearch::SetClassNames);
    Prompt::SetParentWindow(this);
    FormCreate();
}

TFormMain::~TFormMain() {
    if (reconnectTry_)
        reconnectTry_->wait();
}

void TFormMain::BuildToolbar() {
    PanelTopMenu = new TopPanel(this);
    PanelTopMenu->setObjectName(QStringLiteral("PanelTopMenu"));
    PanelTopMenu->setFixedHeight(72);
    auto *row = new QHBoxLayout(PanelTopMenu);
    row->setContentsMargins(178, 4, 6, 4);
    row->setSpacing(1);
    struct Tool {
        const char *name;
        ToolIcon icon;
        QString caption;
    };
    const Tool tools[] = {
        {"PNGButtonAddData", ToolIcon::AddData, QStringLiteral("データ追加")},
        {"PNGButtonEditClass", ToolIcon::EditClass, QStringLiteral("分類名編集")},
        {"PNGButtonMyData", ToolIcon::MyData, QStringLiteral("自社情報")},
        {"PNGButtonPrint", ToolIcon::Print, QStringLiteral("印刷")},
        {"PNGButtonImport", ToolIcon::Import, QStringLiteral("インポート")},
        {"PNGButtonExport", ToolIcon::Export, QStringLiteral("エクスポート")},
        {"PNGButtonBackup", ToolIcon::Backup, QStringLiteral("バックアップ")},
        {"PNGButtonConfig", ToolIcon::Config, QStringLiteral("設定")},
        {"PNGButtonSendmail", ToolIcon::SendMail, QStringLiteral("メール送信")},
        {"PNGButtonZip", ToolIcon::Zip, QStringLiteral("〒データ更新")},
        {"PNGButtonFormat", ToolIcon::Format, QStringLiteral("初期化")},
    };
    const QSize size(ToolButtonWidth, ToolButtonHeight);
    std::map<ToolIcon, ImageButton *> buttons;
    for (const Tool &tool : tools) {
        auto *button = new ImageButton(PanelTopMenu);
        button->setObjectName(QLatin1String(tool.name));
        button->setToolTip(tool.caption);
        button->setFixedSize(size);
        button->SetPictures(PaintToolPictures(tool.icon, tool.caption, size, font()));
        row->addWidget(button);
        buttons[tool.icon] = button;
    }
    row->addStretch(1);

    const auto hidden = [this](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->hide();
        return button;
    };
    QPushButton *BtnEditClass = hidden("BtnEditClass", QStringLiteral("分類名編集"));
    PrintDM = hidden("PrintDM", QStringLiteral("DM印刷"));
    BtnPrintChart = hidden("BtnPrintChart", QStringLiteral("印刷"));
    QPushButton *BtnAdddata = hidden("BtnAdddata", QStringLiteral("データ追加"));
    QPushButton *BtnMyData = hidden("BtnMyData", QStringLiteral("自社情報登録"));
    QPushButton *BtnImport = hidden("BtnImport", QStringLiteral("インポート"));
    QPushButton *BtnExport = hidden("BtnExport", QStringLiteral("エクスポート"));
    QPushButton *BtnBackup = hidden("BtnBackup", QStringLiteral("バックアップ"));
    QPushButton *Button1 = hidden("Button1", QStringLiteral("〒データ更新"));

    const auto toolButton = [&buttons](ToolIcon icon) { return buttons.at(icon); };
    connect(toolButton(ToolIcon::AddData), &ImageButton::clicked, BtnAdddata, &QPushButton::click);
    connect(toolButton(ToolIcon::EditClass), &ImageButton::clicked, BtnEditClass,
            &QPushButton::click);
    connect(toolButton(ToolIcon::MyData), &ImageButton::clicked, BtnMyData, &QPushButton::click);
    connect(toolButton(ToolIcon::Print), &ImageButton::clicked, this, &TFormMain::IBtnPrintClick);
    connect(toolButton(ToolIcon::Import), &ImageButton::clicked, BtnImport, &QPushButton::click);
    connect(toolButton(ToolIcon::Export), &ImageButton::clicked, this,
            &TFormMain::ExportChoiceRequested);
    connect(toolButton(ToolIcon::Backup), &ImageButton::clicked, BtnBackup, &QPushButton::click);
    connect(toolButton(ToolIcon::Config), &ImageButton::clicked, this,
            &TFormMain::SettingsRequested);
    connect(toolButton(ToolIcon::SendMail), &ImageButton::clicked, this,
            &TFormMain::ImgBtnSendmailClick);
    connect(toolButton(ToolIcon::Zip), &ImageButton::clicked, Button1, &QPushButton::click);
    connect(toolButton(ToolIcon::Format), &ImageButton::clicked, this, &TFormMain::FormatRequested);
    connect(BtnEditClass, &QPushButton::clicked, this, &TFormMain::BtnEditClassClick);
    connect(PrintDM, &QPushButton::clicked, this, &TFormMain::AddressPrintRequested);
    connect(BtnPrintChart, &QPushButton::clicked, this, &TFormMain::CustomerCardsPrintRequested);
    connect(BtnAdddata, &QPushButton::clicked, this, &TFormMain::AddDataRequested);
    connect(BtnMyData, &QPushButton::clicked, this, &TFormMain::MyDataRequested);
    connect(BtnImport, &QPushButton::clicked, this, &TFormMain::ImportRequested);
    connect(BtnExport, &QPushButton::clicked, this, &TFormMain::CsvExportRequested);
    connect(BtnBackup, &QPushButton::clicked, this, &TFormMain::BackupRequested);
    connect(Button1, &QPushButton::clicked, this, &TFormMain::ZipUpdateRequested);
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
    connect(editor_, &EditPanel::Saved, listPanel_, &MainListPanel::UpdateSelectedRow);
    connect(listPanel_, &MainListPanel::FiltersChanged, this, &TFormMain::RefreshList);
    connect(listPanel_, &MainListPanel::SelectionChanged, this, &TFormMain::ListViewMainSelectItem);
}

void TFormMain::FormCreate() {
    if (QString error; !Backup::FinishCutOffRestore(dbPath_, &error))
        prompt().Error(QStringLiteral("前回中断したバックアップの読み込みを片付けられません"
                                      "でした。\n%1")
                           .arg(error));
    Backup::RemoveCutOffBackups(Backup::Root(dataPath_));
    QString error;
    if (OpenBookAtStart(database_, dbPath_, &error))
        return;
    if (!error.isEmpty()) {
        prompt().Error(error);
        return;
    }
    // The user chose to end rather than open another book than the server's.
    ending_ = true;
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TFormMain::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!shown_) {
        shown_ = true;
        if (const QScreen *desktop = screen())
            move(desktop->availableGeometry().center() - rect().center());
        // The splitter has its width once the window's layout has run.
        layout()->activate();
        SplitterMain->setSizes(
            {keptListWidth_, SplitterMain->width() - SplitterMain->handleWidth() - keptListWidth_});
        FormShow();
    }
}

void TFormMain::FormShow() {
    if (ending_) {
        listPanel_->hide();
        return;
    }
    QStringList marker;
    QString markerError;
    const bool markerRead = ReadMarkerLines(dbPath_, marker, &markerError);
    if (!markerRead)
        prompt().Error(markerError);
    const bool asks =
        StartupAsksPassword(markerRead ? std::optional(MarkerOf(marker)) : std::nullopt);
    if (asks && !AskStartupPassword(this)) {
        // No data is shown; the program ends as soon as its event loop runs.
        listPanel_->hide();
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    if (!markerRead && !asks)
        return;
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
    ListenToOtherPcs();
    const ListSelection selection = CurrentSelection();
    if (selection.kind == ListSelection::None)
        return;
    if (selection.kind == ListSelection::One)
        editor_->ShowCustomer(selection.userId);
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
    KeepWindowLayout();
}

void TFormMain::RestoreWindowSize(const IniFile &settings) {
    // Without a kept size, wide enough to show the list's reading and postal code where the
    // screen allows.
    const QSize available = screen()->availableGeometry().size();
    QSize size(settings.ReadInteger(MainListSection, QStringLiteral("WIDTH"), 0),
               settings.ReadInteger(MainListSection, QStringLiteral("HEIGHT"), 0));
    if (size.isEmpty())
        size = QSize(963 - MainListPanel::NarrowestWidth + DefaultListWidth, 649);
    resize(size.boundedTo(available).expandedTo(minimumSize()));
    keptListWidth_ =
        settings.ReadInteger(MainListSection, QStringLiteral("LIST_WID"), DefaultListWidth);
}

// conf.ini is written only when the layout differs from the one it keeps.
void TFormMain::KeepWindowLayout() {
    IniFile settings(SenderConfPath(dataPath_));
    settings.Load();
    const QString before = settings.ToText();
    listPanel_->KeepColumnWidths(settings);
    if (!isMaximized() && !isFullScreen()) {
        settings.WriteInteger(MainListSection, QStringLiteral("WIDTH"), width());
        settings.WriteInteger(MainListSection, QStringLiteral("HEIGHT"), height());
    }
    settings.WriteInteger(MainListSection, QStringLiteral("LIST_WID"), listPanel_->width());
    // A settings file that cannot be written only costs the layout; Save leaves it whole.
    if (settings.ToText() != before)
        settings.Save();
}

void TFormMain::Raise() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

ListFilters TFormMain::ShownFilters() const {
    const int tab = TabControlClass3->currentIndex();
    const bool searchTab = TabControlClass3->tabText(tab) == SearchTabCaption;
    ListFilters filters = searchTab ? search_ : ListFilters{};
    if (!searchTab && tab >= 1 && tab <= 12)
        filters.readingIndex = tab;
    return filters;
}

void TFormMain::RefreshList() {
    if (listPanel_->Refresh(ShownFilters()) && listPanel_->RowCount() == 0)
        editor_->Clear();
}

void TFormMain::ListenToOtherPcs() {
    delete bookChanges_;
    bookChanges_ = nullptr;
    if (!database_.IsOnServer() || !database_.IsOpen())
        return;
    try {
        bookChanges_ = new BookChanges(database_, QSysInfo::machineHostName(), this);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    connect(bookChanges_, &BookChanges::Changed, otherPcsChanged_, qOverload<>(&QTimer::start));
    connect(bookChanges_, &BookChanges::ConnectionLost, this, &TFormMain::ServerConnectionLost);
}

void TFormMain::ShowOtherPcsChanges() {
    // The editor first: a customer deleted elsewhere is told before the list lets it go.
    editor_->ShowStoredChange();
    listPanel_->RefreshInPlace(ShownFilters());
    const QStringList before = listPanel_->ClassNames(1) + listPanel_->ClassNames(2);
    try {
        RenameClassEntries(ClassQuery, AllClassBoxes());
    } catch (const EngineError &) {
        // The list's own reading has told the user already.
        return;
    }
    if (listPanel_->ClassNames(1) + listPanel_->ClassNames(2) != before)
        AnnounceClassNames();
}

void TFormMain::ServerConnectionLost() {
    if (BarConnection->isVisible())
        return;
    // A statement on the broken connection would try the server again and wait for it,
    // keystroke after keystroke; the closed book fails at once until it is opened again.
    database_.Close();
    BarConnection->setText(QStringLiteral("顧客データのサーバーとの接続が切れました。入力した内容は"
                                          "画面に残してあります。接続し直しています…"));
    BarConnection->show();
    reconnectWaitSeconds_ = 1;
    reconnect_->start(reconnectWaitSeconds_ * 1000);
}

void TFormMain::Reconnect() {
    auto answered = std::make_shared<std::atomic_bool>(false);
    reconnectTry_ = QThread::create(
        [uri = database_.ServerUri(), answered] { *answered = PostgresEngine::Answers(uri); });
    reconnectTry_->setParent(this);
    connect(reconnectTry_, &QThread::finished, this, [this, answered] {
        reconnectTry_->deleteLater();
        reconnectTry_ = nullptr;
        ReconnectIfAnswered(*answered);
    });
    reconnectTry_->start();
}

void TFormMain::ReconnectIfAnswered(bool answered) {
    // Up to half a minute between tries; each try itself ends within the connect time limit.
    constexpr int longestWaitSeconds = 30;
    bool opened = answered;
    if (answered) {
        try {
            database_.OpenServer(database_.ServerUri());
        } catch (const EngineError &) {
            opened = false;
        }
    }
    if (!opened) {
        reconnectWaitSeconds_ = std::min(reconnectWaitSeconds_ * 2, longestWaitSeconds);
        BarConnection->setText(
            QStringLiteral("顧客データのサーバーとの接続が切れました。入力した内容は画面に残して"
                           "あります。%1 秒後にもう一度接続します…")
                .arg(reconnectWaitSeconds_));
        reconnect_->start(reconnectWaitSeconds_ * 1000);
        return;
    }
    BarConnection->hide();
    ListenToOtherPcs();
    // Announcements sent while the connection was gone are not sent again: read everything.
    editor_->StorePendingChange();
    ShowOtherPcsChanges();
}

bool TFormMain::DataShown() const {
    return !listPanel_->isHidden();
}

ClassBoxes TFormMain::AllClassBoxes() const {
    ClassBoxes boxes;
    editor_->AddClassBoxes(boxes);
    listPanel_->AddFilterBoxes(boxes);
    return boxes;
}

void TFormMain::LoadClassNames() {
    try {
        ::LoadClassNames(ClassQuery, AllClassBoxes());
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
    AnnounceClassNames();
}

void TFormMain::AnnounceClassNames() {
    emit ClassNamesLoaded(listPanel_->ClassNames(1), listPanel_->ClassNames(2));
}

void TFormMain::BtnEditClassClick() {
    if (EditClassNames(ClassQuery, *formEditClass_, AllClassBoxes()))
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
    return listPanel_->CurrentSelection();
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
    if (selection.kind == ListSelection::One)
        editor_->ShowCustomer(selection.userId);
    else
        editor_->Clear();
}

void TFormMain::IBtnPrintClick() {
    if (listPanel_->RowCount() == 0) {
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
    case TFormSelectPrint::Choice::SeasonCards:
        emit SeasonCardsRequested();
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
    if (listPanel_->RowCount() == 0) {
        prompt().Message(QStringLiteral("メール送信の対象がいないため使用できません\n"
                                        "送信対象者を抽出してください"));
        return;
    }
    emit SendMailRequested();
}

std::vector<int> TFormMain::ListedUserIds() const {
    return listPanel_->ListedUserIds();
}

std::vector<int> TFormMain::SelectedUserIds() const {
    return listPanel_->SelectedUserIds();
}

bool TFormMain::SelectUserId(int userId) {
    return listPanel_->SelectUserId(userId);
}

void TFormMain::ClearListSelection() {
    listPanel_->ClearSelection();
}

void TFormMain::ResetClassFiltersSilently() {
    listPanel_->ResetClassFiltersSilently();
}

void TFormMain::SelectIndexTabSilently(int index) {
    TabControlClass3->SelectSilently(index);
}
