#include "mail/FormSendStatus.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

int GaugePercent(int minimum, int maximum, int position) {
    if (maximum <= minimum)
        return 0;
    const int clamped = std::clamp(position, minimum, maximum);
    return static_cast<int>(static_cast<long long>(clamped - minimum) * 100 / (maximum - minimum));
}

TFormSendStatus::TFormSendStatus(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormSendStatus"));
    setWindowTitle(QStringLiteral("送信状況"));
    GaugeStatus = new QProgressBar(this);
    GaugeStatus->setObjectName(QStringLiteral("GaugeStatus"));
    GaugeStatus->setRange(0, 100);
    GaugeStatus->setFormat(QStringLiteral("%p%"));
    LblStatus = new QLabel(this);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setFixedSize(360, 24);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GaugeStatus);
    layout->addWidget(LblStatus);
    layout->addWidget(BtnCancel, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSendStatus::BtnCancelClick);
    SetRange(0, 0);
}

int TFormSendStatus::Percent() const {
    return GaugeStatus->value();
}

QString TFormSendStatus::Status() const {
    return LblStatus->text();
}

void TFormSendStatus::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    SetProgress(minimum);
}

void TFormSendStatus::SetProgress(int position) {
    GaugeStatus->setValue(GaugePercent(minimum_, maximum_, position));
}

void TFormSendStatus::SetStatus(const QString &text) {
    LblStatus->setText(text);
}

void TFormSendStatus::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape)
        BtnCancelClick();
    else
        QDialog::keyPressEvent(event);
}

void TFormSendStatus::closeEvent(QCloseEvent *event) {
    if (!event->spontaneous()) {
        QDialog::closeEvent(event);
        return;
    }
    BtnCancelClick();
    event->ignore();
}

void TFormSendStatus::BtnCancelClick() {
    emit CancelRequested();
}
