#pragma once

#include "core/TextHelpers.h"

#include <QString>
#include <QStringList>

// A string list that can be filled with the fields of one comma-separated line.
class TStringListEx : public QStringList {
public:
    // Replaces the content with the fields of `text`: leading blanks and control characters
    // are skipped; a field starting with a double quote runs to the next single double quote
    // (a doubled one standing for one); any other field runs to the next "," or control
    // character; control characters after a field and one "," with the control characters
    // after it are stepped over, so a trailing "," adds no field. The text ends at a NUL.
    void SetCsvText(const QString &text);
};

// The records of a file split into lines: a line ending inside a quoted field goes on with the
// next ones, joined by CR LF, up to the line that closes it.
QStringList JoinQuotedLineBreaks(const QStringList &lines);
