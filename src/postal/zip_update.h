#pragma once

#include "postal/PostalUpdate.h"

#include <QDialog>
#include <memory>

class AppContext;
class QFrame;
class QLineEdit;
class QPushButton;
class Thread_ZipDL;

// "新しい郵便番号データの取得": checks the update server for newer postal data and, when the
// user agrees, downloads it on the worker Thread_ZipDL; or installs the Japan Post files a user
// downloaded. The proxy fields persist in "zip/pro.dat", the server in "Config.ini".
class Tzip_update : public QDialog {
    Q_OBJECT

public:
    explicit Tzip_update(AppContext &context, QWidget *parent = nullptr,
                         ZipUpdateLimits limits = {});
    ~Tzip_update() override;

    QString InstalledVersion;
    QString InstalledDescription;
    bool CanClose = true;

public slots:
    void Button1Click();
    void Btn_CancelClick();
    void BtnFromFileClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *Edit1;
    QLineEdit *LabeledEdit1;
    QLineEdit *LabeledEdit2;
    QLineEdit *EditServer;
    QPushButton *Button1;
    QPushButton *BtnFromFile;
    QPushButton *Btn_Cancel;
    QFrame *Panel1;
    void FormShow();
    void LoadInstalledVersion();
    void SetControlsEnabled(bool enabled);
    void DownloadDone(bool ok, const QString &message);
    // The typed server, kept in Config.ini for the next start and the unattended update.
    QString TakeServer();

    AppContext &context_;
    ZipUpdateLimits limits_;
    std::unique_ptr<Thread_ZipDL> worker_;
};
