#include "printui/FramePlacementPreview.h"

#include "print/PaperPicture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Room for the largest preview panel.
constexpr int kPreviewHolderSize = 452;

constexpr std::array<FrameCorner, 4> kCorners = {FrameCorner::LeftTop, FrameCorner::RightTop,
                                                 FrameCorner::LeftBottom, FrameCorner::RightBottom};

// A placement frame: a blue dotted outline; pressing it selects and moves the frame.
class FrameShape : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0, 0, 255), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// A corner square of the selected frame: black, white while it is held.
class CornerSquare : public QWidget {
public:
    using QWidget::QWidget;
    void SetHeld(bool held) {
        held_ = held;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.fillRect(rect(), held_ ? Qt::white : Qt::black);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    bool held_ = false;
};

// The composed face over the paper picture.
class FaceOverlay : public QWidget {
public:
    FaceOverlay(const QImage &image, QWidget *parent) : QWidget(parent), image_(image) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }

private:
    const QImage &image_;
};

// White shows the paper picture through.
void MakeWhiteTransparent(QImage &image) {
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == 0xffffffffu)
                line[x] = 0;
    }
}

} // namespace

FramePlacementPreview::FramePlacementPreview(QWidget *parent) : QWidget(parent) {
    setFixedSize(kPreviewHolderSize, kPreviewHolderSize);
    PanelPreview = new QWidget(this);
    PanelPreview->setObjectName(QStringLiteral("PanelPreview"));
    ImagePreview = new QLabel(PanelPreview);
    ImagePreview->setObjectName(QStringLiteral("ImagePreview"));
    ImagePreview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DrawTextImage = new FaceOverlay(overlay_, PanelPreview);
    DrawTextImage->setObjectName(QStringLiteral("DrawTextImage"));
    DrawTextImage->installEventFilter(this);
    for (const PrintFrame frame : kAllFrames) {
        auto *shape = new FrameShape(PanelPreview);
        shape->setObjectName(FrameObjectName(frame));
        shape->setCursor(Qt::SizeAllCursor);
        shape->installEventFilter(this);
        shapes_[static_cast<int>(frame)] = shape;
    }
    const char *squareNames[] = {"ShapeSquLeftTop", "ShapeSquRightTop", "ShapeSquLeftButtom",
                                 "ShapeSquRightButtom"};
    for (int i = 0; i < 4; ++i) {
        auto *square = new CornerSquare(PanelPreview);
        square->setObjectName(QString::fromLatin1(squareNames[i]));
        square->setFixedSize(kCornerSquareSize, kCornerSquareSize);
        square->setCursor(i == 0 || i == 3 ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        square->installEventFilter(this);
        square->hide();
        squares_[i] = square;
    }
}

QSize FramePlacementPreview::PanelSize() const {
    return PanelPreview->size();
}

void FramePlacementPreview::SetPanelSize(const QSize &size) {
    PanelPreview->setFixedSize(size);
    PanelPreview->move(std::max(0, (kPreviewHolderSize - size.width()) / 2), 0);
    ImagePreview->setGeometry(QRect(QPoint(0, 0), size));
    DrawTextImage->setGeometry(QRect(QPoint(0, 0), size));
}

void FramePlacementPreview::ShowPaperPicture(int pictureKind) {
    ImagePreview->setPixmap(QPixmap::fromImage(PaperPicture(pictureKind, PanelPreview->size())));
}

void FramePlacementPreview::ShowFace(QImage face) {
    overlay_ = std::move(face);
    MakeWhiteTransparent(overlay_);
    DrawTextImage->update();
}

void FramePlacementPreview::ApplyFrames() {
    for (const PrintFrame frame : kAllFrames) {
        QRect &r = FrameOf(frames_, frame);
        r = BringInside(r, PanelPreview->size());
        shapes_[static_cast<int>(frame)]->setGeometry(r);
    }
    if (selectedFrame_ && squares_[0]->isVisible())
        ShowSquares();
}

void FramePlacementPreview::ShowFramesFor(bool labelFaces, bool printSender, bool printCostom) {
    labelFaces_ = labelFaces;
    const bool sender = !labelFaces && printSender;
    shapes_[static_cast<int>(PrintFrame::Sender)]->setVisible(sender);
    shapes_[static_cast<int>(PrintFrame::UnderPostCode)]->setVisible(sender);
    shapes_[static_cast<int>(PrintFrame::Costomer)]->setVisible(printCostom);
    if (selectedFrame_ && !shapes_[static_cast<int>(*selectedFrame_)]->isVisibleTo(PanelPreview))
        Deselect();
}

void FramePlacementPreview::Deselect() {
    HideSquares();
    selectedFrame_.reset();
}

void FramePlacementPreview::HideSquares() {
    for (QWidget *square : squares_)
        square->hide();
}

void FramePlacementPreview::ShowSquares() {
    if (!selectedFrame_)
        return;
    const QRect frame = FrameOf(frames_, *selectedFrame_);
    for (int i = 0; i < 4; ++i) {
        squares_[i]->move(CornerSquarePos(frame, kCorners[i]));
        squares_[i]->show();
        squares_[i]->raise();
    }
}

std::optional<PrintFrame> FramePlacementPreview::FrameOfShape(QObject *shape) const {
    for (const PrintFrame frame : kAllFrames)
        if (shapes_[static_cast<int>(frame)] == shape)
            return frame;
    return std::nullopt;
}

bool FramePlacementPreview::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = PanelPreview->mapFromGlobal(mouse->globalPosition().toPoint());
    const bool leftPress = type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton;
    if (type == QEvent::MouseButtonRelease) {
        MouseUp();
        return true;
    }
    if (watched == DrawTextImage) {
        if (type == QEvent::MouseButtonPress)
            Deselect();
        return true;
    }
    if (const auto frame = FrameOfShape(watched)) {
        if (leftPress)
            ShapeMouseDown(*frame, pos);
        else if (type == QEvent::MouseMove && moving_)
            ShapeMouseMove(pos);
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (squares_[i] != watched)
            continue;
        if (leftPress)
            SquareMouseDown(kCorners[i]);
        else if (type == QEvent::MouseMove && resizing_)
            SquareMouseMove(pos);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FramePlacementPreview::ShapeMouseDown(PrintFrame frame, const QPoint &panelPos) {
    selectedFrame_ = frame;
    ShowSquares();
    moving_ = true;
    lastMouse_ = panelPos;
}

void FramePlacementPreview::ShapeMouseMove(const QPoint &panelPos) {
    QRect &frame = FrameOf(frames_, *selectedFrame_);
    frame = MoveFrame(frame, panelPos - lastMouse_, PanelPreview->size());
    shapes_[static_cast<int>(*selectedFrame_)]->setGeometry(frame);
    ShowSquares();
    DrawTextImage->update();
    lastMouse_ = panelPos;
}

void FramePlacementPreview::SquareMouseDown(FrameCorner corner) {
    if (!selectedFrame_ || !IsResizable(*selectedFrame_, labelFaces_))
        return;
    resizing_ = true;
    resizeCorner_ = corner;
    static_cast<CornerSquare *>(squares_[static_cast<int>(corner)])->SetHeld(true);
}

void FramePlacementPreview::SquareMouseMove(const QPoint &panelPos) {
    QRect &frame = FrameOf(frames_, *selectedFrame_);
    frame = ResizeFrame(frame, resizeCorner_, panelPos, PanelPreview->size());
    shapes_[static_cast<int>(*selectedFrame_)]->setGeometry(frame);
    ShowSquares();
    DrawTextImage->update();
}

void FramePlacementPreview::MouseUp() {
    if (!moving_ && !resizing_)
        return;
    moving_ = false;
    resizing_ = false;
    for (QWidget *square : squares_)
        static_cast<CornerSquare *>(square)->SetHeld(false);
    emit FramesPlaced();
}
