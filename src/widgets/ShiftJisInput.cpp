#include "widgets/ShiftJisInput.h"

#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <algorithm>
#include <limits>

QString UnrepresentableInputMessage(const QString &chars) {
    return QStringLiteral("次の文字はシフトJISで保存できないため入力できません。\r\n%1")
        .arg(NameCharacters(chars));
}

QString RefusedInputChars(const QString &text, bool multiLine) {
    QString refused = ShiftJis::UnrepresentableChars(text);
    for (const QChar c : text) {
        const bool lineBreakOrTab = c == u'\r' || c == u'\n' || c == u'\t';
        if (c.category() == QChar::Other_Control && !(multiLine && lineBreakOrTab) &&
            !refused.contains(c))
            refused += c;
    }
    return refused;
}

ShiftJisValidator::ShiftJisValidator(QLineEdit *edit)
    : QValidator(edit), edit_(edit), held_(edit->text()) {
    // The edit already holds the proposed text while it is validated, so the accepted text is
    // followed here.
    connect(edit, &QLineEdit::textChanged, this, [this](const QString &text) { held_ = text; });
}

ShiftJisValidator *GuardShiftJis(QLineEdit *edit) {
    auto *validator = new ShiftJisValidator(edit);
    QObject::connect(validator, &ShiftJisValidator::Refused, edit, [edit](const QString &chars) {
        WarnAfterInput(edit, UnrepresentableInputMessage(chars));
    });
    edit->setValidator(validator);
    return validator;
}

namespace {

// A one-line field never holds a line break: pasted lines are joined, so nothing the field
// writes can split into further lines of a settings file.
void JoinLines(QString &text, int &pos) {
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text.at(i) != u'\r' && text.at(i) != u'\n')
            continue;
        text.remove(i, 1);
        if (i < pos)
            --pos;
    }
}

} // namespace

void ShiftJisValidator::TakeOverMaxLength() {
    maxLength_ = edit_->maxLength();
    edit_->setMaxLength(32767);
}

void ShiftJisValidator::ShowStoredText(const QString &text) {
    showingStored_ = true;
    edit_->setText(text);
    showingStored_ = false;
}

QValidator::State ShiftJisValidator::validate(QString &input, int &pos) const {
    input = ShiftJis::NormalizeCrossMapping(input);
    JoinLines(input, pos);
    if (halfWidthKatakana_) {
        const QString converted = ToHalfWidthKatakana(input);
        if (converted != input) {
            pos = static_cast<int>(ToHalfWidthKatakana(input.left(pos)).size());
            input = converted;
        }
    }
    auto *self = const_cast<ShiftJisValidator *>(this);
    // One typed key is let be or refused quietly; what arrives at once is reported.
    const bool arrivedAtOnce = input.size() > held_.size() + 1;
    QString droppedNow;
    for (qsizetype i = input.size() - 1; i >= 0; --i) {
        if (!dropFilteredKeys_ || FilterKey(input.at(i)))
            continue;
        if (!droppedNow.contains(input.at(i)))
            droppedNow.prepend(input.at(i));
        input.remove(i, 1);
        if (i < pos)
            --pos;
    }
    if (!droppedNow.isEmpty() && arrivedAtOnce)
        emit self->Dropped(droppedNow);
    // What does not fit is taken from what came in, never from the text the field held.
    const qsizetype limit =
        showingStored_ ? input.size() : std::max<qsizetype>(maxLength_, held_.size());
    if (maxLength_ > 0 && input.size() > limit) {
        if (arrivedAtOnce)
            emit self->Cut(static_cast<int>(limit));
        const qsizetype excess = input.size() - limit;
        const qsizetype from = std::max<qsizetype>(0, pos - excess);
        input.remove(from, excess);
        pos = static_cast<int>(from);
    }
    const QString bad = RefusedInputChars(input, false);
    if (bad.isEmpty())
        return Acceptable;
    const QString held = RefusedInputChars(held_, false);
    QString added;
    for (qsizetype i = 0; i < bad.size(); ++i) {
        const qsizetype len = bad.at(i).isHighSurrogate() && i + 1 < bad.size() ? 2 : 1;
        const QString single = bad.mid(i, len);
        if (!held.contains(single))
            added += single;
        i += len - 1;
    }
    if (added.isEmpty())
        return Acceptable;
    emit const_cast<ShiftJisValidator *>(this)->Refused(added);
    return Invalid;
}

GuardedPlainTextEdit::GuardedPlainTextEdit(QWidget *parent) : QPlainTextEdit(parent) {}

bool GuardedPlainTextEdit::Accepts(const QString &text) {
    const QString bad = RefusedInputChars(text, true);
    if (bad.isEmpty())
        return true;
    emit Refused(bad);
    return false;
}

qsizetype GuardedPlainTextEdit::Room() const {
    if (maxLength_ <= 0)
        return std::numeric_limits<qsizetype>::max();
    const QTextCursor cursor = textCursor();
    const qsizetype used = toPlainText().size() - (cursor.selectionEnd() - cursor.selectionStart());
    return std::max<qsizetype>(0, maxLength_ - used);
}

void GuardedPlainTextEdit::keyPressEvent(QKeyEvent *event) {
    const QString text = event->text();
    const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((newLine || (!text.isEmpty() && text.at(0).isPrint())) && Room() < 1)
        return;
    if (!text.isEmpty() && text.at(0).isPrint()) {
        if (!Accepts(text))
            return;
        const QString normalized = ShiftJis::NormalizeCrossMapping(text);
        if (normalized != text) {
            insertPlainText(normalized);
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void GuardedPlainTextEdit::inputMethodEvent(QInputMethodEvent *event) {
    if (!event->commitString().isEmpty() && !Accepts(event->commitString())) {
        QInputMethodEvent refused(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&refused);
        return;
    }
    if (!event->commitString().isEmpty())
        event->setCommitString(ShiftJis::NormalizeCrossMapping(event->commitString()).left(Room()),
                               event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(event);
}

void GuardedPlainTextEdit::insertFromMimeData(const QMimeData *source) {
    if (!source->hasText())
        return;
    const QString text = ShiftJis::NormalizeCrossMapping(source->text());
    if (!Accepts(text))
        return;
    insertPlainText(text.left(Room()));
}
