#pragma once

#include <QDialog>

class InputReading;
class QLabel;
class QLineEdit;
class QPushButton;
class Query;

// "新規データ登録": the name and reading of a new customer. Created once. While the name is
// typed through the input method, the reading of each conversion is appended to EditKana.
//
// BtnAdddataClick of the main window:
//   const int id = FormAddData->AddCustomer(UserQuery);
//   if (id > 0) ... KanaTabIndex of the first character of FormAddData->Kana() ... (see
//   CustomerActions.h).
class TFormAddData : public QDialog {
    Q_OBJECT

public:
    explicit TFormAddData(QWidget *parent = nullptr);
    ~TFormAddData() override;

    // Shows the dialog modally; on OK inserts the customer (InsertNewCustomer) and returns
    // its UserId. 0 when cancelled or not inserted (the reason shown).
    int AddCustomer(Query &userQuery);

    // The texts as they are stored: untrimmed, without the characters the key filter refuses
    // (they can still arrive by pasting).
    QString Name() const;
    QString Kana() const;

    // Whether the dialog may close now; BtnAddClick clears it after a validation message.
    bool AllowClose = false;

public slots:
    void FormShow();
    void BtnAddClick();
    void BtnCancelClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    // FormCloseQuery: closes only while AllowClose is set.
    void done(int result) override;

private:
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *EditName;
    QLineEdit *EditKana;
    QPushButton *BtnAdd;
    QPushButton *BtnCancel;

    InputReading *reading_;
};
