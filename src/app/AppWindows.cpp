#include "app/AppWindows.h"

#include "admin/Backup.h"
#include "admin/DataInitialisation.h"
#include "admin/FormBackup.h"
#include "app/CardDavSettingsPage.h"
#include "app/CustomerList.h"
#include "app/FormMain.h"
#include "app/FormSelectPrint.h"
#include "app/ListPrints.h"
#include "app/MainListPanel.h"
#include "app/PasswordSettingsPage.h"
#include "contacts/DuplicateFinder.h"
#include "contacts/FormDuplicates.h"
#include "core/Clock.h"
#include "core/IniFile.h"
#include "exchange/Export_Select.h"
#include "exchange/FormImport.h"
#include "greetings/FormSeasonCards.h"
#include "greetings/SeasonCards.h"
#include "mail/FormSendMail.h"
#include "mail/MailComposition.h"
#include "mail/PassEdit.h"
#include "platform/DesktopShell.h"
#include "postal/FormSearchZip.h"
#include "postal/zip_update.h"
#include "print/SenderData.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/FormMyData.h"
#include "printui/PrintAddressSetup.h"
#include "records/CustomerActions.h"
#include "records/FormAddData.h"
#include "records/FormHistory.h"
#include "records/FormPicPreview.h"
#include "store/CustomerRecord.h"
#include "store/ListStatement.h"

#include <QCoreApplication>

namespace {
QList<int> ToList(const std::vector<int> &ids) {
    return QList<int>(ids.begin(), ids.end());
}

// The print window names the mourners of a New Year card run and offers to record it as sent.
GreetingHooks GreetingHooksOf(AppContext &context) {
    GreetingHooks hooks;
    hooks.mournersFor = [&context](int paperKind) {
        return MournersForCard(context.GetDatabase(), paperKind, Clock::Today());
    };
    hooks.afterPrinted = [&context](const PrintRunRequest &request) {
        QList<int> printed;
        for (const PrintRow &row : request.Rows)
            printed << row.UserId();
        OfferToRecordCardsSent(context.GetDatabase(), request.PaperKind, Clock::Today(), printed);
    };
    return hooks;
}
} // namespace

TAppWindows::TAppWindows(TFormMain &main) : QObject(&main), main_(main) {
    formAddData_ = std::make_unique<TFormAddData>(&main);
    formHistory_ = std::make_unique<TFormHistory>(&main);
    formMyData_ = std::make_unique<TFormMyData>(main.GetDataPath(), &main);
    formPicPreview_ = std::make_unique<TFormPicPreview>(&main);
    fPrintSenderCfg_ = std::make_unique<TFPrintSenderCfg>(main.GetDataPath(), &main);
    printAddress_ = MakePrintAddressWindow(main, *fPrintSenderCfg_, GreetingHooksOf(main), &main);
    formSearchZip_ = std::make_unique<TFormSearchZip>(&main);
    passEdit_ = std::make_unique<T_pass_edit>(main, &main);
    passEdit_->AddPage(new TPasswordSettingsPage(main.GetDbPath()),
                       QStringLiteral("パスワード設定"), 0);
    passEdit_->AddPage(new TCardDavSettingsPage(main), QStringLiteral("アドレス帳同期"));
    formSendMail_ = std::make_unique<TFormSendMail>(main, &main);
    zipUpdate_ = std::make_unique<Tzip_update>(main, &main);
    exportSelect_ = std::make_unique<TExport_Select>(main, &main);
    formImport_ = std::make_unique<TFormImport>(main, &main, [](Database &database) {
        auto index = std::make_shared<CustomerIndex>(CustomerIndex::OfBook(database));
        return [index](const CustomerRecord &candidate) { return index->Find(KeysOf(candidate)); };
    });
    formBackup_ = std::make_unique<TFormBackup>(&main);
    formDuplicates_ = std::make_unique<TFormDuplicates>(
        main, [this] { return BackupBeforeMerge(); }, &main);
    formSeasonCards_ = std::make_unique<TFormSeasonCards>(main, &main);
    ConnectMainWindow();
}

TAppWindows::~TAppWindows() = default;

void TAppWindows::ConnectMainWindow() {
    EditPanel *editor = main_.Editor();
    connect(&main_, &TFormMain::AddDataRequested, this, &TAppWindows::BtnAdddataClick);
    connect(&main_, &TFormMain::MyDataRequested, this, &TAppWindows::BtnMyDataClick);
    connect(&main_, &TFormMain::AddressPrintRequested, this, &TAppWindows::PrintDMClick);
    connect(&main_, &TFormMain::SeasonCardsRequested, formSeasonCards_.get(),
            &TFormSeasonCards::Run);

    MainListPanel *list = main_.ListPanel();
    connect(list, &MainListPanel::DeleteClicked, this, &TAppWindows::N7Click);
    connect(list, &MainListPanel::PrintOffClicked, this, &TAppWindows::N1Click);
    connect(list, &MainListPanel::PrintOnClicked, this, &TAppWindows::N2Click);
    connect(list, &MainListPanel::FindDuplicatesClicked, formDuplicates_.get(),
            &TFormDuplicates::RunSearch);

    connect(editor, &EditPanel::DeleteClicked, this, &TAppWindows::BtnDelClick);
    connect(editor, &EditPanel::AddHistoryClicked, this, &TAppWindows::BtnAddHistoryClick);
    connect(editor, &EditPanel::EditHistoryClicked, this, &TAppWindows::BtnEditHistoryClick);
    connect(editor, &EditPanel::DeleteHistoryClicked, this, &TAppWindows::BtnDelHistoryClick);
    connect(editor, &EditPanel::SaveHistoryClicked, this, &TAppWindows::BtlHisSaveClick);
    connect(editor, &EditPanel::HistoryColumnClicked, this,
            &TAppWindows::ListViewHistoryColumnClick);
    connect(editor, &EditPanel::PictureClicked, formPicPreview_.get(),
            &TFormPicPreview::ShowPicture);

    connect(&main_, &TFormMain::SettingsRequested, this, &TAppWindows::PNGButtonConfigClick);
    connect(&main_, &TFormMain::SendMailRequested, this, &TAppWindows::SendMailClick);
    connect(editor, &EditPanel::MailLinkClicked, this, &TAppWindows::MailLinkClick);
    connect(editor, &EditPanel::SendBasicDataClicked, this, &TAppWindows::BtnSendMailClick);
    connect(editor, &EditPanel::ZipLookupClicked, this, &TAppWindows::BtnZipClick);
    connect(editor, &EditPanel::AddressLookupClicked, this, &TAppWindows::BtnAddressClick);

    connect(&main_, &TFormMain::ZipUpdateRequested, this, &TAppWindows::Button1Click);
    // Import and export: the export button offers the kinds of export, the hidden BtnExport
    // runs the CSV export itself.
    connect(&main_, &TFormMain::ImportRequested, formImport_.get(), &TFormImport::RunImport);
    connect(&main_, &TFormMain::ExportChoiceRequested, exportSelect_.get(), &QDialog::exec);
    connect(&main_, &TFormMain::CsvExportRequested, exportSelect_.get(),
            &TExport_Select::RunCsvExport);

    // Backup, initialisation and the list prints.
    connect(&main_, &TFormMain::BackupRequested, this, &TAppWindows::BtnBackupClick);
    connect(&main_, &TFormMain::FormatRequested, this, &TAppWindows::IBtnFormatClick);
    connect(&main_, &TFormMain::CustomerCardsPrintRequested, this,
            [this] { ::BtnPrintChartClick(main_, &main_); });
    connect(&main_, &TFormMain::PhoneListPrintRequested, this,
            [this] { PrintPhoneBook(main_, &main_); });
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &TAppWindows::AutoBackup);
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
                             main_.Editor()->ShownRecord().name))
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
    const std::optional<HistoryRow> selected = main_.Editor()->SelectedHistory();
    if (id > 0 &&
        formHistory_->EditEntry(main_.HistoryQuery,
                                selected ? std::optional(selected->historyId) : std::nullopt))
        main_.Editor()->LoadHistory(id);
}

void TAppWindows::BtnDelHistoryClick() {
    const int id = SelectedUserId();
    if (id > 0 && DeleteHistoryEntry(main_.HistoryQuery, main_.Editor()->SelectedHistory()))
        main_.Editor()->LoadHistory(id);
}

void TAppWindows::BtlHisSaveClick() {
    if (SelectedUserId() <= 0)
        return;
    const EditPanel *editor = main_.Editor();
    const CustomerRecord shown = editor->ShownRecord();
    SaveHistoryCsv(editor->HistoryRowsShown(), shown.name, shown.nameTitle);
}

void TAppWindows::ListViewHistoryColumnClick(int column) {
    historySort_.ColumnClick(column);
    std::vector<HistoryRow> rows = main_.Editor()->HistoryRowsShown();
    historySort_.Sort(rows);
    main_.Editor()->ShowHistoryRows(rows);
}

void TAppWindows::BtnZipClick() {
    main_.Editor()->LookUpAddressByZip(*formSearchZip_);
}

void TAppWindows::BtnAddressClick() {
    main_.Editor()->LookUpZipByAddress(*formSearchZip_);
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

void TAppWindows::MailLinkClick(const QString &address) {
    if (SelectedUserId() > 0)
        OpenMailLink(MailLinkUrl(address));
}

void TAppWindows::BtnSendMailClick() {
    if (SelectedUserId() <= 0)
        return;
    IniFile conf(SenderConfPath(main_.GetDataPath()));
    conf.Load();
    OpenMailLink(BasicDataMailUrl(ReadSenderMobileMail(conf), main_.Editor()->ShownRecord()));
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

bool TAppWindows::BackupBeforeMerge() {
    QString error;
    QStringList leftOut;
    if (Backup::MakeBackupInRoot(main_.GetDatabase(), main_.GetDataPath(), main_.GetDbPath(),
                                 Backup::Kind::BeforeMerge, &leftOut, &error)
            .isEmpty()) {
        prompt().Error(QStringLiteral("バックアップの作成に失敗したため、統合を中止しました\r\n") +
                       error);
        return false;
    }
    if (!leftOut.isEmpty())
        prompt().Warning(Backup::LeftOutText(leftOut));
    return true;
}

void TAppWindows::AutoBackup() {
    // A hidden list means the start-up password was not given: nothing was opened to keep.
    if (!main_.DataShown())
        return;
    QString error;
    QStringList leftOut;
    if (!Backup::RunAutoBackup(main_.GetDatabase(), main_.GetDataPath(), main_.GetDbPath(),
                               Clock::Now(), &leftOut, &error))
        prompt().Error(QStringLiteral("自動バックアップの作成に失敗しました\r\n%1").arg(error));
    else if (!leftOut.isEmpty())
        prompt().Warning(Backup::LeftOutText(leftOut));
}
