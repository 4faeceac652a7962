#include "../common/TestEnv.h"
#include "../print/PdfPages.h"

#include "admin/StartupPassword.h"
#include "app/HeadlessCommand.h"

#include <QFile>
#include <QTest>
#include <cstdio>

class TestHeadlessCommand : public QObject {
    Q_OBJECT
private slots:
    void recognisesTheArgument_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<std::optional<QString>>("target");
        QTest::newRow("none") << QStringList{"pellor3"} << std::optional<QString>();
        QTest::newRow("with file") << QStringList{"pellor3", "--print-addresses", "a.pdf"}
                                   << std::optional<QString>("a.pdf");
        QTest::newRow("file missing")
            << QStringList{"pellor3", "--print-addresses"} << std::optional<QString>("");
    }
    void recognisesTheArgument() {
        QFETCH(QStringList, arguments);
        QFETCH(std::optional<QString>, target);
        QCOMPARE(PrintAddressesTarget(arguments), target);
    }

    void printsTheMarkedCustomersOfTheInstallation() {
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        env.AddCustomer("青木", "ｱｵｷ", false);
        env.AddCustomer("田中", "ﾀﾅｶ", true);
        const QString pdf = env.root() + "faces.pdf";
        QCOMPARE(RunPrintAddressesCommand(pdf), 0);
        QCOMPARE(PdfPageCount(pdf), 2);
    }

    void asksForTheStartupPassword_data() {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("printed");
        QTest::newRow("right") << QByteArray("秘密 1\n") << true;
        QTest::newRow("wrong") << QByteArray("himitsu\n") << false;
        QTest::newRow("none given") << QByteArray() << false;
    }
    void asksForTheStartupPassword() {
        QFETCH(QByteArray, typed);
        QFETCH(bool, printed);
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        QStringList marker;
        QVERIFY(ReadMarkerLines(env.dbPath(), marker, nullptr));
        QVERIFY(WriteStoredPassword("秘密 1"));
        QVERIFY(WriteMarker(env.dbPath(), marker, true, nullptr));
        const QString input = env.root() + "typed.txt";
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(typed);
        file.close();
        QVERIFY(std::freopen(QFile::encodeName(input).constData(), "r", stdin));
        const QString pdf = env.root() + "faces.pdf";
        QCOMPARE(RunPrintAddressesCommand(pdf) == 0, printed);
        QCOMPARE(QFile::exists(pdf), printed);
    }

    void refusesWhenNothingIsMarked() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ", false);
        const QString pdf = env.root() + "faces.pdf";
        QVERIFY(RunPrintAddressesCommand(pdf) != 0);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(RunPrintAddressesCommand("") != 0);
    }
};

QTEST_MAIN(TestHeadlessCommand)
#include "tst_headlesscommand.moc"
