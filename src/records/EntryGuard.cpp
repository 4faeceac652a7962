#include "records/EntryGuard.h"

#include "platform/Prompt.h"
#include "widgets/KeyFilter.h"
#include "widgets/ShiftJisInput.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>

namespace {

void TellRefused(QObject *context, const QString &chars) {
    WarnAfterInput(context, UnrepresentableInputMessage(chars));
}

void Tell(QObject *context, const QString &message) {
    QMetaObject::invokeMethod(
        context, [message] { prompt().Message(message); }, Qt::QueuedConnection);
}

} // namespace

void GuardEntry(QLineEdit *edit, bool dropFilteredKeys) {
    InstallFilterKey(edit);
    auto *validator = new ShiftJisValidator(edit);
    validator->TakeOverMaxLength();
    if (dropFilteredKeys)
        validator->DropFilteredKeys();
    QObject::connect(validator, &ShiftJisValidator::Refused, edit,
                     [edit](const QString &chars) { TellRefused(edit, chars); });
    QObject::connect(validator, &ShiftJisValidator::Cut, edit, [edit](int maxLength) {
        Tell(edit,
             QStringLiteral("%1文字を超える部分は入力できないため切り捨てました。").arg(maxLength));
    });
    QObject::connect(validator, &ShiftJisValidator::Dropped, edit, [edit](const QString &chars) {
        Tell(edit, QStringLiteral("次の文字は登録できないため取り除きました。\r\n%1").arg(chars));
    });
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
