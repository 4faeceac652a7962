#pragma once

#include <QString>

// The customer barcode library: makes the Japan Post customer barcode of a postal code and an
// address.
//
// `table` holds the characters that stand for start, stop and the control codes CC1 to CC8
// ("()ABCDEFGH"); `postalCode` and `address` are zero-terminated code page 932 texts. On success
// the 23 characters of the barcode and a terminating zero are written to `out` (24 bytes) and
// the result is 0. The result is non-zero, and `out` untouched, when the postal code does not
// hold exactly seven digits (hyphens aside) or an argument is missing.
//
// `zipDataPath` is the postal code file ("code,address" lines in code page 932) whose entries
// tell which leading part of the address is the town; without it the whole address is used.
int GetCBarString(const char *table, const char *postalCode, const char *address, char *out,
                  const QString &zipDataPath);

namespace CustomerBarcode {

// The address with its town-level part (the prefecture, city and town of the postal code's
// entry in the file at `zipDataPath`, with or without the prefecture, blanks ignored) dropped;
// the whole address when no entry of the code matches its beginning or the file is unreadable.
QString DropTownPart(const QString &postalDigits, const QString &address,
                     const QString &zipDataPath);

// The address display number of what follows the town part: digits, "-" and upper-case
// letters, e.g. "3-30-8-403" for "3丁目30-8　郵便ビル403号".
QString AddressNumber(const QString &address);

} // namespace CustomerBarcode
