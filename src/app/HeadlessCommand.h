#pragma once

#include "app/ListPrints.h"

#include <QString>
#include <QStringList>
#include <optional>

// `pellor3 --print-addresses FILE.pdf`: prints the faces of every customer marked for printing,
// in reading order, with the stored print settings, to a PDF file, without any window.

// The PDF path when the arguments ask for the headless print.
std::optional<QString> PrintAddressesTarget(const QStringList &arguments);

// Runs the headless print on the installation the registry names. Returns the exit status;
// the reason of a failure goes to standard error.
int RunPrintAddressesCommand(const QString &pdfPath);

// `pellor3 --check-addresses`: the check before printing for the same customers and choices;
// one line a problem on standard output, exit status non-zero when there is one.
bool CheckAddressesRequested(const QStringList &arguments);
int RunCheckAddressesCommand();

// `pellor3 --update-postal-data`: checks the update server and, when it has newer postal data,
// downloads and installs it, without any window (for a scheduled job).
bool UpdatePostalDataRequested(const QStringList &arguments);
// Exit status 0 with one line on standard output when the data was updated or is current;
// otherwise non-zero with the reason on standard error.
int RunUpdatePostalDataCommand();

// `pellor3 --print-phone-list FILE.pdf` and `pellor3 --print-cards FILE.pdf`: the phone list or
// the customer cards of every customer marked for printing, in reading order.
std::optional<QString> OptionValue(const QStringList &arguments, const QString &option);
int RunPrintListCommand(ListPrintKind kind, const QString &pdfPath);
