#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// Percentage the gauge shows: truncated, 0 when the range is empty, position clamped to it.
int GaugePercent(int minimum, int maximum, int position);

// "送信状況": progress of a sending run, with a cancel button.
class TFormSendStatus : public QDialog {
    Q_OBJECT

public:
    explicit TFormSendStatus(QWidget *parent = nullptr);

    int Percent() const;
    QString Status() const;

public slots:
    void SetRange(int minimum, int maximum);
    void SetProgress(int position);
    void SetStatus(const QString &text);

signals:
    void CancelRequested();

protected:
    // Escape and the window manager's close ask to cancel; the window stays until the run ends.
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void BtnCancelClick();

private:
    QProgressBar *GaugeStatus;
    QLabel *LblStatus;
    QPushButton *BtnCancel;
    int minimum_ = 0;
    int maximum_ = 0;
};
