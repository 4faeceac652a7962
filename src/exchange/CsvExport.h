#pragma once

#include "core/TextFile.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class AppContext;
struct ExportColumn;

// What the column choice window asks for.
struct ExportOptions {
    std::vector<bool> ticked; // one per ExportColumns() entry
    bool header = false;
    TextFile::TextEncoding encoding = TextFile::TextEncoding::ShiftJis;
};

// The export columns ticked, in file order.
std::vector<const ExportColumn *> TickedColumns(const ExportOptions &options);

QString ExportHeaderLine(const std::vector<const ExportColumn *> &columns);

// Lines ended by CR LF, as Shift-JIS or as UTF-8 with a byte-order mark.
QByteArray EncodeExportText(const QString &text, TextFile::TextEncoding encoding);

// The whole file for the listed customers, in list order; nullopt when `progress` returned
// false. Throws EngineError.
std::optional<QByteArray> BuildCsvExport(AppContext &context, const ExportOptions &options,
                                         const std::function<bool(int, int)> &progress);

// Writes the file as a whole through a temporary file; false after telling the user why not.
bool WriteExportFile(const QString &path, const QByteArray &bytes);
