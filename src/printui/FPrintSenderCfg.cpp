#include "printui/FPrintSenderCfg.h"

#include "core/IniFile.h"
#include "platform/Prompt.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFPrintSenderCfg::TFPrintSenderCfg(const QString &dataPath, QWidget *parent)
    : QDialog(parent), dataPath_(dataPath) {
    setObjectName(QStringLiteral("FPrintSenderCfg"));
    setWindowTitle(QStringLiteral("自社情報確認"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    fields_ = BuildSenderForm(this, grid, false);
    for (QLineEdit *edit : findChildren<QLineEdit *>()) {
        edit->setReadOnly(true);
        edit->setEnabled(false);
    }

    auto *buttons = new QDialogButtonBox(this);
    RegistButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    RegistButton->setObjectName(QStringLiteral("RegistButton"));
    CancelButton = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(buttons);
    connect(RegistButton, &QPushButton::clicked, this, &TFPrintSenderCfg::RegistButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TFPrintSenderCfg::CancelButtonClick);
}

TFPrintSenderCfg::~TFPrintSenderCfg() = default;

void TFPrintSenderCfg::FormShow() {
    if (dataPath_.isEmpty())
        return;
    IniFile ini(SenderConfPath(dataPath_));
    if (!QFileInfo::exists(ini.path())) {
        QString error;
        if (!ini.Save(&error))
            prompt().Error(error);
    }
    ini.Load();
    senderBuff_ = ReadSenderBuff(ini);
    ShowSenderBuff(fields_, senderBuff_);
    atOpening_ = senderBuff_;
}

void TFPrintSenderCfg::ComposeSenderPrintData(TPrintSenderData &record) const {
    ::ComposeSenderPrintData(ShownSenderBuff(fields_), record);
}

void TFPrintSenderCfg::showEvent(QShowEvent *event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFPrintSenderCfg::RegistButtonClick() {
    senderBuff_ = ShownSenderBuff(fields_);
    IniFile ini(SenderConfPath(dataPath_));
    ini.Load();
    WriteSenderBuff(ini, senderBuff_);
    QString error;
    if (!ini.Save(&error)) {
        prompt().Error(error);
        return;
    }
    atOpening_ = senderBuff_;
    accept();
}

void TFPrintSenderCfg::CancelButtonClick() {
    reject();
}

void TFPrintSenderCfg::reject() {
    // Only the print choices can change here; put them back as they were at opening.
    TSenderBuff restored = ShownSenderBuff(fields_);
    restored.ZipPrintState = atOpening_.ZipPrintState;
    restored.TelCheck = atOpening_.TelCheck;
    restored.FaxCheck = atOpening_.FaxCheck;
    restored.MailCheck = atOpening_.MailCheck;
    restored.HpCheck = atOpening_.HpCheck;
    restored.OfficeCheck = atOpening_.OfficeCheck;
    restored.PostCheck = atOpening_.PostCheck;
    restored.ExecutiveCheck = atOpening_.ExecutiveCheck;
    ShowSenderBuff(fields_, restored);
    QDialog::reject();
}
