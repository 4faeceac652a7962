#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "print/LayoutEngine.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>

namespace {

// At 96 dpi a font of s points is Rnd(s * 4 / 3) dots high; the fixed-pitch IPAGothic gives
// every full-width character the cell height as width, so the numbers below are exact.
constexpr int kDpi = 96;
const QString kFace = QStringLiteral("IPAGothic");
const QString kVerticalFace = QStringLiteral("@IPAGothic");

QImage Page(int width = 600, int height = 600, int dpi = kDpi) {
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(Rnd(dpi / 0.0254));
    image.setDotsPerMeterY(Rnd(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

QRect InkBounds(const QImage &image, QRgb background = qRgb(255, 255, 255)) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QString Chars(int count) {
    return QString(count, QChar(u'あ'));
}

} // namespace

class TestLayoutEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Prompt::Install(std::make_unique<ScriptedPrompt>()); }

    void shapeToDeviceBox_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<double>("pixelsPerMm");
        QTest::addColumn<int>("dpiX");
        QTest::addColumn<int>("dpiY");
        QTest::addColumn<QList<int>>("box");
        // (142 / 3.04 = 46.7 -> 47 mm) * 300 / 25.4 = 555.1 -> 555; 43 / 3.04 -> 14 mm -> 165.4;
        // 140 / 3.04 -> 46 mm -> 543.3; 16 / 3.04 -> 5 mm -> 59.1.
        QTest::newRow("postcard postal frame at 300 dpi")
            << QRect(138, 39, 148, 24) << 3.04 << 300 << 300 << QList<int>{555, 165, 543, 59};
        QTest::newRow("each axis its own resolution")
            << QRect(138, 39, 148, 24) << 3.04 << 600 << 300 << QList<int>{1110, 165, 1087, 59};
        // 5 / 2 = 2.5 -> 2 mm and 7 / 2 = 3.5 -> 4 mm (halves to even); 254 dpi is 10 dots a mm.
        QTest::newRow("millimetres rounded half to even")
            << QRect(1, 3, 13, 15) << 2.0 << 254 << 254 << QList<int>{20, 40, 20, 40};
        QTest::newRow("frame no larger than its border")
            << QRect(0, 0, 8, 8) << 3.04 << 300 << 300 << QList<int>{12, 12, 0, 0};
        QTest::newRow("frame smaller than its border")
            << QRect(0, 0, 2, 2) << 1.0 << 254 << 254 << QList<int>{40, 40, -60, -60};
    }
    void shapeToDeviceBox() {
        QFETCH(QRect, frame);
        QFETCH(double, pixelsPerMm);
        QFETCH(int, dpiX);
        QFETCH(int, dpiY);
        QFETCH(QList<int>, box);
        const LayoutBox b = ShapeToDeviceBox(frame, pixelsPerMm, dpiX, dpiY);
        QCOMPARE((QList<int>{b.Left, b.Top, b.Width, b.Height}), box);
    }

    void fitFontStops_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("maxHeight"); // the condition: cell height at most this
        QTest::addColumn<double>("size");
        QTest::addColumn<int>("evaluations");
        QTest::newRow("fits at once: size kept") << 15.0 << 20 << 15.0 << 1;
        // Rnd(12.1 * 4 / 3) = 16, Rnd(12.2 * 4 / 3) = 16.27 -> 16, 12.3 -> 16.4 -> 16, 12.4 -> 17.
        QTest::newRow("first size that fits") << 15.0 << 16 << 12.3 << 28;
        QTest::newRow("never fits: stops at 1 point") << 15.0 << 0 << 1.0 << 141;
        QTest::newRow("never fits from a size between tenths") << 15.35 << 0 << 0.95 << 145;
        QTest::newRow("start at 1 point: no step") << 1.0 << 0 << 1.0 << 1;
        QTest::newRow("start below 1 point: no step") << -3.0 << 0 << -3.0 << 1;
    }
    void fitFontStops() {
        QFETCH(double, start);
        QFETCH(int, maxHeight);
        QFETCH(double, size);
        QFETCH(int, evaluations);
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        int count = 0;
        double last = start;
        bool rising = false;
        const double result = FitFont({canvas, kFace, kDpi}, start, [&] {
            ++count;
            rising |= canvas.Font().Size > last;
            last = canvas.Font().Size;
            return canvas.Font().Height <= maxHeight;
        });
        QVERIFY(std::abs(result - size) < 0.01);
        QCOMPARE(count, evaluations);
        QVERIFY(!rising);
        QCOMPARE(canvas.Font().Size, result);
    }

    void measuresCharacterByCharacter_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("chars");
        // 15 points at 96 dpi: cell 20 dots.
        QTest::newRow("empty") << kFace << QString() << 0 << 0;
        QTest::newRow("one full-width character") << kFace << "あ" << 20 << 1;
        QTest::newRow("each character once") << kFace << "東京都" << 60 << 3;
        QTest::newRow("half-width digits") << kFace << "123" << 30 << 3;
        QTest::newRow("vertical face: full-width takes the cell")
            << QStringLiteral("@IPAPGothic") << "りッ" << 40 << 2;
        QTest::newRow("vertical face: half-width takes its width")
            << kVerticalFace << "12" << 20 << 2;
        QTest::newRow("surrogate pair is one character") << kVerticalFace << "𠮷" << 20 << 1;
        // Bars stand 1.2 mm * 1.5 apart at 15 points: 6.80 dots; three bars 20.4 -> 20.
        QTest::newRow("barcode digit: three bars") << kBarcodeFace << "5" << 20 << 1;
        QTest::newRow("barcode start: two bars") << kBarcodeFace << "(" << 14 << 1;
        QTest::newRow("not a barcode character") << kBarcodeFace << "x" << 0 << 1;
    }
    void measuresCharacterByCharacter() {
        QFETCH(QString, face);
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(int, chars);
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        QVERIFY(CreateLayoutFont({canvas, face, kDpi}, 15));
        QCOMPARE(canvas.Font().Height, 20);
        QCOMPARE(MeasureText(canvas, text), width);
        QCOMPARE(CountChars(text), chars);
    }

    void proportionalWidthIsSumOfCharacters() {
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        QVERIFY(CreateLayoutFont({canvas, QStringLiteral("IPAPGothic"), 300}, 12));
        const QString text = QStringLiteral("リットル・ABC");
        int sum = 0;
        for (QChar c : text)
            sum += MeasureText(canvas, QString(c));
        QCOMPARE(MeasureText(canvas, text), sum);
    }

    void layoutAddress_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("line1Chars");
        QTest::addColumn<int>("line2Chars");
        QTest::addColumn<double>("size");
        QTest::addColumn<QPoint>("line1");
        QTest::addColumn<QPoint>("line2");
        // Gap 2, start 15 points (20 dots). Vertical: line 1 at x = L + W - g - h.
        QTest::newRow("vertical, line 1 wider: line 2 level with its last character")
            << true << QRect(100, 50, 80, 400) << 12 << 5 << 15.0 << QPoint(158, 50)
            << QPoint(136, 270);
        QTest::newRow("vertical, line 2 pulled up to end inside the box")
            << true << QRect(100, 50, 80, 300) << 12 << 5 << 15.0 << QPoint(158, 50)
            << QPoint(136, 250);
        QTest::newRow("vertical, line 2 wider: indented one character")
            << true << QRect(100, 50, 80, 300) << 5 << 12 << 15.0 << QPoint(158, 50)
            << QPoint(136, 70);
        QTest::newRow("vertical, equal lines take the second branch")
            << true << QRect(100, 50, 80, 300) << 6 << 6 << 15.0 << QPoint(158, 50)
            << QPoint(136, 70);
        // 21 characters in 300 dots: cell 14, Rnd(10.8 * 4 / 3) = 14, 10.9 gives 15.
        QTest::newRow("vertical, long line shrinks") << true << QRect(100, 50, 80, 300) << 20 << 5
                                                     << 10.8 << QPoint(164, 50) << QPoint(148, 280);
        // Two columns in 30 dots: Rnd(h * 2.2) + 4 <= 30 holds for a 12-dot cell (9.3 points).
        QTest::newRow("vertical, narrow box shrinks for two columns")
            << true << QRect(100, 50, 30, 300) << 5 << 3 << 9.3 << QPoint(116, 50)
            << QPoint(102, 98);
        QTest::newRow("horizontal, line 1 wider: line 2 pulled left")
            << false << QRect(10, 20, 300, 60) << 12 << 5 << 15.0 << QPoint(10, 22)
            << QPoint(210, 44);
        QTest::newRow("horizontal, line 1 wider: line 2 under its last character")
            << false << QRect(10, 20, 400, 60) << 12 << 5 << 15.0 << QPoint(10, 22)
            << QPoint(230, 44);
        QTest::newRow("horizontal, line 2 wider: indented one character")
            << false << QRect(10, 20, 300, 60) << 5 << 12 << 15.0 << QPoint(10, 22)
            << QPoint(30, 44);
        // Two lines need H >= Rnd(2.2 h) (+ 2g when line 1 is wider): h = 12 in 30 dots.
        QTest::newRow("horizontal, low box shrinks for two lines")
            << false << QRect(10, 20, 300, 30) << 3 << 5 << 10.1 << QPoint(10, 22)
            << QPoint(23, 37);
    }
    void layoutAddress() {
        QFETCH(bool, vertical);
        QFETCH(QRect, box);
        QFETCH(int, line1Chars);
        QFETCH(int, line2Chars);
        QFETCH(double, size);
        QFETCH(QPoint, line1);
        QFETCH(QPoint, line2);
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        const FaceContext face{canvas, vertical ? kVerticalFace : kFace, kDpi, 2, vertical};
        const TPrintAddressData result =
            LayoutAddress(face, {box.x(), box.y(), box.width(), box.height()}, Chars(line2Chars),
                          Chars(line1Chars), 15);
        QVERIFY2(std::abs(result.FontSize - size) < 0.01,
                 qPrintable(QString::number(result.FontSize)));
        QCOMPARE(result.Line1, line1);
        QCOMPARE(result.Line2, line2);
    }

    void addressThatCannotFitStopsNearOnePoint() {
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        const TPrintAddressData result = LayoutAddress({canvas, kVerticalFace, kDpi, 2, true},
                                                       {0, 0, 5, 5}, Chars(40), Chars(80), 15);
        QVERIFY(result.FontSize <= 1.0 && result.FontSize > 0.9);
        const TPrintAddressData empty =
            LayoutAddress({canvas, kFace, kDpi, 2, false}, {0, 0, 0, -10}, {}, {}, 15);
        QVERIFY(empty.FontSize <= 1.0 && empty.FontSize > 0.9);
    }

    void postalBoxDigits_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QList<int>>("mm");
        QTest::newRow("recipient boxes")
            << "263-0023" << 7.0 << "2630023" << QList<int>{0, 7, 14, 22, 29, 36, 43};
        QTest::newRow("sender boxes")
            << "263-0023" << 4.0 << "2630023" << QList<int>{0, 4, 8, 13, 17, 21, 25};
        QTest::newRow("every hyphen of the set dropped")
            << "1―2ー3-4－5‐6" << 7.0 << "123456" << QList<int>{0, 7, 14, 22, 29, 36};
        QTest::newRow("beyond the seventh at the same pitch")
            << "123456789" << 7.0 << "123456789" << QList<int>{0, 7, 14, 22, 29, 36, 43, 50, 57};
        QTest::newRow("empty code") << "" << 7.0 << "" << QList<int>{};
    }
    void postalBoxDigits() {
        QFETCH(QString, code);
        QFETCH(double, pitch);
        QFETCH(QString, digits);
        QFETCH(QList<int>, mm);
        // 254 dpi: 10 dots a millimetre; the first box at (10 mm, 5 mm).
        const QList<PostalBoxDigit> placed =
            PostalBoxDigits(code + kPostalCodeEndMarker + QStringLiteral("99"), 254, 10, 5, pitch);
        QString drawn;
        QList<int> offsets;
        for (const PostalBoxDigit &digit : placed) {
            drawn += digit.Digit;
            offsets << (digit.Position.x() - 100) / 10;
            QCOMPARE(digit.Position.y(), 50);
        }
        QCOMPARE(drawn, digits);
        QCOMPARE(offsets, mm);
    }

    void postalBoxesDrawNothingForAnEmptyCode() {
        QImage page = Page(600, 200, 254);
        {
            QPainter painter(&page);
            LayoutCanvas canvas(painter);
            DrawPostalBoxes(canvas, kPostalCodeEndMarker, 254, 1, 1);
            DrawSenderPostalBoxes(canvas, QString(), 254, 1, 1);
            DrawPostalLine({canvas, kFace, 254}, kPostalCodeEndMarker, {0, 0}, 20);
        }
        QVERIFY(InkBounds(page).isEmpty());
        {
            QPainter painter(&page);
            LayoutCanvas canvas(painter);
            DrawPostalBoxes(canvas, QStringLiteral("1000001") + kPostalCodeEndMarker, 254, 1, 1);
        }
        // Digits from 1 mm to 44 mm (10 dots a mm), half a 53-dot cell wide.
        const QRect ink = InkBounds(page);
        QVERIFY(ink.left() >= 10 && ink.left() < 20);
        QVERIFY(ink.right() > 440 && ink.right() < 470);
        QVERIFY(ink.top() >= 10);
    }

    void postalLineOfALabel_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("line");
        QTest::newRow("seven digits") << "1000001"
                                      << "〒1000001";
        QTest::newRow("full-width hyphen drawn as -") << "100－0001"
                                                      << "〒100-0001";
        QTest::newRow("long bar and long vowel drawn as -") << "100―00ー1"
                                                            << "〒100-00-1";
    }
    void postalLineOfALabel() {
        QFETCH(QString, code);
        QFETCH(QString, line);
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter, kFace);
        const TPrintCostomerData r =
            LayoutPostalLine(canvas, kDpi, {5, 7, 150, 40}, code + kPostalCodeEndMarker, 30);
        QVERIFY(r.FontSize < 30);
        QVERIFY(MeasureText(canvas, line) <= 150);
        QCOMPARE(r.Bottom, 7 + MeasureText(canvas, QStringLiteral("あ")));
        CreateLayoutFont({canvas, kFace, kDpi}, r.FontSize + 0.1);
        QVERIFY(MeasureText(canvas, line) > 150);
        QCOMPARE((QList<int>{r.Left, r.Top, r.Right}), (QList<int>{5, 7, 150}));
        QVERIFY(r.Text.isEmpty());

        QImage drawn = Page(), expected = Page();
        {
            QPainter p1(&drawn), p2(&expected);
            LayoutCanvas c1(p1), c2(p2);
            DrawPostalLine({c1, kFace, kDpi}, code + kPostalCodeEndMarker, {3, 4}, r.FontSize);
            DrawItemText({c2, kFace, kDpi}, line, {3, 4}, r.FontSize);
        }
        QVERIFY(!InkBounds(drawn).isEmpty());
        QCOMPARE(drawn, expected);
    }

    void barcodeFitsTheBoxWidth() {
        QImage page = Page(1200, 200, 300);
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        const QString marked = QStringLiteral("263-0023") + kPostalCodeEndMarker;
        const QString address =
            QStringLiteral("  千葉市稲毛区緑町３丁目３０―８　郵便ビル４０３号 ");
        const TPrintCostomerData wide =
            LayoutBarcode(canvas, 300, {10, 20, 1100, 50}, address, marked, {});
        QCOMPARE(wide.Text, QStringLiteral("(26300233-30-8-403DDD5)"));
        QCOMPARE(wide.FontSize, 10.0);
        // 67 bars at 1.2 mm: 2 + 21 * 3 + 2; each character rounded to whole dots.
        QCOMPARE(MeasureText(canvas, wide.Text), 959);
        QCOMPARE(wide.Bottom, 20 + 43);

        const TPrintCostomerData narrow =
            LayoutBarcode(canvas, 300, {10, 20, 850, 50}, address, marked, {});
        QVERIFY(narrow.FontSize < 10 && narrow.FontSize >= kBarcodeMinSize);
        QVERIFY(!narrow.WiderThanBox);
        QVERIFY(MeasureText(canvas, narrow.Text) <= 850);
        QCOMPARE(narrow.Bottom, 20 + MeasureText(canvas, QStringLiteral("5")));
        CreateLayoutFont(FaceContext{canvas, {}, 300}.Barcode(), narrow.FontSize + 0.1);
        QVERIFY(MeasureText(canvas, narrow.Text) > 850);
        QCOMPARE(narrow.Left, 10);
        QCOMPARE(narrow.Top, 20);
        QCOMPARE(narrow.Right, 850);

        // Below 8 points Japan Post cannot read it: a 50 mm box keeps 8 points and says so.
        const TPrintCostomerData tooNarrow =
            LayoutBarcode(canvas, 300, {10, 20, 590, 50}, address, marked, {});
        QCOMPARE(tooNarrow.FontSize, kBarcodeMinSize);
        QVERIFY(tooNarrow.WiderThanBox);
        QCOMPARE(LayoutBarcode(canvas, 300, {10, 20, 1500, 50}, address, marked, {}, 14).FontSize,
                 kBarcodeMaxSize);
    }

    void barcodeErrorForABadPostalCode_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("letters") << "ABC-DEFG";
        QTest::newRow("six digits") << "263-002";
        QTest::newRow("eight digits") << "263-00231";
        QTest::newRow("empty") << "";
    }
    void barcodeErrorForABadPostalCode() {
        QFETCH(QString, code);
        QImage page = Page();
        QPainter painter(&page);
        LayoutCanvas canvas(painter);
        const TPrintCostomerData r =
            LayoutBarcode(canvas, kDpi, {1, 2, 300, 40}, QStringLiteral("東京都"),
                          code + kPostalCodeEndMarker, {});
        QCOMPARE(r.Text, QStringLiteral("error"));
        QCOMPARE(r.FontSize, 0.0);
        QCOMPARE((QList<int>{r.Left, r.Top, r.Right, r.Bottom}), (QList<int>{0, 0, 0, 0}));
    }

    void spacedTextPutsTwoSpacingsBetweenItsTexts_data() {
        QTest::addColumn<bool>("vertical");
        QTest::newRow("vertical") << true;
        QTest::newRow("horizontal") << false;
    }
    void spacedTextPutsTwoSpacingsBetweenItsTexts() {
        QFETCH(bool, vertical);
        // "田" fills nearly its whole cell, so the ink shows where each character went.
        QImage page = Page();
        {
            QPainter painter(&page);
            LayoutCanvas canvas(painter);
            const FaceContext face{canvas, vertical ? kVerticalFace : kFace, kDpi, 0, vertical};
            DrawSpacedText(face, QStringLiteral("田田"), QStringLiteral("田"), 10, {40, 40}, 30);
        }
        // Cell 40 dots; first text: 40 + 10 + 40 + 10, second: 10 + 40, so the last character
        // ends 150 dots after the start.
        const QRect ink = InkBounds(page);
        const int end = vertical ? ink.bottom() : ink.right();
        const int across = vertical ? ink.width() : ink.height();
        QVERIFY2(end > 40 + 150 - 8 && end <= 40 + 150, qPrintable(QString::number(end)));
        QVERIFY(across <= 40);
    }

    void itemTextHonoursAnEmptyText() {
        QImage page = Page();
        {
            QPainter painter(&page);
            LayoutCanvas canvas(painter);
            const FaceContext face{canvas, kFace, kDpi};
            DrawItemText({canvas, kVerticalFace, kDpi, 0, true}, QString(), {10, 10}, 12);
            DrawSpacedText(face, QString(), QString(), 5, {10, 10}, 12);
            DrawItemText(face.Barcode(), QString(), {10, 10}, 12);
        }
        QVERIFY(InkBounds(page).isEmpty());
    }

    void fontOnAnInactiveCanvasFails() {
        auto *scripted = new ScriptedPrompt;
        Prompt::Install(std::unique_ptr<Prompt>(scripted));
        QPainter idle;
        LayoutCanvas canvas(idle);
        int evaluations = 0;
        const double size = FitFont({canvas, kFace, kDpi}, 15, [&] {
            ++evaluations;
            return false;
        });
        QCOMPARE(size, 15.0);
        QCOMPARE(evaluations, 0);
        QCOMPARE(scripted->Texts(QStringLiteral("error")),
                 QStringList{QStringLiteral("フォントの作成に失敗しました")});
    }

    void printableAreaRectangle_data() {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QRect>("rect");
        // Preview 100 dpi, printer 600 dpi, printable 90 x 140 mm: 354 x 551 preview pixels.
        QTest::newRow("offsets scaled")
            << QPoint(60, 120) << QRect(QPoint(10, 20), QPoint(363, 570));
        QTest::newRow("no offset: edges at 1")
            << QPoint(0, 0) << QRect(QPoint(1, 1), QPoint(353, 550));
    }
    void printableAreaRectangle() {
        QFETCH(QPoint, offset);
        QFETCH(QRect, rect);
        QImage page = Page(420, 620, 100);
        {
            QPainter painter(&page);
            DrawPrintableArea(painter, 100, {offset, 600, 600, QSizeF(90, 140)});
        }
        QCOMPARE(InkBounds(page), rect);
        int red = 0, white = 0;
        for (int x = rect.left(); x <= rect.right(); ++x)
            (page.pixel(x, rect.top()) == qRgb(255, 0, 0) ? red : white)++;
        QCOMPARE(red + white, rect.width());
        QVERIFY(red > rect.width() / 4 && white > rect.width() / 4); // dotted
    }
};

QTEST_MAIN(TestLayoutEngine)
#include "tst_layoutengine.moc"
