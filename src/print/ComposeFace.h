#pragma once

// One address face drawn from a row of the print list: the address block and name form chosen
// by use type and print control, the texts made full-width (and kanji numerals in vertical
// writing), the start sizes, then the barcode, the postal code, the address, the name block and
// the sender block, each fitted into its frame by the layout engine.
//
// Preview, print run and printing without a window all draw through ComposeFace, straight on
// their own painter, so that every device shows the same face at its own resolution.

#include "print/FaceSettings.h"
#include "print/PrintList.h"
#include "print/SenderData.h"

#include <QList>
#include <QRect>

class QPainter;

// What a composed face came to, for the check before printing and for measuring.
struct FaceReport {
    enum class Barcode { NotAsked, Printed, NotBuildable, LeftOut };
    Barcode BarcodeOutcome = Barcode::NotAsked;
    double BarcodeSize = 0;      // points, when printed
    QRect BarcodeArea;           // the bars, in device dots, when printed
    double AddressSize = 0;      // points, of the address lines; 0 when there was none
    double SmallestTextSize = 0; // points, of all texts printed; 0 when there was none
    // Where the face may put ink, in device dots: the boxes of the items drawn, the postal code
    // digits and the barcode.
    QList<QRect> InkAreas;
};

// An address line that would print smaller than this is broken in two.
constexpr double kAddressBreakSize = 8;

// Full-width digits become kanji numerals; nothing else changes. Digit by digit each "０" to
// "９" becomes "〇" to "九" (２１ 二一); counted, a number of up to four digits not starting with
// ０ is read out (２１ 二十一, １０５ 百五), longer ones stay digit by digit. Digits that touch a
// letter (１０Ｆ, ２Ａ, Ｂ１) are a room or floor name and stay digits.
QString ToKanjiNumerals(const QString &text, bool counted = false);

// Draws the face of `row` on `painter`, whose origin is the face's top left, at the resolutions
// `dpiX` and `dpiY` (dots per inch); `itemGap` is the gap between lines in dots. The face's area
// is filled white first. `sender` (the data with its print choices) is drawn when the face
// settings ask for the sender block. The painter's state is left as it was.
//
// The barcode is never printed below 8 points: in a box too narrow for that it is printed at
// 8 points when it stays on the paper and clear of the other frames, and otherwise left out.
FaceReport ComposeFace(QPainter &painter, const FaceSettings &face, int dpiX, int dpiY, int itemGap,
                       const PrintRow &row, const TSenderBuff &sender);
