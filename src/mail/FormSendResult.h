#pragma once

#include "mail/SendLog.h"

#include <QDialog>

class QTreeWidget;

// "送信結果": after a run in which not every message went out, each recipient with what
// became of the message, the record saved as CSV on request, and the ones not reached handed
// back for another run.
class TFormSendResult : public QDialog {
    Q_OBJECT

public:
    TFormSendResult(SendLog log, const QString &summary, QWidget *parent = nullptr);

    // The recipients refused or not attempted, in list order.
    std::vector<MailRecipient> NotReached(const std::vector<MailRecipient> &rows) const;

signals:
    // "届かなかった宛先に再送": the list of the mail window becomes the ones not reached.
    void ResendRequested();

private:
    void BtnSaveClick();

    SendLog log_;
    QTreeWidget *LVResult;
};
