#pragma once

// The address print window's choices, kept in section PRINT_CONF of "conf.ini" in the data
// folder.

#include "core/DomainWords.h"
#include "print/PaperKinds.h"

#include <QMap>
#include <QPoint>
#include <QString>
#include <array>

class IniFile;

inline const QString kPrintConfSection = QStringLiteral("PRINT_CONF");

// The printer adjustment in tenths of a millimetre, x to the right and y downwards; index 0 is
// the label sheets, 1 to 10 the paper kinds.
using PrintOffsets = std::array<QPoint, kLastPaperKind + 1>;
constexpr int kLabelSheetOffset = 0;
constexpr int kMaxOffsetTenths = 100;

// Printers feed differently, so an adjustment made with a printer chosen is that printer's; a
// printer without one of its own for the entry, and a print to a file, take the common one
// (the only one older versions kept).
struct PrintAdjustments {
    PrintOffsets Common{};
    QMap<QString, QMap<int, QPoint>> ByPrinter;

    QPoint For(const QString &printer, int index) const;
    void Set(const QString &printer, int index, const QPoint &tenths);
    bool operator==(const PrintAdjustments &) const = default;
};

struct PrintSettings {
    int Type = 0; // 0 postcards and envelopes, 1 label sheets
    int PostcardIndex = kDefaultPaperKind;
    bool Vertical = true;
    bool PrintSender = false;
    bool PrintCostom = false;
    QString Font = kDefaultFontName;
    int PMaker = 0;
    int PIndex = 0;
    FrameSet Frames = DefaultFrames(kDefaultPaperKind, true);
    // False when the file holds no frames: a face then takes the paper's default frames.
    bool FramesStored = false;
    bool CountedNumerals = false; // block numbers of vertical addresses: 二十一, else 二一
    PrintAdjustments Offsets;
};

// Reads the section; a missing value, one that is not a number or one out of its range
// gives the default.
PrintSettings ReadPrintSettings(const IniFile &ini);

// Writes every key in its fixed order; other sections, and keys of the section that are not
// ours, are kept.
void WritePrintSettings(IniFile &ini, const PrintSettings &settings);
