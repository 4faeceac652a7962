#pragma once

#include <QList>
#include <QString>

class AppContext;
class Database;
class QWidget;

// The two list prints of the print choice, for the listed customers whose print flag is set:
// the phone list (電話番号一覧印刷) and the customer cards (カルテ印刷).

enum class ListPrintKind { PhoneList, CustomerCards };

// Asks for the printer and prints with a progress window over `window` that can stop the print;
// tells the user when nothing is marked.
void PrintPhoneBook(AppContext &context, QWidget *window);
void BtnPrintChartClick(AppContext &context, QWidget *window);

// Prints to a PDF file without any window; a file already at `pdfPath` is replaced only by a
// complete one. Returns false with the reason.
bool PrintListToPdf(ListPrintKind kind, Database &database, const QString &dbPath,
                    const QList<int> &customerIds, const QString &pdfPath, QString *error);
