#include "printui/FormMyData.h"

#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "platform/Prompt.h"
#include "postal/FormSearchZip.h"
#include "postal/ZipLookup.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormMyData::TFormMyData(const QString &dataPath, QWidget *parent)
    : QDialog(parent), dataPath_(dataPath) {
    setObjectName(QStringLiteral("FormMyData"));
    setWindowTitle(QStringLiteral("自社情報編集"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    fields_ = BuildSenderForm(this, grid, true);
    BtnZip = new QPushButton(QStringLiteral("〒検索"), this);
    BtnZip->setObjectName(QStringLiteral("BtnZip"));
    BtnZip->setAutoDefault(false);
    int zipRow = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(fields_.ZipCodeEdit), &zipRow, &column, &rowSpan,
                          &columnSpan);
    grid->addWidget(BtnZip, zipRow, 3);
    connect(BtnZip, &QPushButton::clicked, this, &TFormMyData::BtnZipClick);
    connect(fields_.ZipCodeEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (IsWholePostalCode(text))
            BtnZipClick();
    });

    auto *buttons = new QDialogButtonBox(this);
    Button1 = buttons->addButton(QStringLiteral("更新"), QDialogButtonBox::AcceptRole);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    Button2->setObjectName(QStringLiteral("Button2"));
    layout->addWidget(buttons);
    connect(Button1, &QPushButton::clicked, this, &TFormMyData::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormMyData::Button2Click);
    FormShow();
}

TFormMyData::~TFormMyData() = default;

void TFormMyData::FormShow() {
    IniFile ini(SenderConfPath(dataPath_));
    if (!dataPath_.isEmpty())
        ini.Load();
    ShowSenderBuff(fields_, ReadSenderBuff(ini));
    fields_.Edit_HPMail->setText(ReadSenderMobileMail(ini));
}

void TFormMyData::showEvent(QShowEvent *event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFormMyData::Button1Click() {
    const TSenderBuff sender = ShownSenderBuff(fields_);
    const QString mobileMail = fields_.Edit_HPMail->text();
    QString typed;
    for (const QLineEdit *edit : findChildren<QLineEdit *>())
        typed += edit->text();
    const QString unsaved = ShiftJis::UnrepresentableChars(typed);
    if (!unsaved.isEmpty()) {
        prompt().Error(QStringLiteral("保存できない文字が含まれています：") + unsaved);
        return;
    }
    IniFile ini(SenderConfPath(dataPath_));
    ini.Load();
    WriteSenderData(ini, sender, mobileMail);
    QString error;
    if (!ini.Save(&error)) {
        prompt().Error(error);
        return;
    }
    accept();
}

void TFormMyData::BtnZipClick() {
    if (!searchZip_)
        searchZip_ = std::make_unique<TFormSearchZip>();
    LookUpAddressByZip(*searchZip_, {dataPath_, true, fields_.ZipCodeEdit, fields_.ZipEdit1});
}

void TFormMyData::Button2Click() {
    reject();
}
