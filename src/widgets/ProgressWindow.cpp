#include "widgets/ProgressWindow.h"

ProgressWindow::ProgressWindow(const QString &label, const QString &title, QWidget *parent,
                               int delayMs)
    : dialog_(label, QStringLiteral("キャンセル"), 0, 0, parent) {
    dialog_.setObjectName(QStringLiteral("ProgressWindow"));
    dialog_.setWindowTitle(title);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(delayMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
}

bool ProgressWindow::Report(int done, int total) {
    if (dialog_.maximum() != total)
        dialog_.setMaximum(total);
    dialog_.setValue(done);
    return !dialog_.wasCanceled();
}

std::function<bool(int, int)> ProgressWindow::Reporter() {
    return [this](int done, int total) { return Report(done, total); };
}
