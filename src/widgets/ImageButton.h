#pragma once

#include "widgets/TileArt.h"
#include <QAbstractButton>

#include <QPixmap>

// A button drawn from three pictures: normal, pressed and hovered; greyed when disabled. The
// hand cursor shows that it can be clicked.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);

    void SetPictures(const ButtonPictures &pictures);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QPixmap normal_;
    QPixmap pressed_;
    QPixmap hovered_;
    bool hovering_ = false;
};

// A picture button for a window: a tile with `caption` under it, reached with Tab and pressed
// with Space like the window's other buttons.
ImageButton *NewWindowTileButton(const GlyphPainter &glyph, const QColor &colour,
                                 const QString &caption, const char *name, const QSize &size,
                                 QWidget *parent);

class QPushButton;

// A window's push button carrying its component name. Enter in the window's fields never
// presses it.
QPushButton *NewWindowButton(QWidget *parent, const char *name, const QString &caption);
