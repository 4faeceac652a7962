#include "print/PaperPicture.h"

#include "core/DomainWords.h"
#include "platform/FontResolver.h"
#include "print/PaperKinds.h"

#include <QPainter>
#include <algorithm>
#include <array>

namespace {

// Postal code boxes of Japanese postcards, in millimetres.
constexpr double kBoxWidth = 5.7;
constexpr double kBoxHeight = 8.0;
constexpr double kBoxTop = 12.0;
constexpr double kFirstBoxLeft = 44.3;
constexpr std::array<double, 6> kBoxGaps = {1.3, 1.3, 1.9, 1.1, 1.1, 1.1};
constexpr double kPostcardWidth = 100.0;

// Stamp area: the printed stamp of postcards, the place for a stamp on the rest.
constexpr QRectF kPostcardStamp(7.0, 7.0, 21.0, 26.0);
constexpr QRectF kEnvelopeStamp(8.0, 8.0, 25.0, 30.0);

const QColor kPostalRed(0xd7, 0x26, 0x2e);
const QColor kBorderGrey(0x9a, 0x9a, 0x9a);
const QColor kEnvelopePaper(0xf6, 0xef, 0xdf);

double BoxesWidth() {
    double width = 7 * kBoxWidth;
    for (const double gap : kBoxGaps)
        width += gap;
    return width;
}

class MmPainter {
public:
    MmPainter(QImage &image, double pixelsPerMm) : painter_(&image), scale_(pixelsPerMm) {
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setRenderHint(QPainter::TextAntialiasing);
    }

    QRectF Px(const QRectF &mm) const {
        return QRectF(mm.x() * scale_, mm.y() * scale_, mm.width() * scale_, mm.height() * scale_);
    }
    // A pen of `mm` millimetres, never thinner than one pixel.
    QPen Pen(const QColor &colour, double mm, Qt::PenStyle style = Qt::SolidLine) const {
        QPen pen(colour, std::max(1.0, mm * scale_), style);
        pen.setJoinStyle(Qt::MiterJoin);
        return pen;
    }
    void Rect(const QRectF &mm, const QPen &pen, const QBrush &brush = Qt::NoBrush) {
        painter_.setPen(pen);
        painter_.setBrush(brush);
        painter_.drawRect(Px(mm));
    }
    void Line(double x1, double y1, double x2, double y2, const QPen &pen) {
        painter_.setPen(pen);
        painter_.drawLine(QPointF(x1 * scale_, y1 * scale_), QPointF(x2 * scale_, y2 * scale_));
    }
    void Text(const QRectF &mm, double heightMm, const QColor &colour, const QString &text,
              int flags = Qt::AlignCenter) {
        QFont font(FontResolver::FamilyFor(kDefaultFontName));
        font.setPixelSize(std::max(6, static_cast<int>(heightMm * scale_ + 0.5)));
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(Px(mm), flags, text);
    }

private:
    QPainter painter_;
    double scale_;
};

double FirstBoxLeft(int kind) {
    if (IsPostcardKind(kind))
        return kFirstBoxLeft;
    // Envelopes keep the postcard's distance from the right edge.
    return PaperKindOf(kind).PaperMm.width() - (kPostcardWidth - kFirstBoxLeft - BoxesWidth()) -
           BoxesWidth();
}

// The seven boxes with the short line between the third and the fourth; the first three are
// drawn heavier, as on the cards.
void DrawPostalBoxes(MmPainter &p, int kind) {
    const QList<QRectF> boxes = PostalBoxesMm(kind);
    for (int i = 0; i < boxes.size(); ++i) {
        p.Rect(boxes[i], p.Pen(kPostalRed, i < 3 ? 0.5 : 0.3));
        if (i == 2)
            p.Line(boxes[2].right() + 0.4, kBoxTop + kBoxHeight / 2, boxes[3].left() - 0.4,
                   kBoxTop + kBoxHeight / 2, p.Pen(kPostalRed, 0.3));
    }
}

void DrawPostcard(MmPainter &p, int kind) {
    DrawPostalBoxes(p, kind);
    if (kind == 2) {
        // A picture postcard: a stamp of one's own, and the lower part for the message.
        p.Rect(kPostcardStamp, p.Pen(kBorderGrey, 0.3, Qt::DashLine));
        p.Text(kPostcardStamp, 3.5, kBorderGrey, QStringLiteral("切手"));
        p.Line(6, 96, kPostcardWidth - 6, 96, p.Pen(kBorderGrey, 0.25, Qt::DashLine));
        return;
    }
    const QColor ink = kind == 4 ? QColor(0x1f, 0x7a, 0xa8) : kPostalRed;
    QColor tint = ink;
    tint.setAlpha(28);
    p.Rect(kPostcardStamp, p.Pen(ink, 0.4), tint);
    p.Rect(kPostcardStamp.adjusted(1.5, 1.5, -1.5, -1.5), p.Pen(ink, 0.2));
    p.Text(kPostcardStamp.adjusted(1.5, 1.5, -1.5, -1.5), 3.0, ink, QStringLiteral("料額\n印面"));
    p.Text(QRectF(34, 3, 40, 6), 3.2, ink, QStringLiteral("郵 便 は が き"));
    if (kind == 3)
        p.Text(
            QRectF(kPostcardStamp.left(), kPostcardStamp.bottom() + 1, kPostcardStamp.width(), 7),
            5.0, kPostalRed, QStringLiteral("年賀"));
}

void DrawEnvelope(MmPainter &p, int kind, const QSizeF &paperMm) {
    DrawPostalBoxes(p, kind);
    // A landscape envelope has no room for the stamp beside the address.
    if (paperMm.width() > paperMm.height())
        return;
    p.Rect(kEnvelopeStamp, p.Pen(kBorderGrey, 0.3, Qt::DashLine));
    p.Text(kEnvelopeStamp, 4.0, kBorderGrey, QStringLiteral("切手"));
}

} // namespace

QImage PaperPicture(int kind, const QSize &size) {
    QImage image(size, QImage::Format_RGB32);
    const bool envelope = IsPaperKind(kind) && !IsPostcardKind(kind);
    image.fill(envelope ? kEnvelopePaper : QColor(Qt::white));
    if (size.isEmpty())
        return image;
    if (IsPaperKind(kind)) {
        const QSizeF paperMm = PaperKindOf(kind).PaperMm;
        MmPainter p(image, size.height() / paperMm.height());
        if (envelope)
            DrawEnvelope(p, kind, paperMm);
        else
            DrawPostcard(p, kind);
    }
    QPainter border(&image);
    border.setPen(kBorderGrey);
    border.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

QList<QRectF> PostalBoxesMm(int kind) {
    QList<QRectF> boxes;
    double x = FirstBoxLeft(kind);
    for (int i = 0; i < 7; ++i) {
        boxes << QRectF(x, kBoxTop, kBoxWidth, kBoxHeight);
        x += kBoxWidth + (i < 6 ? kBoxGaps[i] : 0);
    }
    return boxes;
}
