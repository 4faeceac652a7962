#include "print/PaperKinds.h"

#include "core/TextHelpers.h"
#include "print/PrintFrames.h"

#include <algorithm>

namespace {

struct KindFrames {
    // Postal code, address, name, sender, sender postal code, barcode.
    std::array<std::array<int, 4>, kFrameCount> vertical;
    std::array<std::array<int, 4>, kFrameCount> horizontal;
};

// The New Year and summer greeting cards (kinds 3 and 4) share their frames.
const KindFrames kGreetingCardFrames = {{{{138, 39, 148, 24},
                                          {208, 120, 65, 220},
                                          {112, 120, 81, 220},
                                          {20, 188, 75, 171},
                                          {21, 364, 85, 21},
                                          {26, 388, 251, 26}}},
                                        {{{138, 39, 148, 24},
                                          {75, 150, 206, 35},
                                          {75, 199, 206, 81},
                                          {93, 306, 190, 66},
                                          {21, 364, 85, 21},
                                          {26, 282, 251, 26}}}};

// Indexed by kind - 1.
const std::array<KindFrames, kLastPaperKind> kindFrames = {{
    {{{{138, 39, 148, 24},
       {216, 120, 66, 225},
       {112, 120, 81, 225},
       {16, 192, 81, 153},
       {21, 407, 85, 21},
       {26, 355, 251, 26}}},
     {{{138, 39, 148, 24},
       {64, 150, 225, 36},
       {64, 208, 225, 81},
       {136, 318, 154, 75},
       {21, 407, 85, 21},
       {26, 291, 251, 26}}}},
    {{{{138, 39, 148, 24},
       {209, 112, 72, 124},
       {112, 112, 81, 124},
       {17, 112, 72, 117},
       {20, 233, 84, 20},
       {26, 251, 251, 26}}},
     {{{138, 39, 148, 24},
       {88, 102, 185, 27},
       {88, 139, 185, 74},
       {121, 242, 160, 48},
       {21, 260, 85, 21},
       {26, 215, 251, 26}}}},
    kGreetingCardFrames,
    kGreetingCardFrames,
    {{{{125, 25, 93, 25},
       {147, 116, 51, 218},
       {92, 116, 49, 218},
       {20, 238, 62, 153},
       {20, 399, 85, 21},
       {82, 337, 133, 25}}},
     {{{125, 25, 93, 25},
       {22, 111, 189, 48},
       {22, 164, 189, 76},
       {50, 316, 165, 74},
       {129, 396, 85, 21},
       {23, 238, 161, 25}}}},
    {{{{78, 28, 107, 25},
       {126, 137, 52, 197},
       {80, 137, 52, 197},
       {20, 238, 54, 129},
       {21, 398, 85, 21},
       {18, 368, 162, 26}}},
     {{{78, 28, 107, 25},
       {20, 127, 158, 35},
       {20, 167, 158, 57},
       {30, 318, 155, 74},
       {95, 397, 85, 21},
       {18, 223, 162, 26}}}},
    {{{{104, 21, 79, 25},
       {126, 136, 51, 226},
       {80, 136, 51, 226},
       {20, 260, 50, 135},
       {21, 398, 85, 21},
       {69, 359, 112, 26}}},
     {{{104, 21, 79, 25},
       {20, 127, 158, 35},
       {20, 167, 158, 57},
       {30, 318, 155, 74},
       {95, 397, 85, 21},
       {20, 220, 138, 26}}}},
    {{{{338, 24, 91, 25},
       {326, 60, 51, 121},
       {180, 60, 51, 121},
       {21, 65, 54, 134},
       {21, 203, 85, 21},
       {75, 178, 158, 25}}},
     {{{338, 24, 91, 25},
       {30, 50, 158, 35},
       {50, 85, 158, 57},
       {240, 150, 185, 62},
       {240, 127, 85, 21},
       {50, 139, 158, 25}}}},
    {{{{251, 17, 66, 25},
       {247, 116, 51, 218},
       {150, 96, 49, 238},
       {20, 238, 62, 153},
       {20, 399, 85, 21},
       {80, 335, 116, 26}}},
     {{{251, 17, 66, 25},
       {75, 111, 189, 48},
       {35, 204, 259, 76},
       {198, 375, 117, 40},
       {229, 416, 85, 21},
       {35, 278, 116, 26}}}},
    {{{{262, 21, 79, 25},
       {285, 116, 42, 218},
       {163, 97, 41, 237},
       {16, 238, 51, 153},
       {16, 399, 85, 21},
       {69, 334, 138, 26}}},
     {{{262, 21, 79, 25},
       {103, 111, 155, 48},
       {45, 204, 262, 76},
       {244, 375, 96, 40},
       {255, 416, 85, 21},
       {45, 279, 138, 26}}}},
}};

// The label tab's frames as shares of the label's panel (left, top, width, height): the postal
// code line, address and name from the top, the barcode across the foot, wide enough for Japan
// Post's size on the common 86.4 mm labels. The sender frames are hidden there.
const std::array<std::array<double, 4>, kFrameCount> labelFrameShares = {
    {{0.03, 0.03, 0.5, 0.15},
     {0.03, 0.19, 0.94, 0.25},
     {0.03, 0.45, 0.94, 0.35},
     {0.03, 0.45, 0.94, 0.35},
     {0.03, 0.81, 0.5, 0.17},
     {0.02, 0.81, 0.96, 0.17}}};

FrameSet ToFrameSet(const std::array<std::array<int, 4>, kFrameCount> &cells) {
    FrameSet frames;
    for (int i = 0; i < kFrameCount; ++i)
        frames[i] = QRect(cells[i][0], cells[i][1], cells[i][2], cells[i][3]);
    return frames;
}

const std::array<PaperKind, kLastPaperKind> &Kinds() {
    static const std::array<PaperKind, kLastPaperKind> kinds = {{
        {1,
         QStringLiteral("SpeedButtonPaper1"),
         QStringLiteral("はがき"),
         {100, 148},
         QStringLiteral("はがき.bmp"),
         450},
        {2,
         QStringLiteral("SpeedButtonPaper2"),
         QStringLiteral("絵はがき"),
         {100, 148},
         QStringLiteral("絵葉書.bmp"),
         450},
        {3,
         QStringLiteral("SpeedButtonPaper3"),
         QStringLiteral("年賀はがき"),
         {100, 148},
         QStringLiteral("年賀.bmp"),
         450},
        {4,
         QStringLiteral("SpeedButtonPaper4"),
         QStringLiteral("暑中はがき"),
         {100, 148},
         QStringLiteral("暑中.bmp"),
         450},
        {5,
         QStringLiteral("SBTyou3"),
         QStringLiteral("長形3号"),
         {120, 235},
         QStringLiteral("長3.bmp"),
         450},
        {6,
         QStringLiteral("SBTyou4"),
         QStringLiteral("長形4号"),
         {90, 205},
         QStringLiteral("長4.bmp"),
         450},
        {7,
         QStringLiteral("SBTyou2"),
         QStringLiteral("長形2号"),
         {119, 277},
         QStringLiteral("長2.bmp"),
         450},
        {8,
         QStringLiteral("SBTyou3Y"),
         QStringLiteral("長形3号(横)"),
         {235, 120},
         QStringLiteral("長3横.bmp"),
         225},
        {9,
         QStringLiteral("SBKaku2"),
         QStringLiteral("角形2号"),
         {240, 332},
         QStringLiteral("角2.bmp"),
         450},
        {10,
         QStringLiteral("SBKaku3"),
         QStringLiteral("角形3号"),
         {216, 277},
         QStringLiteral("角3.bmp"),
         450},
    }};
    return kinds;
}

// The postcard preview's panel: the label tab keeps its width.
constexpr int kPostcardPanelHeight = 450;

} // namespace

QString FrameObjectName(PrintFrame frame) {
    switch (frame) {
    case PrintFrame::UpperPostCode:
        return QStringLiteral("UpperPostCodeShape");
    case PrintFrame::Address:
        return QStringLiteral("ShapeAddress");
    case PrintFrame::Name:
        return QStringLiteral("ShapeName");
    case PrintFrame::Sender:
        return QStringLiteral("ShapeSender");
    case PrintFrame::UnderPostCode:
        return QStringLiteral("UnderPostCodeShape");
    case PrintFrame::Costomer:
        return QStringLiteral("ShapeCostomer");
    }
    return {};
}

bool IsPaperKind(int kind) {
    return kind >= kFirstPaperKind && kind <= kLastPaperKind;
}

bool IsPostcardKind(int kind) {
    return kind >= kFirstPaperKind && kind <= kLastPostcardKind;
}

const PaperKind &PaperKindOf(int kind) {
    return Kinds()[(IsPaperKind(kind) ? kind : kDefaultPaperKind) - 1];
}

FrameSet DefaultFrames(int kind, bool vertical) {
    const KindFrames &frames = kindFrames[PaperKindOf(kind).Kind - 1];
    return ToFrameSet(vertical ? frames.vertical : frames.horizontal);
}

FrameSet LabelTabFrames(const QSize &panel) {
    FrameSet frames;
    for (int i = 0; i < kFrameCount; ++i) {
        const auto &share = labelFrameShares[i];
        frames[i] = QRect(Rnd(share[0] * panel.width()), Rnd(share[1] * panel.height()),
                          std::max(kMinFrameSize, Rnd(share[2] * panel.width())),
                          std::max(kMinFrameSize, Rnd(share[3] * panel.height())));
    }
    return frames;
}

QSize PanelSizeFor(const QSizeF &paperMm, int panelHeight) {
    const int width = Rnd(panelHeight * paperMm.width() / paperMm.height());
    const int height = Rnd(width * paperMm.height() / paperMm.width());
    return {width, height};
}

QSize LabelPanelSize(const QSizeF &labelMm) {
    const int width =
        PanelSizeFor(PaperKindOf(kDefaultPaperKind).PaperMm, kPostcardPanelHeight).width();
    const int height = Rnd(width * labelMm.height() / labelMm.width());
    if (height <= kPostcardPanelHeight)
        return {width, height};
    return {Rnd(kPostcardPanelHeight * labelMm.width() / labelMm.height()), kPostcardPanelHeight};
}

PreviewScale PreviewScaleOf(const QSize &panel, const QSizeF &paperMm) {
    PreviewScale scale;
    if (paperMm.width() <= 0 || panel.width() <= 0)
        return scale;
    scale.PixelsPerMm = panel.width() / paperMm.width();
    scale.Dpi = std::max(1, Rnd(scale.PixelsPerMm * 25.4));
    scale.Gap = Rnd(scale.PixelsPerMm * 0.2);
    scale.FaceScale = scale.PixelsPerMm * 25.4 / scale.Dpi;
    return scale;
}
