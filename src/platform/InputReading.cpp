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

QChar HalfWidthOfPlainKatakana(QChar c) {
    static const QString full =
        QStringLiteral("ァアィイゥウェエォオカキクケコサシスセソタチッツテトナニヌネノ"
                       "ハヒフヘホマミムメモャヤュユョヨラリルレロヮワヰヱヲンヵヶ");
    static const QString half = QStringLiteral("ｧｱｨｲｩｳｪｴｫｵｶｷｸｹｺｻｼｽｾｿﾀﾁｯﾂﾃﾄﾅﾆﾇﾈﾉ"
                                               "ﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜﾜｲｴｦﾝｶｹ");
    const qsizetype at = full.indexOf(c);
    return at < 0 ? c : half.at(at);
}

} // namespace

QString ToHalfWidthKatakana(const QString &text) {
    QString out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u >= 0x3041 && u <= 0x3096)
            u = static_cast<char16_t>(u + 0x60); // hiragana to katakana
        if (u >= 0x30A1 && u <= 0x30FA) {
            // Voiced kana decompose into the plain kana and a combining mark.
            const QString parts = QString(QChar(u)).normalized(QString::NormalizationForm_D);
            for (QChar part : parts) {
                if (part.unicode() == 0x3099)
                    out += QChar(0xFF9E);
                else if (part.unicode() == 0x309A)
                    out += QChar(0xFF9F);
                else
                    out += HalfWidthOfPlainKatakana(part);
            }
            continue;
        }
        switch (u) {
        case 0x3000:
            out += u' ';
            break;
        case 0x3001:
            out += QChar(0xFF64);
            break;
        case 0x3002:
            out += QChar(0xFF61);
            break;
        case 0x300C:
            out += QChar(0xFF62);
            break;
        case 0x300D:
            out += QChar(0xFF63);
            break;
        case 0x3099:
        case 0x309B:
            out += QChar(0xFF9E);
            break;
        case 0x309A:
        case 0x309C:
            out += QChar(0xFF9F);
            break;
        case 0x30FB:
            out += QChar(0xFF65);
            break;
        case 0x30FC:
            out += QChar(0xFF70);
            break;
        default:
            out += u >= 0xFF01 && u <= 0xFF5E ? QChar(char16_t(u - 0xFEE0)) : QChar(u);
        }
    }
    return out;
}

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
