#pragma once

// The check before printing: for every customer of a print run, what would not come out as it
// should (postal code, address, barcode, text too small or outside its frame, characters the
// chosen face cannot draw), so the user can mend it before hundreds of cards are printed.

#include "print/FaceSettings.h"
#include "print/PrintList.h"
#include "print/SenderData.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSet>
#include <QString>
#include <functional>

struct AddressProblem {
    QString CustomerName;
    QString Text;
};

// Texts smaller than this are hard to read on a card or label.
constexpr double kSmallestReadableSize = 6;
// PDFs are made at this resolution (higher only slows long runs, every fitting step loading a
// font); the check measures at it unless a printer's is known.
constexpr int kPdfDpi = 300;

// Called before each row with the rows done and the total; false stops the check.
using CheckProgress = std::function<bool(int done, int total)>;

// The problems of every row, in row order, measured on faces drawn at `dpi`; of the rows done
// when `progress` stops the check. A row whose customer is one of `mourners` (in mourning for the
// card's season, given by the caller) is named first of all its problems.
QList<AddressProblem> CheckAddresses(const QList<PrintRow> &rows, const FaceSettings &face,
                                     const TSenderBuff &sender, int dpi,
                                     const CheckProgress &progress = {},
                                     const QSet<int> &mourners = {});

inline const QString kMourningProblem =
    QStringLiteral("喪中はがきを受け取っています（この年賀状は出しません）");

// One problem a line: name, a colon and the problem.
QStringList ProblemLines(const QList<AddressProblem> &problems);

// True when a pixel darker than light grey lies outside every area grown by `marginDots`.
bool HasInkOutside(const QImage &image, const QList<QRect> &areas, int marginDots);
