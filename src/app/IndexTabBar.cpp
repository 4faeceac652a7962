#include "app/IndexTabBar.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QWheelEvent>

IndexTabBar::IndexTabBar(QWidget *parent) : QTabBar(parent) {
    setFocusPolicy(Qt::NoFocus);
    setExpanding(true);
    setUsesScrollButtons(false);
    setDrawBase(true);
    setShape(QTabBar::RoundedSouth);
}

void IndexTabBar::SelectSilently(int index) {
    const QSignalBlocker block(this);
    setCurrentIndex(index);
    update();
}

QSize IndexTabBar::tabSizeHint(int index) const {
    const QSize hint = QTabBar::tabSizeHint(index);
    return {std::max(hint.width(), fontMetrics().horizontalAdvance(tabText(index)) + 16),
            std::max(hint.height(), fontMetrics().height() + 10)};
}

void IndexTabBar::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        QFont font = this->font();
        font.setBold(i == currentIndex());
        painter.setFont(font);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        painter.drawText(tabRect(i), Qt::AlignCenter | Qt::TextSingleLine, caption);
    }
}

void IndexTabBar::mousePressEvent(QMouseEvent *event) {
    const int index = tabAt(event->position().toPoint());
    pressedOnCurrent_ = index >= 0 && index == currentIndex() ? index : -1;
    QTabBar::mousePressEvent(event);
}

void IndexTabBar::mouseReleaseEvent(QMouseEvent *event) {
    QTabBar::mouseReleaseEvent(event);
    const int index = tabAt(event->position().toPoint());
    const bool again = pressedOnCurrent_ >= 0 && index == pressedOnCurrent_;
    pressedOnCurrent_ = -1;
    if (again && event->button() == Qt::LeftButton)
        emit Reselected();
}

// Each tab rebuilds the list and "検索" opens the search window, so a wheel turned while the
// pointer passes over the strip must not switch tabs.
void IndexTabBar::wheelEvent(QWheelEvent *event) {
    event->ignore();
}
