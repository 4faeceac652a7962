#include "core/TextHelpers.h"
#include "print/LabelGrid.h"

#include <QTest>

namespace {

SheetGeometry Sheet(int columns, int rows) {
    SheetGeometry g;
    g.SheetMm = QSizeF(210, 297);
    g.LabelMm = QSizeF(86.4, 50.8);
    g.TopMargin = 21.2;
    g.BottomMargin = 21.8;
    g.LeftMargin = 18.6;
    g.RightMargin = 18.6;
    g.Columns = columns;
    g.Rows = rows;
    return g;
}

} // namespace

class TestLabelGrid : public QObject {
    Q_OBJECT

private slots:
    void pagesHoldColumnsTimesRows_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("labels");
        QTest::addColumn<int>("pages");
        QTest::newRow("ten on ten") << 2 << 5 << 10 << 1;
        QTest::newRow("eleven on ten") << 2 << 5 << 11 << 2;
        QTest::newRow("one") << 2 << 5 << 1 << 1;
        QTest::newRow("none") << 2 << 5 << 0 << 0;
        QTest::newRow("single label sheet") << 1 << 1 << 3 << 3;
        QTest::newRow("65 on 65") << 5 << 13 << 65 << 1;
    }
    void pagesHoldColumnsTimesRows() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, labels);
        QFETCH(int, pages);
        const SheetGeometry sheet = Sheet(columns, rows);
        QCOMPARE(LabelPageCount(sheet, labels), pages);
        if (labels > 0)
            QCOMPARE(PlaceLabel(sheet, labels - 1, 600, 600, {}).Page, pages - 1);
    }

    void oneColumnOrRowPlacesEveryLabelAtTheMargin_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::newRow("one column") << 1 << 5;
        QTest::newRow("one row") << 2 << 1;
        QTest::newRow("one label") << 1 << 1;
    }
    void oneColumnOrRowPlacesEveryLabelAtTheMargin() {
        QFETCH(int, columns);
        QFETCH(int, rows);
        const SheetGeometry sheet = Sheet(columns, rows);
        const int leftDots = Rnd(18.6 * 254 / 25.4);
        const int topDots = Rnd(21.2 * 254 / 25.4);
        for (int n = 0; n < 2 * LabelsPerPage(sheet); ++n) {
            const QPoint p = PlaceLabel(sheet, n, 254, 254, {}).Position;
            if (columns == 1)
                QCOMPARE(p.x(), leftDots);
            if (rows == 1)
                QCOMPARE(p.y(), topDots);
        }
    }

    void labelsFillRowByRowFromTheMargins() {
        const SheetGeometry sheet = Sheet(2, 5);
        QCOMPARE(LabelStepX(sheet), 210 - 18.6 - 18.6 - 86.4);
        QCOMPARE(LabelStepY(sheet), (297 - 21.2 - 21.8 - 50.8) / 4);
        const QPoint offset(50, 30);
        struct Expect {
            int n, page, row, column;
        };
        for (const Expect e : {Expect{0, 0, 0, 0}, Expect{1, 0, 0, 1}, Expect{2, 0, 1, 0},
                               Expect{9, 0, 4, 1}, Expect{10, 1, 0, 0}, Expect{13, 1, 1, 1}}) {
            const LabelPlacement p = PlaceLabel(sheet, e.n, 600, 300, offset);
            QCOMPARE(p.Page, e.page);
            QCOMPARE(p.Row, e.row);
            QCOMPARE(p.Column, e.column);
            const double xMm = e.column * LabelStepX(sheet) + 18.6;
            const double yMm = e.row * LabelStepY(sheet) + 21.2;
            QCOMPARE(p.Position, QPoint(Rnd(xMm * 600 / 25.4) - 50, Rnd(yMm * 300 / 25.4) - 30));
        }
        // The last label of the page ends at the bottom-right margin.
        const QPoint last = PlaceLabel(sheet, 9, 254, 254, {}).Position;
        QCOMPARE(last, QPoint(Rnd((210 - 18.6 - 86.4) * 10), Rnd((297 - 21.8 - 50.8) * 10)));
    }
};

QTEST_GUILESS_MAIN(TestLabelGrid)
#include "tst_labelgrid.moc"
