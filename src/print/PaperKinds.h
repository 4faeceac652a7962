#pragma once

// The postcard and envelope kinds of the address print window and the default places of the
// six placement frames on their preview. Frames are preview pixels: left, top, width, height.

#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <array>

enum class PrintFrame { UpperPostCode, Address, Name, Sender, UnderPostCode, Costomer };
constexpr int kFrameCount = 6;
constexpr std::array<PrintFrame, kFrameCount> kAllFrames = {
    PrintFrame::UpperPostCode, PrintFrame::Address,       PrintFrame::Name,
    PrintFrame::Sender,        PrintFrame::UnderPostCode, PrintFrame::Costomer};

// Indexed by PrintFrame.
using FrameSet = std::array<QRect, kFrameCount>;

inline QRect &FrameOf(FrameSet &frames, PrintFrame frame) {
    return frames[static_cast<int>(frame)];
}
inline const QRect &FrameOf(const FrameSet &frames, PrintFrame frame) {
    return frames[static_cast<int>(frame)];
}

// The component name of a frame on the preview ("UpperPostCodeShape", ...).
QString FrameObjectName(PrintFrame frame);

constexpr int kFirstPaperKind = 1;
constexpr int kLastPaperKind = 10;
constexpr int kLastPostcardKind = 4;
constexpr int kDefaultPaperKind = 3;
// 年賀はがき: the New Year card, whose season the greeting record follows.
constexpr int kNewYearCardKind = 3;

struct PaperKind {
    int Kind = 0;
    QString ButtonName; // component name of its button
    QString Caption;    // button caption
    QSizeF PaperMm;
    QString Picture;     // background picture name
    int PanelHeight = 0; // preview panel height in pixels
};

bool IsPaperKind(int kind);
bool IsPostcardKind(int kind);
// The kind's data; kinds outside 1 to 10 give kind 3.
const PaperKind &PaperKindOf(int kind);

// Default frames of a kind for the writing direction.
FrameSet DefaultFrames(int kind, bool vertical);
// The frames of the label tab (both directions), in proportion to the label's preview panel.
FrameSet LabelTabFrames(const QSize &panel);

// Preview panel of a paper: width from the panel height by the paper's aspect, then the height
// again from that width, both rounded.
QSize PanelSizeFor(const QSizeF &paperMm, int panelHeight);

// Preview panel of one label: as wide as the postcard preview, at most as high as it.
QSize LabelPanelSize(const QSizeF &labelMm);

// How the preview shows a paper on its panel: a millimetre of paper is PixelsPerMm panel pixels
// for the frames, the composed face and the printable area alike. The face is composed at the
// whole resolution Dpi (both directions) with the line gap Gap, and scaled by FaceScale.
struct PreviewScale {
    double PixelsPerMm = 0;
    int Dpi = 0;
    int Gap = 0;
    double FaceScale = 1;
};
PreviewScale PreviewScaleOf(const QSize &panel, const QSizeF &paperMm);

// The face of the label tab ("white.bmp").
inline const QString kWhitePicture = QStringLiteral("white.bmp");
