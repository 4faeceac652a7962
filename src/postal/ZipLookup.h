#pragma once

#include "platform/ZipData.h"

#include <QList>
#include <QString>

class QLineEdit;
class TFormSearchZip;

// What one lookup found, before anything is shown.
struct ZipSearch {
    enum class Outcome { Found, NotFound, FileError };

    Outcome outcome = Outcome::NotFound;
    QString keyCaption; // the text of Label1 in the search window
    QList<ZipRow> rows;
    QString message; // told to the user when nothing was found or the file failed
};

// Address for a postal code: at least three characters after removing "-", prefix match.
ZipSearch SearchZipByCode(const QString &dataPath, const QString &zipText);
// Postal code for an address: the text anywhere in a line, letter case ignored.
ZipSearch SearchZipByAddress(const QString &dataPath, const QString &addressText);

// True when the typed code, hyphens removed, is all seven digits: the editors then look it up
// without waiting for the button.
bool IsWholePostalCode(const QString &zipText);

// The edits of the address page that the editor shows.
struct ZipLookupTarget {
    QString dataPath;        // GetDataPath()
    bool customerSelected;   // a row of ListViewMain is selected
    QLineEdit *zipEdit;      // EditZip or EditOfficeZip
    QLineEdit *address1Edit; // EditAddress1 or EditOfficeAddress1
};

// The work of the "〒" and "住所1" buttons of both address pages (SSB_Zip and BtnZipOf;
// SSB_Address and BtnAddressOf): the editor calls them with the edits of the page it shows.
//
// Without a selected customer nothing happens. Otherwise the search window opens modally with
// the matching rows, or a message explains why not; no edit changes unless the user picks a row
// and presses OK. Then both edits get their text through QLineEdit::setText, which emits
// textChanged, so the editor saves the record as it does for typing.
void LookUpAddressByZip(TFormSearchZip &form, const ZipLookupTarget &target);
void LookUpZipByAddress(TFormSearchZip &form, const ZipLookupTarget &target);
