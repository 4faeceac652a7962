#pragma once

// The layout engine of an address face: fonts, measuring, fitting and drawing on the target
// device, and the layout of the barcode, the postal code and the address.
//
// Units: every size and position is in device dots of the painter's device (printer dots or
// preview pixels) at the resolution `dpi` the caller passes (the vertical resolution); font
// sizes are points; a font of s points is Rnd(s * dpi / 72) dots high; mm -> dots is
// mm * dpi / 25.4. Texts are QString; a character is one code point, as one Shift-JIS character.
//
// Usage (one face):
//     QPainter painter(&device);
//     LayoutCanvas canvas(painter, faceName);
//     const FaceContext face{canvas, faceName, dpi, gap, vertical};
//     TPrintAddressData address = LayoutAddress(face, box, l2, l1, 15);
//     DrawItemText(face, l1, address.Line1, address.FontSize);
//
// In vertical writing the face name carries "@" (vertical variant) and a text is drawn in the
// cells of its column as VerticalText sets them; x, y of a vertical text is the left edge of its
// column and its top.

#include "core/DomainWords.h"

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

// Character sets of CreateLayoutFont: texts use Shift-JIS, the barcode face the symbol set.
constexpr int kShiftJisCharSet = 128;
constexpr int kSymbolCharSet = 2;

// Style flags of CreateLayoutFont and the drawing operations.
constexpr int kStyleBold = 1;
constexpr int kStyleItalic = 2;
constexpr int kStyleUnderline = 4;

// Appended to every postal code handed to the engine; the code is the text before it.
inline const QString kPostalCodeEndMarker = QStringLiteral("endpostcode");

// A layout box in device dots: left, top, width, height (not right and bottom).
struct LayoutBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The font a canvas measures with.
struct LayoutFont {
    QString FaceName;
    double Size = 0;       // points
    int Dpi = 0;           // device resolution it was made for
    int Height = 0;        // cell height in dots, Rnd(Size * Dpi / 72)
    bool Vertical = false; // "@" face: full-width characters advance by the whole cell
    bool Barcode = false;  // barcode face or symbol character set: characters are bars
    QFont Font;
};

// A painter with the engine's current layout font. The canvas face name is the face that
// horizontal drawing last set (or the one given here); LayoutPostalLine measures in it.
class LayoutCanvas {
public:
    explicit LayoutCanvas(QPainter &painter, const QString &faceName = {});

    QPainter &Painter() const { return painter_; }
    const LayoutFont &Font() const { return font_; }
    const QFontMetrics &Metrics() const { return metrics_; }
    const QString &FaceName() const { return faceName_; }

    void SelectFont(LayoutFont font);
    void SetFaceName(const QString &faceName) { faceName_ = faceName; }

private:
    QPainter &painter_;
    QString faceName_;
    LayoutFont font_;
    QFontMetrics metrics_;
};

// What the layout calls of one face share: the canvas, the face (with "@" in vertical writing),
// the resolution the engine works in, the gap between lines in dots, the writing direction, the
// style flags and the character set.
struct FaceContext {
    LayoutCanvas &Canvas;
    QString FaceName;
    int Dpi = 0;
    int Gap = 0;
    bool Vertical = false;
    int Style = 0;
    int CharSet = kShiftJisCharSet;

    // The customer barcode face of this canvas and resolution, written horizontally.
    FaceContext Barcode() const {
        return {Canvas, kBarcodeFace, Dpi, Gap, false, 0, kSymbolCharSet};
    }
};

// Japan Post reads the customer barcode from 8 to 11.5 points; it is never fitted outside them.
constexpr double kBarcodeMinSize = 8;
constexpr double kBarcodeMaxSize = 11.5;

// Result of LayoutBarcode and LayoutPostalLine.
struct TPrintCostomerData {
    double FontSize = 0;
    int Left = 0;
    int Top = 0;
    int Right = 0;  // the box width, copied unchanged
    int Bottom = 0; // Top + width of "5" (barcode) or "あ" (postal line) in the final font
    QString Text;   // the barcode, "error" when it could not be made; empty for the postal line
    bool WiderThanBox = false; // the barcode at its smallest size still exceeds the box
};

// Result of LayoutAddress: the final size and where each line starts.
struct TPrintAddressData {
    double FontSize = 0;
    QPoint Line1;
    QPoint Line2;
};

// What DrawPrintableArea needs to know of the printer.
struct PrinterArea {
    QPoint PhysicalOffset; // dots
    int DpiX = 0;
    int DpiY = 0;
    QSizeF PrintableMm; // printable width and height
};
PrinterArea PrinterAreaOf(const QPrinter &printer);

// Makes the font (cell height Rnd(size * dpi / 72), weight and decoration from the style flags)
// and selects it into the canvas. Returns false, after the message "フォントの作成に失敗しました",
// when the canvas cannot take a font.
bool CreateLayoutFont(const FaceContext &face, double size);

// Sum of the widths of the text's characters in the canvas font, each measured alone; 0 for
// an empty text. For the barcode face a character is its bar count times the bar pitch.
int MeasureText(const LayoutCanvas &canvas, const QString &text);
// Height of a text in the canvas font: the cell height, 0 for an empty text.
int TextHeight(const LayoutCanvas &canvas, const QString &text);
// Number of characters.
int CountChars(const QString &text);

// The fitting rule: makes the font at `size`, then while `fits` is false and the size is above
// 1 point, lowers it by 0.1 point and makes the font again. Returns the final size; the canvas
// keeps the font of that size.
double FitFont(const FaceContext &face, double size, const std::function<bool()> &fits);

// Draws `first` with `spacing` dots after each character, then `second` with `spacing` before
// each character, along a column (vertical) or a line, from `at`, in black.
void DrawSpacedText(const FaceContext &face, const QString &first, const QString &second,
                    int spacing, QPoint at, double size);

// Draws a text at `at` (top left of the line, or of the column in vertical writing) in black.
// With the barcode face the characters become bars, always horizontally.
void DrawItemText(const FaceContext &face, const QString &text, QPoint at, double size);

// A frame placed on the preview (preview pixels, with its 4-pixel drawn border) as a box in
// device dots, positions rounded to whole millimetres.
LayoutBox ShapeToDeviceBox(const QRect &frame, double previewPixelsPerMm, int dpiX, int dpiY);

// The customer barcode of a postal code (with end marker) and address, the town part left out
// as the postal code file at `zipDataPath` names it (GetCBarString), in the barcode face,
// fitted to the box width from `startSize` (normally 10), never below kBarcodeMinSize nor
// above kBarcodeMaxSize; WiderThanBox tells that even the smallest size exceeds the box. Text
// "error" when the barcode cannot be made; the caller then draws nothing. Draw it with
// DrawItemText(face.Barcode(), Text, {Left, Top}, FontSize).
TPrintCostomerData LayoutBarcode(LayoutCanvas &canvas, int dpi, const LayoutBox &box,
                                 const QString &address, const QString &markedPostalCode,
                                 const QString &zipDataPath, double startSize = 10);

// The postal code line of a label ("〒" + code) fitted to the box width and height in the canvas
// face.
TPrintCostomerData LayoutPostalLine(LayoutCanvas &canvas, int dpi, const LayoutBox &box,
                                    const QString &markedPostalCode, double startSize = 30);

// Draws the postal code line at `at`, horizontally; nothing for an empty code.
void DrawPostalLine(const FaceContext &face, const QString &markedPostalCode, QPoint at,
                    double size);

// Where each digit of a postal code goes in the boxes: hyphens dropped, the first character at
// (xMm, yMm), then `pitchMm` apart with one extra millimetre after the third; in dots.
struct PostalBoxDigit {
    QString Digit;
    QPoint Position;
};
QList<PostalBoxDigit> PostalBoxDigits(const QString &markedPostalCode, int dpi, double xMm,
                                      double yMm, double pitchMm);

// The recipient digits in the postcard's boxes (15 points, 7 mm apart) and the sender's
// (13 points, 4 mm apart); nothing for an empty code.
void DrawPostalBoxes(LayoutCanvas &canvas, const QString &markedPostalCode, int dpi, double xMm,
                     double yMm);
void DrawSenderPostalBoxes(LayoutCanvas &canvas, const QString &markedPostalCode, int dpi,
                           double xMm, double yMm);

// The two address lines fitted into the box from `startSize` (15 plus the user's adjustment).
// Draw both lines with DrawItemText in the returned size at the returned positions.
TPrintAddressData LayoutAddress(const FaceContext &face, const LayoutBox &box, const QString &line2,
                                const QString &line1, double startSize);

// Marks the printer's printable area on the preview with a red dotted rectangle.
void DrawPrintableArea(QPainter &preview, int previewDpi, const PrinterArea &printer);
