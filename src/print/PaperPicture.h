#pragma once

// The background pictures of the preview, drawn to scale from the paper's real dimensions:
// the picture's height stands for the paper's height.

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>

// The plain white face of the label tab ("white.bmp").
constexpr int kWhitePaper = 0;

// The picture of a paper kind (1 to 10), or the white face (kWhitePaper), at `size` pixels.
// Postal code boxes: seven boxes 5.7 x 8 mm, 12 mm from the top, 44.3 mm from the left on
// postcards and as far from the right edge on envelopes.
QImage PaperPicture(int kind, const QSize &size);

// The seven recipient postal code boxes of a paper kind, in millimetres from the paper's corner.
QList<QRectF> PostalBoxesMm(int kind);
