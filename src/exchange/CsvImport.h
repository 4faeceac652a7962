#pragma once

#include "core/TextFile.h"
#include "store/CustomerRecord.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Database;
class Prompt;

// A file chosen for import: its records and how its text was read.
struct ImportFile {
    QStringList lines; // records; a quoted line break keeps them on one
    TextFile::TextEncoding encoding = TextFile::TextEncoding::ShiftJis;
    QChar separator = u',';
    QList<int> firstLines;  // the file line of each record; empty when they are the same
    QList<int> strayQuotes; // see CsvRecords
    QByteArray bytes;       // as read, for reading again in another encoding
    QString name;           // the file's name for messages
};

// Reads a file for import: UTF-8 or code page 932 (see DecodeForeignText), split at CR LF, CR or
// LF outside double quotes, at the separator the file uses. nullopt and the reason, in
// Japanese, when it cannot be used: UTF-16 and NUL bytes are refused.
std::optional<ImportFile> ReadImportFile(const QString &path, QString &error);
// The same file read in the encoding the user chose; false and the reason when it is not
// valid in it.
bool ReadImportFileAs(ImportFile &file, TextFile::TextEncoding encoding, QString &error);

// A field as the export wrote it, without the apostrophe that kept a spreadsheet from reading it
// as a formula.
QString CsvFieldValue(const QString &field);

// The window's name for how the file was read.
QString EncodingName(TextFile::TextEncoding encoding);

// The fields of a line as the mapping table shows them; the table holds at most
// MaxMappingRows of them, so a runaway line cannot make it unusable.
inline constexpr int MaxMappingRows = 256;
QStringList SampleFields(const QString &line, QChar separator = u',');

// The field captions a header line assigns to its columns (empty text for a column it does
// not name); nullopt when the line does not read as a header.
std::optional<QStringList> HeaderAssignments(const QStringList &fields);

// What the import knows besides the file and the mapping.
struct ImportSettings {
    bool header = false;     // the first record is a header, not a customer
    QStringList classNames1; // by class id, for class columns holding names
    QStringList classNames2;
};

// The rows to insert, one value per ImportFields() entry for each file line.
struct ImportPlan {
    std::vector<QStringList> rows;
    std::vector<int> lineNumbers; // the file line of each row
    // File line numbers whose birthday value is not empty and not a date, or in the future.
    QList<int> unreadableDates;
    QList<int> futureBirthdays;
    // File line numbers of postal codes kept as they were typed, values cut to their field's
    // length, and quotes taken as they stand.
    QList<int> keptPostalCodes;
    QList<int> unknownClasses; // put in the first class
    QList<int> cutValues;
    QList<int> strayQuotes;
    // "line number（name）: characters by code" for each line holding characters code page 932
    // cannot hold, and the rows they are.
    QStringList unrepresentable;
    QList<int> unrepresentableRows;
};

// `assignments` holds, per mapping-table row, the caption of the field assigned to that column
// of the file or an empty text. Fields beyond the table's rows are ignored, missing ones read
// as empty, unassigned fields take their default and readings become half-width katakana.
ImportPlan BuildImportPlan(const ImportFile &file, const QStringList &assignments,
                           const ImportSettings &settings = {});

// How an import ended.
struct ImportOutcome {
    enum Kind { Stored, Cancelled, Refused } kind = Stored;
    int stored = 0; // rows handled, from the first
    // Of those, the rows that matched a customer already in the book and were left out, or
    // filled that customer's empty fields; the others were added.
    int skipped = 0;
    int filled = 0;
};

// What becomes of a row that matches a customer already in the book.
enum class ExistingCustomerChoice { AddAnyway, Skip, FillEmptyFields };
// The UserId of the customer already in the book that a new customer matches, or 0.
using FindExistingCustomer = std::function<int(const CustomerRecord &candidate)>;
// Reads the book for FindExistingCustomer. Throws EngineError.
using ExistingCustomerFinder = std::function<FindExistingCustomer(Database &database)>;

// The name, reading, addresses, phones and mails of a row, for FindExistingCustomer.
CustomerRecord CandidateOfRow(const QStringList &row);
// The import row of a customer read from elsewhere: its texts, birthday and classes, each cut
// to its field's length, and the defaults of the rest.
QStringList ImportRowOfRecord(const CustomerRecord &record);

// Inserts the rows in one transaction. A refused row stops the import with the store's message;
// the user chooses whether the rows before it stay. Cancelling stores nothing. Unless `choice`
// is AddAnyway, a row `existing` matches is left out or fills the matched customer's empty
// fields. Throws EngineError when the transaction itself fails.
ImportOutcome InsertImportRows(Database &database, const ImportPlan &plan, Prompt &prompt,
                               const std::function<bool(int, int)> &progress,
                               ExistingCustomerChoice choice = ExistingCustomerChoice::AddAnyway,
                               const FindExistingCustomer &existing = {});

// The counts after an import that looked for customers already in the book.
QString ExistingCustomerCountsMessage(const ImportOutcome &outcome);

// The message after an import about the values that were not stored as they stood in the
// file, for the rows up to `stored`, or empty text.
QString ImportNotesMessage(const ImportPlan &plan, int stored);
