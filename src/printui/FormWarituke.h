#pragma once

#include "print/FontSizeOffsets.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// "文字サイズ": the user's shifts of the start font sizes. The choices last for the run; the
// print window decides whether they apply.
class TFormWarituke : public QDialog {
    Q_OBJECT

public:
    explicit TFormWarituke(QWidget *parent = nullptr);

    // The six shifts as chosen; Manual is left false.
    FontSizeOffsets Offsets() const;

public slots:
    void BtnResetClick();
    void BtnCloseClick();

private:
    QComboBox *AddList(const char *objectName);
    // The list with its unit after it.
    QWidget *WithUnit(QComboBox *list);

    QComboBox *CBAtenaAddress;
    QComboBox *CBAtenaName;
    QComboBox *CBSashidashiAddress;
    QComboBox *CBSashidashiName;
    QComboBox *CBSashidashiTelFax;
    QComboBox *CBSashidashiOffice;
    QPushButton *BtnReset;
    QPushButton *BtnClose;
};
