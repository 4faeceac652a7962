#include "contacts/ContactKeys.h"

#include "core/PostalCode.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace {

QString WidthFolded(const QString &text) {
    return text.normalized(QString::NormalizationForm_KC);
}

QString WithoutBlanks(QString text) {
    text.removeIf([](QChar c) { return c.isSpace(); });
    return text;
}

// Each variant's common form, from the compiled-in table: one group a line, the common form
// first; lines starting with "#" are notes.
const QHash<QChar, QChar> &VariantKanji() {
    static const QHash<QChar, QChar> table = [] {
        QFile file(QStringLiteral(":/contacts/variant-kanji.txt"));
        QHash<QChar, QChar> common;
        if (!file.open(QIODevice::ReadOnly))
            return common;
        for (const QString &line : ShiftJis::Decode(file.readAll()).split(u'\n')) {
            const QStringList forms = WidthFolded(line).trimmed().split(u' ', Qt::SkipEmptyParts);
            if (forms.size() < 2 || forms.first().startsWith(u'#'))
                continue;
            for (const QString &variant : forms.mid(1))
                common.insert(variant.at(0), forms.first().at(0));
        }
        return common;
    }();
    return table;
}

bool IsKanjiNumeral(QChar c) {
    return QStringView(u"〇一二三四五六七八九十百千").contains(c);
}

// "二十三" → 23, "二〇三" → 203, "十" → 10.
QString KanjiNumeralValue(QStringView numeral) {
    qint64 total = 0;
    qint64 digits = 0;
    for (const QChar c : numeral) {
        const qsizetype digit = QStringView(u"〇一二三四五六七八九").indexOf(c);
        if (digit >= 0) {
            digits = digits * 10 + digit;
            continue;
        }
        const qint64 unit = c == u'十' ? 10 : c == u'百' ? 100 : 1000;
        total += (digits == 0 ? 1 : digits) * unit;
        digits = 0;
    }
    return QString::number(total + digits);
}

// The length of the block mark at `at` (丁目, 番地, 番, 号, の, a hyphen form), or 0.
qsizetype BlockMarkAt(const QString &text, qsizetype at) {
    static const QStringList words = {QStringLiteral("丁目"), QStringLiteral("番地"),
                                      QStringLiteral("番"),   QStringLiteral("号"),
                                      QStringLiteral("の"),   QStringLiteral("ノ")};
    if (at >= text.size())
        return 0;
    const QStringView rest = QStringView(text).mid(at);
    // 一番町, 二番丁 are town names, not block numbers.
    if (rest.startsWith(u"番町") || rest.startsWith(u"番丁"))
        return 0;
    for (const QString &word : words)
        if (rest.startsWith(word))
            return word.size();
    return QStringView(u"-‐‑‒–—―−ー").contains(text.at(at)) ? 1 : 0;
}

qsizetype SkipBlanks(const QString &text, qsizetype at) {
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    return at;
}

// The address with every block number as digits followed by "-" when a mark followed it; a
// blank between two numbers becomes "/", other blanks go.
QString BlockNumbersUnified(const QString &text) {
    QString out;
    bool afterMark = false;
    bool afterBlank = false;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.isSpace()) {
            afterBlank = true;
            ++i;
            continue;
        }
        qsizetype end = i;
        QString number;
        if (c >= u'0' && c <= u'9') {
            while (end < text.size() && text.at(end) >= u'0' && text.at(end) <= u'9')
                ++end;
            number = text.mid(i, end - i);
            while (number.size() > 1 && number.startsWith(u'0'))
                number.remove(0, 1);
        } else if (IsKanjiNumeral(c)) {
            while (end < text.size() && IsKanjiNumeral(text.at(end)))
                ++end;
            // Numerals inside a place name (六本木, 九段) stay as written.
            if (afterMark || BlockMarkAt(text, SkipBlanks(text, end)) > 0)
                number = KanjiNumeralValue(QStringView(text).mid(i, end - i));
        }
        if (number.isEmpty()) {
            out += c;
            ++i;
            afterMark = afterBlank = false;
            continue;
        }
        if (afterBlank && !out.isEmpty() && out.back().isDigit())
            out += u'/';
        out += number;
        i = end;
        bool marked = false;
        for (qsizetype mark; (mark = BlockMarkAt(text, SkipBlanks(text, i))) > 0;
             i = SkipBlanks(text, i) + mark)
            marked = true;
        if (marked)
            out += u'-';
        afterMark = marked;
        afterBlank = false;
    }
    return out;
}

} // namespace

QString NameKey(const QString &name) {
    QString key = WithoutBlanks(WidthFolded(name)).toCaseFolded();
    const QHash<QChar, QChar> &variants = VariantKanji();
    for (QChar &c : key)
        c = variants.value(c, c);
    return key;
}

QString ReadingKey(const QString &kana) {
    return WithoutBlanks(ToHalfWidthKatakana(kana)).toCaseFolded();
}

QString PhoneKey(const QString &phone) {
    QString digits = WidthFolded(phone);
    digits.removeIf([](QChar c) { return c < u'0' || c > u'9'; });
    return digits.size() < 6 ? QString() : digits;
}

bool IsMobileNumber(const QString &phoneKey) {
    return phoneKey.size() == 11 &&
           (phoneKey.startsWith(QLatin1String("070")) ||
            phoneKey.startsWith(QLatin1String("080")) || phoneKey.startsWith(QLatin1String("090")));
}

QString MailKey(const QString &mail) {
    const QString key = WithoutBlanks(WidthFolded(mail)).toCaseFolded();
    return key.contains(u'@') ? key : QString();
}

QString PostalKey(const QString &zip) {
    return NormalisedPostalCode(zip).value_or(QString());
}

bool AddressKey::Matches(const AddressKey &other) const {
    return !IsEmpty() && street == other.street &&
           (building.isEmpty() || other.building.isEmpty() || building == other.building);
}

AddressKey NormalisedAddress(const QString &line1, const QString &line2) {
    if (line1.isEmpty() && line2.isEmpty())
        return {};
    const QString unified = BlockNumbersUnified(WidthFolded(line1 + u' ' + line2));
    // The block numbers are the first numbers joined by marks; a single marked number (123番地)
    // serves when there are none.
    static const QRegularExpression joinedNumbers(QStringLiteral("\\d+(?:-\\d+)+"));
    static const QRegularExpression markedNumber(QStringLiteral("\\d+-"));
    QRegularExpressionMatch match = joinedNumbers.match(unified);
    if (!match.hasMatch())
        match = markedNumber.match(unified);
    const qsizetype cut = match.hasMatch() ? match.capturedEnd() : unified.size();
    AddressKey key{unified.left(cut), unified.mid(cut)};
    while (key.street.endsWith(u'-'))
        key.street.chop(1);
    if (std::none_of(key.street.cbegin(), key.street.cend(), [](QChar c) { return c.isDigit(); }))
        return {};
    if (key.building.endsWith(u'室'))
        key.building.chop(1);
    key.building.removeIf([](QChar c) { return c == u'-' || c == u'/'; });
    return key;
}
