#pragma once

// The labelled edits and print choices that both sender windows show.

#include "print/SenderData.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

struct SenderFormWidgets {
    QLineEdit *NameEdit = nullptr;
    QLineEdit *ZipCodeEdit = nullptr;
    QLineEdit *ZipEdit1 = nullptr;
    QLineEdit *ZipEdit2 = nullptr;
    QLineEdit *TelEdit = nullptr;
    QLineEdit *FaxEdit = nullptr;
    QLineEdit *MailEdit = nullptr;
    QLineEdit *Edit_HPMail = nullptr; // only in the edit window
    QLineEdit *HpEdit = nullptr;
    QLineEdit *OfficeNameEdit = nullptr;
    QLineEdit *PostEdit = nullptr;
    QLineEdit *ExecutiveEdit = nullptr;
    QGroupBox *GroupBoxPostCode = nullptr;
    QRadioButton *PrintPostCodeRadioBtn1 = nullptr;
    QRadioButton *PrintPostCodeRadioBtn2 = nullptr;
    QCheckBox *PrintTelCheckBox = nullptr;
    QCheckBox *PrintFaxCheckBox = nullptr;
    QCheckBox *PrintMailCheckBox = nullptr;
    QCheckBox *PrintHpCheckBox = nullptr;
    QCheckBox *PrintOfficeCheckBox = nullptr;
    QCheckBox *PrintPostCheckBox = nullptr;
    QCheckBox *PrintExecutiveCheckBox = nullptr;
};

// Builds the rows (label, edit, print choice) into `grid`; the mobile mail row only when asked.
SenderFormWidgets BuildSenderForm(QWidget *owner, QGridLayout *grid, bool withMobileMail);

void ShowSenderBuff(const SenderFormWidgets &form, const TSenderBuff &sender);
TSenderBuff ShownSenderBuff(const SenderFormWidgets &form);
