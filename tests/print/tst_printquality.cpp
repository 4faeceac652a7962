// What comes out of the printer, measured in millimetres on faces rendered at a known
// resolution: the customer barcode at a size Japan Post reads, the postal code digits inside the
// boxes of the paper, texts on labels large enough to read, and no ink outside the frames.

#include "PrintTestData.h"
#include "print/AddressCheck.h"
#include "print/ComposeFace.h"
#include "print/PaperPicture.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTransform>

namespace {

constexpr int kDpi = 400;
constexpr int kChoukei3 = 5;

double Mm(double dots) {
    return dots * 25.4 / kDpi;
}
int Dots(double mm) {
    return qRound(mm * kDpi / 25.4);
}

SheetGeometry Elm006() {
    return {{210, 297}, {86.4, 50.8}, 21.2, 21.8, 18.6, 18.6, 2, 5, false};
}

FaceSettings FaceFor(int kind, bool vertical, bool label) {
    PrintSettings settings = PostcardSettings(vertical, false, kind);
    if (label) {
        const SheetGeometry sheet = Elm006();
        settings.Frames = LabelTabFrames(LabelPanelSize(sheet.LabelMm));
        return StoredFaceSettings(settings, sheet, SampleZipDataPath());
    }
    return StoredFaceSettings(settings, std::nullopt, SampleZipDataPath());
}

struct Rendered {
    QImage Image;
    FaceReport Report;
};

Rendered Render(const FaceSettings &face, const PrintRow &row) {
    Rendered out{
        QImage(Dots(face.PaperMm.width()), Dots(face.PaperMm.height()), QImage::Format_RGB32), {}};
    out.Image.fill(Qt::white);
    QPainter painter(&out.Image);
    out.Report = ComposeFace(painter, face, kDpi, kDpi, Dots(0.2), row, SampleSender());
    return out;
}

bool Inked(const QImage &image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

// Columns with ink in the band [top, bottom): the left edge and width of each run, in dots.
QList<QPair<int, int>> InkRuns(const QImage &image, int left, int right, int top, int bottom) {
    QList<QPair<int, int>> runs;
    int start = -1;
    for (int x = left; x <= right; ++x) {
        bool ink = false;
        for (int y = top; y < bottom && !ink && x < right; ++y)
            ink = Inked(image, x, y);
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            runs.append({start, x - start});
            start = -1;
        }
    }
    return runs;
}

} // namespace

class PrintQualityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(!SampleZipDataPath().isEmpty()); }

    void faces_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("label");
        QTest::addColumn<QString>("zip");
        const QString zip = QStringLiteral("263-0023");
        QTest::newRow("plain postcard, vertical") << 1 << true << false << zip;
        QTest::newRow("plain postcard, horizontal") << 1 << false << false << zip;
        QTest::newRow("picture postcard, vertical") << 2 << true << false << zip;
        QTest::newRow("New Year card, vertical") << 3 << true << false << zip;
        QTest::newRow("New Year card, horizontal") << 3 << false << false << zip;
        QTest::newRow("長形3号, vertical") << kChoukei3 << true << false << zip;
        QTest::newRow("長形3号, horizontal") << kChoukei3 << false << false << zip;
        QTest::newRow("角形3号, vertical") << 10 << true << false << zip;
        QTest::newRow("label 86.4 x 50.8") << 0 << false << true << zip;
        QTest::newRow("code typed in full width") << 1 << true << false << "〒２６３－００２３";
        QTest::newRow("code typed with a blank") << 1 << true << false << " 263 0023";
    }

    // Japan Post: at s points the bars stand 1.2 s / 10 mm apart and a long bar is 3.6 s / 10 mm.
    void faces() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        QFETCH(bool, label);
        QFETCH(QString, zip);
        const FaceSettings face = FaceFor(kind, vertical, label);
        PrintRow row = SampleCustomerRow(0, 0);
        row.Customer.zip = zip;
        const Rendered r = Render(face, row);
        QCOMPARE(r.Report.BarcodeOutcome, FaceReport::Barcode::Printed);
        const double size = r.Report.BarcodeSize;
        QVERIFY2(size >= 8 && size <= 11.5, qPrintable(QString::number(size)));

        const LayoutBox box = ShapeToDeviceBox(FrameOf(face.Frames, PrintFrame::Costomer),
                                               face.PreviewPixelsPerMm, kDpi, kDpi);
        const int barsBottom = box.Top + Dots(3.6 * size / 10) + 2;
        const QList<QPair<int, int>> bars =
            InkRuns(r.Image, box.Left - 2, box.Left + box.Width + Dots(1), box.Top, barsBottom);
        QCOMPARE(bars.size(), 67);
        const double pitch = Mm(bars.last().first - bars.first().first) / 66;
        QVERIFY2(qAbs(pitch - 1.2 * size / 10) < 0.02, qPrintable(QString::number(pitch)));
        QVERIFY2(qAbs(Mm(bars.first().second) - 0.6 * size / 10) < 0.1,
                 qPrintable(QString::number(Mm(bars.first().second))));
        int longBar = 0; // the start code begins with a long bar
        for (int y = box.Top - 2; y < barsBottom + 4; ++y)
            longBar += Inked(r.Image, bars.first().first + bars.first().second / 2, y);
        QVERIFY2(qAbs(Mm(longBar) - 3.6 * size / 10) < 0.1, qPrintable(QString::number(longBar)));

        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
        if (label)
            return;
        // Each digit of 263-0023 centred in its box within 0.7 mm, and inside it from top to
        // bottom.
        const QList<QRectF> boxes = PostalBoxesMm(kind);
        const QList<QPair<int, int>> digits =
            InkRuns(r.Image, Dots(boxes.first().left() - 3), Dots(boxes.last().right() + 3),
                    Dots(boxes.first().top() - 3), Dots(boxes.first().bottom() + 3));
        QCOMPARE(digits.size(), 7);
        for (int i = 0; i < 7; ++i) {
            const double centre = Mm(digits[i].first + digits[i].second / 2.0);
            QVERIFY2(qAbs(centre - boxes[i].center().x()) <= 0.7,
                     qPrintable(QStringLiteral("digit %1 at %2 mm").arg(i).arg(centre)));
            int top = -1, bottom = -1;
            for (int y = Dots(boxes[i].top() - 3); y < Dots(boxes[i].bottom() + 3); ++y)
                for (int x = digits[i].first; x < digits[i].first + digits[i].second; ++x)
                    if (Inked(r.Image, x, y)) {
                        top = top < 0 ? y : top;
                        bottom = y;
                    }
            QVERIFY2(Mm(top) >= boxes[i].top() && Mm(bottom) <= boxes[i].bottom(),
                     qPrintable(QStringLiteral("digit %1 from %2 to %3 mm")
                                    .arg(i)
                                    .arg(Mm(top))
                                    .arg(Mm(bottom))));
        }
    }

    // A name keeps the pitch of its own size, centred in its frame: along its line no gap of
    // ink is wider than a character is high.
    void nameKeepsItsPitch_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("label 86.4 x 50.8") << 0 << false;
        QTest::newRow("plain postcard, horizontal") << 1 << false;
        QTest::newRow("角形2号, vertical") << 9 << true;
        QTest::newRow("角形2号, horizontal") << 9 << false;
    }
    void nameKeepsItsPitch() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        PrintRow row = SampleCustomerRow(0, 0);
        row.Customer.name = QStringLiteral("佐藤　花子");
        row.Customer.checkRen = {};
        const FaceSettings face = FaceFor(kind, vertical, kind == 0);
        const LayoutBox box = ShapeToDeviceBox(FrameOf(face.Frames, PrintFrame::Name),
                                               face.PreviewPixelsPerMm, kDpi, kDpi);
        QImage line = Render(face, row).Image.copy(box.Left, box.Top, box.Width, box.Height);
        if (vertical)
            line = line.transformed(QTransform(0, 1, 1, 0, 0, 0));
        const QList<QPair<int, int>> runs = InkRuns(line, 0, line.width(), 0, line.height());
        const QList<QPair<int, int>> across = InkRuns(
            line.transformed(QTransform(0, 1, 1, 0, 0, 0)), 0, line.height(), 0, line.width());
        QVERIFY(runs.size() >= 5 && !across.isEmpty());
        const int character = across.last().first + across.last().second - across.first().first;
        for (int i = 1; i < runs.size(); ++i)
            QVERIFY2(runs[i].first - runs[i - 1].first - runs[i - 1].second <= character,
                     qPrintable(QStringLiteral("gap %1 of %2").arg(i).arg(runs.size() - 1)));
        const int middle = (runs.first().first + runs.last().first + runs.last().second) / 2;
        QVERIFY2(qAbs(middle - line.width() / 2) <= Dots(1), qPrintable(QString::number(middle)));
    }

    // A line that would fall below 8 points is broken in two and prints at 8 points or more.
    void longAddressLineIsBroken_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<bool>("label");
        QTest::newRow("plain postcard, vertical") << 1 << true << false;
        QTest::newRow("plain postcard, horizontal") << 1 << false << false;
        QTest::newRow("長形3号, vertical") << kChoukei3 << true << false;
        QTest::newRow("label 86.4 x 50.8") << 0 << false << true;
    }
    void longAddressLineIsBroken() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        QFETCH(bool, label);
        PrintRow row = SampleCustomerRow(0, 0);
        row.Customer.address1 =
            QStringLiteral("千葉県千葉市稲毛区緑町1丁目9番1号 グラントウキョウノースタワー40階");
        row.Customer.address2.clear();
        const FaceSettings face = FaceFor(kind, vertical, label);
        const Rendered r = Render(face, row);
        QVERIFY2(r.Report.AddressSize >= kAddressBreakSize,
                 qPrintable(QString::number(r.Report.AddressSize)));
        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
        for (const AddressProblem &problem : CheckAddresses({row}, face, SampleSender(), kPdfDpi))
            QVERIFY2(!problem.Text.startsWith(QStringLiteral("住所が")), qPrintable(problem.Text));
    }

    // Bars moved over the name are named by the check.
    void barcodeOverOtherPrintIsNamed() {
        FaceSettings face = FaceFor(1, false, false);
        FrameOf(face.Frames, PrintFrame::Costomer)
            .moveTop(FrameOf(face.Frames, PrintFrame::Name).top());
        const QStringList lines =
            ProblemLines(CheckAddresses({SampleCustomerRow(0, 0)}, face, SampleSender(), kPdfDpi));
        QVERIFY2(lines.contains(
                     QStringLiteral("山田　太郎: カスタマーバーコードがほかの印字に重なります")),
                 qPrintable(lines.join(u'|')));
    }

    void labelTextsAreReadable_data() {
        QTest::addColumn<int>("useType");
        QTest::addColumn<int>("printCtrl");
        QTest::addColumn<int>("joints");
        QTest::addColumn<double>("smallest");
        QTest::newRow("one name") << 0 << 0 << 0 << 9.0;
        QTest::newRow("four joint names") << 0 << 0 << 4 << 7.0;
        QTest::newRow("company form with a name") << 1 << 3 << 0 << 6.0;
    }

    void labelTextsAreReadable() {
        QFETCH(int, useType);
        QFETCH(int, printCtrl);
        QFETCH(int, joints);
        QFETCH(double, smallest);
        PrintRow row = SampleCustomerRow(useType, printCtrl);
        for (int i = 0; i < 4; ++i) {
            row.Customer.renmei[i] = QStringLiteral("山田　花子");
            row.Customer.checkRen[i] = i < joints;
        }
        const Rendered r = Render(FaceFor(0, false, true), row);
        QVERIFY2(r.Report.SmallestTextSize >= smallest,
                 qPrintable(QString::number(r.Report.SmallestTextSize)));
        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
    }

    // Customers as entered on small labels: every text stays in its frame, and none shrinks
    // below `smallest` points.
    void smallLabelsKeepTextsInFrames_data() {
        QTest::addColumn<QSizeF>("labelMm");
        QTest::addColumn<int>("printCtrl");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("smallest");
        const QString name = QStringLiteral("山田　太郎");
        QTest::newRow("60 x 20, company form without a name")
            << QSizeF(60, 20) << 3 << QString() << 0.0;
        QTest::newRow("38.1 x 21.2, company form without a name")
            << QSizeF(38.1, 21.2) << 3 << QString() << 0.0;
        QTest::newRow("60 x 20, company form to a position") << QSizeF(60, 20) << 2 << name << 0.0;
        QTest::newRow("38.1 x 21.2, company form to a position")
            << QSizeF(38.1, 21.2) << 2 << name << 0.0;
        QTest::newRow("66 x 33.9, company form with a name")
            << QSizeF(66, 33.9) << 3 << name << 5.0;
    }
    void smallLabelsKeepTextsInFrames() {
        QFETCH(QSizeF, labelMm);
        QFETCH(int, printCtrl);
        QFETCH(QString, name);
        QFETCH(double, smallest);
        PrintSettings settings = PostcardSettings(false, false);
        settings.Frames = LabelTabFrames(LabelPanelSize(labelMm));
        SheetGeometry sheet = Elm006();
        sheet.LabelMm = labelMm;
        PrintRow row = SampleCustomerRow(1, printCtrl);
        row.Customer.name = name;
        const Rendered r = Render(StoredFaceSettings(settings, sheet, SampleZipDataPath()), row);
        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
        QVERIFY2(r.Report.SmallestTextSize >= smallest,
                 qPrintable(QString::number(r.Report.SmallestTextSize)));
    }

    // The sender block of the default frames on every paper: every text at least 6 points and
    // inside its frame; where the picture card's message half leaves too little room, the check
    // before printing says so.
    void senderIsReadable_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind)
            for (const bool vertical : {true, false})
                QTest::addRow("%s, %s", qPrintable(PaperKindOf(kind).Caption),
                              vertical ? "vertical" : "horizontal")
                    << kind << vertical;
    }
    void senderIsReadable() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        const FaceSettings face = StoredFaceSettings(PostcardSettings(vertical, true, kind),
                                                     std::nullopt, SampleZipDataPath());
        const PrintRow row = SampleCustomerRow(0, 0);
        const Rendered r = Render(face, row);
        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
        if (kind == 2 && !vertical) {
            const QList<AddressProblem> named = CheckAddresses({row}, face, SampleSender(), kDpi);
            QVERIFY(!named.isEmpty() && named.last().Text.startsWith(QStringLiteral("文字が")));
        } else {
            QVERIFY2(r.Report.SmallestTextSize >= kSmallestReadableSize,
                     qPrintable(QString::number(r.Report.SmallestTextSize)));
        }
    }

    // Company, department, title and name of the company form stay in the name frame, readable.
    void companyFormStaysInItsFrame_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        QTest::newRow("長形3号, vertical") << kChoukei3 << true;
        QTest::newRow("長形3号, horizontal") << kChoukei3 << false;
        QTest::newRow("New Year card, vertical") << 3 << true;
    }
    void companyFormStaysInItsFrame() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        const Rendered r = Render(FaceFor(kind, vertical, false), SampleCustomerRow(1, 3));
        QVERIFY(!HasInkOutside(r.Image, r.Report.InkAreas, Dots(0.5)));
        QVERIFY2(r.Report.SmallestTextSize >= kSmallestReadableSize,
                 qPrintable(QString::number(r.Report.SmallestTextSize)));
    }

    // A frame too narrow for 8 points: printed at 8 points where it stays clear, else left out.
    void narrowBarcodeFrame_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<int>("outcome");
        QTest::newRow("room to the right")
            << QRect(30, 95, 150, 25) << int(FaceReport::Barcode::Printed);
        QTest::newRow("over the address")
            << QRect(30, 150, 150, 25) << int(FaceReport::Barcode::LeftOut);
        QTest::newRow("off the card")
            << QRect(150, 420, 150, 25) << int(FaceReport::Barcode::LeftOut);
    }

    void narrowBarcodeFrame() {
        QFETCH(QRect, frame);
        QFETCH(int, outcome);
        FaceSettings face = FaceFor(1, true, false);
        FrameOf(face.Frames, PrintFrame::Costomer) = frame;
        const Rendered r = Render(face, SampleCustomerRow(0, 0));
        QCOMPARE(int(r.Report.BarcodeOutcome), outcome);
        if (outcome == int(FaceReport::Barcode::Printed))
            QCOMPARE(r.Report.BarcodeSize, kBarcodeMinSize);
        const QList<AddressProblem> problems =
            CheckAddresses({SampleCustomerRow(0, 0)}, face, SampleSender(), kPdfDpi);
        QCOMPARE(problems.size(), outcome == int(FaceReport::Barcode::LeftOut) ? 1 : 0);
    }

    void checkNamesEveryProblem_data() {
        QTest::addColumn<QString>("zip");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no postal code") << ""
                                        << "千葉県千葉市稲毛区緑町3丁目30-8"
                                        << "郵便番号がありません";
        QTest::newRow("six digits") << "263-002"
                                    << "千葉県千葉市稲毛区緑町3丁目30-8"
                                    << "郵便番号が7桁ではありません";
        QTest::newRow("no address") << "263-0023"
                                    << ""
                                    << "住所がありません";
        QTest::newRow("a character no face draws")
            << "263-0023" << QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8\U0001F600")
            << "選んだフォントで印刷できない文字があります";
    }

    void checkNamesEveryProblem() {
        QFETCH(QString, zip);
        QFETCH(QString, address);
        QFETCH(QString, expected);
        PrintRow row = SampleCustomerRow(0, 0);
        row.Customer.zip = zip;
        row.Customer.address1 = address;
        row.Customer.address2.clear();
        const QStringList lines =
            ProblemLines(CheckAddresses({row}, FaceFor(1, true, false), SampleSender(), kPdfDpi));
        QVERIFY2(lines.size() >= 1 &&
                     lines.first().startsWith(QStringLiteral("山田　太郎: ") + expected),
                 qPrintable(lines.join(u'|')));
        QVERIFY(CheckAddresses({SampleCustomerRow(0, 0)}, FaceFor(1, true, false), SampleSender(),
                               kPdfDpi)
                    .isEmpty());
    }

    // A long check reports its progress and stops when asked, with the problems found so far.
    void checkStopsWhenAsked() {
        PrintRow noZip = SampleCustomerRow(0, 0);
        noZip.Customer.zip.clear();
        QList<int> reported;
        const QList<AddressProblem> problems =
            CheckAddresses({noZip, noZip, noZip}, FaceFor(1, true, false), SampleSender(), kPdfDpi,
                           [&reported](int done, int total) {
                               reported << done;
                               return total == 3 && done < 2;
                           });
        QCOMPARE(reported, (QList<int>{0, 1, 2}));
        QCOMPARE(problems.size(), 2);
    }
};

QTEST_MAIN(PrintQualityTest)
#include "tst_printquality.moc"
