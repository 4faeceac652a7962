#include "app/AppWindows.h"

#include "admin/Backup.h"
#include "admin/DataInitialisation.h"
#include "admin/FormBackup.h"
#include "app/CustomerList.h"
#include "app/FormMain.h"
#include "app/FormSelectPrint.h"
#include "app/ListPrints.h"
#include "app/PasswordSettingsPage.h"
#include "core/Clock.h"
#include "core/IniFile.h"
#include "exchange/Export_Select.h"
#include "exchange/FormImport.h"
#include "mail/FormSendMail.h"
#include "mail/MailComposition.h"
#include "mail/PassEdit.h"
#include "postal/FormSearchZip.h"
#include "postal/ZipLookup.h"
#include "postal/zip_update.h"
#include "print/SenderData.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/FormMyData.h"
#include "printui/PrintAddressSetup.h"
#include "records/CustomerActions.h"
#include "records/FormAddData.h"
#include "records/FormHistory.h"
#include "records/FormPicPreview.h"
#include "records/PictureStore.h"
#include "store/CustomerRecord.h"
#include "store/ListStatement.h"
#include "widgets/ImageButton.h"
#include "widgets/PictureBox.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {
QList<int> ToList(const std::vector<int> &ids) {
    return QList<int>(ids.begin(), ids.end());
}
} // namespace

TAppWindows::TAppWindows(TFormMain &main) : QObject(&main), main_(main) {
    formAddData_ = std::make_unique<TFormAddData>(&main);
    formHistory_ = std::make_unique<TFormHistory>(&main);
    formMyData_ = std::make_unique<TFormMyData>(main.GetDataPath(), &main);
    formPicPreview_ = std::make_unique<TFormPicPreview>(&main);
    fPrintSenderCfg_ = std::make_unique<TFPrintSenderCfg>(main.GetDataPath(), &main);
    printAddress_ = MakePrintAddressWindow(main, *fPrintSenderCfg_, &main);
    formSearchZip_ = std::make_unique<TFormSearchZip>(&main);
    passEdit_ = std::make_unique<T_pass_edit>(main, &main);
    passEdit_->AddPage(new TPasswordSettingsPage(main.GetDbPath()),
                       QStringLiteral("パスワード設定"), 0);
    formSendMail_ = std::make_unique<TFormSendMail>(main, &main);
    zipUpdate_ = std::make_unique<Tzip_update>(main, &main);
    exportSelect_ = std::make_unique<TExport_Select>(main, &main);
    formImport_ = std::make_unique<TFormImport>(main, &main);
    formBackup_ = std::make_unique<TFormBackup>(&main);
    ConnectMainWindow();
}

TAppWindows::~TAppWindows() = default;

void TAppWindows::ConnectMainWindow() {
    EditPanel *editor = main_.Editor();
    connect(main_.BtnAdddata, &QPushButton::clicked, this, &TAppWindows::BtnAdddataClick);
    connect(main_.BtnMyData, &QPushButton::clicked, this, &TAppWindows::BtnMyDataClick);
    connect(main_.PrintDM, &QPushButton::clicked, this, &TAppWindows::PrintDMClick);
    main_.PNGButtonAddData->setEnabled(true);
    main_.PNGButtonMyData->setEnabled(true);

    connect(main_.N7, &QAction::triggered, this, &TAppWindows::N7Click);
    connect(main_.N1, &QAction::triggered, this, &TAppWindows::N1Click);
    connect(main_.N2, &QAction::triggered, this, &TAppWindows::N2Click);
    for (QAction *action : {main_.N7, main_.N1, main_.N2})
        action->setEnabled(true);

    connect(editor->BtnDel, &QPushButton::clicked, this, &TAppWindows::BtnDelClick);
    connect(editor->BtnAddHistory, &QPushButton::clicked, this, &TAppWindows::BtnAddHistoryClick);
    connect(editor->BtnEditHistory, &QPushButton::clicked, this, &TAppWindows::BtnEditHistoryClick);
    connect(editor->BtnDelHistory, &QPushButton::clicked, this, &TAppWindows::BtnDelHistoryClick);
    connect(editor->BtlHisSave, &QPushButton::clicked, this, &TAppWindows::BtlHisSaveClick);
    connect(editor->ListViewHistory->header(), &QHeaderView::sectionClicked, this,
            &TAppWindows::ListViewHistoryColumnClick);

    connect(editor->BtnLoadImg1, &QPushButton::clicked, this, [this] { LoadPictureClick(0); });
    connect(editor->BtnLoadImg2, &QPushButton::clicked, this, [this] { LoadPictureClick(1); });
    connect(editor->BtnDelImg1, &QPushButton::clicked, this, [this] { DeletePictureClick(0); });
    connect(editor->BtnDelimg2, &QPushButton::clicked, this, [this] { DeletePictureClick(1); });
    connect(editor->Image1, &PictureBox::Clicked, this, [this] { PreviewPictureClick(0); });
    connect(editor->Image2, &PictureBox::Clicked, this, [this] { PreviewPictureClick(1); });

    connect(main_.PNGButtonConfig, &ImageButton::clicked, this, &TAppWindows::PNGButtonConfigClick);
    connect(&main_, &TFormMain::SendMailRequested, this, &TAppWindows::SendMailClick);
    main_.PNGButtonConfig->setEnabled(true);
    main_.PNGButtonSendmail->setEnabled(true);
    const std::pair<QPushButton *, QLineEdit *> mailLinks[] = {
        {editor->SSB_Sendmail01, editor->EditMail1},
        {editor->ShineSpeedButton1, editor->EditMail2},
        {editor->BtnSendmail03, editor->EditOfficeMail1},
        {editor->BtnSendmail04, editor->EditOfficeMail2}};
    for (const auto &[button, address] : mailLinks)
        connect(button, &QPushButton::clicked, this,
                [this, address = address] { MailLinkClick(address); });
    connect(editor->BtnSendMail, &QPushButton::clicked, this, &TAppWindows::BtnSendMailClick);

    for (QPushButton *button : {editor->SSB_Zip, editor->BtnZipOf})
        connect(button, &QPushButton::clicked, this, &TAppWindows::BtnZipClick);
    for (QPushButton *button : {editor->SSB_Address, editor->BtnAddressOf})
        connect(button, &QPushButton::clicked, this, &TAppWindows::BtnAddressClick);

    connect(main_.Button1, &QPushButton::clicked, this, &TAppWindows::Button1Click);
    main_.PNGButtonZip->setEnabled(true);
    // Import and export: the export button offers the kinds of export, the hidden BtnExport
    // runs the CSV export itself.
    connect(main_.BtnImport, &QPushButton::clicked, formImport_.get(), &TFormImport::RunImport);
    connect(main_.PNGButtonExport, &ImageButton::clicked, exportSelect_.get(), &QDialog::exec);
    connect(main_.BtnExport, &QPushButton::clicked, exportSelect_.get(),
            &TExport_Select::RunCsvExport);
    main_.PNGButtonImport->setEnabled(true);
    main_.PNGButtonExport->setEnabled(true);

    // Backup, initialisation and the list prints.
    connect(main_.BtnBackup, &QPushButton::clicked, this, &TAppWindows::BtnBackupClick);
    connect(main_.PNGButtonFormat, &ImageButton::clicked, this, &TAppWindows::IBtnFormatClick);
    connect(main_.BtnPrintChart, &QPushButton::clicked, this,
            [this] { ::BtnPrintChartClick(main_, &main_); });
    connect(&main_, &TFormMain::PhoneListPrintRequested, this,
            [this] { PrintPhoneBook(main_, &main_); });
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &TAppWindows::AutoBackup);
    main_.PNGButtonBackup->setEnabled(true);
    main_.PNGButtonFormat->setEnabled(true);
    main_.FormSelectPrint()->Button2->setEnabled(true);
    main_.FormSelectPrint()->Button4->setEnabled(true);
}

int TAppWindows::SelectedUserId() const {
    const ListSelection selection = main_.CurrentSelection();
    return selection.kind == ListSelection::One ? selection.userId : 0;
}

void TAppWindows::BtnAdddataClick() {
    const int id = formAddData_->AddCustomer(main_.UserQuery);
    if (id <= 0)
        return;
    main_.ResetClassFiltersSilently();
    main_.SelectIndexTabSilently(KanaTabIndex(formAddData_->Kana()));
    main_.ClearListSelection();
    main_.RefreshList();
    main_.ClearListSelection();
    main_.SelectUserId(id);
}

void TAppWindows::BtnDelClick() {
    const int id = SelectedUserId();
    const std::optional<int> userId = id > 0 ? std::optional<int>(id) : std::nullopt;
    if (DeleteLoadedCustomer(main_.UserQuery, main_.GetDataPath(), userId,
                             main_.Editor()->EditName->text()))
        main_.RefreshList();
}

void TAppWindows::N7Click() {
    if (DeleteCustomers(main_.UserQuery, main_.GetDataPath(), ToList(main_.SelectedUserIds())))
        main_.RefreshList();
}

void TAppWindows::N1Click() {
    if (SetPrintFlags(main_.UserQuery, ToList(main_.SelectedUserIds()), false))
        main_.RefreshList();
}

void TAppWindows::N2Click() {
    if (SetPrintFlags(main_.UserQuery, ToList(main_.SelectedUserIds()), true))
        main_.RefreshList();
}

void TAppWindows::BtnAddHistoryClick() {
    if (const int id = SelectedUserId(); id > 0 && formHistory_->AddEntry(main_.HistoryQuery, id))
        main_.Editor()->LoadHistory(id);
}

void TAppWindows::BtnEditHistoryClick() {
    const int id = SelectedUserId();
    if (id > 0 && formHistory_->EditEntry(main_.HistoryQuery, main_.Editor()->SelectedHistoryId()))
        main_.Editor()->LoadHistory(id);
}

void TAppWindows::BtnDelHistoryClick() {
    const int id = SelectedUserId();
    if (id > 0 && DeleteHistoryEntry(main_.HistoryQuery, main_.Editor()->SelectedHistoryId()))
        main_.Editor()->LoadHistory(id);
}

void TAppWindows::BtlHisSaveClick() {
    if (SelectedUserId() <= 0)
        return;
    EditPanel *editor = main_.Editor();
    SaveHistoryCsv(editor->HistoryRowsShown(), editor->EditName->text(),
                   editor->CBNameTitle->currentText());
}

void TAppWindows::ListViewHistoryColumnClick(int column) {
    historySort_.ColumnClick(column);
    std::vector<HistoryRow> rows = main_.Editor()->HistoryRowsShown();
    historySort_.Sort(rows);
    main_.Editor()->ShowHistoryRows(rows);
}

void TAppWindows::LoadPictureClick(int slot) {
    if (const int id = SelectedUserId(); id > 0)
        PictureStore::ChooseAndLoad(main_.UserQuery, main_.GetDataPath(), slot, id,
                                    slot == 0 ? *main_.Editor()->Image1 : *main_.Editor()->Image2);
}

void TAppWindows::DeletePictureClick(int slot) {
    if (const int id = SelectedUserId(); id > 0)
        PictureStore::ConfirmAndDelete(main_.UserQuery, main_.GetDataPath(), slot, id,
                                       slot == 0 ? *main_.Editor()->Image1
                                                 : *main_.Editor()->Image2);
}

void TAppWindows::PreviewPictureClick(int slot) {
    const PictureBox *box = slot == 0 ? main_.Editor()->Image1 : main_.Editor()->Image2;
    formPicPreview_->ShowPicture(box->Picture());
}

static ZipLookupTarget LookupTarget(TFormMain &main, int selectedUserId) {
    EditPanel *editor = main.Editor();
    const bool company = editor->TCUseType->currentIndex() == 1;
    return {main.GetDataPath(), selectedUserId > 0,
            company ? editor->EditOfficeZip : editor->EditZip,
            company ? editor->EditOfficeAddress1 : editor->EditAddress1};
}

void TAppWindows::BtnZipClick() {
    LookUpAddressByZip(*formSearchZip_, LookupTarget(main_, SelectedUserId()));
}

void TAppWindows::BtnAddressClick() {
    LookUpZipByAddress(*formSearchZip_, LookupTarget(main_, SelectedUserId()));
}

void TAppWindows::BtnMyDataClick() {
    formMyData_->exec();
}

void TAppWindows::PrintDMClick() {
    printAddress_->exec();
}

void TAppWindows::PNGButtonConfigClick() {
    passEdit_->exec();
}

void TAppWindows::SendMailClick() {
    std::vector<MailCustomer> customers;
    try {
        Query query(main_.GetDatabase());
        for (const CustomerRecord &record : LoadCustomerRecords(query, main_.ListedUserIds()))
            customers.push_back(MailCustomerOf(record));
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    formSendMail_->SetListedCustomers(std::move(customers));
    formSendMail_->exec();
}

void TAppWindows::MailLinkClick(QLineEdit *address) {
    if (SelectedUserId() > 0)
        QDesktopServices::openUrl(MailLinkUrl(address->text()));
}

void TAppWindows::BtnSendMailClick() {
    if (SelectedUserId() <= 0)
        return;
    const EditPanel &e = *main_.Editor();
    const CustomerBasicData data{e.EditName->text(),           e.CBNameTitle->currentText(),
                                 e.EditKana->text(),           e.EditZip->text(),
                                 e.EditAddress1->text(),       e.EditAddress2->text(),
                                 e.EditTel1->text(),           e.EditTel2->text(),
                                 e.EditMail1->text(),          e.EditMail2->text(),
                                 e.EditOffice->text(),         e.EditOfficeKana->text(),
                                 e.EditOfficePost->text(),     e.EditOfficeExecutive->text(),
                                 e.EditOfficeZip->text(),      e.EditOfficeAddress1->text(),
                                 e.EditOfficeAddress2->text(), e.EditOfficeTel1->text(),
                                 e.EditOfficeTel2->text(),     e.EditOfficeMail1->text(),
                                 e.EditOfficeMail2->text()};
    IniFile conf(SenderConfPath(main_.GetDataPath()));
    conf.Load();
    QDesktopServices::openUrl(BasicDataMailUrl(ReadSenderMobileMail(conf), data));
}

void TAppWindows::Button1Click() {
    zipUpdate_->exec();
}

void TAppWindows::BtnBackupClick() {
    if (formBackup_->BtnBackupClick(main_)) {
        main_.LoadClassNames();
        main_.RefreshList();
    }
}

void TAppWindows::IBtnFormatClick() {
    if (::IBtnFormatClick(main_)) {
        main_.LoadClassNames();
        main_.RefreshList();
    }
}

void TAppWindows::AutoBackup() {
    // A hidden list means the start-up password was not given: nothing was opened to keep.
    if (main_.PanelMainListView->isHidden())
        return;
    QString error;
    if (!Backup::RunAutoBackup(main_.GetDatabase(), main_.GetDataPath(), main_.GetDbPath(),
                               Clock::Today(), &error))
        prompt().Error(QStringLiteral("自動バックアップの作成に失敗しました\r\n%1").arg(error));
}
