// Every window of the program under a dark desktop theme: no text that keeps a colour of its own
// on the theme's background, where it could vanish.
#include "../common/TestEnv.h"

#include "app/AppWindows.h"
#include "app/FormMain.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QPalette DarkPalette() {
    QPalette dark;
    const QColor window(0x2d, 0x2d, 0x2d), base(0x1e, 0x1e, 0x1e), text(0xee, 0xee, 0xee);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, text);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::Text, text);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, text);
    }
    return dark;
}

// WCAG's contrast ratio of two colours.
double Contrast(const QColor &a, const QColor &b) {
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool ShowsText(const QWidget *widget) {
    return qobject_cast<const QLabel *>(widget) || qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget);
}

} // namespace

class TestDarkTheme : public QObject {
    Q_OBJECT
private slots:
    void textFollowsTheTheme() {
        QApplication::setPalette(DarkPalette());
        TestEnv env;
        TFormMain main;
        TAppWindows windows(main);
        QStringList fixed;
        int looked = 0;
        for (QWidget *widget : QApplication::allWidgets()) {
            if (!ShowsText(widget) || !widget->isEnabled())
                continue;
            ++looked;
            const QPalette palette = widget->palette();
            const double contrast = Contrast(palette.color(widget->foregroundRole()),
                                             palette.color(widget->backgroundRole()));
            if (contrast < 4.5 || widget->styleSheet().contains(QLatin1String("color")))
                fixed << widget->window()->objectName() + u'/' + widget->objectName();
        }
        QVERIFY2(looked > 100, qPrintable(QString::number(looked)));
        QVERIFY2(fixed.isEmpty(), qPrintable(fixed.join(u' ')));
    }
};

QTEST_MAIN(TestDarkTheme)
#include "tst_darktheme.moc"
