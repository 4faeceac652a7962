#pragma once

#include "admin/PasswordPage.h"
#include "mail/PassEdit.h"

#include <QVBoxLayout>

// The start-up password's page "パスワード設定" as a page of the settings window.
class TPasswordSettingsPage : public TPassEditPage {
public:
    explicit TPasswordSettingsPage(const QString &dbPath, QWidget *parent = nullptr)
        : TPassEditPage(parent), page_(new TPasswordPage(dbPath, this)) {
        setObjectName(page_->objectName());
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(page_);
        connect(page_, &TPasswordPage::OkConditionChanged, this,
                &TPassEditPage::OkConditionChanged);
    }

    void Load() override { page_->Load(); }
    bool Accept() override { return page_->Accept(); }
    void Save() override { page_->Save(); }
    bool OkAllowed() const override { return page_->OkAllowed(); }
    TPasswordPage *Page() const { return page_; }

private:
    TPasswordPage *page_;
};
