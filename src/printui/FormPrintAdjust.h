#pragma once

#include <QDialog>
#include <QPoint>

class QDoubleSpinBox;
class QLabel;
class QPushButton;

// "プリンタ調整": how far everything printed on the current paper is moved, in 0.1 mm steps,
// and a test print to hold against the real card.
class TFormPrintAdjust : public QDialog {
    Q_OBJECT

public:
    explicit TFormPrintAdjust(QWidget *parent = nullptr);

    // Tenths of a millimetre, x to the right and y downwards.
    // `printerName` empty: the adjustment every printer without its own takes.
    void SetOffsetTenths(const QString &paperName, const QString &printerName,
                         const QPoint &tenths);
    QPoint OffsetTenths() const;

signals:
    void TestPrintClicked();

private:
    QLabel *LabelPaper;
    QLabel *LabelPrinter;
    QLabel *LabelHint;
    QDoubleSpinBox *SpinAdjustDown;
    QDoubleSpinBox *SpinAdjustRight;
    QPushButton *ButtonTestPrint;
    QPushButton *ButtonAdjustClose;
};
