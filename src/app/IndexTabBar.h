#pragma once

#include <QTabBar>

// The reading index tab strip: captions drawn on one line, centred in their tabs. A click on
// the tab that is already selected is reported too, as it runs the tab's action again. The
// mouse wheel does not switch tabs.
class IndexTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit IndexTabBar(QWidget *parent = nullptr);

    // Selects a tab without running its action.
    void SelectSilently(int index);

signals:
    void Reselected();

protected:
    void paintEvent(QPaintEvent *event) override;
    QSize tabSizeHint(int index) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int pressedOnCurrent_ = -1;
};
