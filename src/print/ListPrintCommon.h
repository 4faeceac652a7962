#pragma once

#include "print/PdfWrittenBeside.h"
#include "print/PrintRun.h"

#include <QFont>
#include <QString>

class QPainter;
class QPaintDevice;
class QPrinter;

// What the phone list and the customer cards share: the printer they print on and the face
// they print in.

// A4 portrait, the document title; false with the reason, naming a PDF file as the user named
// it, when the painter cannot start.
bool BeginListPrint(QPrinter &printer, QPainter &painter, const PdfWrittenBeside &pdf,
                    const QString &title, QString *error);

// Asks `progress` (when given) whether to go on with `done` of `total` customers printed; when
// the user stopped, abandons the job and leaves the reason empty.
bool ContinueListPrint(const PrintProgress &progress, int done, int total, QPrinter &printer,
                       QPainter &painter, QString *error);

// Ends the document and puts a PDF file under its name once whole; false with the reason when
// the printer did not take it or the PDF did not reach the disk whole.
bool EndListPrint(QPainter &painter, PdfWrittenBeside &pdf, QString *error);

// "ＭＳ ゴシック" (or the installed gothic face that stands in for it) with a cell height of
// Rnd(size × dpi / 72) pixels.
QFont ListPrintFont(double size, int dpi, bool bold = false);

// A text in the list face as it fits a cell `width` pixels wide on `device`: at `size` points
// when it fits, else at the largest smaller size down to kSmallestListSize, else cut at that
// size and ended with "…", so that nothing is lost unmarked.
struct FittedText {
    QFont Font;
    QString Text;
};
inline constexpr double kSmallestListSize = 6;
FittedText FitToWidth(const QString &text, double size, int dpi, int width,
                      const QPaintDevice *device);

// Millimetres and inches to device pixels, rounded.
int MmToPixels(double mm, int dpi);
int InchToPixels(double inches, int dpi);
