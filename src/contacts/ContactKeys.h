#pragma once

#include <QString>

// The forms in which two entries of one customer are compared. Each returns an empty text when
// the value says too little to be compared.

// Blanks removed, full- and half-width forms folded, old and variant kanji read as their
// common form (the table data/variant-kanji.txt).
QString NameKey(const QString &name);
// A reading as half-width katakana without blanks.
QString ReadingKey(const QString &kana);
// The digits of a phone number; empty below six digits.
QString PhoneKey(const QString &phone);
// Whether phone digits are a mobile number (070, 080, 090 and eleven digits).
bool IsMobileNumber(const QString &phoneKey);
// A mail address in folded case and width; empty without an "@".
QString MailKey(const QString &mail);
// The postal code as XXX-XXXX; empty when it is not one.
QString PostalKey(const QString &zip);

// An address with width folded and blanks removed, its block numbers in one form (丁目, 番地,
// 番, 号, の and the hyphen forms become "-", kanji numerals before or after them digits), cut
// after the block numbers: the building and room that follow count only when both addresses
// have one.
struct AddressKey {
    QString street;
    QString building;

    bool IsEmpty() const { return street.isEmpty(); }
    bool Matches(const AddressKey &other) const;
};
// `line2` continues `line1`. Empty when the address holds no number, as a town alone is shared
// by too many.
AddressKey NormalisedAddress(const QString &line1, const QString &line2 = {});
