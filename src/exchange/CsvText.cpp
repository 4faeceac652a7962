#include "exchange/CsvText.h"

namespace {

bool IsControl(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 31;
}

} // namespace

QString QuoteCsvValue(const QString &value) {
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    if (quoted.contains(u',') || quoted.contains(u'"'))
        return u'"' + quoted + u'"';
    return quoted;
}

void TStringListEx::SetCsvText(const QString &line) {
    clear();
    const qsizetype nul = line.indexOf(QChar(0));
    const QStringView text = QStringView(line).left(nul < 0 ? line.size() : nul);
    const qsizetype end = text.size();
    qsizetype i = 0;
    while (i < end && text[i].unicode() >= 1 && text[i].unicode() <= 32)
        ++i;
    while (i < end) {
        if (text[i] == u'"') {
            QString field;
            for (++i; i < end; ++i) {
                if (text[i] != u'"') {
                    field += text[i];
                } else if (i + 1 < end && text[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    ++i;
                    break;
                }
            }
            append(field);
        } else {
            const qsizetype start = i;
            while (i < end && text[i] != u',' && text[i].unicode() >= 32)
                ++i;
            append(text.mid(start, i - start).toString());
        }
        while (i < end && IsControl(text[i]))
            ++i;
        if (i < end && text[i] == u',') {
            ++i;
            while (i < end && IsControl(text[i]))
                ++i;
        }
    }
}
