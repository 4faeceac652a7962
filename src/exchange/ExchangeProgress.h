#pragma once

#include <QProgressDialog>

// The progress window of a long import or export, run in steps on the user-interface thread:
// it appears after a moment, keeps the program's windows painted and offers "キャンセル".
class ExchangeProgress {
public:
    ExchangeProgress(const QString &label, QWidget *parent);

    // Shows `done` of `total`; false once the user has cancelled.
    bool Report(int done, int total);

private:
    QProgressDialog dialog_;
};
