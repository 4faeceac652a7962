#include "exchange/CsvText.h"

namespace {

// A quoted field that runs on longer than this is taken for a stray quote.
constexpr qsizetype MaxQuotedLines = 8;

bool IsControl(QChar c, QChar separator) {
    return c.unicode() < 32 && c != separator;
}

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
bool SplitCsvFields(QStringView text, bool startsQuoted, QChar separator, QStringList &fields) {
    const qsizetype end = text.size();
    qsizetype i = 0;
    bool open = false;
    if (startsQuoted) {
        QString field;
        open = !ReadQuoted(text, i, field);
        fields.append(field);
    } else {
        while (i < end && text[i].unicode() <= 32 && text[i] != separator)
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
            while (i < end && text[i] != separator && (text[i].unicode() >= 32 || text[i] == u'\t'))
                ++i;
            fields.append(text.mid(start, i - start).toString());
        }
        while (i < end && IsControl(text[i], separator))
            ++i;
        if (i < end && text[i] == separator) {
            ++i;
            while (i < end && IsControl(text[i], separator))
                ++i;
        }
    }
    return open;
}

} // namespace

void TStringListEx::SetCsvText(const QString &line, QChar separator) {
    clear();
    const qsizetype nul = line.indexOf(QChar(0));
    SplitCsvFields(QStringView(line).left(nul < 0 ? line.size() : nul), false, separator, *this);
}

QChar DetectSeparator(const QStringList &lines) {
    // Counted outside quotes over the first lines; a header alone usually decides.
    qsizetype commas = 0;
    qsizetype tabs = 0;
    for (const QString &line : lines.first(std::min<qsizetype>(lines.size(), 5))) {
        bool quoted = false;
        for (const QChar c : line) {
            if (c == u'"')
                quoted = !quoted;
            else if (!quoted && c == u',')
                ++commas;
            else if (!quoted && c == u'\t')
                ++tabs;
        }
    }
    return tabs > commas ? QChar(u'\t') : QChar(u',');
}

CsvRecords JoinQuotedLineBreaks(const QStringList &lines, QChar separator) {
    CsvRecords csv;
    csv.records.reserve(lines.size());
    csv.firstLines.reserve(lines.size());
    QStringList fields;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        csv.firstLines << int(n + 1);
        fields.clear();
        bool open = SplitCsvFields(lines[n], false, separator, fields);
        const qsizetype firstFields = fields.size();
        qsizetype last = n;
        bool stray = false;
        while (open && last + 1 < lines.size() && !stray) {
            const QString &next = lines[++last];
            fields.clear();
            open = SplitCsvFields(next, true, separator, fields);
            if (!open)
                break;
            // Still inside the quote after a line that splits on its own into a whole record.
            QStringList alone;
            stray = last - n >= MaxQuotedLines || (!SplitCsvFields(next, false, separator, alone) &&
                                                   firstFields > 1 && alone.size() >= firstFields);
        }
        // So is a quote never closed before the end of the file.
        if (stray || (open && last > n))
            csv.strayQuotes << int(n + 1);
        if (open || stray || last == n) {
            csv.records << lines[n];
            continue;
        }
        csv.records << lines.mid(n, last - n + 1).join(QStringLiteral("\r\n"));
        n = last;
    }
    return csv;
}
