#pragma once

#include <QDialog>

// "印刷選択": which print the toolbar's print button starts.
class TFormSelectPrint : public QDialog {
    Q_OBJECT

public:
    enum class Choice { AddressPrint, CustomerCards, PhoneList, SeasonCards, Cancel };

    explicit TFormSelectPrint(QWidget *parent = nullptr);

    // Shows the window modally and returns the button that closed it.
    Choice Choose();

private:
    Choice choice_ = Choice::Cancel;
};
