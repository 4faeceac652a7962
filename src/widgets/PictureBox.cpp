#include "widgets/PictureBox.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent) {}

void PictureBox::SetPicture(const QImage &picture) {
    picture_ = picture;
    UpdateCursor();
    update();
}

bool PictureBox::LoadFile(const QString &path) {
    QImageReader reader(path);
    SetPicture(reader.read());
    return HasPicture();
}

void PictureBox::Clear() {
    SetPicture({});
}

void PictureBox::SetClickable(bool clickable) {
    clickable_ = clickable;
    UpdateCursor();
}

void PictureBox::UpdateCursor() {
    if (clickable_ && HasPicture())
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void PictureBox::paintEvent(QPaintEvent *) {
    if (!HasPicture() || width() <= 0 || height() <= 0)
        return;
    const QSize fitted = picture_.size().scaled(size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2),
                       fitted);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
    QWidget::mouseReleaseEvent(event);
}
