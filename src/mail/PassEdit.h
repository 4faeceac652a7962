#pragma once

#include "mail/MailSettings.h"

#include <QDialog>
#include <QWidget>
#include <vector>

class AppContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// One page of the settings window. FormShow loads every page, "設定" asks every page whether
// to go ahead, closes the window and then saves every page.
class TPassEditPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    virtual void Load() = 0;
    // False keeps the window open and saves nothing (a declined confirmation, say).
    virtual bool Accept() { return true; }
    virtual void Save() = 0;
    // Whether this page lets "設定" be pressed.
    virtual bool OkAllowed() const { return true; }

signals:
    // Something changed that may change OkAllowed.
    void OkConditionChanged();
};

// "メール送信設定": sender, SMTP server and the optional POP before SMTP, kept in "Config.ini".
class TMailSettingsPage : public TPassEditPage {
    Q_OBJECT

public:
    explicit TMailSettingsPage(AppContext &context, QWidget *parent = nullptr);

    void Load() override { LoadMailSettings(); }
    void Save() override { SaveMailSettings(); }

    void LoadMailSettings();
    void SaveMailSettings();

private:
    void CBUsePOPClick();

    AppContext &context_;
    QLineEdit *EditName;
    QLineEdit *EditMail;
    QLineEdit *EditSmtpServer;
    QLineEdit *EditSmtpPort;
    QLineEdit *EditSmtpUserID;
    QLineEdit *EditSmtpPassword;
    QComboBox *CBSmtpSecurity;
    QComboBox *CBPopSecurity;
    // The keys as loaded: a file without one keeps none unless the user changes the choice.
    QString loadedSmtpSecurity_;
    QString loadedPopSecurity_;
    QCheckBox *CBUsePOP;
    QLineEdit *LblEditPopServer;
    QLineEdit *LblEditPopPort;
    QLineEdit *LblEditPopUserID;
    QLineEdit *LblEditPopPassword;
};

// "設定": the settings window with its pages ("パスワード設定" is added by the start-up password).
class T_pass_edit : public QDialog {
    Q_OBJECT

public:
    explicit T_pass_edit(AppContext &context, QWidget *parent = nullptr);

    // Adds a page (objectName as the page's name) at `index`; -1 appends it.
    void AddPage(TPassEditPage *page, const QString &caption, int index = -1);

    void FormShow();

private slots:
    void Btn_OKClick();
    void UpdateOkButton();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTabWidget *PageControl1;
    QPushButton *Btn_OK;
    QPushButton *Btn_Cancel;
    TMailSettingsPage *mailPage_;
    std::vector<TPassEditPage *> pages_;
};
