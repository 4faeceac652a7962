#include "exchange/ExchangeProgress.h"

ExchangeProgress::ExchangeProgress(const QString &label, QWidget *parent)
    : dialog_(label, QStringLiteral("キャンセル"), 0, 0, parent) {
    dialog_.setObjectName(QStringLiteral("ExchangeProgress"));
    dialog_.setWindowTitle(QStringLiteral("処理中"));
    dialog_.setWindowModality(Qt::WindowModal);
    // Shown at once: until it is up, the work's event processing would let clicks reach the
    // main window in the middle of an open transaction.
    dialog_.setMinimumDuration(0);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
}

bool ExchangeProgress::Report(int done, int total) {
    if (dialog_.maximum() != total)
        dialog_.setMaximum(total);
    dialog_.setValue(done);
    return !dialog_.wasCanceled();
}
