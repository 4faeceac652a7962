#include "printui/SenderForm.h"

#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

enum class Input { Kana, Code };

QLineEdit *AddEditRow(QWidget *owner, QGridLayout *grid, const QString &label, const char *name,
                      int maxLength, Input input) {
    const int row = grid->rowCount();
    auto *edit = new QLineEdit(owner);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setInputMethodHints(input == Input::Code ? Qt::ImhPreferLatin : Qt::ImhNone);
    // Wide enough for a whole address line.
    edit->setMinimumWidth(300);
    // The sender is written to conf.ini: only what code page 932 holds, on one line.
    GuardShiftJis(edit)->TakeOverMaxLength();
    auto *caption = new QLabel(label, owner);
    caption->setBuddy(edit);
    grid->addWidget(caption, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

QCheckBox *AddPrintCheck(QWidget *owner, QGridLayout *grid, const char *name) {
    auto *box = new QCheckBox(QStringLiteral("印刷"), owner);
    box->setObjectName(QString::fromLatin1(name));
    grid->addWidget(box, grid->rowCount() - 1, 2);
    return box;
}

} // namespace

SenderFormWidgets BuildSenderForm(QWidget *owner, QGridLayout *grid, bool withMobileMail) {
    SenderFormWidgets f;
    f.NameEdit = AddEditRow(owner, grid, QStringLiteral("名前"), "NameEdit", 60, Input::Kana);
    f.ZipCodeEdit = AddEditRow(owner, grid, QStringLiteral("〒"), "ZipCodeEdit", 8, Input::Code);
    f.GroupBoxPostCode = new QGroupBox(owner);
    f.GroupBoxPostCode->setObjectName(QStringLiteral("GroupBoxPostCode"));
    f.PrintPostCodeRadioBtn1 = new QRadioButton(QStringLiteral("郵便枠に印刷"), f.GroupBoxPostCode);
    f.PrintPostCodeRadioBtn1->setObjectName(QStringLiteral("PrintPostCodeRadioBtn1"));
    f.PrintPostCodeRadioBtn2 =
        new QRadioButton(QStringLiteral("差出人部分に印刷"), f.GroupBoxPostCode);
    f.PrintPostCodeRadioBtn2->setObjectName(QStringLiteral("PrintPostCodeRadioBtn2"));
    f.PrintPostCodeRadioBtn1->setChecked(true);
    auto *placement = new QHBoxLayout(f.GroupBoxPostCode);
    placement->addWidget(f.PrintPostCodeRadioBtn1);
    placement->addWidget(f.PrintPostCodeRadioBtn2);
    grid->addWidget(f.GroupBoxPostCode, grid->rowCount() - 1, 2);

    f.ZipEdit1 = AddEditRow(owner, grid, QStringLiteral("住所１"), "ZipEdit1", 70, Input::Kana);
    f.ZipEdit2 = AddEditRow(owner, grid, QStringLiteral("住所２"), "ZipEdit2", 70, Input::Kana);
    f.TelEdit = AddEditRow(owner, grid, QStringLiteral("電話"), "TelEdit", 13, Input::Code);
    f.PrintTelCheckBox = AddPrintCheck(owner, grid, "PrintTelCheckBox");
    f.FaxEdit = AddEditRow(owner, grid, QStringLiteral("FAX"), "FaxEdit", 13, Input::Code);
    f.PrintFaxCheckBox = AddPrintCheck(owner, grid, "PrintFaxCheckBox");
    f.MailEdit = AddEditRow(owner, grid, QStringLiteral("メール"), "MailEdit", 60, Input::Code);
    f.PrintMailCheckBox = AddPrintCheck(owner, grid, "PrintMailCheckBox");
    if (withMobileMail) {
        f.Edit_HPMail =
            AddEditRow(owner, grid, QStringLiteral("携帯メール"), "Edit_HPMail", 0, Input::Code);
        grid->addWidget(new QLabel(QStringLiteral("（印刷はされません）"), owner),
                        grid->rowCount() - 1, 2);
    }
    f.HpEdit = AddEditRow(owner, grid, QStringLiteral("HP"), "HpEdit", 50, Input::Code);
    f.PrintHpCheckBox = AddPrintCheck(owner, grid, "PrintHpCheckBox");
    f.OfficeNameEdit =
        AddEditRow(owner, grid, QStringLiteral("会社名"), "OfficeNameEdit", 40, Input::Kana);
    f.PrintOfficeCheckBox = AddPrintCheck(owner, grid, "PrintOfficeCheckBox");
    f.PostEdit = AddEditRow(owner, grid, QStringLiteral("部署名"), "PostEdit", 40, Input::Kana);
    f.PrintPostCheckBox = AddPrintCheck(owner, grid, "PrintPostCheckBox");
    f.ExecutiveEdit =
        AddEditRow(owner, grid, QStringLiteral("役職名"), "ExecutiveEdit", 40, Input::Kana);
    f.PrintExecutiveCheckBox = AddPrintCheck(owner, grid, "PrintExecutiveCheckBox");
    return f;
}

void ShowSenderBuff(const SenderFormWidgets &f, const TSenderBuff &s) {
    f.NameEdit->setText(s.Name);
    f.ZipCodeEdit->setText(s.ZipCode);
    f.ZipEdit1->setText(s.Zip1);
    f.ZipEdit2->setText(s.Zip2);
    f.TelEdit->setText(s.Tel);
    f.FaxEdit->setText(s.Fax);
    f.MailEdit->setText(s.Mail);
    f.HpEdit->setText(s.Hp);
    f.OfficeNameEdit->setText(s.OfficeName);
    f.PostEdit->setText(s.Post);
    f.ExecutiveEdit->setText(s.Executive);
    f.PrintPostCodeRadioBtn1->setChecked(s.ZipPrintState);
    f.PrintPostCodeRadioBtn2->setChecked(!s.ZipPrintState);
    f.PrintTelCheckBox->setChecked(s.TelCheck);
    f.PrintFaxCheckBox->setChecked(s.FaxCheck);
    f.PrintMailCheckBox->setChecked(s.MailCheck);
    f.PrintHpCheckBox->setChecked(s.HpCheck);
    f.PrintOfficeCheckBox->setChecked(s.OfficeCheck);
    f.PrintPostCheckBox->setChecked(s.PostCheck);
    f.PrintExecutiveCheckBox->setChecked(s.ExecutiveCheck);
}

TSenderBuff ShownSenderBuff(const SenderFormWidgets &f) {
    TSenderBuff s;
    s.Name = f.NameEdit->text();
    s.ZipCode = f.ZipCodeEdit->text();
    s.Zip1 = f.ZipEdit1->text();
    s.Zip2 = f.ZipEdit2->text();
    s.Tel = f.TelEdit->text();
    s.Fax = f.FaxEdit->text();
    s.Mail = f.MailEdit->text();
    s.Hp = f.HpEdit->text();
    s.OfficeName = f.OfficeNameEdit->text();
    s.Post = f.PostEdit->text();
    s.Executive = f.ExecutiveEdit->text();
    s.ZipPrintState = f.PrintPostCodeRadioBtn1->isChecked();
    s.TelCheck = f.PrintTelCheckBox->isChecked();
    s.FaxCheck = f.PrintFaxCheckBox->isChecked();
    s.MailCheck = f.PrintMailCheckBox->isChecked();
    s.HpCheck = f.PrintHpCheckBox->isChecked();
    s.OfficeCheck = f.PrintOfficeCheckBox->isChecked();
    s.PostCheck = f.PrintPostCheckBox->isChecked();
    s.ExecutiveCheck = f.PrintExecutiveCheckBox->isChecked();
    return s;
}
