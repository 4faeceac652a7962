#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn from three pictures: normal, pressed and hovered; greyed when disabled. The
// hand cursor shows that it can be clicked.
class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);

    void SetPictures(const QPixmap &normal, const QPixmap &pressed, const QPixmap &hovered);
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
