#pragma once

#include <QObject>

class QWidget;

// Swallows the characters FilterKey refuses (double quote, single quote, grave accent, comma)
// whether they are typed or committed by an input method.
class FilterKeyGuard : public QObject {
    Q_OBJECT

public:
    explicit FilterKeyGuard(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs one FilterKeyGuard (owned by the widget) on the widget and, for an editable combo
// box, on its line edit.
void InstallFilterKey(QWidget *widget);
