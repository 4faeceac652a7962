#include "exchange/CsvText.h"

namespace {

bool IsControl(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 31;
}

} // namespace

namespace {

// Reads a quoted field's text from `i` up to and past its closing double quote; false when the
// text ends first.
bool ReadQuoted(QStringView text, qsizetype &i, QString &field) {
    for (; i < text.size(); ++i) {
        if (text[i] != u'"') {
            field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'"') {
            field += u'"';
            ++i;
        } else {
            ++i;
            return true;
        }
    }
    return false;
}

// Splits `text` into `fields`, the first one continuing a quoted field when `startsQuoted`;
// true when the text ends inside a quoted field.
bool SplitCsvFields(QStringView text, bool startsQuoted, QStringList &fields) {
    const qsizetype end = text.size();
    qsizetype i = 0;
    bool open = false;
    if (startsQuoted) {
        QString field;
        open = !ReadQuoted(text, i, field);
        fields.append(field);
    } else {
        while (i < end && text[i].unicode() >= 1 && text[i].unicode() <= 32)
            ++i;
    }
    while (i < end) {
        if (text[i] == u'"') {
            QString field;
            ++i;
            open = !ReadQuoted(text, i, field);
            fields.append(field);
        } else {
            const qsizetype start = i;
            while (i < end && text[i] != u',' && text[i].unicode() >= 32)
                ++i;
            fields.append(text.mid(start, i - start).toString());
        }
        while (i < end && IsControl(text[i]))
            ++i;
        if (i < end && text[i] == u',') {
            ++i;
            while (i < end && IsControl(text[i]))
                ++i;
        }
    }
    return open;
}

} // namespace

void TStringListEx::SetCsvText(const QString &line) {
    clear();
    const qsizetype nul = line.indexOf(QChar(0));
    SplitCsvFields(QStringView(line).left(nul < 0 ? line.size() : nul), false, *this);
}

QStringList JoinQuotedLineBreaks(const QStringList &lines) {
    QStringList records;
    records.reserve(lines.size());
    QStringList unused;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        qsizetype last = n;
        bool open = SplitCsvFields(lines[n], false, unused);
        while (open && last + 1 < lines.size())
            open = SplitCsvFields(lines[++last], true, unused);
        unused.clear();
        // A quote never closed before the end of the file leaves its line as it was.
        if (open || last == n) {
            records << lines[n];
            continue;
        }
        records << lines.mid(n, last - n + 1).join(QStringLiteral("\r\n"));
        n = last;
    }
    return records;
}
