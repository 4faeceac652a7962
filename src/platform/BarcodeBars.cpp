#include "platform/BarcodeBars.h"

#include "core/TextHelpers.h"

#include <QPainter>

namespace BarcodeBars {

namespace {

// Sizes at the nominal 10 points, in millimetres.
constexpr double kNominalPoints = 10.0;
constexpr double kPitchMm = 1.2;
constexpr double kBarWidthMm = 0.6;
constexpr double kLongBarMm = 3.6;

double MmToDots(double mm, double pointSize, int dpi) {
    return mm * pointSize / kNominalPoints * dpi / 25.4;
}

} // namespace

QString BarsOf(QChar code) {
    switch (code.unicode()) {
    case u'1':
        return QStringLiteral("LLT");
    case u'2':
        return QStringLiteral("LDA");
    case u'3':
        return QStringLiteral("DLA");
    case u'4':
        return QStringLiteral("LAD");
    case u'5':
        return QStringLiteral("LTL");
    case u'6':
        return QStringLiteral("DAL");
    case u'7':
        return QStringLiteral("ALD");
    case u'8':
        return QStringLiteral("ADL");
    case u'9':
        return QStringLiteral("TLL");
    case u'0':
        return QStringLiteral("LTT");
    case u'-':
        return QStringLiteral("TLT");
    case u'A':
        return QStringLiteral("DAT");
    case u'B':
        return QStringLiteral("DTA");
    case u'C':
        return QStringLiteral("ADT");
    case u'D':
        return QStringLiteral("TDA");
    case u'E':
        return QStringLiteral("ATD");
    case u'F':
        return QStringLiteral("TAD");
    case u'G':
        return QStringLiteral("TTL");
    case u'H':
        return QStringLiteral("LLL");
    case u'(':
        return QStringLiteral("LD");
    case u')':
        return QStringLiteral("DL");
    default:
        return {};
    }
}

double PitchDots(double pointSize, int dpi) {
    return MmToDots(kPitchMm, pointSize, dpi);
}

int CharWidth(QChar code, double pointSize, int dpi) {
    return Rnd(BarsOf(code).size() * PitchDots(pointSize, dpi));
}

int BarHeight(double pointSize, int dpi) {
    return Rnd(MmToDots(kLongBarMm, pointSize, dpi));
}

void Draw(QPainter &painter, const QString &barcode, int x, int y, double pointSize, int dpi,
          const QColor &colour) {
    const double pitch = PitchDots(pointSize, dpi);
    const double barWidth = MmToDots(kBarWidthMm, pointSize, dpi);
    const double third = MmToDots(kLongBarMm, pointSize, dpi) / 3;
    int charLeft = x;
    for (QChar code : barcode) {
        const QString bars = BarsOf(code);
        for (qsizetype i = 0; i < bars.size(); ++i) {
            const bool fromTop = bars[i] == u'L' || bars[i] == u'A';
            const bool toBottom = bars[i] == u'L' || bars[i] == u'D';
            const double top = y + (fromTop ? 0 : third);
            const double bottom = y + (toBottom ? 3 * third : 2 * third);
            painter.fillRect(QRectF(charLeft + i * pitch, top, barWidth, bottom - top), colour);
        }
        charLeft += CharWidth(code, pointSize, dpi);
    }
}

} // namespace BarcodeBars
