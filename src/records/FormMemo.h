#pragma once

#include <QDialog>

class GuardedPlainTextEdit;
class QPlainTextEdit;

// "備考": a larger window onto the editor's memo. It edits the memo it is given and hands the
// text back whenever it closes; there is no cancel.
class TFormMemo : public QDialog {
    Q_OBJECT

public:
    explicit TFormMemo(QWidget *parent = nullptr);

    // Shows the window modally over `memo` (MemoEtc); its text changes only if it was edited.
    void EditMemo(QPlainTextEdit *memo);

    GuardedPlainTextEdit *Memo1;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormCloseQuery();

    QPlainTextEdit *target_ = nullptr;
};
