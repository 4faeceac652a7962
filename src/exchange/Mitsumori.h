#pragma once

#include <QDialog>
#include <array>

class AppContext;
class QComboBox;
class QPushButton;

// "Quillet2用にエクスポート": the listed customers in the estimate program's six columns. The
// choices last for the whole run.
class Tmitsumori : public QDialog {
    Q_OBJECT

public:
    explicit Tmitsumori(AppContext &context, QWidget *parent = nullptr);

    // The current choice texts of the six columns, in file order.
    QStringList Choices() const;

public slots:
    void Button1Click();
    void Btn_CancelClick();

private:
    AppContext &context_;
    QString desktopFolder_;
    std::array<QComboBox *, 6> choiceBoxes_; // CB_Company, CB_Zip, CB_Address1, CB_Address2,
                                             // CB_Tel, CB_Fax
    QPushButton *Button1;
    QPushButton *Btn_Cancel;
};
