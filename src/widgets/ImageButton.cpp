#include "widgets/ImageButton.h"

#include <QPainter>

ImageButton::ImageButton(QWidget *parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::SetPictures(const QPixmap &normal, const QPixmap &pressed,
                              const QPixmap &hovered) {
    normal_ = normal;
    pressed_ = pressed;
    hovered_ = hovered;
    updateGeometry();
    update();
}

QSize ImageButton::sizeHint() const {
    return normal_.isNull() ? QSize(64, 64) : normal_.deviceIndependentSize().toSize();
}

void ImageButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QPixmap &picture = !isEnabled()              ? normal_
                             : isDown()                ? pressed_
                             : hovering_ || hasFocus() ? hovered_
                                                       : normal_;
    if (!isEnabled())
        painter.setOpacity(0.35);
    painter.drawPixmap(rect(), picture);
}

void ImageButton::enterEvent(QEnterEvent *event) {
    hovering_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent *event) {
    hovering_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}
