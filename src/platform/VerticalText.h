#pragma once

#include <QList>
#include <QString>

class QFontMetrics;
class QPainter;

// Vertical writing as a Japanese typesetter sets it: characters run down a column, each in a
// cell as wide as the column. Kanji, kana (half-width kana in their full-width forms), full-width
// letters, digits and signs stand upright; long vowel marks, dashes, hyphens, wave dashes,
// colons, brackets and the signs that lie along a line turn a quarter clockwise; small kana and
// "、" "。" sit in the upper right of their cell. Two letters or digits, or three with a digit
// among them ("10", "2A", "10F"), stand side by side in one cell; longer runs stand upright one
// by one, except half-width Latin text (a mail or web address, a word in lower case), which
// lies turned as a line of its own.
namespace VerticalText {

enum class Placement {
    Upright,
    UpperRight,
    Turned,
    SideBySide, // several narrow characters across one cell
};

// One cell of a column: what is drawn there, how, and how many characters of the text it holds.
struct Cell {
    QString Text;
    Placement Place = Placement::Upright;
    int Chars = 1;
};

// True for a character that code page 932 holds in one byte (ASCII, half-width katakana) or
// that is narrow by nature.
bool IsHalfWidth(const QString &ch);

// How a single character stands in a column, without regard to its neighbours.
Placement PlacementOf(const QString &ch);

// The cells a text fills in a column, in order.
QList<Cell> CellsOf(const QString &text);

// The length a cell takes along a column in a font whose cell is `cellHeight` high: the whole
// cell, except a turned half-width character, which takes its width.
int Advance(const QFontMetrics &metrics, int cellHeight, const Cell &cell);

// The length of a whole text along a column.
int ColumnLength(const QFontMetrics &metrics, int cellHeight, const QString &text);

// Draws one cell with the painter's font in a column whose right edge is `columnRight`; the
// cell starts at `top`, is `cellHeight` wide and `advance` long.
void DrawCell(QPainter &painter, const Cell &cell, qreal columnRight, qreal top, int cellHeight,
              int advance);

} // namespace VerticalText
