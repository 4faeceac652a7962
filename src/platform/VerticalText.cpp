#include "platform/VerticalText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <string>

namespace VerticalText {

namespace {

char32_t CodePoint(const QString &ch) {
    if (ch.isEmpty())
        return 0;
    if (ch.size() > 1 && ch.at(0).isHighSurrogate() && ch.at(1).isLowSurrogate())
        return QChar::surrogateToUcs4(ch.at(0), ch.at(1));
    return ch.at(0).unicode();
}

bool IsTurned(char32_t u) {
    static const std::u32string turned =
        U"ー―－‐‑‒–—〜～〰…‥＝（）［］｛｝〈〉《》「」『』【】〔〕〖〗〘〙〚〛｟｠";
    return turned.find(u) != std::u32string::npos;
}

bool IsUpperRight(char32_t u) {
    static const std::u32string small = U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ、。，．"
                                        U"ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ";
    return small.find(u) != std::u32string::npos;
}

} // namespace

bool IsHalfWidth(const QString &ch) {
    const char32_t u = CodePoint(ch);
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F) || (u >= 0xFFE8 && u <= 0xFFEE))
        return true;
    if (u >= 0x1100)
        return false;
    // Greek, Cyrillic and these Latin-1 signs are two-byte (full-width) characters of the code
    // page.
    if ((u >= 0x0370 && u <= 0x04FF) || u == 0xA7 || u == 0xA8 || u == 0xB0 || u == 0xB1 ||
        u == 0xB4 || u == 0xB6 || u == 0xD7 || u == 0xF7)
        return false;
    return true;
}

Placement PlacementOf(const QString &ch) {
    const char32_t u = CodePoint(ch);
    if (IsHalfWidth(ch) || IsTurned(u))
        return Placement::Turned;
    if (IsUpperRight(u))
        return Placement::UpperRight;
    return Placement::Upright;
}

int Advance(const QFontMetrics &metrics, int cellHeight, const QString &ch) {
    if (ch.isEmpty())
        return 0;
    if (IsHalfWidth(ch))
        return ch.size() == 1 ? metrics.horizontalAdvance(ch.at(0)) : metrics.horizontalAdvance(ch);
    return cellHeight;
}

void DrawChar(QPainter &painter, const QString &ch, qreal columnRight, qreal top, int cellHeight,
              int advance) {
    if (ch.isEmpty())
        return;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const qreal width = metrics.horizontalAdvance(ch);
    const qreal ascent = metrics.ascent();
    const qreal h = cellHeight;
    const qreal left = columnRight - h;
    // The character's cell as drawn horizontally, centred in its place in the column.
    const QPointF origin(left + (h - width) / 2, top + (advance - h) / 2 + ascent);
    switch (PlacementOf(ch)) {
    case Placement::Upright:
        painter.drawText(origin, ch);
        break;
    case Placement::UpperRight: {
        // Anchored at the upper right: the glyph keeps its side bearing as the gap above it, and
        // its distance from the foot of the cell as the gap on the right.
        const QRectF glyph = metrics.tightBoundingRect(ch).translated(origin);
        const qreal cellTop = top + (advance - h) / 2;
        const qreal leftGap = glyph.left() - origin.x();
        const qreal bottomGap = cellTop + h - glyph.bottom();
        const QPointF shift(columnRight - bottomGap - glyph.right(),
                            cellTop + leftGap - glyph.top());
        painter.drawText(origin + shift, ch);
        break;
    }
    case Placement::Turned:
        painter.save();
        painter.translate(left + h / 2, top + advance / 2.0);
        painter.rotate(90);
        painter.drawText(QPointF(-width / 2, -h / 2 + ascent), ch);
        painter.restore();
        break;
    }
}

} // namespace VerticalText
