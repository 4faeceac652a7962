#pragma once

#include <QProgressDialog>

// The progress window of an import or export, run in steps on the user-interface thread: it
// keeps the program's windows painted, blocks the main window and offers "キャンセル".
class ExchangeProgress {
public:
    ExchangeProgress(const QString &label, QWidget *parent);

    // Shows `done` of `total`; false once the user has cancelled.
    bool Report(int done, int total);

private:
    QProgressDialog dialog_;
};
