#pragma once

#include "contacts/ContactSync.h"

#include <QDialog>
#include <QWidget>

class AppContext;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "アドレス帳同期": the CardDAV server of "Config.ini" section CARDDAV and the button that syncs
// the book with it now; a page of the settings window.
class TCardDavPage : public QWidget {
    Q_OBJECT

public:
    explicit TCardDavPage(AppContext &context, QWidget *parent = nullptr);

    void Load();
    void Save();

private:
    void BtnSyncContactsClick();
    CardDavSettings Typed() const;

    AppContext &context_;
    QLineEdit *EditCardDavUrl;
    QLineEdit *EditCardDavUserID;
    QLineEdit *EditCardDavPassword;
    QCheckBox *CBAllowHttp;
    QPushButton *BtnSyncContacts;
    QLabel *LblSyncResult;
};

// One conflict field by field, the book's version beside the server's, for the user to choose.
class TFormSyncConflict : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Later, Book, Server };
    TFormSyncConflict(const ContactSync::Conflict &conflict, QWidget *parent = nullptr);
    Choice Chosen() const { return chosen_; }

private:
    Choice chosen_ = Choice::Later;
};
