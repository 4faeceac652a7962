#pragma once

#include "core/TextHelpers.h"

#include <QList>
#include <QString>
#include <QStringList>

// A string list that can be filled with the fields of one line of separated values.
class TStringListEx : public QStringList {
public:
    // Replaces the content with the fields of `text`: leading blanks and control characters
    // other than the separator are skipped; a field starting with a double quote runs to the
    // next single double quote (a doubled one standing for one); any other field runs to the
    // next separator or control character other than a tab; control characters after a field
    // and one separator with the control characters after it are stepped over, so a trailing
    // separator adds no field. The text ends at a NUL.
    void SetCsvText(const QString &text, QChar separator = u',');
};

// The separator of a file, "," or a tab, by the lines it starts with.
QChar DetectSeparator(const QStringList &lines);

// The records of a file split into lines.
struct CsvRecords {
    QStringList records;
    QList<int> firstLines; // the file line (from 1) each record starts on
    // Lines whose opening quote was not taken as one: its field ran on over more than a few
    // lines, or past a line that reads as a record of its own.
    QList<int> strayQuotes;
};

// A line ending inside a quoted field goes on with the next ones, joined by CR LF, up to the
// line that closes it, unless the quote is a stray one: then the lines stand as they are.
CsvRecords JoinQuotedLineBreaks(const QStringList &lines, QChar separator = u',');
