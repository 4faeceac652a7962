#pragma once

#include "records/History.h"

#include <QDialog>
#include <optional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class Query;

// "履歴": the entry window of one history entry (date, item, content). Created once; the main
// window's handlers call AddEntry and EditEntry (see History.h).
class TFormHistory : public QDialog {
    Q_OBJECT

public:
    explicit TFormHistory(QWidget *parent = nullptr);

    // BtnAddHistoryClick: today, empty fields, "登録"; on OK inserts the entry for the
    // customer. True when it was inserted.
    bool AddEntry(Query &historyQuery, int userId);
    // BtnEditHistoryClick: "編集する履歴を選択して下さい" without a selected entry; otherwise
    // the stored entry, "更新", and on OK the update. True when the list should be read again:
    // the entry was updated, or another PC changed or deleted it.
    bool EditEntry(Query &historyQuery, std::optional<int> historyId);

    // Fills the fields and the caption of BtnOk, shows the window modally; the entry typed
    // when it closed with OK.
    std::optional<HistoryEntry> Execute(const HistoryEntry &preset, const QString &okCaption);

public slots:
    void BtnOkClick();

private:
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QDateEdit *DateTimePicker1;
    QLineEdit *EditTitle;
    QLineEdit *EditContents;
    QPushButton *BtnOk;
    QPushButton *BtnCancel;

    HistoryEntry Entry() const;
};
