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

class QPainter;

// Each full-width digit "０" to "９" becomes "〇" to "九"; nothing else changes.
QString ToKanjiNumerals(const QString &text);

// Draws the face of `row` on `painter`, whose origin is the face's top left, at the resolutions
// `dpiX` and `dpiY` (dots per inch); `itemGap` is the gap between lines in dots. The face's area
// is filled white first. `sender` (the data with its print choices) is drawn when the face
// settings ask for the sender block. The painter's state is left as it was.
void ComposeFace(QPainter &painter, const FaceSettings &face, int dpiX, int dpiY, int itemGap,
                 const PrintRow &row, const TSenderBuff &sender);
