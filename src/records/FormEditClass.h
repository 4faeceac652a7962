#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;

// "分類名編集": the names of the twelve classes of both class axes.
class TFormEditClass : public QDialog {
    Q_OBJECT

public:
    explicit TFormEditClass(QWidget *parent = nullptr);

    // Twelve names per axis, in class id order.
    void SetNames(const QStringList &names1, const QStringList &names2);
    // The edited names of axis 1 or 2, as typed.
    QStringList Names(int axis) const;

private:
    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    std::array<QLineEdit *, 12> EditCass1; // EditCass1_1 ... EditCass1_12
    std::array<QLineEdit *, 12> EditCass2; // EditCass2_1 ... EditCass2_12
    QPushButton *BtnOk;
    QPushButton *BtnCancel;
};
