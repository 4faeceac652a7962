#pragma once

#include "contacts/CardDavPage.h"
#include "mail/PassEdit.h"

#include <QVBoxLayout>

// The address book page "アドレス帳同期" as a page of the settings window.
class TCardDavSettingsPage : public TPassEditPage {
public:
    explicit TCardDavSettingsPage(AppContext &context, QWidget *parent = nullptr)
        : TPassEditPage(parent), page_(new TCardDavPage(context, this)) {
        setObjectName(page_->objectName());
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(page_);
    }

    void Load() override { page_->Load(); }
    void Save() override { page_->Save(); }

private:
    TCardDavPage *page_;
};
