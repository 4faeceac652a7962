#pragma once

#include "mail/MailComposition.h"
#include "mail/MailSettings.h"
#include "mail/SendLog.h"
#include "platform/MailTransport.h"

#include <QDialog>
#include <QSslCertificate>
#include <vector>

class AppContext;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TFormSendStatus;
class TPzConv;
class TSendMailThread;

// "同報メール送信": one mail with placeholders, personalised and sent to every listed customer.
// The caller hands over the listed customers before each showing; the window reads no tables.
class TFormSendMail : public QDialog {
    Q_OBJECT

public:
    explicit TFormSendMail(AppContext &context, QWidget *parent = nullptr);
    ~TFormSendMail() override;

    // The customers of the main list, in list order.
    void SetListedCustomers(std::vector<MailCustomer> customers);

    const std::vector<MailRecipient> &Recipients() const { return rows_; }
    QString PersonalizeSubject(const MailRecipient &row) const;
    QString PersonalizeBody(const MailRecipient &row) const;

    void FormShow();
    void UpdatePreview();

public slots:
    void BtnSendClick();
    void BtnOpenClick();
    void BtnSaveClick();
    void N1Click(int tag);
    void N4Click();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildRecipientList();
    void ShowRows();
    void ShowResult(const SendLog &log, const QString &summary);
    void ShowRow(int index);
    void InsertPlaceholder(const QString &placeholder);
    void LVAddressContextPopup(const QPoint &position);
    std::vector<int> SelectedRows() const;
    void SendProcessDone();
    void OfferToTrust(const std::pair<QString, int> &server, const QSslCertificate &certificate);

    QTreeWidget *LVAddress;
    QLineEdit *EditSubject;
    QPlainTextEdit *MemoBody;
    QGroupBox *GroupBox1;
    QLineEdit *EditPrevSubject;
    QPlainTextEdit *MemoPrevBody;
    QPushButton *BtnSend;
    QPushButton *BtnCancel;
    QMenu *PopupMenu1;

    AppContext &context_;
    TPzConv *conv_;
    std::vector<MailCustomer> customers_;
    std::vector<MailRecipient> rows_;
    MailSettings settings_;
    bool insertIntoSubject_ = true;
    TFormSendStatus *status_ = nullptr;
    TSendMailThread *worker_ = nullptr;
};
