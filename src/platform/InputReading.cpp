#include "platform/InputReading.h"

#include "core/TextHelpers.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QLineEdit>

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == 0x3000;
}

bool IsKana(char16_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x3099 && c <= 0x309E) ||
           (c >= 0x30A1 && c <= 0x30FE) || (c >= 0xFF65 && c <= 0xFF9F);
}

bool IsLetterOrSign(char16_t c) {
    return (c >= 0x21 && c <= 0x7E) || (c >= 0xFF01 && c <= 0xFF5E);
}

// Kana being composed, before any conversion to kanji.
bool IsKanaText(const QString &text) {
    bool kana = false;
    for (QChar c : text) {
        if (IsKana(c.unicode()))
            kana = true;
        else if (!IsBlank(c.unicode()))
            return false;
    }
    return kana;
}

// Committed text that needs no conversion, such as kana, a blank or letters.
bool ReadsAsItself(const QString &text) {
    for (QChar c : text)
        if (!IsKana(c.unicode()) && !IsBlank(c.unicode()) && !IsLetterOrSign(c.unicode()))
            return false;
    return !text.isEmpty();
}

} // namespace

InputReading::InputReading(QLineEdit *nameEdit, QLineEdit *readingEdit)
    : QObject(nameEdit), nameEdit_(nameEdit), readingEdit_(readingEdit) {
    nameEdit->installEventFilter(this);
}

InputReading::~InputReading() {
    if (nameEdit_)
        nameEdit_->removeEventFilter(this);
}

bool InputReading::eventFilter(QObject *watched, QEvent *event) {
    if (watched == nameEdit_ && event->type() == QEvent::InputMethod) {
        const auto *input = static_cast<QInputMethodEvent *>(event);
        Observe(input->preeditString(), input->commitString());
    }
    return QObject::eventFilter(watched, event);
}

void InputReading::Observe(const QString &preedit, const QString &commit) {
    if (commit.isEmpty()) {
        // A conversion shown in place keeps the kana seen before it; an emptied composition
        // (cancelled or erased) has no reading any more.
        if (IsKanaText(preedit))
            lastKana_ = preedit;
        else if (preedit.isEmpty())
            lastKana_.clear();
        return;
    }
    QString reading;
    if (ReadsAsItself(commit)) {
        reading = commit;
    } else if (!lastKana_.isEmpty()) {
        reading = lastKana_;
        // Committing the first part of a conversion leaves the kana of the rest composing.
        if (IsKanaText(preedit) && lastKana_.size() > preedit.size() && lastKana_.endsWith(preedit))
            reading.chop(preedit.size());
    }
    lastKana_ = IsKanaText(preedit) ? preedit : QString();
    if (reading.isEmpty() || !readingEdit_)
        return;
    QString half = ToHalfWidthKatakana(reading);
    half.replace(u'\'', QChar(0x2019));
    // The other characters the entry fields refuse have no place in a reading either.
    readingEdit_->setText(readingEdit_->text() + StripFilteredKeys(half));
}
