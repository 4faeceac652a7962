#include "app/ToolbarArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

QColor TileColour(ToolIcon icon) {
    switch (icon) {
    case ToolIcon::AddData:
        return QColor(0x2f, 0x9e, 0x58);
    case ToolIcon::EditClass:
        return QColor(0xe0, 0x8a, 0x24);
    case ToolIcon::MyData:
        return QColor(0x1c, 0x93, 0x93);
    case ToolIcon::Print:
        return QColor(0x34, 0x6a, 0xcc);
    case ToolIcon::Import:
        return QColor(0x55, 0x58, 0xd0);
    case ToolIcon::Export:
        return QColor(0x8a, 0x4c, 0xc0);
    case ToolIcon::Backup:
        return QColor(0x45, 0x66, 0x86);
    case ToolIcon::Config:
        return QColor(0x66, 0x72, 0x80);
    case ToolIcon::SendMail:
        return QColor(0xd0, 0x55, 0x48);
    case ToolIcon::Zip:
        return QColor(0xcc, 0x2f, 0x2f);
    case ToolIcon::Format:
        return QColor(0x9a, 0x4b, 0x2b);
    }
    return Qt::gray;
}

// Glyphs are drawn in a 32 x 32 box in white; `hole` is the tile colour for cut-outs.
void PaintGlyph(QPainter &p, ToolIcon icon, const QColor &hole) {
    const QColor white(Qt::white);
    QPen stroke(white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    switch (icon) {
    case ToolIcon::AddData:
        p.drawEllipse(QPointF(13, 11), 5, 5);
        p.drawPie(QRectF(4, 17, 18, 16), 0, 180 * 16);
        p.setPen(QPen(white, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(25, 14), QPointF(25, 24));
        p.drawLine(QPointF(20, 19), QPointF(30, 19));
        break;
    case ToolIcon::EditClass: {
        QPainterPath tag;
        tag.moveTo(5, 9);
        tag.lineTo(18, 9);
        tag.lineTo(27, 16.5);
        tag.lineTo(18, 24);
        tag.lineTo(5, 24);
        tag.closeSubpath();
        p.drawPath(tag);
        p.setBrush(hole);
        p.drawEllipse(QPointF(10.5, 16.5), 2.2, 2.2);
        p.setPen(QPen(hole, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(20, 14));
        p.drawLine(QPointF(14, 19), QPointF(19, 19));
        break;
    }
    case ToolIcon::MyData:
        p.drawRect(QRectF(8, 5, 16, 23));
        p.setBrush(hole);
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 2; ++column)
                p.drawRect(QRectF(11 + column * 6.5, 8 + row * 4.2, 3.5, 2.6));
        p.drawRect(QRectF(14, 24, 4, 4));
        break;
    case ToolIcon::Print:
        p.drawRect(QRectF(10, 5, 12, 7));
        p.drawRoundedRect(QRectF(4, 12, 24, 11), 2.5, 2.5);
        p.setBrush(hole);
        p.drawRect(QRectF(9, 18, 14, 2));
        p.setBrush(white);
        p.drawRect(QRectF(10, 20, 12, 8));
        p.setPen(QPen(hole, 1.2));
        p.drawLine(QPointF(12, 23), QPointF(20, 23));
        p.drawLine(QPointF(12, 25.5), QPointF(18, 25.5));
        break;
    case ToolIcon::Import:
    case ToolIcon::Export: {
        p.setPen(stroke);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(
            QPolygonF({QPointF(5, 18), QPointF(5, 27), QPointF(27, 27), QPointF(27, 18)}));
        p.setPen(QPen(white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (icon == ToolIcon::Import) {
            p.drawLine(QPointF(16, 4), QPointF(16, 21));
            p.drawPolyline(QPolygonF({QPointF(10, 15), QPointF(16, 21), QPointF(22, 15)}));
        } else {
            p.drawLine(QPointF(16, 21), QPointF(16, 4));
            p.drawPolyline(QPolygonF({QPointF(10, 10), QPointF(16, 4), QPointF(22, 10)}));
        }
        break;
    }
    case ToolIcon::Backup:
        for (int disk = 2; disk >= 0; --disk) {
            const double top = 7 + disk * 6.5;
            p.setBrush(white);
            p.setPen(Qt::NoPen);
            p.drawRect(QRectF(6, top + 2.5, 20, 5));
            p.drawEllipse(QRectF(6, top + 5, 20, 5));
            p.setPen(QPen(hole, 1.2));
            p.drawEllipse(QRectF(6, top, 20, 5));
        }
        break;
    case ToolIcon::Config: {
        const QPointF centre(16, 16);
        p.setPen(Qt::NoPen);
        for (int tooth = 0; tooth < 8; ++tooth) {
            p.save();
            p.translate(centre);
            p.rotate(tooth * 45.0);
            p.drawRoundedRect(QRectF(-2.8, -13, 5.6, 8), 1.2, 1.2);
            p.restore();
        }
        p.drawEllipse(centre, 9, 9);
        p.setBrush(hole);
        p.drawEllipse(centre, 3.6, 3.6);
        break;
    }
    case ToolIcon::SendMail:
        p.drawRoundedRect(QRectF(4, 8, 24, 17), 2, 2);
        p.setPen(QPen(hole, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5.5, 10), QPointF(16, 18.5), QPointF(26.5, 10)}));
        break;
    case ToolIcon::Zip: {
        p.setPen(QPen(white, 3.2, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(QPointF(7, 7), QPointF(25, 7));
        p.drawLine(QPointF(7, 13.5), QPointF(25, 13.5));
        p.drawLine(QPointF(16, 13.5), QPointF(16, 27));
        break;
    }
    case ToolIcon::Format: {
        p.setPen(QPen(white, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 120 * 16, 290 * 16);
        const double angle = (120.0 + 290.0) * M_PI / 180.0;
        const QPointF tip(16 + 10 * std::cos(angle), 16 - 10 * std::sin(angle));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        p.drawPolygon(
            QPolygonF({tip + QPointF(-5, -3), tip + QPointF(4, -5), tip + QPointF(2, 4)}));
        break;
    }
    }
}

} // namespace

ButtonPictures PaintToolPictures(ToolIcon icon, const QString &caption, const QSize &size,
                                 const QFont &font) {
    return PaintTilePictures([icon](QPainter &p, const QColor &hole) { PaintGlyph(p, icon, hole); },
                             TileColour(icon), caption, size, font, TileBackdrop::Dark);
}

void PaintBanner(QPainter &p, const QRect &rect, const QFont &font) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(rect.topLeft(), rect.topRight());
    sky.setColorAt(0, QColor(0x14, 0x2c, 0x52));
    sky.setColorAt(0.55, QColor(0x1d, 0x55, 0x84));
    sky.setColorAt(1, QColor(0x27, 0x7f, 0x86));
    p.fillRect(rect, sky);
    QLinearGradient gloss(rect.topLeft(), rect.bottomLeft());
    gloss.setColorAt(0, QColor(255, 255, 255, 46));
    gloss.setColorAt(0.5, QColor(255, 255, 255, 12));
    gloss.setColorAt(0.51, QColor(255, 255, 255, 0));
    p.fillRect(rect, gloss);
    p.setPen(QPen(QColor(255, 255, 255, 18), 14));
    for (int x = rect.left() - rect.height(); x < rect.right(); x += 46)
        p.drawLine(QPointF(x, rect.bottom()), QPointF(x + rect.height(), rect.top()));
    p.setPen(QColor(0, 0, 0, 90));
    p.drawLine(rect.bottomLeft(), rect.bottomRight());

    QFont small = font;
    small.setPixelSize(12);
    small.setBold(false);
    QFont title = font;
    title.setPixelSize(24);
    title.setBold(true);
    title.setItalic(true);
    p.setPen(QColor(0xbf, 0xdc, 0xf2));
    p.setFont(small);
    p.drawText(QRect(rect.left() + 14, rect.top() + 8, 160, 16), Qt::AlignLeft,
               QStringLiteral("Brisko"));
    p.setPen(Qt::white);
    p.setFont(title);
    p.drawText(QRect(rect.left() + 12, rect.top() + 20, 170, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Pellor3"));
    p.setPen(QColor(0xbf, 0xdc, 0xf2));
    p.setFont(small);
    p.drawText(QRect(rect.left() + 14, rect.top() + 50, 170, 16), Qt::AlignLeft,
               QStringLiteral("顧客管理・宛名印刷"));
    p.restore();
}
