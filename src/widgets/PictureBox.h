#pragma once

#include <QImage>
#include <QWidget>

// A picture box: shows its picture centred and scaled to fit (up or down) with its proportions
// kept. While it shows a picture and is clickable it has the hand cursor and reports clicks.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void SetPicture(const QImage &picture);
    // Shows a picture file (format by its content and extension); an unreadable file leaves
    // the box empty and returns false.
    bool LoadFile(const QString &path);
    void Clear();
    const QImage &Picture() const { return picture_; }
    // True when the box shows a picture (its width is above 0).
    bool HasPicture() const { return picture_.width() > 0; }

    // A box that opens nothing on a click keeps the normal cursor.
    void SetClickable(bool clickable);

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void UpdateCursor();

    QImage picture_;
    bool clickable_ = true;
};
