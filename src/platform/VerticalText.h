#pragma once

#include <QString>

class QFontMetrics;
class QPainter;

// Vertical writing as a vertical Japanese font draws it: characters run down a column, each in
// a cell as wide as the column. Full-width characters stand upright; long vowel marks, dashes,
// hyphens, wave dashes, tildes, parentheses and brackets are turned a quarter clockwise, as are
// all half-width characters; small kana and "、" "。" sit in the upper right of their cell.
namespace VerticalText {

enum class Placement { Upright, UpperRight, Turned };

// True for a character that code page 932 holds in one byte (ASCII, half-width katakana) or
// that is narrow by nature; such characters lie on their side in a column.
bool IsHalfWidth(const QString &ch);

Placement PlacementOf(const QString &ch);

// The length a character takes along a column in a font whose cell is `cellHeight` high:
// a full-width character takes the whole cell, a half-width one its width.
int Advance(const QFontMetrics &metrics, int cellHeight, const QString &ch);

// Draws one character with the painter's font into the cell of a column whose right edge is
// `columnRight`; the cell starts at `top`, is `cellHeight` wide and `advance` long.
void DrawChar(QPainter &painter, const QString &ch, qreal columnRight, qreal top, int cellHeight,
              int advance);

} // namespace VerticalText
