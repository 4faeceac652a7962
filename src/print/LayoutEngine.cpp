#include "print/LayoutEngine.h"

#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/BarcodeBars.h"
#include "platform/CustomerBarcode.h"
#include "platform/FontResolver.h"
#include "platform/Prompt.h"
#include "platform/VerticalText.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

namespace {

const char *const kBarcodeTable = "()ABCDEFGH";
const QString kHyphenSet = QStringLiteral("―ー-－‐");
const QString kReference = QStringLiteral("あ");

// Calls `visit` with every character of the text (a surrogate pair as one character).
template <typename Visit> void ForEachChar(const QString &text, Visit visit) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        visit(QStringView(text).mid(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
}

int CharWidth(const LayoutCanvas &canvas, QStringView ch) {
    const LayoutFont &font = canvas.Font();
    if (font.Barcode)
        return BarcodeBars::CharWidth(ch.at(0), font.Size, font.Dpi);
    return ch.size() == 1 ? canvas.Metrics().horizontalAdvance(ch.at(0))
                          : canvas.Metrics().horizontalAdvance(ch.toString());
}

int FontHeight(double size, int dpi) {
    return Rnd(size * dpi / 72);
}

bool IsBarcodeFont(const QString &faceName, int charSet) {
    return charSet == kSymbolCharSet ||
           faceName.trimmed().compare(kBarcodeFace, Qt::CaseInsensitive) == 0;
}

QString PostalCodeOf(const QString &markedPostalCode) {
    const qsizetype end = markedPostalCode.indexOf(kPostalCodeEndMarker);
    return end < 0 ? markedPostalCode : markedPostalCode.left(end);
}

QString PostalLineText(const QString &markedPostalCode) {
    QString code = PostalCodeOf(markedPostalCode);
    for (QChar &c : code)
        if (kHyphenSet.contains(c))
            c = u'-';
    return code.isEmpty() ? code : QStringLiteral("〒") + code;
}

// Draws the characters one by one along a column or a line, `before` dots ahead of and
// `after` dots behind each character; returns where the next character would start.
int DrawCharsAlong(LayoutCanvas &canvas, const QString &text, int x, int y, int start,
                   bool vertical, int before, int after) {
    QPainter &painter = canvas.Painter();
    int p = start;
    if (vertical) {
        // A cell holding several characters keeps their spacings, so that the text is as long
        // as its characters and spacings add up to.
        const int height = canvas.Font().Height;
        for (const VerticalText::Cell &cell : VerticalText::CellsOf(text)) {
            p += before * cell.Chars;
            const int advance = VerticalText::Advance(canvas.Metrics(), height, cell);
            VerticalText::DrawCell(painter, cell, x + height, p, height, advance);
            p += advance + after * cell.Chars;
        }
        return p;
    }
    const int ascent = canvas.Metrics().ascent();
    ForEachChar(text, [&](QStringView ch) {
        p += before;
        const int width = CharWidth(canvas, ch);
        painter.drawText(QPoint(p, y + ascent), ch.toString());
        p += width + after;
    });
    return p;
}

void DrawDigitsInBoxes(LayoutCanvas &canvas, const QString &markedPostalCode, int dpi, double xMm,
                       double yMm, double size, double pitchMm) {
    const QList<PostalBoxDigit> digits = PostalBoxDigits(markedPostalCode, dpi, xMm, yMm, pitchMm);
    if (digits.isEmpty() || !CreateLayoutFont({canvas, kPostalBoxFace, dpi}, size))
        return;
    canvas.Painter().setPen(Qt::black);
    for (const PostalBoxDigit &digit : digits)
        DrawCharsAlong(canvas, digit.Digit, 0, digit.Position.y(), digit.Position.x(), false, 0, 0);
}

} // namespace

LayoutCanvas::LayoutCanvas(QPainter &painter, const QString &faceName)
    : painter_(painter), faceName_(faceName), metrics_(painter.font(), painter.device()) {}

void LayoutCanvas::SelectFont(LayoutFont font) {
    font_ = std::move(font);
    painter_.setFont(font_.Font);
    metrics_ = QFontMetrics(font_.Font, painter_.device());
}

PrinterArea PrinterAreaOf(const QPrinter &printer) {
    const QPageLayout layout = printer.pageLayout();
    PrinterArea area;
    area.DpiX = printer.resolution();
    area.DpiY = printer.resolution();
    area.PhysicalOffset = layout.paintRectPixels(printer.resolution()).topLeft();
    area.PrintableMm = layout.paintRect(QPageLayout::Millimeter).size();
    return area;
}

bool CreateLayoutFont(const FaceContext &face, double size) {
    const QString &faceName = face.FaceName;
    const int dpi = face.Dpi, style = face.Style;
    if (!face.Canvas.Painter().isActive()) {
        prompt().Error(QStringLiteral("フォントの作成に失敗しました"));
        return false;
    }
    LayoutFont font;
    font.FaceName = faceName;
    font.Size = size;
    font.Dpi = dpi;
    font.Height = FontHeight(size, dpi);
    font.Vertical = FontResolver::IsVerticalFace(faceName);
    font.Barcode = IsBarcodeFont(faceName, face.CharSet);
    font.Font = FontResolver::MakeFont(faceName, font.Height, style & kStyleBold,
                                       style & kStyleItalic, style & kStyleUnderline);
    face.Canvas.SelectFont(std::move(font));
    return true;
}

int MeasureText(const LayoutCanvas &canvas, const QString &text) {
    const LayoutFont &font = canvas.Font();
    if (font.Vertical && !font.Barcode)
        return VerticalText::ColumnLength(canvas.Metrics(), font.Height, text);
    int width = 0;
    ForEachChar(text, [&](QStringView ch) { width += CharWidth(canvas, ch); });
    return width;
}

int TextHeight(const LayoutCanvas &canvas, const QString &text) {
    return text.isEmpty() ? 0 : canvas.Font().Height;
}

int CountChars(const QString &text) {
    int count = 0;
    ForEachChar(text, [&](QStringView) { ++count; });
    return count;
}

double FitFont(const FaceContext &face, double size, const std::function<bool()> &fits) {
    if (!CreateLayoutFont(face, size))
        return size;
    while (!fits() && size > 1) {
        // Kept to whole tenths, so that sizes step exactly and the loop ends at 1 point.
        size = std::round((size - 0.1) * 1e9) / 1e9;
        if (!CreateLayoutFont(face, size))
            break;
    }
    return size;
}

void DrawSpacedText(const FaceContext &face, const QString &first, const QString &second,
                    int spacing, QPoint at, double size) {
    LayoutCanvas &canvas = face.Canvas;
    if (!CreateLayoutFont(face, size))
        return;
    if (!face.Vertical)
        canvas.SetFaceName(face.FaceName);
    canvas.Painter().setPen(Qt::black);
    const int start = face.Vertical ? at.y() : at.x();
    const int next =
        DrawCharsAlong(canvas, first, at.x(), at.y(), start, face.Vertical, 0, spacing);
    DrawCharsAlong(canvas, second, at.x(), at.y(), next, face.Vertical, spacing, 0);
}

void DrawItemText(const FaceContext &face, const QString &text, QPoint at, double size) {
    LayoutCanvas &canvas = face.Canvas;
    if (!CreateLayoutFont(face, size))
        return;
    canvas.Painter().setPen(Qt::black);
    if (canvas.Font().Barcode) {
        BarcodeBars::Draw(canvas.Painter(), text, at.x(), at.y(), size, face.Dpi, Qt::black);
        return;
    }
    if (!face.Vertical)
        canvas.SetFaceName(face.FaceName);
    DrawCharsAlong(canvas, text, at.x(), at.y(), face.Vertical ? at.y() : at.x(), face.Vertical, 0,
                   0);
}

LayoutBox ShapeToDeviceBox(const QRect &frame, double previewPixelsPerMm, int dpiX, int dpiY) {
    const auto toDots = [&](int pixels, int dpi) {
        return Rnd(Rnd(pixels / previewPixelsPerMm) * dpi / 25.4);
    };
    return {toDots(frame.left() + 4, dpiX), toDots(frame.top() + 4, dpiY),
            toDots(frame.width() - 8, dpiX), toDots(frame.height() - 8, dpiY)};
}

TPrintCostomerData LayoutBarcode(LayoutCanvas &canvas, int dpi, const LayoutBox &box,
                                 const QString &address, const QString &markedPostalCode,
                                 const QString &zipDataPath, double startSize) {
    const FaceContext barcodeFace = FaceContext{canvas, {}, dpi}.Barcode();
    const double start = std::clamp(startSize, kBarcodeMinSize, kBarcodeMaxSize);
    TPrintCostomerData result;
    if (!CreateLayoutFont(barcodeFace, start))
        return result;
    // Spaces and control characters at both ends are not part of the address.
    qsizetype from = 0, to = address.size();
    while (from < to && address.at(from).unicode() <= u' ')
        ++from;
    while (to > from && address.at(to - 1).unicode() <= u' ')
        --to;
    char barcode[24] = {};
    if (GetCBarString(kBarcodeTable, ShiftJis::Encode(PostalCodeOf(markedPostalCode)).constData(),
                      ShiftJis::Encode(address.mid(from, to - from)).constData(), barcode,
                      zipDataPath) != 0) {
        result.Text = QStringLiteral("error");
        return result;
    }
    result.Text = QString::fromLatin1(barcode);
    const auto width = [&] { return MeasureText(canvas, result.Text); };
    result.FontSize = FitFont(barcodeFace, start, [&] {
        return width() <= box.Width || canvas.Font().Size <= kBarcodeMinSize + 1e-6;
    });
    result.WiderThanBox = width() > box.Width;
    canvas.Painter().setPen(Qt::black);
    result.Left = box.Left;
    result.Top = box.Top;
    result.Right = box.Width;
    result.Bottom = box.Top + MeasureText(canvas, QStringLiteral("5"));
    return result;
}

TPrintCostomerData LayoutPostalLine(LayoutCanvas &canvas, int dpi, const LayoutBox &box,
                                    const QString &markedPostalCode, double startSize) {
    const QString text = PostalLineText(markedPostalCode);
    TPrintCostomerData result;
    // Fitted to the height too, so that "〒" does not reach below the frame.
    result.FontSize = FitFont({canvas, canvas.FaceName(), dpi}, startSize, [&] {
        return MeasureText(canvas, text) <= box.Width && canvas.Font().Height <= box.Height;
    });
    canvas.Painter().setPen(Qt::black);
    result.Left = box.Left;
    result.Top = box.Top;
    result.Right = box.Width;
    result.Bottom = box.Top + MeasureText(canvas, kReference);
    return result;
}

void DrawPostalLine(const FaceContext &face, const QString &markedPostalCode, QPoint at,
                    double size) {
    const QString text = PostalLineText(markedPostalCode);
    if (text.isEmpty())
        return;
    FaceContext horizontal = face;
    horizontal.Vertical = false;
    DrawItemText(horizontal, text, at, size);
}

QList<PostalBoxDigit> PostalBoxDigits(const QString &markedPostalCode, int dpi, double xMm,
                                      double yMm, double pitchMm) {
    QList<PostalBoxDigit> digits;
    double x = xMm;
    const int top = Rnd(yMm * dpi / 25.4);
    ForEachChar(PostalCodeOf(markedPostalCode), [&](QStringView ch) {
        if (ch.size() == 1 && kHyphenSet.contains(ch.at(0)))
            return;
        digits.append({ch.toString(), QPoint(Rnd(x * dpi / 25.4), top)});
        x += pitchMm;
        if (digits.size() == 3)
            x += 1;
    });
    return digits;
}

void DrawPostalBoxes(LayoutCanvas &canvas, const QString &markedPostalCode, int dpi, double xMm,
                     double yMm) {
    DrawDigitsInBoxes(canvas, markedPostalCode, dpi, xMm, yMm, 15, 7);
}

void DrawSenderPostalBoxes(LayoutCanvas &canvas, const QString &markedPostalCode, int dpi,
                           double xMm, double yMm) {
    DrawDigitsInBoxes(canvas, markedPostalCode, dpi, xMm, yMm, 13, 4);
}

TPrintAddressData LayoutAddress(const FaceContext &face, const LayoutBox &box, const QString &line2,
                                const QString &line1, double startSize) {
    LayoutCanvas &canvas = face.Canvas;
    const int gap = face.Gap;
    const bool vertical = face.Vertical;
    const auto w = [&](const QString &text) { return MeasureText(canvas, text); };
    const auto h = [&](const QString &text) { return TextHeight(canvas, text); };
    const auto fit = [&](double size, const std::function<bool()> &fits) {
        return FitFont(face, size, fits);
    };
    const int L = box.Left, T = box.Top, W = box.Width, H = box.Height;

    TPrintAddressData result;
    double size = startSize;
    if (!CreateLayoutFont(face, size))
        return result;
    const bool line1Wider = w(line1) > w(line2);
    if (vertical) {
        if (line1Wider) {
            size = fit(size, [&] { return w(line1 + kReference) <= H; });
            size = fit(size, [&] { return W >= Rnd(w(kReference) * 1.1 * 2) + 2 * gap; });
        } else {
            size = fit(size, [&] { return w(line2 + kReference) <= H; });
            size = fit(size, [&] { return W >= Rnd(w(kReference) * 1.1 * 2); });
        }
        result.Line1 = QPoint(L + W - gap - h(kReference), T);
        int y2 = line1Wider ? T + w(line1) - w(kReference) : T + w(kReference);
        if (line1Wider)
            y2 = std::min(y2, T + H - w(line2)); // pulled up until it ends inside the box
        result.Line2 = QPoint(L + W - 2 * gap - 2 * h(kReference), y2);
    } else {
        if (line1Wider) {
            size = fit(size, [&] { return w(line1 + kReference) <= W; });
            size =
                fit(size, [&] { return H >= Rnd(h(QStringLiteral("ABC")) * 1.1 * 2) + 2 * gap; });
        } else {
            size = fit(size, [&] { return w(line2 + kReference) <= W; });
            size = fit(size, [&] { return H >= Rnd(h(kReference) * 1.1 * 2); });
        }
        result.Line1 = QPoint(L, T + gap);
        int x2 = line1Wider ? L + w(line1) - w(kReference) : L + w(kReference);
        if (line1Wider)
            x2 = std::min(x2, L + W - w(line2));
        result.Line2 = QPoint(x2, T + h(kReference) + 2 * gap);
    }
    result.FontSize = size;
    canvas.Painter().setPen(Qt::black);
    return result;
}

void DrawPrintableArea(QPainter &preview, int previewDpi, const PrinterArea &printer) {
    if (printer.DpiX <= 0 || printer.DpiY <= 0)
        return;
    const int r = previewDpi;
    const int offsetLeft = Rnd(printer.PhysicalOffset.x() * double(r) / printer.DpiX);
    const int offsetTop = Rnd(double(r) * printer.PhysicalOffset.y() / printer.DpiY);
    const int right = Rnd(r * printer.PrintableMm.width() / 25.4) + offsetLeft;
    const int bottom = Rnd(r * printer.PrintableMm.height() / 25.4) + offsetTop;
    const int left = std::max(1, offsetLeft);
    const int top = std::max(1, offsetTop);
    preview.save();
    if (preview.paintEngine() && preview.paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        preview.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    preview.setPen(QPen(Qt::red, 1, Qt::DotLine));
    preview.setBrush(Qt::NoBrush);
    // Outlines the pixels left..right-1 and top..bottom-1, as the printable area covers.
    preview.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
    preview.restore();
}
