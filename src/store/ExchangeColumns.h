#pragma once

#include <QString>
#include <span>

// The customer columns as the CSV export writes them and the CSV import reads them.

// What an exported item holds.
enum class ExportValue {
    Text,       // the column's text
    Date,       // the column's date as yyyy/MM/dd
    Age,        // whole years of the column's date on the export day
    ClassName1, // the name of the column's class id on axis 1
    ClassName2, // ... on axis 2
};

// The check box group of the column choice window.
enum class ExportGroup { None, Personal, Company };

struct ExportColumn {
    const char *checkBox;    // the check box's component name
    const char16_t *caption; // the check box's caption
    const char16_t *header;  // the header line's item (without the ",")
    const char *column;      // the usertbl column read
    ExportValue value;
    ExportGroup group;

    QString Caption() const { return QString::fromUtf16(caption); }
    QString Header() const { return QString::fromUtf16(header); }
    QString Column() const { return QString::fromLatin1(column); }
};

// The 42 export columns in file order.
std::span<const ExportColumn> ExportColumns();
// The columns "すべての項目" adds after them (no check box of their own).
std::span<const ExportColumn> LosslessExportColumns();

// What an imported value becomes.
enum class ImportValue {
    Text,
    Reading,  // stored as half-width katakana
    Postal,   // a 7-digit code stored as XXX-XXXX
    Date,     // yyyy/MM/dd; NULL when it does not read as a date
    Birthday, // a date, also in the Japanese era, never in the future
    Memo,
    ClassName1, // a class of axis 1 by name or number, stored as its number
    ClassName2, // ... of axis 2
    Number,     // an integer; the unassigned value when it is none
};

struct ImportField {
    const char16_t *caption;    // as the field list shows it
    const char *column;         // the usertbl column written
    const char16_t *unassigned; // the value written when no file column is assigned
    ImportValue value;
    int maxLength;           // in characters, 0 for none
    const char16_t *aliases; // other header captions meaning this field, "|"-separated

    QString Caption() const { return QString::fromUtf16(caption); }
    QString Column() const { return QString::fromLatin1(column); }
    QString Unassigned() const { return QString::fromUtf16(unassigned); }
};

// The 48 assignable fields in the order the import window lists them.
std::span<const ImportField> ImportFields();
