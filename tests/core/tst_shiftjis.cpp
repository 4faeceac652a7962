#include "core/ShiftJis.h"

#include <QStringEncoder>
#include <QTest>

class TestShiftJis : public QObject {
    Q_OBJECT
private slots:
    void encodesCodePage932_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("ascii") << "A-1" << QByteArray("412d31");
        QTest::newRow("horizontal bar") << "―" << QByteArray("815c");
        QTest::newRow("full-width hyphen-minus") << "－" << QByteArray("817c");
        QTest::newRow("half-width katakana") << "ｱﾞ" << QByteArray("b1de");
        QTest::newRow("NEC circled digit") << "①" << QByteArray("8740");
        QTest::newRow("IBM extension kanji") << "髙" << QByteArray("fbfc");
        QTest::newRow("wave dash cross-mapped") << QString(QChar(0x301C)) << QByteArray("8160");
        QTest::newRow("minus sign cross-mapped") << QString(QChar(0x2212)) << QByteArray("817c");
        QTest::newRow("double vertical line") << QString(QChar(0x2016)) << QByteArray("8161");
        QTest::newRow("cent, pound, not")
            << QString("%1%2%3").arg(QChar(0xA2)).arg(QChar(0xA3)).arg(QChar(0xAC))
            << QByteArray("8191819281ca");
        QTest::newRow("yen sign, em dash, overline")
            << QString("%1%2%3").arg(QChar(0xA5)).arg(QChar(0x2014)).arg(QChar(0x203E))
            << QByteArray("818f815c8150");
    }
    void encodesCodePage932() {
        QFETCH(QString, text);
        QFETCH(QByteArray, hex);
        QCOMPARE(ShiftJis::Encode(text).toHex(), hex);
        QVERIFY(ShiftJis::IsRepresentable(text));
        QCOMPARE(ShiftJis::Decode(ShiftJis::Encode(text)), ShiftJis::NormalizeCrossMapping(text));
    }

    // Whatever the text, the bytes are those the code page's codec writes for it whole.
    void encodesAsTheCodecDoes_data() {
        QTest::addColumn<QString>("text");
        QString plane;
        for (char32_t c = 0; c <= 0xFFFF; ++c)
            if (c < 0xD800 || c > 0xDFFF)
                plane += QChar(char16_t(c));
        QTest::newRow("every character of the plane") << plane;
        QTest::newRow("beyond the plane, among others") << QString("a😀b𠮷い");
        QTest::newRow("a stray high surrogate") << QString("a") + QChar(0xD800) + "b";
        QTest::newRow("a stray low surrogate at the end") << QString("い") + QChar(0xDC00);
    }
    void encodesAsTheCodecDoes() {
        QFETCH(QString, text);
        QStringEncoder codec("windows-31j");
        QCOMPARE(ShiftJis::Encode(text),
                 QByteArray(codec.encode(ShiftJis::NormalizeCrossMapping(text))));
    }

    void decodesStrictly_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("taken");
        QTest::newRow("kanji, kana, ASCII") << QByteArray("\x88\x9f\xb1 A\x1a") << true;
        QTest::newRow("NEC and IBM extensions") << QByteArray("\x87\x40\xed\x40\xfb\xfc") << true;
        QTest::newRow("single 0x80") << QByteArray("a\x80") << false;
        QTest::newRow("single 0xA0") << QByteArray("\xa0") << false;
        QTest::newRow("0xFD to 0xFF") << QByteArray("\xfd\xfe\xff") << false;
        QTest::newRow("lead byte at the end") << QByteArray("a\x82") << false;
        QTest::newRow("lead byte before a line end") << QByteArray("\x82\r\n") << false;
        QTest::newRow("unassigned two-byte code") << QByteArray("\x85\x40") << false;
        QTest::newRow("unassigned in row 13") << QByteArray("\x87\x9f") << false;
    }
    void decodesStrictly() {
        QFETCH(QByteArray, bytes);
        QString text;
        QTEST(ShiftJis::DecodeShiftJisStrict(bytes, text), "taken");
    }

    void refusesWhatCodePage932CannotHold_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("bad");
        QTest::newRow("emoji") << "田中😀様"
                               << "😀";
        QTest::newRow("korean") << "김"
                                << "김";
        QTest::newRow("kanji outside code page") << "𠮷野家と吉"
                                                 << "𠮷";
        QTest::newRow("repeated character listed once") << "éaé"
                                                        << "é";
    }
    void refusesWhatCodePage932CannotHold() {
        QFETCH(QString, text);
        QFETCH(QString, bad);
        QVERIFY(!ShiftJis::IsRepresentable(text));
        QCOMPARE(ShiftJis::UnrepresentableChars(text), bad);
    }

    void leadBytes() {
        QVERIFY(ShiftJis::IsLeadByte(0x81));
        QVERIFY(ShiftJis::IsLeadByte(0x9F));
        QVERIFY(ShiftJis::IsLeadByte(0xE0));
        QVERIFY(!ShiftJis::IsLeadByte(0xA1));
        QVERIFY(!ShiftJis::IsLeadByte(0x41));
    }
};

QTEST_GUILESS_MAIN(TestShiftJis)
#include "tst_shiftjis.moc"
