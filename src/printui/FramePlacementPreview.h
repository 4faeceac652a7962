#pragma once

#include "print/PrintFrames.h"

#include <QImage>
#include <QWidget>
#include <array>
#include <optional>

class QLabel;

// The preview of the address print window: the paper picture, the composed face over it and
// the placement frames, which the user moves by dragging them and resizes by the corner squares
// of the selected frame. The panel ("PanelPreview") is centred at the top of a fixed square.
class FramePlacementPreview : public QWidget {
    Q_OBJECT

public:
    explicit FramePlacementPreview(QWidget *parent = nullptr);

    QSize PanelSize() const;
    void SetPanelSize(const QSize &size);
    void ShowPaperPicture(int pictureKind);
    // The face drawn over the picture at the panel's size; its white shows the picture through.
    void ShowFace(QImage face);

    // Kept as given until ApplyFrames brings them inside the panel and places their shapes.
    void SetFrames(const FrameSet &frames) { frames_ = frames; }
    const FrameSet &Frames() const { return frames_; }
    void ApplyFrames();
    // The sender's frames show on postcards printing the sender, the barcode's when it is
    // printed; on labels other frames may be resized.
    void ShowFramesFor(bool labelFaces, bool printSender, bool printCostom);
    void Deselect();

signals:
    // A frame was let go after a move or a resize.
    void FramesPlaced();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void HideSquares();
    void ShowSquares();
    std::optional<PrintFrame> FrameOfShape(QObject *shape) const;
    void ShapeMouseDown(PrintFrame frame, const QPoint &panelPos);
    void ShapeMouseMove(const QPoint &panelPos);
    void SquareMouseDown(FrameCorner corner);
    void SquareMouseMove(const QPoint &panelPos);
    void MouseUp();

    FrameSet frames_;
    bool labelFaces_ = false;
    std::optional<PrintFrame> selectedFrame_;
    bool moving_ = false;
    bool resizing_ = false;
    FrameCorner resizeCorner_ = FrameCorner::LeftTop;
    QPoint lastMouse_;
    QImage overlay_;

    QWidget *PanelPreview = nullptr;
    QLabel *ImagePreview = nullptr;
    QWidget *DrawTextImage = nullptr;
    std::array<QWidget *, kFrameCount> shapes_{};
    std::array<QWidget *, 4> squares_{};
};
