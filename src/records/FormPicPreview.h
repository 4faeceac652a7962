#pragma once

#include <QDialog>
#include <QImage>

class PictureBox;

// "画像": a larger view of a customer picture, scaled to fit the window. Created once.
// Opened by a click on one of the editor's pictures.
class TFormPicPreview : public QDialog {
    Q_OBJECT

public:
    explicit TFormPicPreview(QWidget *parent = nullptr);

    // Shows the picture modally; an empty picture opens nothing.
    void ShowPicture(const QImage &picture);

private:
    PictureBox *Image1;
};
