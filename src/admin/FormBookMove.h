#pragma once

#include <QDialog>

class AppContext;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "台帳の移動": copies the whole book from this PC to an empty server database, or from the
// server into the empty local book, with the progress shown; what was copied is told at the end.
// Accepted after a copy into the local book.
class TFormBookMove : public QDialog {
    Q_OBJECT

public:
    TFormBookMove(AppContext &context, QWidget *parent = nullptr);

public slots:
    void BtnStartClick();

private:
    AppContext &context_;
    QLineEdit *EditServerUri;
    QRadioButton *RadioToServer;
    QRadioButton *RadioFromServer;
    QPushButton *BtnStart;
    QPushButton *BtnClose;
};
