#include "records/EntryGuard.h"

#include "platform/Prompt.h"
#include "widgets/KeyFilter.h"
#include "widgets/ShiftJisInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>

namespace {

void Tell(QObject *context, const QString &message) {
    QMetaObject::invokeMethod(
        context, [message] { prompt().Message(message); }, Qt::QueuedConnection);
}

} // namespace

void GuardEntry(QLineEdit *edit, bool dropFilteredKeys) {
    InstallFilterKey(edit);
    ShiftJisValidator *validator = GuardShiftJis(edit);
    validator->TakeOverMaxLength();
    if (dropFilteredKeys)
        validator->DropFilteredKeys();
    QObject::connect(validator, &ShiftJisValidator::Cut, edit, [edit](int maxLength) {
        Tell(edit,
             QStringLiteral("%1文字を超える部分は入力できないため切り捨てました。").arg(maxLength));
    });
    QObject::connect(validator, &ShiftJisValidator::Dropped, edit, [edit](const QString &chars) {
        Tell(edit, QStringLiteral("次の文字は登録できないため取り除きました。\r\n%1").arg(chars));
    });
}

void GuardEntry(QComboBox *combo) {
    InstallFilterKey(combo);
    if (QLineEdit *edit = combo->lineEdit())
        GuardShiftJis(edit);
}

void GuardEntry(GuardedPlainTextEdit *memo) {
    InstallFilterKey(memo);
    QObject::connect(memo, &GuardedPlainTextEdit::Refused, memo, [memo](const QString &chars) {
        WarnAfterInput(memo, UnrepresentableInputMessage(chars));
    });
}

namespace {

ShiftJisValidator *GuardOf(QLineEdit *edit) {
    return static_cast<ShiftJisValidator *>(const_cast<QValidator *>(edit->validator()));
}

} // namespace

void GuardReading(QLineEdit *edit, bool dropFilteredKeys) {
    GuardEntry(edit, dropFilteredKeys);
    GuardOf(edit)->HoldHalfWidthKatakana();
}

void ShowStoredText(QLineEdit *edit, const QString &text) {
    GuardOf(edit)->ShowStoredText(text);
}
