#pragma once

#include "print/PrintRun.h"
#include "store/CustomerRecord.h"

#include <QString>
#include <vector>

class QPrinter;

// The phone list, "電話帳印刷": fifteen customers to an A4 page in a ruled table centred in the
// printable area, under the title and the day it was printed, each page numbered "p/N".

inline const QString kPhoneListTitle = QStringLiteral("電話番号一覧");

inline constexpr int PhoneListRowsPerPage = 15;

// The leading characters of `text` whose Shift-JIS bytes fit in `maxBytes`; a two-byte
// character the limit would cut in half is left out.
QString CutToBytes(const QString &text, int maxBytes);

// Prints the list on the printer (set up by the caller), telling `progress` before each page;
// false with the reason on failure, with an empty reason when `progress` stopped it.
bool PrintPhoneBook(QPrinter &printer, const std::vector<CustomerRecord> &customers, QString *error,
                    const PrintProgress &progress = {});
