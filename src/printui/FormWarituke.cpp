#include "printui/FormWarituke.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormWarituke::TFormWarituke(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      CBAtenaAddress(AddList("CBAtenaAddress")), CBAtenaName(AddList("CBAtenaName")),
      CBSashidashiAddress(AddList("CBSashidashiAddress")),
      CBSashidashiName(AddList("CBSashidashiName")),
      CBSashidashiTelFax(AddList("CBSashidashiTelFax")),
      CBSashidashiOffice(AddList("CBSashidashiOffice")),
      BtnReset(new QPushButton(QStringLiteral("リセット"), this)),
      BtnClose(new QPushButton(QStringLiteral("適用"), this)) {
    setObjectName(QStringLiteral("FormWarituke"));
    setWindowTitle(QStringLiteral("文字サイズ"));
    // Wide enough for the whole title on every desktop's frame.
    setMinimumWidth(300);
    BtnReset->setObjectName(QStringLiteral("BtnReset"));
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);

    auto *atena = new QGroupBox(QStringLiteral("宛名設定"), this);
    auto *atenaForm = new QFormLayout(atena);
    atenaForm->addRow(QStringLiteral("■住所"), WithUnit(CBAtenaAddress));
    atenaForm->addRow(QStringLiteral("■名前"), WithUnit(CBAtenaName));

    auto *sender = new QGroupBox(QStringLiteral("差出人設定"), this);
    auto *senderForm = new QFormLayout(sender);
    senderForm->addRow(QStringLiteral("■住所"), WithUnit(CBSashidashiAddress));
    senderForm->addRow(QStringLiteral("■名前"), WithUnit(CBSashidashiName));
    senderForm->addRow(QStringLiteral("■TEL/FAX"), WithUnit(CBSashidashiTelFax));
    senderForm->addRow(QStringLiteral("■会社名/部署/役職"), WithUnit(CBSashidashiOffice));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnReset);
    buttons->addWidget(BtnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(atena);
    layout->addWidget(sender);
    layout->addLayout(buttons);

    connect(BtnReset, &QPushButton::clicked, this, &TFormWarituke::BtnResetClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFormWarituke::BtnCloseClick);
}

QWidget *TFormWarituke::WithUnit(QComboBox *list) {
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list);
    layout->addWidget(new QLabel(QStringLiteral("ポイント"), row));
    layout->addStretch();
    return row;
}

QComboBox *TFormWarituke::AddList(const char *objectName) {
    auto *list = new QComboBox(this);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setEditable(false);
    list->addItems(OffsetEntries());
    list->setCurrentIndex(kZeroOffsetEntry);
    return list;
}

FontSizeOffsets TFormWarituke::Offsets() const {
    FontSizeOffsets offsets;
    offsets.RecipientAddress = OffsetOfEntry(CBAtenaAddress->currentText());
    offsets.RecipientName = OffsetOfEntry(CBAtenaName->currentText());
    offsets.SenderAddress = OffsetOfEntry(CBSashidashiAddress->currentText());
    offsets.SenderName = OffsetOfEntry(CBSashidashiName->currentText());
    offsets.SenderTelFax = OffsetOfEntry(CBSashidashiTelFax->currentText());
    offsets.SenderOffice = OffsetOfEntry(CBSashidashiOffice->currentText());
    return offsets;
}

void TFormWarituke::BtnResetClick() {
    for (QComboBox *list : {CBAtenaAddress, CBAtenaName, CBSashidashiAddress, CBSashidashiName,
                            CBSashidashiTelFax, CBSashidashiOffice})
        list->setCurrentIndex(kZeroOffsetEntry);
}

void TFormWarituke::BtnCloseClick() {
    accept();
}
