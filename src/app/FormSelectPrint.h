#pragma once

#include <QDialog>

class QPushButton;

// "印刷選択": which print the toolbar's print button starts.
class TFormSelectPrint : public QDialog {
    Q_OBJECT

public:
    enum class Choice { AddressPrint, CustomerCards, PhoneList, Cancel };

    explicit TFormSelectPrint(QWidget *parent = nullptr);

    // Shows the window modally and returns the button that closed it.
    Choice Choose();

    QPushButton *Button1; // 宛名印刷
    QPushButton *Button2; // カルテ印刷
    QPushButton *Button4; // 電話番号一覧印刷
    QPushButton *Button3; // キャンセル

private:
    Choice choice_ = Choice::Cancel;
};
