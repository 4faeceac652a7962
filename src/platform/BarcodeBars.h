#pragma once

#include <QColor>
#include <QString>

class QPainter;

// The bars of the Japan Post customer barcode, drawn in place of the barcode font: every
// character of a barcode string ("0"-"9", "-", start "(", stop ")", control codes "A"-"H")
// becomes its bars. At 10 points a bar is 0.6 mm wide, bars stand 1.2 mm apart, a long bar is
// 3.6 mm high; everything scales with the point size.
namespace BarcodeBars {

// The bars of one character from top-to-bottom kinds: 'L' long, 'A' upper semi-long,
// 'D' lower semi-long, 'T' timing. Empty for a character that is not a barcode character.
QString BarsOf(QChar code);

// Distance between bars in dots at `pointSize` on a device of `dpi` dots per inch.
double PitchDots(double pointSize, int dpi);

// The width a character takes: its bar count times the pitch, rounded to whole dots.
int CharWidth(QChar code, double pointSize, int dpi);

// Height of a long bar in dots.
int BarHeight(double pointSize, int dpi);

// Draws the bars of every character of `barcode`, starting with the top left at (x, y).
void Draw(QPainter &painter, const QString &barcode, int x, int y, double pointSize, int dpi,
          const QColor &colour);

} // namespace BarcodeBars
