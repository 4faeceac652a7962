#include "core/TextHelpers.h"

#include <QByteArray>
#include <QStringList>
#include <cmath>

namespace {

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

QString ShortDateText(const QDate &date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QDate ParseShortDate(const QString &text) {
    const QStringList parts = text.trimmed().split(u'/');
    if (parts.size() != 3)
        return {};
    bool okY = false, okM = false, okD = false;
    const int y = parts[0].toInt(&okY), m = parts[1].toInt(&okM), d = parts[2].toInt(&okD);
    // Years outside 1 to 9999 are no dates the system can write back.
    if (!okY || !okM || !okD || y < 1 || y > 9999)
        return {};
    return QDate(y, m, d);
}

int CalcAge(const QDate &birthday, const QDate &today) {
    const int b = birthday.year() * 10000 + birthday.month() * 100 + birthday.day();
    const int t = today.year() * 10000 + today.month() * 100 + today.day();
    return t / 10000 - b / 10000 - ((t % 10000) < (b % 10000) ? 1 : 0);
}

std::optional<QChar> FilterKey(QChar key) {
    switch (key.unicode()) {
    case 0x22:
    case 0x27:
    case 0x60:
    case 0x2C:
        return std::nullopt;
    default:
        return key;
    }
}

QString StripFilteredKeys(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (FilterKey(c))
            out += c;
    return out;
}

QString ToFullWidth(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'-' || u == 0xFF0D)
            out += QChar(0x2015);
        else if ((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z'))
            out += QChar(char16_t(u - 0x20 + 0xFF00));
        else
            out += c;
    }
    return out;
}

QString NameCharacters(const QString &chars) {
    // The code beside the glyph: a font may have no glyph for it.
    QStringList named;
    for (const char32_t c : chars.toUcs4()) {
        const QString code = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
        const bool ownGlyph = QChar::isPrint(c) && !QChar::isMark(c);
        named << (ownGlyph ? QString::fromUcs4(&c, 1) + QStringLiteral(" (") + code + u')' : code);
    }
    return named.join(QStringLiteral("、"));
}

int Rnd(double value) {
    return static_cast<int>(std::nearbyint(value));
}

QByteArray ScramblePassword(const QByteArray &bytes) {
    constexpr char key = 0x5A;
    QByteArray out = bytes;
    for (char &b : out)
        b = static_cast<char>(b ^ key);
    return out;
}

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

QString QuoteCsvValue(const QString &value) {
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    if (quoted.contains(u',') || quoted.contains(u'"'))
        return u'"' + quoted + u'"';
    return quoted;
}
