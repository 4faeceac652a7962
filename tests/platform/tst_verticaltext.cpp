#include "platform/FontResolver.h"
#include "platform/VerticalText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTest>

namespace {

QRect InkIn(const QImage &image, const QRect &area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The cells of a text as "U:東|S:10F": U upright, R upper right, T turned, S side by side.
QString Described(const QString &text) {
    static const QString codes = QStringLiteral("URTS");
    QStringList cells;
    for (const VerticalText::Cell &cell : VerticalText::CellsOf(text))
        cells << codes.at(int(cell.Place)) + u':' + cell.Text;
    return cells.join(u'|');
}

// A column drawn cell by cell at 100 dots: the picture and, per cell, its ink in the picture.
struct Column {
    QImage Image;
    QList<QRect> Places; // each cell's place: its length of the column
    QList<QRect> Ink;

    // Dark dots in the rows from `from` to `to` (fractions of the ink's height) of a cell's ink.
    int DotsIn(int cell, double from, double to) const {
        const QRect &ink = Ink.at(cell);
        int dots = 0;
        for (int y = ink.top() + int(from * ink.height()); y < ink.top() + to * ink.height(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                dots += qGray(Image.pixel(x, y)) < 128 ? 1 : 0;
        return dots;
    }
};
Column DrawnColumn(const QList<VerticalText::Cell> &cells, const QString &face) {
    const QFont font = FontResolver::MakeFont(face, 100, false, false, false);
    const QFontMetrics metrics(font);
    int length = 0;
    for (const VerticalText::Cell &cell : cells)
        length += VerticalText::Advance(metrics, 100, cell);
    Column column{QImage(300, length + 200, QImage::Format_RGB32), {}, {}};
    column.Image.fill(Qt::white);
    QList<QRect> &places = column.Places;
    {
        QPainter painter(&column.Image);
        painter.setFont(font);
        int top = 100;
        for (const VerticalText::Cell &cell : cells) {
            const int advance = VerticalText::Advance(metrics, 100, cell);
            VerticalText::DrawCell(painter, cell, 200, top, 100, advance);
            places << QRect(100, top, 100, advance);
            top += advance;
        }
    }
    for (const QRect &place : places)
        column.Ink << InkIn(column.Image, QRect(0, place.top(), 300, place.height()));
    return column;
}

// The ink of one character drawn into a 100-dot cell of a column from x = 100 to 200.
QRect DrawnInk(const QString &ch, const QString &face = QStringLiteral("@ＭＳ ゴシック")) {
    const Column column = DrawnColumn(VerticalText::CellsOf(ch), face);
    return InkIn(column.Image, column.Image.rect());
}

} // namespace

class TestVerticalText : public QObject {
    Q_OBJECT
private slots:
    void cells_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("cells");
        QTest::newRow("floor name side by side") << "１０Ｆ"
                                                 << "S:10F";
        QTest::newRow("half-width floor name") << "10F"
                                               << "S:10F";
        QTest::newRow("room name") << "２Ａ"
                                   << "S:2A";
        QTest::newRow("two letters") << "ＪＲ"
                                     << "S:JR";
        QTest::newRow("number in a name") << "第２１"
                                          << "U:第|S:21";
        QTest::newRow("three letters upright one by one") << "ＴＥＬ"
                                                          << "U:Ｔ|U:Ｅ|U:Ｌ";
        QTest::newRow("half-width capitals upright") << "TEL"
                                                     << "U:Ｔ|U:Ｅ|U:Ｌ";
        QTest::newRow("four digits upright") << "１２３４"
                                             << "U:１|U:２|U:３|U:４";
        QTest::newRow("telephone digits all upright") << "０６―１２３"
                                                      << "U:０|U:６|T:―|U:１|U:２|U:３";
        QTest::newRow("time digits all upright") << "10:30"
                                                 << "U:１|U:０|T:：|U:３|U:０";
        QTest::newRow("single letter") << "F"
                                       << "U:Ｆ";
        QTest::newRow("number sign") << "#２Ａ"
                                     << "U:＃|S:2A";
        QTest::newRow("half-width kana upright") << "ｱｲｳ"
                                                 << "U:ア|U:イ|U:ウ";
        QTest::newRow("half-width voiced and small kana") << "ｶﾞｯｰ"
                                                          << "U:ガ|R:ッ|T:ー";
        QTest::newRow("lone voicing mark") << "ﾟ"
                                           << "U:゜";
        QTest::newRow("colons and angle brackets turn") << "：；＜＞"
                                                        << "T:：|T:；|T:＜|T:＞";
        QTest::newRow("brackets and long vowel turn") << "「（ー）」【】"
                                                      << "T:「|T:（|T:ー|T:）|T:」|T:【|T:】";
        QTest::newRow("dashes, wave dash, equals turn") << "―－‐～＝"
                                                        << "T:―|T:－|T:‐|T:～|T:＝";
        QTest::newRow("half-width signs as full-width") << "(=)"
                                                        << "T:（|T:＝|T:）";
        QTest::newRow("comma, full stop, small kana") << "、。ぁョ"
                                                      << "R:、|R:。|R:ぁ|R:ョ";
        QTest::newRow("mail address lies") << "a@b.jp"
                                           << "T:a|T:@|T:b|T:.|T:j|T:p";
        QTest::newRow("blank keeps its width") << "東 京"
                                               << "U:東|T: |U:京";
    }
    void cells() {
        QFETCH(QString, text);
        QFETCH(QString, cells);
        QCOMPARE(Described(text), cells);
    }

    // What the user sees of an address line in a column: the floor name across its cell, the
    // letters and kana upright, the colon and the long vowel mark turned.
    void addressColumnStandsAsSet() {
        const QList<VerticalText::Cell> cells =
            VerticalText::CellsOf(QStringLiteral("ビル１０Ｆ：ＴＥＬーｱｲｳ"));
        QCOMPARE(Described(QStringLiteral("ビル１０Ｆ：ＴＥＬーｱｲｳ")),
                 QStringLiteral("U:ビ|U:ル|S:10F|T:：|U:Ｔ|U:Ｅ|U:Ｌ|T:ー|U:ア|U:イ|U:ウ"));
        const Column column = DrawnColumn(cells, QStringLiteral("@ＭＳ 明朝"));
        const QList<QRect> &ink = column.Ink;
        for (qsizetype i = 0; i < ink.size(); ++i)
            QVERIFY2(column.Places.at(i).contains(ink.at(i)), qPrintable(cells.at(i).Text));
        const QRect floor = ink.at(2), colon = ink.at(3), bar = ink.at(7), kana = ink.at(8);
        QVERIFY(floor.width() > floor.height() && floor.width() > 60);
        QVERIFY(colon.width() > 2 * colon.height());
        QVERIFY(bar.height() > 2 * bar.width());
        // Upright, Ｔ has its bar at the top and Ｌ its foot at the bottom.
        QVERIFY(column.DotsIn(4, 0, 0.25) > 2 * column.DotsIn(4, 0.75, 1));
        QVERIFY(column.DotsIn(6, 0.75, 1) > 2 * column.DotsIn(6, 0, 0.25));
        // ｱ as the full-size ア, not a narrow one on its side.
        QVERIFY(kana.height() > 60 && kana.width() > 60);
    }
    void placement_data() {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<int>("placement");
        const int upright = int(VerticalText::Placement::Upright);
        const int upperRight = int(VerticalText::Placement::UpperRight);
        const int turned = int(VerticalText::Placement::Turned);
        QTest::newRow("kanji") << "東" << upright;
        QTest::newRow("full-width digit") << "３" << upright;
        QTest::newRow("full-width letter") << "Ａ" << upright;
        QTest::newRow("postal mark") << "〒" << upright;
        QTest::newRow("Greek is full-width") << "α" << upright;
        QTest::newRow("long vowel mark") << "ー" << turned;
        QTest::newRow("horizontal bar") << "―" << turned;
        QTest::newRow("full-width hyphen-minus") << "－" << turned;
        QTest::newRow("hyphen") << "‐" << turned;
        QTest::newRow("ASCII hyphen") << "-" << turned;
        QTest::newRow("wave dash") << "〜" << turned;
        QTest::newRow("full-width tilde") << "～" << turned;
        QTest::newRow("parenthesis") << "（" << turned;
        QTest::newRow("corner bracket") << "」" << turned;
        QTest::newRow("ASCII letter") << "a" << turned;
        QTest::newRow("half-width katakana as its full-width form") << "ｱ" << upright;
        QTest::newRow("small tsu") << "っ" << upperRight;
        QTest::newRow("small katakana ya") << "ャ" << upperRight;
        QTest::newRow("ideographic comma") << "、" << upperRight;
        QTest::newRow("ideographic full stop") << "。" << upperRight;
    }
    void placement() {
        QFETCH(QString, ch);
        QFETCH(int, placement);
        QCOMPARE(int(VerticalText::PlacementOf(ch)), placement);
    }

    void faceFallback_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("family");
        QTest::newRow("installed face kept") << "IPAexMincho"
                                             << "IPAexMincho";
        QTest::newRow("Japanese family name") << "@IPA明朝"
                                              << "IPAMincho";
        QTest::newRow("Japanese proportional name") << "IPA Pゴシック"
                                                    << "IPAPGothic";
        QTest::newRow("vertical mark dropped") << "@IPAGothic"
                                               << "IPAGothic";
        QTest::newRow("proportional Gothic") << "ＭＳ Ｐゴシック"
                                             << "IPAPGothic";
        QTest::newRow("vertical proportional Gothic") << "@ＭＳ Ｐゴシック"
                                                      << "IPAPGothic";
        QTest::newRow("fixed Gothic with underscore") << "MS_ゴシック"
                                                      << "IPAGothic";
        QTest::newRow("fixed Gothic") << "ＭＳ ゴシック"
                                      << "IPAGothic";
        QTest::newRow("UI Gothic is proportional") << "MS UI Gothic"
                                                   << "IPAPGothic";
        QTest::newRow("Mincho") << "ＭＳ 明朝"
                                << "IPAMincho";
        QTest::newRow("proportional Mincho") << "@ＭＳ Ｐ明朝"
                                             << "IPAPMincho";
        QTest::newRow("unknown face") << "HGS創英角ﾎﾟｯﾌﾟ体"
                                      << "IPAPGothic";
        QTest::newRow("no face") << ""
                                 << "IPAPGothic";
    }
    void faceFallback() {
        QFETCH(QString, face);
        QFETCH(QString, family);
        QCOMPARE(FontResolver::FamilyFor(face), family);
        QCOMPARE(QFontInfo(FontResolver::MakeFont(face, 40, false, false, false)).family(), family);
    }

    void fontCellIsTheGivenHeight() {
        const QFont font =
            FontResolver::MakeFont(QStringLiteral("@ＭＳ 明朝"), 37, true, true, true);
        QCOMPARE(font.pixelSize(), 37);
        QVERIFY(font.bold() && font.italic() && font.underline());
        QVERIFY(FontResolver::IsVerticalFace(QStringLiteral("@ＭＳ 明朝")));
        QVERIFY(!FontResolver::IsVerticalFace(QStringLiteral("ＭＳ 明朝")));
        QCOMPARE(
            FontResolver::MakeFont(QStringLiteral("IPAGothic"), 0, false, false, false).pixelSize(),
            1);
    }

    void advanceAlongTheColumn() {
        const QFont font =
            FontResolver::MakeFont(QStringLiteral("IPAPGothic"), 40, false, false, false);
        const QFontMetrics metrics(font);
        using VerticalText::Placement;
        QCOMPARE(VerticalText::Advance(metrics, 40, {QStringLiteral("ッ"), Placement::UpperRight}),
                 40);
        QCOMPARE(VerticalText::Advance(metrics, 40, {QStringLiteral("1"), Placement::Turned}),
                 metrics.horizontalAdvance(u'1'));
        QCOMPARE(VerticalText::Advance(metrics, 40, {QStringLiteral("10"), Placement::SideBySide}),
                 40);
        QCOMPARE(VerticalText::Advance(metrics, 40, {}), 0);
    }

    void charactersStandAsInVerticalWriting_data() {
        QTest::addColumn<QString>("ch");
        QTest::addColumn<QString>("shape"); // "tall", "wide", "upper right"
        QTest::newRow("long vowel mark stands") << "ー"
                                                << "tall";
        QTest::newRow("horizontal bar stands") << "―"
                                               << "tall";
        QTest::newRow("full-width hyphen stands") << "－"
                                                  << "tall";
        QTest::newRow("wave dash stands") << "〜"
                                          << "tall";
        QTest::newRow("half-width hyphen lies turned") << "-"
                                                       << "tall";
        QTest::newRow("kanji one stays flat") << "一"
                                              << "wide";
        QTest::newRow("opening parenthesis opens downward") << "（"
                                                            << "wide";
        QTest::newRow("small tsu") << "っ"
                                   << "upper right";
        QTest::newRow("comma") << "、"
                               << "upper right";
        QTest::newRow("full stop") << "。"
                                   << "upper right";
    }
    void charactersStandAsInVerticalWriting() {
        QFETCH(QString, ch);
        QFETCH(QString, shape);
        const QRect ink = DrawnInk(ch);
        QVERIFY(!ink.isEmpty());
        // Every character stays in its column, and in its cell along it.
        QVERIFY2(QRect(98, 98, 104, 104).contains(ink), qPrintable(ch));
        if (shape == QStringLiteral("tall"))
            QVERIFY2(ink.height() > 2 * ink.width(), qPrintable(ch));
        else if (shape == QStringLiteral("wide"))
            QVERIFY2(ink.width() > 2 * ink.height(), qPrintable(ch));
        else
            QVERIFY2(ink.center().x() > 150 && ink.center().y() < 150, qPrintable(ch));
    }

    void turnedClockwise() {
        // "（" turned a quarter clockwise is an arch; its opening faces down, so its ends reach
        // lower than its middle.
        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(
                FontResolver::MakeFont(QStringLiteral("@ＭＳ ゴシック"), 100, false, false, false));
            VerticalText::DrawCell(painter, {QStringLiteral("（"), VerticalText::Placement::Turned},
                                   200, 100, 100, 100);
        }
        const QRect ink = DrawnInk(QStringLiteral("（"));
        const auto lowestInk = [&](int x) {
            for (int y = image.height() - 1; y >= 0; --y)
                if (qGray(image.pixel(x, y)) < 128)
                    return y;
            return -1;
        };
        QVERIFY(lowestInk(ink.left() + 2) > lowestInk(ink.center().x()));
    }
};

QTEST_MAIN(TestVerticalText)
#include "tst_verticaltext.moc"
