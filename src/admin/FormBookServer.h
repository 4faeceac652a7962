#pragma once

#include "admin/BookPlace.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "サーバーの指定": the parts of the office server's address and the password. 接続して保存
// tries them and keeps them only when the book opened; a failure is shown and the window stays.
class TFormBookServer : public QDialog {
    Q_OBJECT

public:
    explicit TFormBookServer(QWidget *parent = nullptr,
                             ConnectionTry tryConnection = TryServerBook);

    BookServer::Address TypedAddress() const;

public slots:
    void BtnConnectClick();

private:
    QLineEdit *EditHost;
    QSpinBox *SpinPort;
    QLineEdit *EditDatabase;
    QLineEdit *EditUser;
    QLineEdit *EditPassword;
    QCheckBox *CheckRequireSsl;
    QPushButton *BtnConnect;
    QPushButton *BtnCancel;
    ConnectionTry tryConnection_;
};
