#include "print/PrintFrames.h"

#include <algorithm>

namespace {

// One axis of a frame [low, high) with one edge dragged to `pos` (already inside 0..limit).
void DragEdge(int &low, int &high, int pos, bool movingLow, int limit) {
    const int minSize = std::min(kMinFrameSize, limit);
    if (movingLow) {
        low = std::min(pos, high - minSize);
        if (low < 0) {
            low = 0;
            high = std::max(high, minSize);
        }
    } else {
        high = std::max(pos, low + minSize);
        if (high > limit) {
            high = limit;
            low = std::min(low, limit - minSize);
        }
    }
}

} // namespace

QRect MoveFrame(const QRect &frame, const QPoint &delta, const QSize &preview) {
    const int top = std::max(
        0, std::min(frame.top() + delta.y(), preview.height() - frame.height() + kFrameOverhang));
    const int left = std::max(
        0, std::min(frame.left() + delta.x(), preview.width() - frame.width() + kFrameOverhang));
    return QRect(left, top, frame.width(), frame.height());
}

QRect ResizeFrame(const QRect &frame, FrameCorner corner, const QPoint &mouse,
                  const QSize &preview) {
    const int x = std::clamp(mouse.x(), 0, preview.width());
    const int y = std::clamp(mouse.y(), 0, preview.height());
    int left = frame.left();
    int right = frame.left() + frame.width();
    int top = frame.top();
    int bottom = frame.top() + frame.height();
    const bool leftEdge = corner == FrameCorner::LeftTop || corner == FrameCorner::LeftBottom;
    const bool topEdge = corner == FrameCorner::LeftTop || corner == FrameCorner::RightTop;
    DragEdge(left, right, x, leftEdge, preview.width());
    DragEdge(top, bottom, y, topEdge, preview.height());
    return QRect(left, top, right - left, bottom - top);
}

bool IsResizable(PrintFrame frame, bool labelTab) {
    return labelTab || (frame != PrintFrame::UpperPostCode && frame != PrintFrame::UnderPostCode);
}

QPoint CornerSquarePos(const QRect &frame, FrameCorner corner) {
    const int x = (corner == FrameCorner::LeftTop || corner == FrameCorner::LeftBottom)
                      ? frame.left()
                      : frame.left() + frame.width();
    const int y = (corner == FrameCorner::LeftTop || corner == FrameCorner::RightTop)
                      ? frame.top()
                      : frame.top() + frame.height();
    return QPoint(x - kCornerSquareSize / 2, y - kCornerSquareSize / 2);
}

QRect BringInside(const QRect &frame, const QSize &preview) {
    const QRect fitted(frame.topLeft(), QSize(std::min(frame.width(), preview.width()),
                                              std::min(frame.height(), preview.height())));
    return MoveFrame(fitted, QPoint(0, 0), preview);
}

QPointF FrameOriginMm(const QRect &frame, double paperHeightMm, int pictureHeight) {
    if (pictureHeight <= 0)
        return {};
    const double mmPerPixel = paperHeightMm / pictureHeight;
    return QPointF(frame.left() * mmPerPixel, frame.top() * mmPerPixel);
}
