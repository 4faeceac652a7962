#pragma once

#include "print/AddressCheck.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// "印刷前チェック": the problems the check found in the marked customers, one a line with the
// customer's name; the user prints anyway or goes back to mend them.
class TFormPrintCheck : public QDialog {
    Q_OBJECT

public:
    explicit TFormPrintCheck(QWidget *parent = nullptr);

    // Shows the problems; true when the user chooses "このまま印刷".
    bool ConfirmPrint(const QList<AddressProblem> &problems);

private:
    QListWidget *ListProblems;
    QPushButton *ButtonPrintAnyway;
    QPushButton *ButtonBack;
};
