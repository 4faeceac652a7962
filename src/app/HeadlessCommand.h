#pragma once

#include "app/ListPrints.h"

#include <QString>
#include <QStringList>
#include <vector>

// The command line. Without arguments the program opens its window; otherwise it runs one
// command without any window and ends with its exit status: 0 done, 1 could not run, 2 a usage
// error, 3 done with some items refused (for --check-addresses: a problem found).

enum class Command {
    OpenWindow,
    PrintAddresses,
    CheckAddresses,
    MarkGreetingCards,
    PrintPhoneList,
    PrintCards,
    UpdatePostalData,
    SendMail,
    ExportCsv,
    ImportCsv,
    ExportVCard,
    ImportVCard,
    SyncContacts,
    ExportGreetings,
    ImportGreetings,
    FindDuplicates,
    CopyBookTo,
    CopyBookFrom,
    ShowHelp,
    ShowVersion,
    UsageError,
};

struct CommandLine {
    Command command = Command::OpenWindow;
    // The file the command writes.
    QString value;
    // The help text, the version line, or what was wrong with the arguments.
    QString message;
    // The switches given with the command ("marked", "dry-run").
    QStringList switches;
};

// Reads the arguments (the program's name first) without running anything.
CommandLine ParseCommandLine(const QStringList &arguments);

// What --help says of each command and switch, in its order: the manual page and the shell
// completion are made from it, so the three never disagree.
struct CommandDescription {
    QStringList names; // without dashes; a one-letter name takes one dash
    QString valueName; // "FILE.pdf"; empty when it takes no value
    QString help;
};
std::vector<CommandDescription> DescribedCommands();
// The exit status line of --help.
QString ExitStatusText();

// Runs a command other than OpenWindow in the application it needs, made from argc and argv;
// returns the exit status.
int RunCommand(const CommandLine &line, int &argc, char **argv);

// The commands, on the installation the registry names; the reason of a failure goes to
// standard error. The prints take the customers marked for printing, in reading order, with
// the stored print settings.
int RunPrintAddressesCommand(const QString &pdfPath);
// One line a problem on standard output (a customer in mourning for the season of a New Year
// card among them); 3 when there is one.
int RunCheckAddressesCommand();
// Marks for printing, in the whole book, every customer sent or sending a New Year card in the
// season before `season` and not in mourning in it, and unmarks the rest; prints the number
// marked. 2 when `season` is not a year.
int RunMarkGreetingCardsCommand(const QString &season);
int RunPrintListCommand(ListPrintKind kind, const QString &pdfPath);
// Checks the update server and installs newer postal data, without asking (for a scheduled
// job); one line on standard output when the data was updated or is current.
int RunUpdatePostalDataCommand();
// Sends a mail template to every customer with an address for its use type (with `marked`,
// only those marked for printing); one line a customer on standard output; 3 when some were
// refused. `dryRun` lists who would get it and sends nothing.
int RunSendMailCommand(const QString &templatePath, bool marked, bool dryRun);
// Writes every customer, in reading order, with every column, the header and the lossless
// columns.
int RunExportCsvCommand(const QString &csvPath);
// Imports a file with a header line; the lines refused go to standard error with their
// numbers; 3 when some were refused.
int RunImportCsvCommand(const QString &csvPath);
// Every customer, in reading order, as vCard 4.0 cards (with `vcard3`, 3.0).
int RunExportVCardCommand(const QString &vcfPath, bool vcard3);
// Adds a customer for each card; the cards refused go to standard error with their names; 3
// when some were refused.
int RunImportVCardCommand(const QString &vcfPath);
// Two-way sync with the CardDAV address book of the settings; the outcome on standard output,
// each conflict and each card deleted on the server on standard error. Customers whose cards
// were deleted on the server are deleted only with `acceptDeletions`; 3 when conflicts or
// deletions are left for the user.
int RunSyncContactsCommand(bool acceptDeletions);
// The greeting record as CSV: every event, and the events of a file matched on the customer's
// name, reading and postal code; the lines left out go to standard error with their numbers; 3
// when some were.
int RunExportGreetingsCommand(const QString &csvPath);
int RunImportGreetingsCommand(const QString &csvPath);
// One line a pair of customers that may be one, the smaller UserId first:
// UserId, UserId, name, name and the reasons, separated by tabs.
int RunFindDuplicatesCommand();
// Copies the whole local book to the empty server database at `uri` (or, `toServer` false, the
// server's book into the empty local book) and prints what was copied; 2 when `uri` is no
// server address.
int RunCopyBookCommand(const QString &uri, bool toServer);
