#pragma once

// Moving and resizing the placement frames on the preview, in preview pixels.

#include "print/PaperKinds.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

enum class FrameCorner { LeftTop, RightTop, LeftBottom, RightBottom };

constexpr int kMinFrameSize = 25;
constexpr int kCornerSquareSize = 11;
// A moved frame may reach one pixel past the right and bottom edges (its outline is drawn
// inside the text box); some default frames do.
constexpr int kFrameOverhang = 1;

// The frame moved by `delta`, kept inside the preview.
QRect MoveFrame(const QRect &frame, const QPoint &delta, const QSize &preview);

// The frame with the corner's two edges dragged to `mouse` (clamped to the preview); the
// opposite edges stay, and it never gets narrower or lower than kMinFrameSize.
QRect ResizeFrame(const QRect &frame, FrameCorner corner, const QPoint &mouse,
                  const QSize &preview);

// On postcards and envelopes the postal code frames match the printed boxes, so only move.
bool IsResizable(PrintFrame frame, bool labelTab);

// Top left of the corner square centred on that corner of the frame.
QPoint CornerSquarePos(const QRect &frame, FrameCorner corner);

// A stored frame made to fit the preview: no larger than it and placed inside it.
QRect BringInside(const QRect &frame, const QSize &preview);

// The frame's top left in millimetres of the paper, both axes by the picture's height (the
// picture's height stands for the paper's height); where the postal code boxes are drawn.
QPointF FrameOriginMm(const QRect &frame, double paperHeightMm, int pictureHeight);
