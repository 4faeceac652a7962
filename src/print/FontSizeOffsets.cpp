#include "print/FontSizeOffsets.h"

#include <cstdlib>

FontSizeOffsets FontSizeOffsets::Applied() const {
    if (!Manual)
        return {};
    return *this;
}

const QStringList &OffsetEntries() {
    static const QStringList entries = [] {
        QStringList list;
        for (int value = kOffsetLimit; value >= -kOffsetLimit; --value) {
            if (value == 0)
                list << QStringLiteral("0");
            else
                list << QStringLiteral("%1%2")
                            .arg(value > 0 ? QLatin1Char('+') : QLatin1Char('-'))
                            .arg(std::abs(value), 2);
        }
        return list;
    }();
    return entries;
}

int OffsetOfEntry(const QString &entry) {
    QString text = entry;
    text.remove(QLatin1Char(' '));
    return text.toInt();
}
