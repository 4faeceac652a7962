#include "platform/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void secondCopyAsksTheFirstToShowItself() {
        QTemporaryDir settings;
        qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        SingleInstance first("pellor3-test");
        QVERIFY(first.Acquire());
        QSignalSpy raised(&first, &SingleInstance::ActivationRequested);

        SingleInstance second("pellor3-test");
        QVERIFY(!second.Acquire());
        QVERIFY(raised.wait(3000));

        // A copy started from a shell without the session's runtime folder.
        qunsetenv("XDG_RUNTIME_DIR");
        SingleInstance third("pellor3-test");
        QVERIFY(!third.Acquire());
    }

    void freedAfterTheFirstCopyEnds() {
        QTemporaryDir settings;
        qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
        {
            SingleInstance first("pellor3-test2");
            QVERIFY(first.Acquire());
        }
        SingleInstance next("pellor3-test2");
        QVERIFY(next.Acquire());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
