#pragma once

// Printing the marked customers' address faces to a PDF file without any window, with the
// choices the address print window last kept (section PRINT_CONF of "conf.ini") and the sender
// data of section SENDER.
//
// Usage (the command line "--print-addresses FILE.pdf"):
//     QString error;
//     const int status = PrintAddressesToPdf(database, dataPath, idsByKana, path, &error);

#include "print/FaceSettings.h"
#include "print/PaperSheets.h"
#include "print/PrintRun.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Database;
struct PrintSettings;

// The face settings the window would show for stored choices: the paper kind's size (or the
// label's on the label tab, written horizontally without the sender), the preview scale of that
// paper, the stored frames placed inside the preview and the font chosen as the window chooses;
// the barcode reads the towns from the postal code file at `zipDataPath`.
FaceSettings StoredFaceSettings(const PrintSettings &settings,
                                const std::optional<SheetGeometry> &sheet,
                                const QString &zipDataPath);

// Prints, in the order of `customerIds`, every customer whose print flag is set. Returns 0, or
// non-zero with the message in *error when nothing is marked, the label sheet is missing or
// unusable, or the file cannot be written. A file already at `pdfPath` is replaced only by a
// complete one.
int PrintAddressesToPdf(Database &database, const QString &dataPath, const QList<int> &customerIds,
                        const QString &pdfPath, QString *error);

// The customers in mourning for the season of a card of a paper kind (0 for label sheets).
using MournerLookup = std::function<QSet<int>(int paperKind)>;

// The check before printing for the same customers and choices: 0 when nothing is wrong, 3
// with one line a problem in *problems, 1 with the message in *error when the run cannot be
// set up. `mournersFor`, when given, names the marked customers in mourning.
int CheckAddressesHeadless(Database &database, const QString &dataPath,
                           const QList<int> &customerIds, QStringList *problems, QString *error,
                           const MournerLookup &mournersFor = {});
