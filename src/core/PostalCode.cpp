#include "core/PostalCode.h"

std::optional<QString> NormalisedPostalCode(const QString &typed) {
    QString digits;
    int separators = 0;
    for (const QChar c : typed.trimmed()) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            digits += c;
        else if (u >= u'０' && u <= u'９')
            digits += QChar(char16_t(u - u'０' + u'0'));
        else if (u == u'〒' && digits.isEmpty())
            continue;
        else if ((u == u'-' || u == u'－' || u == u'ー' || u == u'‐' || u == u'−' || u == u'―' ||
                  u == u' ' || u == u'　') &&
                 digits.size() == 3 && separators == 0)
            ++separators;
        else if ((u == u' ' || u == u'　') && digits.isEmpty())
            continue;
        else
            return std::nullopt;
    }
    if (digits.size() != 7)
        return std::nullopt;
    return digits.left(3) + u'-' + digits.mid(3);
}
