#pragma once

#include "records/History.h"

#include <QObject>
#include <memory>

class TFormMain;
class TFormAddData;
class TFormHistory;
class TFormMyData;
class TFormPicPreview;
class TPrintAddress;
class TFPrintSenderCfg;
class TFormSearchZip;
class TExport_Select;
class TFormImport;
class TFormSendMail;
class T_pass_edit;
class Tzip_update;
class TFormBackup;
class TFormDuplicates;
class TFormSeasonCards;

// The program's other windows, created once after the main window in their fixed order, and
// the connections that let the main window's buttons, menus and tabs open them.
class TAppWindows : public QObject {
    Q_OBJECT
public:
    explicit TAppWindows(TFormMain &main);
    ~TAppWindows() override;

    TFormSearchZip *FormSearchZip() const { return formSearchZip_.get(); }
    TFormImport *FormImport() const { return formImport_.get(); }
    TFormDuplicates *FormDuplicates() const { return formDuplicates_.get(); }

public slots:
    void BtnAdddataClick();
    void BtnDelClick();
    void N7Click();
    void N1Click();
    void N2Click();
    void BtnAddHistoryClick();
    void BtnEditHistoryClick();
    void BtnDelHistoryClick();
    void BtlHisSaveClick();
    void ListViewHistoryColumnClick(int column);
    void BtnZipClick();
    void BtnAddressClick();
    void BtnMyDataClick();
    void PrintDMClick();
    void PNGButtonConfigClick();
    void SendMailClick();
    void MailLinkClick(const QString &address);
    void BtnSendMailClick();
    void Button1Click();
    void BtnBackupClick();
    void IBtnFormatClick();
    // At the program's end, after a start-up that showed the data.
    void AutoBackup();

private:
    void ConnectMainWindow();
    // The backup made before the first merge of a run; false after telling why there is none.
    bool BackupBeforeMerge();
    // The one selected customer's id, or 0 when none or several rows are selected.
    int SelectedUserId() const;

    TFormMain &main_;
    std::unique_ptr<TFormAddData> formAddData_;
    std::unique_ptr<TFormHistory> formHistory_;
    std::unique_ptr<TFormMyData> formMyData_;
    std::unique_ptr<TFormPicPreview> formPicPreview_;
    std::unique_ptr<TFPrintSenderCfg> fPrintSenderCfg_;
    std::unique_ptr<TPrintAddress> printAddress_;
    std::unique_ptr<TFormSearchZip> formSearchZip_;
    std::unique_ptr<TExport_Select> exportSelect_;
    std::unique_ptr<TFormImport> formImport_;
    std::unique_ptr<T_pass_edit> passEdit_;
    std::unique_ptr<TFormSendMail> formSendMail_;
    std::unique_ptr<Tzip_update> zipUpdate_;
    std::unique_ptr<TFormBackup> formBackup_;
    std::unique_ptr<TFormDuplicates> formDuplicates_;
    std::unique_ptr<TFormSeasonCards> formSeasonCards_;
    HistorySort historySort_;
};
