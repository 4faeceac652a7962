#include "platform/ProcessLock.h"
#include "platform/Prompt.h"
#include "platform/SingleInstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

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

    // What a start finds in the lock file's place after another start was killed, or while a
    // copy hangs.
    void leftOrHungLocks_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("acquired");
        QTest::addColumn<int>("errors");
        QTest::newRow("empty file of a killed start") << "empty" << true << 0;
        QTest::newRow("process id of an ended start") << "pid" << true << 0;
        QTest::newRow("held by a copy that does not answer") << "held" << false << 1;
    }
    void leftOrHungLocks() {
        QFETCH(QString, left);
        QTemporaryDir settings;
        qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
        auto scripted = std::make_unique<ScriptedPrompt>();
        ScriptedPrompt &shown = *scripted;
        Prompt::Install(std::move(scripted));
        QDir().mkpath(settings.filePath("pellor3"));
        const QString path =
            settings.filePath(QStringLiteral("pellor3/pellor3-test3-%1.lock").arg(getuid()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(left == "pid" ? "999999\n" : "");
        file.close();
        ProcessLock hung(path);
        if (left == "held")
            QVERIFY(hung.TryLock());

        SingleInstance next("pellor3-test3");
        QTEST(next.Acquire(), "acquired");
        QTEST(int(shown.Texts("error").size()), "errors");
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
