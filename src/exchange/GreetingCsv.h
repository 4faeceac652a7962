#pragma once

// The greeting record as a CSV file: one line per event with the customer's name, reading and
// postal code (what an import matches the customer on), season, kind code, day and note, after a
// header line; Shift-JIS, CR LF, quoted as the customer export quotes.

#include <QByteArray>
#include <QString>
#include <QStringList>

class Database;
struct ImportFile;

// The whole file; `events` is set to the number of lines after the header. Throws EngineError.
QByteArray BuildGreetingCsv(Database &database, int *events = nullptr);

struct GreetingImport {
    int stored = 0;
    // One a line, "N行目: reason", for every line that was left out: no customer or more than
    // one matched, or the season, kind or day cannot be read. Nothing is guessed.
    QStringList refused;
};

// Whether the file starts with the header BuildGreetingCsv writes.
bool IsGreetingFile(const ImportFile &file);

// Stores every line of a file as BuildGreetingCsv writes it (a header line first is skipped)
// that matches exactly one customer, in one transaction; an event already recorded gets the
// line's day and note. False and the reason when the book refused the change (then nothing is
// stored).
bool ImportGreetingRecords(Database &database, const ImportFile &file, GreetingImport &outcome,
                           QString &error);
// The same for the file at `path`; false and the reason also when it cannot be read.
bool ImportGreetingCsv(Database &database, const QString &path, GreetingImport &outcome,
                       QString &error);

// What the user is told after an import: the events stored and the lines left out.
QString GreetingImportMessage(const GreetingImport &outcome);
