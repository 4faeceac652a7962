#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "パスワード入力": asks for the start-up password. However it is closed, it lets the program go
// on only when the typed text is the stored password.
class TPass_Input : public QDialog {
    Q_OBJECT

public:
    explicit TPass_Input(QWidget *parent = nullptr);

    // Asks until the right password is typed; false when the program must end (the window was
    // closed or 終了 pressed without it, or the stored password is unreadable or missing).
    bool Ask();

public slots:
    void Btn_AuthClick();
    void Btn_ExitClick();
    void done(int result) override;

private:
    QLineEdit *Edt_Pass;
    QPushButton *Btn_Auth;
    QPushButton *Btn_Exit;
    bool FormShow();
    bool TypedIsExpected() const;

    QString expected_;
    bool exitPressed_ = false;
};

// The main window's start-up step; false when the program must end.
bool AskStartupPassword(QWidget *mainWindow);
