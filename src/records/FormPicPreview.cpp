#include "records/FormPicPreview.h"

#include "widgets/PictureBox.h"

#include <QVBoxLayout>

TFormPicPreview::TFormPicPreview(QWidget *parent) : QDialog(parent), Image1(new PictureBox(this)) {
    setObjectName(QStringLiteral("FormPicPreview"));
    setWindowTitle(QStringLiteral("画像"));
    setSizeGripEnabled(true);
    setMinimumSize(200, 200);
    resize(525, 514);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->SetClickable(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Image1);
}

void TFormPicPreview::ShowPicture(const QImage &picture) {
    if (picture.width() <= 0)
        return;
    Image1->SetPicture(picture);
    exec();
}
