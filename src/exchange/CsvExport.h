#pragma once

#include "core/TextFile.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class Database;
struct ExportColumn;

// What the column choice window asks for.
struct ExportOptions {
    std::vector<bool> ticked; // one per ExportColumns() entry
    bool header = true;
    TextFile::TextEncoding encoding = TextFile::TextEncoding::ShiftJis;
    bool lossless = false; // "すべての項目": LosslessExportColumns() after the ticked ones
    bool guardFormulas = true; // "表計算ソフトで数式として扱わない"
};

// One value as the export writes it: without line breaks, in double quotes (a double quote
// doubled) where the import would misread it, and with `guardFormulas` an apostrophe before what
// a spreadsheet would take for a formula.
QString CsvItem(const QString &value, bool guardFormulas);

// The value without its line breaks, which would end the line early.
QString WithoutLineBreaks(const QString &value);

// The export columns ticked, in file order, and the lossless ones when asked for.
std::vector<const ExportColumn *> TickedColumns(const ExportOptions &options);

QString ExportHeaderLine(const std::vector<const ExportColumn *> &columns);

// Lines ended by CR LF, as Shift-JIS or as UTF-8 with a byte-order mark.
QByteArray EncodeExportText(const QString &text, TextFile::TextEncoding encoding);

// The whole file for the listed customers, in list order, and in `customers` how many of
// them it holds; nullopt when `progress` returned false. Throws EngineError.
std::optional<QByteArray> BuildCsvExport(Database &database, const std::vector<int> &listed,
                                         const ExportOptions &options,
                                         const std::function<bool(int, int)> &progress,
                                         int *customers = nullptr);

// Writes the file as a whole through a temporary file, readable by the user alone; false and
// the reason when it could not.
bool WritePrivateExportFile(const QString &path, const QByteArray &bytes, QString *error);
// The same; false after telling the user why not.
bool WriteExportFile(const QString &path, const QByteArray &bytes);

// What the user is told after an export was written.
QString ExportedMessage(int customers, const QString &path);
