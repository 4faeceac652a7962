#pragma once

#include "core/TextFile.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Database;
class Prompt;

// A file chosen for import: its lines and how its text was read.
struct ImportFile {
    QStringList lines;
    TextFile::TextEncoding encoding = TextFile::TextEncoding::ShiftJis;
};

// Reads a file for import: UTF-8 or code page 932 (see DecodeForeignText), split at CR LF, CR or
// LF outside double quotes. nullopt and the reason, in Japanese, when it cannot be used.
std::optional<ImportFile> ReadImportFile(const QString &path, QString &error);

// The window's name for how the file was read.
QString EncodingName(TextFile::TextEncoding encoding);

// The fields of a line as the mapping table shows them; the table holds at most
// MaxMappingRows of them, so a runaway line cannot make it unusable.
inline constexpr int MaxMappingRows = 256;
QStringList SampleFields(const QString &line);

// The rows to insert, one value per ImportFields() entry for each file line.
struct ImportPlan {
    std::vector<QStringList> rows;
    // File line numbers (from 1) whose birthday value is not empty and not a date.
    QList<int> unreadableDates;
    // "line number（name）: characters by code" for each line holding characters code page 932
    // cannot hold.
    QStringList unrepresentable;
};

// `assignments` holds, per mapping-table row, the caption of the field assigned to that column
// of the file or an empty text. Fields beyond the table's rows are ignored, missing ones read
// as empty, unassigned fields take their default and readings become half-width katakana.
ImportPlan BuildImportPlan(const ImportFile &file, const QStringList &assignments);

// How an import ended.
struct ImportOutcome {
    enum Kind { Stored, Cancelled, Refused } kind = Stored;
    int stored = 0;
};

// Inserts the rows in one transaction. A refused row stops the import with the store's message;
// the user chooses whether the rows before it stay. Cancelling stores nothing. Throws
// EngineError when the transaction itself fails.
ImportOutcome InsertImportRows(Database &database, const ImportPlan &plan, Prompt &prompt,
                               const std::function<bool(int, int)> &progress);

// The message after an import about the birthdays that could not be read, or empty text.
QString UnreadableDatesMessage(const QList<int> &lines);
