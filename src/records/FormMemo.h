#pragma once

#include <QDialog>

class GuardedPlainTextEdit;
class QPlainTextEdit;

// The longest customer memo, in characters, in the editor and in this window alike.
constexpr int MemoMaxLength = 10000;

// "備考": a larger window onto the editor's memo. It edits the memo it is given and hands the
// text back whenever it closes; there is no cancel.
class TFormMemo : public QDialog {
    Q_OBJECT

public:
    explicit TFormMemo(QWidget *parent = nullptr);

    // Shows the window modally over `memo` (MemoEtc); its text changes only if it was edited.
    void EditMemo(QPlainTextEdit *memo);

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormCloseQuery();

    GuardedPlainTextEdit *Memo1;
    QPlainTextEdit *target_ = nullptr;
};
