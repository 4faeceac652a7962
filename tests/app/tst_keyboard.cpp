#include "../common/TestContext.h"

#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/Mitsumori.h"
#include "mail/FormSendMail.h"
#include "printui/FormPrintAdjust.h"
#include "printui/PrintAddress.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

using WindowMaker = std::function<std::unique_ptr<QWidget>(AppContext &)>;
Q_DECLARE_METATYPE(WindowMaker)

// What a user who works with the keyboard meets in the program's windows.
class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void tabLeavesReadOnlyLists_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("list");
        const WindowMaker printWindow = [](AppContext &c) {
            PrintAddressServices services;
            services.drawFace = [](QPainter &, const FaceSettings &, int, int, int,
                                   const PrintRow &) {};
            services.runPrint = [](QPrinter &, const PrintRunRequest &, QWidget &) {};
            services.checkAddresses = [](const PrintRunRequest &, QWidget &) {
                return std::optional<QList<AddressProblem>>();
            };
            services.reloadSenderData = [] {};
            services.showSenderPrintConfig = [] {};
            return std::unique_ptr<QWidget>(new TPrintAddress(c, std::move(services)));
        };
        QTest::newRow("print list") << printWindow << 0 << "ListViewPrint";
        QTest::newRow("label sheets") << printWindow << 1 << "ListViewPaper";
        QTest::newRow("import fields") << WindowMaker([](AppContext &c) {
            return std::unique_ptr<QWidget>(new TFormImport(c));
        }) << 0 << "SGMain";
    }
    void tabLeavesReadOnlyLists() {
        QFETCH(WindowMaker, make);
        QFETCH(int, page);
        QFETCH(QString, list);
        OwningTestContext context;
        context.env.AddCustomer("青木", "ｱｵｷ", true);
        context.listed = {1};
        const std::unique_ptr<QWidget> window = make(context);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        if (auto *pages = window->findChild<QTabWidget *>("PCPrintType"))
            pages->setCurrentIndex(page);
        auto *view = window->findChild<QAbstractItemView *>(list);
        QVERIFY(view);
        view->setFocus();
        QCOMPARE(QApplication::focusWidget(), view);
        QTest::keyClick(view, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget());
        QVERIFY2(QApplication::focusWidget() != view, "Tab stays inside the list");
    }
    // Enter confirms what was typed; it must not print or send as the window's default.
    void enterInFieldPressesNoIrreversibleButton_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("button");
        QTest::newRow("printer adjustment") << WindowMaker([](AppContext &) {
            return std::unique_ptr<QWidget>(new TFormPrintAdjust);
        }) << "SpinAdjustDown"
                                            << "ButtonTestPrint";
        QTest::newRow("bulk mail subject") << WindowMaker([](AppContext &c) {
            return std::unique_ptr<QWidget>(new TFormSendMail(c));
        }) << "EditSubject"
                                           << "BtnSend";
    }
    void enterInFieldPressesNoIrreversibleButton() {
        QFETCH(WindowMaker, make);
        QFETCH(QString, field);
        QFETCH(QString, button);
        OwningTestContext context;
        const std::unique_ptr<QWidget> window = make(context);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto *irreversible = window->findChild<QAbstractButton *>(button);
        QVERIFY(irreversible);
        QSignalSpy pressed(irreversible, &QAbstractButton::clicked);
        auto *input = window->findChild<QWidget *>(field);
        QVERIFY(input);
        input->setFocus();
        QTest::keyClick(input, Qt::Key_Return);
        QCOMPARE(pressed.count(), 0);
    }
    // The window opens on its first field, and Tab visits these in the order shown.
    void tabFollowsTheWindow_data() {
        QTest::addColumn<WindowMaker>("make");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("estimate export") << WindowMaker([](AppContext &c) {
            return std::unique_ptr<QWidget>(new Tmitsumori(c));
        }) << QStringList{"CB_Company", "CB_Zip", "CB_Address1", "CB_Address2",
                          "CB_Tel",     "CB_Fax", "Button1",     "Btn_Cancel"};
    }
    void tabFollowsTheWindow() {
        QFETCH(WindowMaker, make);
        QFETCH(QStringList, order);
        OwningTestContext context;
        const std::unique_ptr<QWidget> window = make(context);
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < 100; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget()->objectName() == visited.first())
                break;
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited.first(), order.first());
        qsizetype at = 0;
        for (const QString &name : order) {
            at = visited.indexOf(name, at);
            QVERIFY2(at >= 0, qPrintable(name + " out of order in " + visited.join(' ')));
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
