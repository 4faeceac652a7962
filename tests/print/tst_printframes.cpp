#include "print/LayoutEngine.h"
#include "print/PaperKinds.h"
#include "print/PrintFrames.h"

#include <QTest>

Q_DECLARE_METATYPE(FrameCorner)

namespace {
const QSize preview(304, 450);

bool Inside(const QRect &frame, const QSize &area, int overhang = kFrameOverhang) {
    return frame.left() >= 0 && frame.top() >= 0 &&
           frame.left() + frame.width() <= area.width() + overhang &&
           frame.top() + frame.height() <= area.height() + overhang;
}
} // namespace

class TestPrintFrames : public QObject {
    Q_OBJECT

private slots:
    void movingKeepsTheFrameInsideThePreview_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("delta");
        QTest::addColumn<QRect>("moved");
        QTest::newRow("free") << QRect(100, 100, 50, 40) << QPoint(10, -20)
                              << QRect(110, 80, 50, 40);
        QTest::newRow("past left and top")
            << QRect(5, 5, 50, 40) << QPoint(-30, -30) << QRect(0, 0, 50, 40);
        QTest::newRow("past right and bottom")
            << QRect(200, 400, 50, 40) << QPoint(500, 500) << QRect(255, 411, 50, 40);
        QTest::newRow("wider than the preview")
            << QRect(0, 0, 400, 40) << QPoint(20, 0) << QRect(0, 0, 400, 40);
    }
    void movingKeepsTheFrameInsideThePreview() {
        QFETCH(QRect, frame);
        QFETCH(QPoint, delta);
        QFETCH(QRect, moved);
        QCOMPARE(MoveFrame(frame, delta, preview), moved);
    }

    void resizingMovesTheCornersEdges_data() {
        QTest::addColumn<FrameCorner>("corner");
        QTest::addColumn<QPoint>("mouse");
        QTest::addColumn<QRect>("resized");
        // The frame is (100, 100, 80, 60): right edge 180, bottom edge 160.
        QTest::newRow("left top") << FrameCorner::LeftTop << QPoint(90, 80)
                                  << QRect(90, 80, 90, 80);
        QTest::newRow("right top")
            << FrameCorner::RightTop << QPoint(200, 120) << QRect(100, 120, 100, 40);
        QTest::newRow("left bottom")
            << FrameCorner::LeftBottom << QPoint(120, 200) << QRect(120, 100, 60, 100);
        QTest::newRow("right bottom")
            << FrameCorner::RightBottom << QPoint(150, 130) << QRect(100, 100, 50, 30);
        QTest::newRow("left top past the far edges")
            << FrameCorner::LeftTop << QPoint(300, 300) << QRect(155, 135, 25, 25);
        QTest::newRow("right bottom past the near edges")
            << FrameCorner::RightBottom << QPoint(0, 0) << QRect(100, 100, 25, 25);
        QTest::newRow("outside the preview")
            << FrameCorner::RightBottom << QPoint(1000, 1000) << QRect(100, 100, 204, 350);
        QTest::newRow("outside to the top left")
            << FrameCorner::LeftTop << QPoint(-50, -50) << QRect(0, 0, 180, 160);
    }
    void resizingMovesTheCornersEdges() {
        QFETCH(FrameCorner, corner);
        QFETCH(QPoint, mouse);
        QFETCH(QRect, resized);
        QCOMPARE(ResizeFrame(QRect(100, 100, 80, 60), corner, mouse, preview), resized);
    }

    void framesNeverLeaveNorShrinkBelowTheMinimum() {
        // A frame pressed against an edge, then shrunk from the other side.
        const QRect corner(0, 0, 30, 30);
        for (const FrameCorner c : {FrameCorner::LeftTop, FrameCorner::RightTop,
                                    FrameCorner::LeftBottom, FrameCorner::RightBottom}) {
            for (const QPoint mouse : {QPoint(-20, -20), QPoint(0, 0), QPoint(5, 5),
                                       QPoint(400, 600), QPoint(preview.width(), 0)}) {
                const QRect r = ResizeFrame(corner, c, mouse, preview);
                QVERIFY(Inside(r, preview, 0));
                QVERIFY(r.width() >= kMinFrameSize && r.height() >= kMinFrameSize);
            }
        }
    }

    void postalFramesResizeOnlyOnLabels_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<bool>("labelTab");
        QTest::addColumn<bool>("resizable");
        QTest::newRow("postal on postcard") << int(PrintFrame::UpperPostCode) << false << false;
        QTest::newRow("sender postal on postcard")
            << int(PrintFrame::UnderPostCode) << false << false;
        QTest::newRow("postal on label") << int(PrintFrame::UpperPostCode) << true << true;
        QTest::newRow("address on postcard") << int(PrintFrame::Address) << false << true;
        QTest::newRow("barcode on postcard") << int(PrintFrame::Costomer) << false << true;
    }
    void postalFramesResizeOnlyOnLabels() {
        QFETCH(int, frame);
        QFETCH(bool, labelTab);
        QFETCH(bool, resizable);
        QCOMPARE(IsResizable(static_cast<PrintFrame>(frame), labelTab), resizable);
    }

    void defaultFramesFitTheirPreview() {
        for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind) {
            const PaperKind &paper = PaperKindOf(kind);
            const QSize panel = PanelSizeFor(paper.PaperMm, paper.PanelHeight);
            for (const bool vertical : {true, false})
                for (const QRect &frame : DefaultFrames(kind, vertical))
                    QVERIFY2(Inside(frame, panel), qPrintable(QString("kind %1").arg(kind)));
        }
    }

    void defaultBarcodeFramesKeepJapanPostsPlace_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("vertical");
        for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind)
            for (const bool vertical : {true, false})
                QTest::addRow("kind %d, %s", kind, vertical ? "vertical" : "horizontal")
                    << kind << vertical;
    }
    // 10 mm inside every edge, out of the 70 x 35 mm stamp and postmark corner, and 2 mm of
    // quiet zone clear of every other frame; under the name in horizontal writing, beside or
    // under the address in vertical writing. In tenths of a millimetre.
    void defaultBarcodeFramesKeepJapanPostsPlace() {
        QFETCH(int, kind);
        QFETCH(bool, vertical);
        const PaperKind &paper = PaperKindOf(kind);
        const QSize panel = PanelSizeFor(paper.PaperMm, paper.PanelHeight);
        const double pixelsPerMm = panel.width() / paper.PaperMm.width();
        const FrameSet frames = DefaultFrames(kind, vertical);
        const auto tenths = [&](PrintFrame frame) {
            const LayoutBox b = ShapeToDeviceBox(FrameOf(frames, frame), pixelsPerMm, 254, 254);
            return QRect(b.Left, b.Top, b.Width, b.Height);
        };
        const QRect bars = tenths(PrintFrame::Costomer);
        const QRect paperArea(0, 0, qRound(paper.PaperMm.width() * 10),
                              qRound(paper.PaperMm.height() * 10));
        QVERIFY(paperArea.adjusted(100, 100, -100, -100).contains(bars));
        const bool landscape = paper.PaperMm.width() > paper.PaperMm.height();
        const QRect stamp(landscape ? paperArea.width() - 700 : 0, 0, 700, 350);
        QVERIFY(!stamp.intersects(bars));
        const QRect quiet = bars.adjusted(-20, -20, 20, 20);
        for (const PrintFrame frame : kAllFrames)
            if (frame != PrintFrame::Costomer)
                QVERIFY2(!quiet.intersects(tenths(frame)), qPrintable(FrameObjectName(frame)));
        const QRect name = tenths(PrintFrame::Name);
        const QRect address = tenths(PrintFrame::Address);
        if (!vertical)
            QVERIFY(bars.top() >= name.bottom() && bars.top() - name.bottom() < 60);
        else
            QVERIFY(bars.top() >= std::max(name.bottom(), address.bottom()));
    }

    void panelsKeepThePapersProportions_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QSize>("panel");
        QTest::newRow("postcard") << 1 << QSize(304, 450);
        QTest::newRow("長形3号") << 5 << QSize(230, 450);
        QTest::newRow("長形3号(横)") << 8 << QSize(441, 225);
        QTest::newRow("角形3号") << 10 << QSize(351, 450);
        QTest::newRow("unknown kind is kind 3") << 42 << QSize(304, 450);
    }
    void panelsKeepThePapersProportions() {
        QFETCH(int, kind);
        QFETCH(QSize, panel);
        QCOMPARE(PanelSizeFor(PaperKindOf(kind).PaperMm, PaperKindOf(kind).PanelHeight), panel);
    }

    void labelPanelsStayOnScreen() {
        QCOMPARE(LabelPanelSize(QSizeF(86.4, 50.8)), QSize(304, 179));
        const QSize tall = LabelPanelSize(QSizeF(20, 100));
        QCOMPARE(tall, QSize(90, 450));
    }

    void storedFramesAreBroughtInside() {
        QCOMPARE(BringInside(QRect(500, 900, 50, 40), preview), QRect(255, 411, 50, 40));
        QCOMPARE(BringInside(QRect(10, 10, 1000, 40), preview), QRect(1, 10, 304, 40));
        QCOMPARE(BringInside(QRect(10, 10, 50, 40), preview), QRect(10, 10, 50, 40));
    }

    void postalBoxesArePlacedByThePictureHeight() {
        // The postcard's default postal frame sits on the printed boxes (44.3 mm, 12 mm).
        const QPointF mm = FrameOriginMm(QRect(138, 39, 148, 24), 148, 450);
        QCOMPARE(qRound(mm.x() * 10), 454);
        QCOMPARE(qRound(mm.y() * 10), 128);
    }
};

QTEST_GUILESS_MAIN(TestPrintFrames)
#include "tst_printframes.moc"
