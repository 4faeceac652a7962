#include "core/TextHelpers.h"

#include <QByteArray>
#include <cmath>

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
