#include "widgets/ImageButton.h"

#include <QPainter>
#include <QPushButton>

ImageButton::ImageButton(QWidget *parent) : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::SetPictures(const ButtonPictures &pictures) {
    normal_ = pictures.normal;
    pressed_ = pictures.pressed;
    hovered_ = pictures.hovered;
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

ImageButton *NewWindowTileButton(const GlyphPainter &glyph, const QColor &colour,
                                 const QString &caption, const char *name, const QSize &size,
                                 QWidget *parent) {
    auto *button = new ImageButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(caption);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setFixedSize(size);
    button->SetPictures(
        PaintTilePictures(glyph, colour, caption, size, parent->font(), TileBackdrop::Light));
    return button;
}

QPushButton *NewWindowButton(QWidget *parent, const char *name, const QString &caption) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}
