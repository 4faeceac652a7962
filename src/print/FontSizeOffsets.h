#pragma once

// The user's shifts of the start font sizes of an address face, in whole points.

#include <QString>
#include <QStringList>

constexpr int kOffsetLimit = 10;

struct FontSizeOffsets {
    int RecipientAddress = 0; // address (15)
    int RecipientName = 0;    // NameSize, CompanySize, PostSize, ExecutiveSize
    int SenderAddress = 0;    // AddressSize
    int SenderName = 0;       // SenderNameSize
    int SenderTelFax = 0;     // TelFaxSize, MailSize, HpSize
    int SenderOffice = 0;     // OfficeSize, ExecutiveTitleSize
    bool Manual = false;      // "自分で設定": the shifts apply

    // The shifts to add to the start sizes: all 0 unless Manual.
    FontSizeOffsets Applied() const;
    bool operator==(const FontSizeOffsets &) const = default;
};

// The 21 entries of a size list, "+10" down to "-10"; entry 10 is "0".
const QStringList &OffsetEntries();
constexpr int kZeroOffsetEntry = 10;

// An entry's shift: its text without half-width spaces, as a signed integer.
int OffsetOfEntry(const QString &entry);
