#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "print/PrintSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList ourKeys = {
    "TYPE",     "POSTCARD_INDEX", "VERTICAL",     "PRINT_SENDER", "PRINT_COSTOM", "FONT",
    "P_MAKER",  "P_INDEX",        "ZIP_LEFT",     "ZIP_TOP",      "ZIP_WID",      "ZIP_HIG",
    "ADD_LEFT", "ADD_TOP",        "ADD_WID",      "ADD_HIG",      "NAM_LEFT",     "NAM_TOP",
    "NAM_WID",  "NAM_HIG",        "CUS_LEFT",     "CUS_TOP",      "CUS_WID",      "CUS_HIG",
    "SEN_LEFT", "SEN_TOP",        "SEN_WID",      "SEN_HIG",      "SZIP_LEFT",    "SZIP_TOP",
    "SZIP_WID", "SZIP_HIG",       "KANJI_COUNTED"};

QStringList KeyOrder() {
    QStringList keys = ourKeys;
    for (int index = 0; index <= 10; ++index)
        keys << QStringLiteral("ADJUST_X_%1").arg(index)
             << QStringLiteral("ADJUST_Y_%1").arg(index);
    return keys;
}
const QStringList keyOrder = KeyOrder();

IniFile IniOf(const QString &text) {
    IniFile ini;
    ini.LoadFromText(text);
    return ini;
}

} // namespace

class TestPrintSettings : public QObject {
    Q_OBJECT

private slots:
    void missingSectionGivesTheDefaults() {
        const PrintSettings s = ReadPrintSettings(IniOf("[SENDER]\r\nName=山田\r\n"));
        QCOMPARE(s.Type, 0);
        QCOMPARE(s.PostcardIndex, 3);
        QVERIFY(s.Vertical);
        QVERIFY(!s.PrintSender);
        QVERIFY(!s.PrintCostom);
        QCOMPARE(s.Font, QString("ＭＳ Ｐゴシック"));
        QCOMPARE(s.PMaker, 0);
        QCOMPARE(s.PIndex, 0);
        QCOMPARE(FrameOf(s.Frames, PrintFrame::UpperPostCode), QRect(138, 39, 148, 24));
        QCOMPARE(FrameOf(s.Frames, PrintFrame::Address), QRect(208, 120, 65, 220));
        QCOMPARE(FrameOf(s.Frames, PrintFrame::Name), QRect(112, 120, 81, 220));
        // Wide enough for a barcode of at least 8 points.
        QCOMPARE(FrameOf(s.Frames, PrintFrame::Costomer), QRect(26, 388, 251, 26));
        QCOMPARE(FrameOf(s.Frames, PrintFrame::Sender), QRect(20, 188, 75, 171));
        QCOMPARE(FrameOf(s.Frames, PrintFrame::UnderPostCode), QRect(21, 364, 85, 21));
    }

    void roundTripKeepsEveryValueInKeyOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath("conf.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ShiftJis::Encode("[SENDER]\r\nName=山田 太郎\r\n[OTHER]\r\nA=1\r\n"));
        file.close();

        PrintSettings s;
        s.Type = 1;
        s.PostcardIndex = 8;
        s.Vertical = false;
        s.PrintSender = true;
        s.PrintCostom = true;
        s.Font = "@IPAMincho";
        s.PMaker = 2;
        s.PIndex = 1;
        s.Frames = DefaultFrames(9, false);
        s.CountedNumerals = true;
        s.Offsets.Common[3] = QPoint(-12, 7);
        s.Offsets.Common[kLabelSheetOffset] = QPoint(5, -100);
        const QString printer = QStringLiteral("PX-105 (USB) #2=事務所");
        s.Offsets.Set(printer, 3, QPoint(20, -5));
        IniFile ini(path);
        QVERIFY(ini.Load());
        WritePrintSettings(ini, s);
        QVERIFY(ini.Save());

        IniFile again(path);
        QVERIFY(again.Load());
        QCOMPARE(again.Sections(), QStringList({"SENDER", "OTHER", "PRINT_CONF", "PRINT_ADJUST"}));
        QCOMPARE(again.ReadString("SENDER", "Name"), QString("山田 太郎"));
        QCOMPARE(again.Keys("PRINT_CONF"), keyOrder);
        QCOMPARE(again.ReadString("PRINT_CONF", "VERTICAL"), QString("0"));
        QCOMPARE(again.ReadString("PRINT_CONF", "PRINT_SENDER"), QString("1"));
        const PrintSettings read = ReadPrintSettings(again);
        QCOMPARE(read.Type, 1);
        QCOMPARE(read.PostcardIndex, 8);
        QVERIFY(!read.Vertical);
        QVERIFY(read.PrintSender);
        QVERIFY(read.PrintCostom);
        QCOMPARE(read.Font, QString("@IPAMincho"));
        QCOMPARE(read.PMaker, 2);
        QCOMPARE(read.PIndex, 1);
        QCOMPARE(read.Frames, s.Frames);
        QVERIFY(read.CountedNumerals);
        QCOMPARE(read.Offsets, s.Offsets);
        QCOMPARE(again.ReadString("PRINT_CONF", "ADJUST_X_3"), QString("-12"));
        // The printer's own entry; its other entries and other printers take the common one.
        QCOMPARE(read.Offsets.For(printer, 3), QPoint(20, -5));
        QCOMPARE(read.Offsets.For(printer, kLabelSheetOffset), QPoint(5, -100));
        QCOMPARE(read.Offsets.For(QStringLiteral("other"), 3), QPoint(-12, 7));
        QCOMPARE(read.Offsets.For(QString(), 3), QPoint(-12, 7));
    }

    void sectionInAnotherOrderIsWrittenInOrder() {
        IniFile ini = IniOf("[PRINT_CONF]\r\nFONT=IPAGothic\r\nMINE=x\r\nTYPE=0\r\n[SENDER]\r\n"
                            "Name=a\r\n");
        WritePrintSettings(ini, PrintSettings());
        QCOMPARE(ini.Keys("PRINT_CONF"), keyOrder + QStringList{"MINE"});
        QCOMPARE(ini.ReadString("PRINT_CONF", "MINE"), QString("x"));
        QCOMPARE(ini.ReadString("SENDER", "Name"), QString("a"));
    }

    void unusableValuesFallBack_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("type out of range") << "TYPE=2";
        QTest::newRow("type as text") << "TYPE=ラベル";
        QTest::newRow("paper kind 0") << "POSTCARD_INDEX=0";
        QTest::newRow("paper kind 11") << "POSTCARD_INDEX=11";
        QTest::newRow("maker beyond the tabs") << "P_MAKER=5";
        QTest::newRow("negative paper row") << "P_INDEX=-1";
        QTest::newRow("negative left") << "ZIP_LEFT=-5";
        QTest::newRow("zero width") << "ZIP_WID=0";
        QTest::newRow("huge height") << "ZIP_HIG=99999";
        QTest::newRow("fraction") << "ZIP_TOP=3.5";
        QTest::newRow("empty font") << "FONT=";
        QTest::newRow("vertical as text") << "VERTICAL=yes";
        QTest::newRow("adjustment beyond 10 mm") << "ADJUST_Y_3=101";
        QTest::newRow("adjustment in millimetres") << "ADJUST_X_3=1.5";
        QTest::newRow("printer's adjustment beyond 10 mm") << "[PRINT_ADJUST]\r\nX_3_lp=101";
        QTest::newRow("printer's adjustment for no paper") << "[PRINT_ADJUST]\r\nX_11_lp=5";
    }
    void unusableValuesFallBack() {
        QFETCH(QString, line);
        const PrintSettings read = ReadPrintSettings(IniOf("[PRINT_CONF]\r\n" + line + "\r\n"));
        const PrintSettings defaults;
        QCOMPARE(read.Type, defaults.Type);
        QCOMPARE(read.PostcardIndex, defaults.PostcardIndex);
        QCOMPARE(read.PMaker, defaults.PMaker);
        QCOMPARE(read.PIndex, defaults.PIndex);
        QCOMPARE(read.Font, defaults.Font);
        QCOMPARE(read.Vertical, defaults.Vertical);
        QCOMPARE(read.Frames, defaults.Frames);
        QCOMPARE(read.Offsets, defaults.Offsets);
    }
};

QTEST_GUILESS_MAIN(TestPrintSettings)
#include "tst_printsettings.moc"
