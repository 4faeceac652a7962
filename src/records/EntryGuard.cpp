#include "records/EntryGuard.h"

#include "platform/Prompt.h"
#include "widgets/KeyFilter.h"
#include "widgets/ShiftJisInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>

namespace {

// The edit is refused while Qt is inside its own input handling; the box comes afterwards.
void TellRefused(QObject *context, const QString &chars) {
    QMetaObject::invokeMethod(
        context, [chars] { prompt().Warning(UnrepresentableInputMessage(chars)); },
        Qt::QueuedConnection);
}

} // namespace

void GuardEntry(QLineEdit *edit) {
    InstallFilterKey(edit);
    auto *validator = new ShiftJisValidator(edit);
    QObject::connect(validator, &ShiftJisValidator::Refused, edit,
                     [edit](const QString &chars) { TellRefused(edit, chars); });
    edit->setValidator(validator);
}

void GuardEntry(QComboBox *combo) {
    InstallFilterKey(combo);
    if (QLineEdit *edit = combo->lineEdit()) {
        auto *validator = new ShiftJisValidator(edit);
        QObject::connect(validator, &ShiftJisValidator::Refused, combo,
                         [combo](const QString &chars) { TellRefused(combo, chars); });
        combo->setValidator(validator);
    }
}

void GuardEntry(GuardedPlainTextEdit *memo) {
    InstallFilterKey(memo);
    QObject::connect(memo, &GuardedPlainTextEdit::Refused, memo,
                     [memo](const QString &chars) { TellRefused(memo, chars); });
}
