#include "print/PostalCodeText.h"

std::optional<QString> BoxedPostalCode(const QString &typed) {
    static const QString separators = QStringLiteral("-－ー‐−―  　〒");
    QString digits;
    for (const QChar c : typed) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digits += c;
        else if (u >= u'０' && u <= u'９')
            digits += QChar(char16_t(u - u'０' + u'0'));
        else if (!separators.contains(c))
            return std::nullopt;
    }
    if (digits.size() != 7)
        return std::nullopt;
    return digits.left(3) + u'-' + digits.mid(3);
}
