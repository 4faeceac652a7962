#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

// The three looks an ImageButton shows.
struct ButtonPictures {
    QPixmap normal;
    QPixmap pressed;
    QPixmap hovered;
};

// Draws a white glyph in a 32 x 32 box; `hole` is the tile colour, for cut-outs.
using GlyphPainter = std::function<void(QPainter &painter, const QColor &hole)>;

// Where the button sits: white captions on the dark toolbar, dark ones in a window.
enum class TileBackdrop { Dark, Light };

// A button of `size`: the glyph on a rounded tile of `colour`, the caption under it.
ButtonPictures PaintTilePictures(const GlyphPainter &glyph, const QColor &colour,
                                 const QString &caption, const QSize &size, const QFont &font,
                                 TileBackdrop backdrop);
