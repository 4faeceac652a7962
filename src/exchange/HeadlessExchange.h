#pragma once

#include "contacts/VCard.h"

#include <QString>
#include <functional>
#include <vector>

class PictureStorage;

class Database;

// `pellor3 --export-csv FILE`: the given customers with every column, the header and the
// columns that make the file lossless. Returns the exit status: 0 written, 1 not (the reason
// in `error`).
int ExportCsvHeadless(Database &database, const std::vector<int> &userIds, const QString &path,
                      QString *error);

// `pellor3 --import-csv FILE`: a file with a header line, mapped by it. Lines the window would
// refuse are left out and reported, one a line with its number, through `report`, as are the
// values not stored as they stood. Returns the exit status: 0 every line imported, 3 some
// refused, 1 none could be (the reason in `error`).
int ImportCsvHeadless(Database &database, const QString &path,
                      const std::function<void(const QString &line)> &report, QString *error);

// The given customers as vCard cards, each with its first picture; the number written in
// `customers`. Throws EngineError.
QByteArray BuildVCardExport(Database &database, const std::vector<int> &userIds,
                            const VCard::WriteOptions &options, const PictureStorage &pictures,
                            int *customers = nullptr);

// `pellor3 --export-vcard FILE`: the given customers as vCard cards, each with the first
// picture of the book in the table folder `tableFolder` and a UID that `dataPath` and the
// UserId keep. 0 written, 1 not.
int ExportVCardsHeadless(Database &database, const std::vector<int> &userIds,
                         const QString &dataPath, const QString &tableFolder, const QString &path,
                         VCard::Version version, QString *error);

// `pellor3 --import-vcard FILE`: every card as a new customer, in one transaction, its JPEG
// photo as the customer's first picture in the installation `dataPath`. The cards refused (no
// name, characters code page 932 cannot hold) go through `report` with their names, as do
// photos that could not be stored. 0 every card stored, 3 some refused, 1 none could be (the
// reason in `error`).
int ImportVCardsHeadless(Database &database, const QString &dataPath, const QString &path,
                         const std::function<void(const QString &line)> &report, QString *error);

// `pellor3 --export-greetings FILE`: the whole greeting record (GreetingCsv.h). 0 written, 1 not.
int ExportGreetingsHeadless(Database &database, const QString &path, QString *error);

// `pellor3 --import-greetings FILE`: the lines left out go through `report` with their numbers.
// 0 every line stored, 3 some left out, 1 nothing could be stored (the reason in `error`).
int ImportGreetingsHeadless(Database &database, const QString &path,
                            const std::function<void(const QString &line)> &report, QString *error);
