#pragma once

#include <QProgressDialog>
#include <functional>

// The progress window of long work done in steps on the user-interface thread: it keeps the
// program's windows painted, blocks the window it belongs to and offers "キャンセル".
class ProgressWindow {
public:
    // The window shows once the work has taken `delayMs`: short work never shows it. Work inside
    // an open transaction shows it AtOnce, since until it is up, clicks reach the windows behind.
    static constexpr int AtOnce = 0;
    static constexpr int AfterAMoment = 500;
    ProgressWindow(const QString &label, const QString &title, QWidget *parent, int delayMs);

    // Shows `done` of `total`; false once the user has cancelled.
    bool Report(int done, int total);
    // Report, in the form the long runs take it.
    std::function<bool(int done, int total)> Reporter();
    bool Cancelled() const { return dialog_.wasCanceled(); }

private:
    QProgressDialog dialog_;
};
