#include "widgets/KeyFilter.h"

#include "core/TextHelpers.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

FilterKeyGuard::FilterKeyGuard(QObject *parent) : QObject(parent) {}

bool FilterKeyGuard::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && StripFilteredKeys(text).isEmpty())
            return true;
    } else if (event->type() == QEvent::InputMethod) {
        auto *input = static_cast<QInputMethodEvent *>(event);
        const QString commit = input->commitString();
        if (!commit.isEmpty())
            input->setCommitString(StripFilteredKeys(commit), input->replacementStart(),
                                   input->replacementLength());
    }
    return QObject::eventFilter(watched, event);
}

void InstallFilterKey(QWidget *widget) {
    auto *guard = new FilterKeyGuard(widget);
    widget->installEventFilter(guard);
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(guard);
}
