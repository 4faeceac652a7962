#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
struct NewSheetInput;

// "オリジナルサイズ入力": registers a label sheet of the user's own under "オリジナル" in
// "paper.cfg". Closes with Accepted when a sheet was added.
class TFormAddPaper : public QDialog {
    Q_OBJECT

public:
    // `dataPath` is the data folder, ending in "/".
    explicit TFormAddPaper(const QString &dataPath = {}, QWidget *parent = nullptr);

public slots:
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    NewSheetInput Input() const;
    QLineEdit *AddEdit(const char *objectName, bool number);

    QString dataPath_;
    QRadioButton *RadioButtonPaperA4;
    QRadioButton *RadioButtonPaperA4T;
    QLineEdit *EditTitle;
    QLineEdit *EditLabelHor;
    QLineEdit *EditLabelVer;
    QLineEdit *EditOffsetUpper;
    QLineEdit *EditOffsetLower;
    QLineEdit *EditOffsetLeft;
    QLineEdit *EditOffsetRight;
    QLineEdit *EditLow;
    QLineEdit *EditColumn;
    QPushButton *Button1;
    QPushButton *Button2;
};
