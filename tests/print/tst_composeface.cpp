// What ComposeFace draws for a print row: the address block and name form chosen by use type
// and print control, the printed forms of the texts, the sender block, the postal code as boxes
// or as a line, and a customer barcode that does not depend on the writing direction.

#include "PrintTestData.h"
#include "core/TextHelpers.h"
#include "print/ComposeFace.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>

namespace {

constexpr int kDpi = 300;

// Keeps the texts drawn on it, in drawing order.
class TextRecordingEngine : public QPaintEngine {
public:
    TextRecordingEngine() : QPaintEngine(AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { drawn += item.text(); }
    Type type() const override { return User; }

    QString drawn;
};

class TextRecordingDevice : public QPaintDevice {
public:
    QPaintEngine *paintEngine() const override { return &engine_; }
    const QString &Drawn() const { return engine_.drawn; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return 1200;
        case PdmHeight:
            return 1800;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kDpi;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    mutable TextRecordingEngine engine_;
};

FaceSettings Postcard(bool vertical) {
    return StoredFaceSettings(PostcardSettings(vertical, false), std::nullopt, SampleZipDataPath());
}

QString DrawnTexts(const FaceSettings &face, const PrintRow &row) {
    TextRecordingDevice device;
    {
        QPainter painter(&device);
        ComposeFace(painter, face, kDpi, kDpi, Rnd(kDpi * 0.2 / 25.4), row, SampleSender());
    }
    return device.Drawn();
}

QImage Rendered(const FaceSettings &face, const PrintRow &row) {
    QImage image(Rnd(kDpi * face.PaperMm.width() / 25.4), Rnd(kDpi * face.PaperMm.height() / 25.4),
                 QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    ComposeFace(painter, face, kDpi, kDpi, Rnd(kDpi * 0.2 / 25.4), row, SampleSender());
    return image;
}

} // namespace

class TestComposeFace : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!SampleZipDataPath().isEmpty()); }

    void choosesAddressAndNameForm_data() {
        QTest::addColumn<int>("useType");
        QTest::addColumn<int>("printCtrl");
        QTest::addColumn<QStringList>("drawn");
        QTest::addColumn<QStringList>("notDrawn");
        const QString home = QStringLiteral("稲毛区");
        const QString homeZip = QStringLiteral("2630023");
        const QString office = QStringLiteral("台東区");
        const QString officeZip = QStringLiteral("1100016");
        const QString company = QStringLiteral("ブリスコ商事");
        const QString given = QStringLiteral("太郎");
        const QStringList joints = {QStringLiteral("花子"), QStringLiteral("さくら"),
                                    QStringLiteral("ちゃん")};
        QTest::newRow("personal use, personal name, marked joint names only")
            << 0 << 0 << QStringList{home, homeZip, given, QStringLiteral("様")} + joints
            << QStringList{office, officeZip, company, QStringLiteral("次郎")};
        QTest::newRow("company use, personal name: company address, personal form")
            << 1 << 0 << QStringList{office, officeZip, given} + joints
            << QStringList{home, homeZip, company, QStringLiteral("営業部")};
        QTest::newRow("personal use, onchu: the use type decides first")
            << 0 << 1 << QStringList{home, given} + joints
            << QStringList{office, company, QStringLiteral("御中")};
        QTest::newRow("company use, onchu")
            << 1 << 1 << QStringList{office, company, QStringLiteral("営業部御中")}
            << QStringList{home, given, QStringLiteral("部長")} + joints;
        QTest::newRow("company use, dono")
            << 1 << 2
            << QStringList{office, company, QStringLiteral("営業部"), QStringLiteral("部長殿")}
            << QStringList{given} + joints;
        QTest::newRow("company use, named: no joint names")
            << 1 << 3
            << QStringList{company, QStringLiteral("営業部"), QStringLiteral("部長"),
                           QStringLiteral("山田太郎様")}
            << joints;
        QTest::newRow("company use, no print control: company form with name")
            << 1 << -1 << QStringList{company, QStringLiteral("部長"), QStringLiteral("山田太郎様")}
            << joints;
    }
    void choosesAddressAndNameForm() {
        QFETCH(int, useType);
        QFETCH(int, printCtrl);
        QFETCH(QStringList, drawn);
        QFETCH(QStringList, notDrawn);
        const QString texts = DrawnTexts(Postcard(false), SampleCustomerRow(useType, printCtrl));
        for (const QString &text : drawn)
            QVERIFY2(texts.contains(text), qPrintable(text + QStringLiteral(" in ") + texts));
        for (const QString &text : notDrawn)
            QVERIFY2(!texts.contains(text), qPrintable(text + QStringLiteral(" in ") + texts));
    }

    void jointFamilyLikeTheMainOneIsLeftOut() {
        const QString texts = DrawnTexts(Postcard(true), SampleCustomerRow(0, 0));
        QCOMPARE(texts.count(QStringLiteral("山田")), 1);
    }

    void printsAddressDigitsByDirection_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::newRow("vertical: kanji numerals")
            << true << QStringLiteral("緑町三丁目三〇―八") << QStringLiteral("郵便ビル四〇三号");
        QTest::newRow("horizontal: full-width digits")
            << false << QStringLiteral("緑町３丁目３０－８") << QStringLiteral("郵便ビル４０３号");
    }
    void printsAddressDigitsByDirection() {
        QFETCH(bool, vertical);
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        const QString texts = DrawnTexts(Postcard(vertical), SampleCustomerRow(0, 0));
        QVERIFY2(texts.contains(line1), qPrintable(texts));
        QVERIFY2(texts.contains(line2), qPrintable(texts));
    }

    void kanjiNumerals_data() {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("byDigit");
        QTest::addColumn<QString>("counted");
        QTest::newRow("21") << "２１番地"
                            << "二一番地"
                            << "二十一番地";
        QTest::newRow("10 and 3") << "１０―３"
                                  << "一〇―三"
                                  << "十―三";
        QTest::newRow("105") << "１０５号"
                             << "一〇五号"
                             << "百五号";
        QTest::newRow("2024") << "２０２４"
                              << "二〇二四"
                              << "二千二十四";
        QTest::newRow("1110") << "１１１０"
                              << "一一一〇"
                              << "千百十";
        QTest::newRow("leading zero stays by digit") << "０５"
                                                     << "〇五"
                                                     << "〇五";
        QTest::newRow("five digits stay by digit") << "１２３４５"
                                                   << "一二三四五"
                                                   << "一二三四五";
        QTest::newRow("floor name keeps its digits") << "ビル１０Ｆ"
                                                     << "ビル１０Ｆ"
                                                     << "ビル１０Ｆ";
        QTest::newRow("room name keeps its digits") << "Ｂ１２号"
                                                    << "Ｂ１２号"
                                                    << "Ｂ１２号";
        QTest::newRow("half-width untouched") << "21"
                                              << "21"
                                              << "21";
    }
    void kanjiNumerals() {
        QFETCH(QString, digits);
        QFETCH(QString, byDigit);
        QFETCH(QString, counted);
        QCOMPARE(ToKanjiNumerals(digits), byDigit);
        QCOMPARE(ToKanjiNumerals(digits, true), counted);
    }

    // The choice reaches the printed address of a vertical face, and horizontal faces keep
    // their digits.
    void countedNumeralsArePrinted_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QString>("line1");
        QTest::newRow("vertical") << true << QStringLiteral("緑町三丁目三十―八");
        QTest::newRow("horizontal") << false << QStringLiteral("緑町３丁目３０－８");
    }
    void countedNumeralsArePrinted() {
        QFETCH(bool, vertical);
        QFETCH(QString, line1);
        FaceSettings face = Postcard(vertical);
        face.CountedNumerals = true;
        const QString texts = DrawnTexts(face, SampleCustomerRow(0, 0));
        QVERIFY2(texts.contains(line1), qPrintable(texts));
    }

    void drawsSenderWhenAsked_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("printSender");
        QTest::addColumn<QString>("senderAddress");
        QTest::newRow("vertical") << true << true << QStringLiteral("千代田一―一");
        QTest::newRow("horizontal") << false << true << QStringLiteral("千代田１－１");
        QTest::newRow("not asked") << true << false << QString();
    }
    void drawsSenderWhenAsked() {
        QFETCH(bool, vertical);
        QFETCH(bool, printSender);
        QFETCH(QString, senderAddress);
        FaceSettings face = Postcard(vertical);
        face.PrintSender = printSender;
        const QString texts = DrawnTexts(face, SampleCustomerRow(0, 0));
        QCOMPARE(texts.contains(QStringLiteral("鈴木")), printSender);
        QCOMPARE(texts.contains(QStringLiteral("1000001")), printSender);
        if (printSender)
            QVERIFY2(texts.contains(senderAddress), qPrintable(texts));
    }

    void labelPrintsPostalCodeAsLine() {
        PrintSettings settings;
        settings.Vertical = false;
        settings.Frames = LabelTabFrames(LabelPanelSize({86.4, 50.8}));
        SheetGeometry sheet;
        sheet.LabelMm = QSizeF(86.4, 50.8);
        const FaceSettings label = StoredFaceSettings(settings, sheet, SampleZipDataPath());
        QVERIFY(DrawnTexts(label, SampleCustomerRow(0, 0)).contains(QStringLiteral("〒263-0023")));
        QVERIFY(
            !DrawnTexts(Postcard(false), SampleCustomerRow(0, 0)).contains(QStringLiteral("〒")));
    }

    // The barcode reads the address number from digits; kanji numerals must not change it.
    void barcodeIsTheSameInBothDirections() {
        const FaceSettings vertical = Postcard(true);
        FaceSettings horizontal = Postcard(false);
        horizontal.Frames = vertical.Frames;
        const QRect frame = FrameOf(vertical.Frames, PrintFrame::Costomer);
        const LayoutBox box = ShapeToDeviceBox(frame, vertical.PreviewPixelsPerMm, kDpi, kDpi);
        const QRect area(box.Left, box.Top, box.Width, box.Height);
        const PrintRow row = SampleCustomerRow(0, 0);
        const QImage fromVertical = Rendered(vertical, row).copy(area);
        const QImage fromHorizontal = Rendered(horizontal, row).copy(area);

        QImage expected(fromVertical.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        {
            QPainter painter(&expected);
            painter.translate(-area.topLeft());
            LayoutCanvas canvas(painter);
            const TPrintCostomerData barcode = LayoutBarcode(
                canvas, kDpi, box, QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8郵便ビル403号"),
                QStringLiteral("263-0023") + kPostalCodeEndMarker, SampleZipDataPath());
            QCOMPARE(barcode.Text, QStringLiteral("(26300233-30-8-403DDD5)"));
            DrawItemText(FaceContext{canvas, {}, kDpi}.Barcode(), barcode.Text,
                         {barcode.Left, barcode.Top}, barcode.FontSize);
        }
        QVERIFY(fromHorizontal == expected);
        QVERIFY(fromVertical == expected);
    }
};

QTEST_MAIN(TestComposeFace)
#include "tst_composeface.moc"
