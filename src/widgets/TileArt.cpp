#include "widgets/TileArt.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int TileSide = 34;

QPixmap NewPixmap(const QSize &size) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

enum class Look { Normal, Pressed, Hovered };

QPixmap PaintTile(const GlyphPainter &glyph, const QColor &colour, const QString &caption,
                  const QSize &size, const QFont &font, TileBackdrop backdrop, Look look) {
    QPixmap pixmap = NewPixmap(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const bool dark = backdrop == TileBackdrop::Dark;
    const QRectF frame = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    if (look != Look::Normal) {
        const int edge = dark ? 255 : 0;
        p.setPen(QPen(QColor(edge, edge, edge, look == Look::Hovered ? 150 : 90), 1));
        p.setBrush(look == Look::Hovered ? QColor(edge, edge, edge, dark ? 55 : 22)
                                         : QColor(0, 0, 0, dark ? 60 : 40));
        p.drawRoundedRect(frame, 6, 6);
    }
    const double shift = look == Look::Pressed ? 1.0 : 0.0;
    const QRectF tile((size.width() - TileSide) / 2.0 + shift, 5 + shift, TileSide, TileSide);
    QLinearGradient fill(tile.topLeft(), tile.bottomLeft());
    fill.setColorAt(0, colour.lighter(135));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.setBrush(fill);
    p.drawRoundedRect(tile, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(QRectF(tile.left() + 1, tile.top() + 1, tile.width() - 2, tile.height() / 2),
                      6, 6);
    p.save();
    p.translate(tile.left() + 1, tile.top() + 1);
    p.scale((TileSide - 2) / 32.0, (TileSide - 2) / 32.0);
    glyph(p, colour);
    p.restore();

    QFont captionFont = font;
    captionFont.setPixelSize(dark ? 11 : 12);
    p.setFont(captionFont);
    const QRectF text(0 + shift, tile.bottom() + 3 + shift, size.width(),
                      size.height() - tile.bottom() - 5);
    if (dark) {
        p.setPen(QColor(0, 0, 0, 110));
        p.drawText(text.translated(0.8, 0.8), Qt::AlignHCenter | Qt::AlignTop, caption);
    }
    p.setPen(dark ? QColor(Qt::white) : QColor(0x20, 0x20, 0x20));
    p.drawText(text, Qt::AlignHCenter | Qt::AlignTop, caption);
    return pixmap;
}

} // namespace

ButtonPictures PaintTilePictures(const GlyphPainter &glyph, const QColor &colour,
                                 const QString &caption, const QSize &size, const QFont &font,
                                 TileBackdrop backdrop) {
    return {PaintTile(glyph, colour, caption, size, font, backdrop, Look::Normal),
            PaintTile(glyph, colour, caption, size, font, backdrop, Look::Pressed),
            PaintTile(glyph, colour, caption, size, font, backdrop, Look::Hovered)};
}
