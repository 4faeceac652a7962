#pragma once

#include <QDate>
#include <QString>

// The one place where values become parts of a statement text.

// A text value as a single-quoted literal with every ' doubled, so no typed, pasted or
// imported text can change the meaning of a statement.
QString QuoteSql(const QString &value);

// A date of usertbl as the statements write it: "mm/dd/yyyy" in double quotes; NULL when the
// date is not valid.
QString SqlDate(const QDate &date);
