#include "platform/FontResolver.h"
#include "platform/VerticalText.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

// The ink of one character drawn into a 100-dot cell of a column from x = 100 to 200.
QRect DrawnInk(const QString &ch, const QString &face = QStringLiteral("@ＭＳ ゴシック")) {
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(FontResolver::MakeFont(face, 100, false, false, false));
        const QFontMetrics metrics(painter.font(), painter.device());
        for (const VerticalText::Cell &cell : VerticalText::CellsOf(ch))
            VerticalText::DrawCell(painter, cell, 200, 100, 100,
                                   VerticalText::Advance(metrics, 100, cell));
    }
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

} // namespace

class TestVerticalText : public QObject {
    Q_OBJECT
private slots:
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
