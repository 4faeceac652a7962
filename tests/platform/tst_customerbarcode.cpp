#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "platform/BarcodeBars.h"
#include "platform/CustomerBarcode.h"
#include "platform/Installer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

const char *const kTable = "()ABCDEFGH";

// The barcode string, or the call's non-zero result as text.
QString Barcode(const QString &postalCode, const QString &address, const QString &zipDataPath) {
    char out[32];
    std::memset(out, '#', sizeof out);
    const int result = GetCBarString(kTable, ShiftJis::Encode(postalCode).constData(),
                                     ShiftJis::Encode(address).constData(), out, zipDataPath);
    if (result != 0)
        return QStringLiteral("failed %1").arg(result);
    if (out[23] != '\0' || out[24] != '#')
        return QStringLiteral("not 23 characters");
    return QString::fromLatin1(out);
}

} // namespace

class TestCustomerBarcode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        zipPath = dir.filePath(QStringLiteral("zip.dat"));
        QVERIFY(TextFile::WriteLines(zipPath, {QStringLiteral("2630023,千葉県千葉市稲毛区緑町"),
                                               QStringLiteral("0140113,秋田県大仙市堀見内"),
                                               QStringLiteral("1100016,東京都台東区台東"),
                                               QStringLiteral("1980036,東京都青梅市河辺町"),
                                               QStringLiteral("9100067,福井県福井市新田塚"),
                                               QStringLiteral("1600023,東京都新宿区西新宿"),
                                               QStringLiteral("1600023,東京都新宿区西新宿三丁目"),
                                               QStringLiteral("5300001,大阪府大阪市北区梅田")}));
        shippedZipPath = dir.filePath(QStringLiteral("shipped.dat"));
        QFile shipped(shippedZipPath);
        QVERIFY(shipped.open(QIODevice::WriteOnly));
        QFile packed(Installer::ShippedDataFolder() + QStringLiteral("zip/zip.dat.gz"));
        QVERIFY(packed.open(QIODevice::ReadOnly));
        QVERIFY(shipped.write(Installer::Gunzip(packed.readAll())) > 0);
    }

    void workedExamples_data() {
        QTest::addColumn<QString>("postalCode");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("barcode");
        QTest::newRow("building and room") << "263-0023"
                                           << "千葉市稲毛区緑町3丁目30-8　郵便ビル403号"
                                           << "(26300233-30-8-403DDD5)";
        QTest::newRow("only a lot number") << "014-0113"
                                           << "秋田県大仙市堀見内　南田茂木　添60-1"
                                           << "(014011360-1DDDDDDDDDH)";
        QTest::newRow("letters and a floor") << "110-0016"
                                             << "東京都台東区台東5-6-3　ABCビル10F"
                                             << "(11000165-6-3-10DDDDD9)";
        QTest::newRow("kanji numerals") << "198-0036"
                                        << "東京都青梅市河辺町十一丁目六番地一号　郵便タワー601"
                                        << "(198003611-6-1-601DDDH)";
        QTest::newRow("letter codes cut after twenty") << "910-0067"
                                                       << "福井県福井市新田塚3丁目80-25　J1ビル2-B"
                                                       << "(91000673-80-25A91-2A9)";
        QTest::newRow("full-width digits and letters as printed")
            << "110-0016"
            << "東京都台東区台東５―６―３　ＡＢＣビル１０Ｆ"
            << "(11000165-6-3-10DDDDD9)";
    }
    void workedExamples() {
        QFETCH(QString, postalCode);
        QFETCH(QString, address);
        QFETCH(QString, barcode);
        QCOMPARE(Barcode(postalCode, address, zipPath), barcode);
    }

    // 948-0003 lists 本町, 本町六の一丁目, 本町六の二丁目 and 本町六の三丁目: the numerals of the
    // town must not enter the number, whichever town of the code the address is in.
    void everyTownOfAShippedCode_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("barcode");
        QTest::newRow("first town") << "新潟県十日町市本町12"
                                    << "(948000312DDDDDDDDDDD9)";
        QTest::newRow("second town, no prefecture") << "十日町市本町六の一丁目34-5"
                                                    << "(948000334-5DDDDDDDDDH)";
        QTest::newRow("last town") << "新潟県十日町市本町六の三丁目15-2"
                                   << "(948000315-2DDDDDDDDD3)";
    }
    void everyTownOfAShippedCode() {
        QFETCH(QString, address);
        QFETCH(QString, barcode);
        QCOMPARE(Barcode(QStringLiteral("948-0003"), address, shippedZipPath), barcode);
    }

    void badPostalCodesFail_data() {
        QTest::addColumn<QString>("postalCode");
        QTest::newRow("empty") << "";
        QTest::newRow("six digits") << "263-002";
        QTest::newRow("eight digits") << "2630-0231";
        QTest::newRow("letters") << "ABC-DEFG";
        QTest::newRow("a letter among digits") << "263-002A";
        QTest::newRow("blank inside") << "263 0023";
    }
    void badPostalCodesFail() {
        QFETCH(QString, postalCode);
        QCOMPARE(Barcode(postalCode, QStringLiteral("東京都"), zipPath),
                 QStringLiteral("failed 1"));
    }

    void missingArgumentsFail() {
        char out[24];
        QVERIFY(GetCBarString(nullptr, "1000001", "", out, zipPath) != 0);
        QVERIFY(GetCBarString("()AB", "1000001", "", out, zipPath) != 0);
        QVERIFY(GetCBarString(kTable, nullptr, "", out, zipPath) != 0);
        QVERIFY(GetCBarString(kTable, "1000001", "", nullptr, zipPath) != 0);
        QCOMPARE(GetCBarString(kTable, "1000001", nullptr, out, zipPath), 0);
    }

    void postalCodeFormsAccepted_data() {
        QTest::addColumn<QString>("postalCode");
        QTest::newRow("plain digits") << "1000001";
        QTest::newRow("full-width digits and hyphen") << "１００－０００１";
        QTest::newRow("blanks around") << " 100-0001 ";
    }
    void postalCodeFormsAccepted() {
        QFETCH(QString, postalCode);
        // Seven digits and thirteen CC4 pads: 1 + 1 + 13 * 14 = 184, 184 mod 19 = 13 -> check 6.
        QCOMPARE(Barcode(postalCode, QString(), zipPath),
                 QStringLiteral("(1000001DDDDDDDDDDDDD6)"));
    }

    void townPartDropped_data() {
        QTest::addColumn<QString>("postalCode");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("rest");
        QTest::newRow("with prefecture") << "2630023"
                                         << "千葉県千葉市稲毛区緑町3丁目"
                                         << "3丁目";
        QTest::newRow("without prefecture") << "2630023"
                                            << "千葉市稲毛区緑町3丁目"
                                            << "3丁目";
        QTest::newRow("blanks ignored") << "2630023"
                                        << "千葉県 千葉市　稲毛区緑町 3丁目"
                                        << " 3丁目";
        QTest::newRow("the longest entry of the code") << "1600023"
                                                       << "東京都新宿区西新宿三丁目5"
                                                       << "5";
        QTest::newRow("kyoto-style prefecture") << "5300001"
                                                << "大阪市北区梅田1-1"
                                                << "1-1";
        QTest::newRow("other town: whole address") << "2630023"
                                                   << "千葉市花見川区3丁目"
                                                   << "千葉市花見川区3丁目";
        QTest::newRow("code not in the data") << "9999999"
                                              << "千葉市稲毛区緑町3丁目"
                                              << "千葉市稲毛区緑町3丁目";
    }
    void townPartDropped() {
        QFETCH(QString, postalCode);
        QFETCH(QString, address);
        QFETCH(QString, rest);
        QCOMPARE(CustomerBarcode::DropTownPart(postalCode, address, zipPath), rest);
    }

    void withoutPostalDataTheWholeAddressCounts() {
        const QString missing = dir.filePath(QStringLiteral("missing.dat"));
        QCOMPARE(CustomerBarcode::DropTownPart(QStringLiteral("2630023"),
                                               QStringLiteral("千葉市稲毛区緑町3丁目"), missing),
                 QStringLiteral("千葉市稲毛区緑町3丁目"));
        // A town name holding a numeral before "丁目" adds to the number without the data.
        QCOMPARE(Barcode(QStringLiteral("1600023"), QStringLiteral("東京都新宿区西新宿三丁目5"),
                         missing),
                 QStringLiteral("(16000233-5DDDDDDDDDD1)"));
    }

    void addressNumber_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("number");
        QTest::newRow("ampersand, slash, dot, middle dot deleted") << "1&2/3.4・5"
                                                                   << "12345";
        QTest::newRow("full-width deleted too") << "1＆2／3．4・5"
                                                << "12345";
        QTest::newRow("lower case letters") << "3-b"
                                            << "3B";
        QTest::newRow("word of letters becomes -") << "5ABC6"
                                                   << "5-6";
        QTest::newRow("floor at the end dropped") << "2-3 5F"
                                                  << "2-3-5";
        QTest::newRow("floor inside becomes -") << "5F301"
                                                << "5-301";
        QTest::newRow("F without digits is a letter") << "F棟3"
                                                      << "F3";
        QTest::newRow("twenty") << "二十丁目"
                                << "20";
        QTest::newRow("twenty-one") << "二十一番地"
                                    << "21";
        QTest::newRow("numerals before の") << "三の五号"
                                            << "3-5";
        QTest::newRow("numerals not before a marker") << "四谷3"
                                                      << "3";
        QTest::newRow("地割 and 線") << "十地割二線"
                                     << "10-2";
        QTest::newRow("runs and ends trimmed") << "－－12――3－－"
                                               << "12-3";
        QTest::newRow("empty") << ""
                               << "";
    }
    void addressNumber() {
        QFETCH(QString, address);
        QFETCH(QString, number);
        QCOMPARE(CustomerBarcode::AddressNumber(address), number);
    }

    void zipDataReadAgainWhenItChanges() {
        const QString path = dir.filePath(QStringLiteral("changing.dat"));
        QVERIFY(TextFile::WriteLines(path, {QStringLiteral("1234567,東京都港区芝")}));
        QCOMPARE(CustomerBarcode::DropTownPart(QStringLiteral("1234567"),
                                               QStringLiteral("港区芝公園4"), path),
                 QStringLiteral("公園4"));
        QVERIFY(TextFile::WriteLines(path, {QStringLiteral("1234567,東京都港区芝公園"),
                                            QStringLiteral("7654321,東京都港区芝")}));
        QCOMPARE(CustomerBarcode::DropTownPart(QStringLiteral("1234567"),
                                               QStringLiteral("港区芝公園4"), path),
                 QStringLiteral("4"));
    }

    void barsOfEachCharacter_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("bars");
        QTest::newRow("1") << "1"
                           << "LLT";
        QTest::newRow("0") << "0"
                           << "LTT";
        QTest::newRow("hyphen") << "-"
                                << "TLT";
        QTest::newRow("CC4") << "D"
                             << "TDA";
        QTest::newRow("CC8") << "H"
                             << "LLL";
        QTest::newRow("start") << "("
                               << "LD";
        QTest::newRow("stop") << ")"
                              << "DL";
        QTest::newRow("other") << "x"
                               << "";
    }
    void barsOfEachCharacter() {
        QFETCH(QString, code);
        QFETCH(QString, bars);
        QCOMPARE(BarcodeBars::BarsOf(code.at(0)), bars);
    }

    void barsDrawnAtTheirHeights() {
        // 10 points at 254 dpi: pitch 12 dots, bar 6 dots wide, long bar 36 dots in thirds of 12.
        QImage image(200, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            BarcodeBars::Draw(painter, QStringLiteral("(9"), 10, 10, 10, 254, Qt::black);
        }
        QCOMPARE(BarcodeBars::CharWidth(u'9', 10, 254), 36);
        QCOMPARE(BarcodeBars::BarHeight(10, 254), 36);
        const auto ink = [&](int bar, int y) {
            return qGray(image.pixel(10 + bar * 12 + 3, 10 + y)) < 128;
        };
        // Bars of "(" (L D) then "9" (T L L): top third, middle third, bottom third.
        const QList<QList<bool>> expected = {{true, true, true},
                                             {false, true, true},
                                             {false, true, false},
                                             {true, true, true},
                                             {true, true, true}};
        for (int bar = 0; bar < 5; ++bar)
            QCOMPARE((QList<bool>{ink(bar, 6), ink(bar, 18), ink(bar, 30)}), expected[bar]);
        QVERIFY(!ink(5, 18));                               // nothing after the last bar
        QVERIFY(qGray(image.pixel(10 + 9, 10 + 18)) > 128); // space between bars
    }

private:
    QTemporaryDir dir;
    QString zipPath;
    QString shippedZipPath; // the postal data a fresh installation lays out
};

QTEST_MAIN(TestCustomerBarcode)
#include "tst_customerbarcode.moc"
