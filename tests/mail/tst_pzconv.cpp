#include "core/ShiftJis.h"
#include "mail/PzConv.h"

#include <QTest>

namespace {
QByteArray Sjis(const QString &text) {
    return ShiftJis::Encode(text);
}
} // namespace

class TestPzConv : public QObject {
    Q_OBJECT

private slots:
    void KanaConversions_data();
    void KanaConversions();
    void SjisToJis_data();
    void SjisToJis();
    void ExtensionsStaySevenBit_data();
    void ExtensionsStaySevenBit();
    void EncodeBase64_data();
    void EncodeBase64();
    void EncodeHeaderWord_data();
    void EncodeHeaderWord();
};

void TestPzConv::KanaConversions_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("withDaku");
    QTest::addColumn<QString>("sepaDaku");
    QTest::newRow("ka voiced") << "ｶﾞ"
                               << "ガ"
                               << "カ゛";
    QTest::newRow("ha semi-voiced") << "ﾊﾟ"
                                    << "パ"
                                    << "ハ゜";
    QTest::newRow("u voiced") << "ｳﾞ"
                              << "ヴ"
                              << "ウ゛";
    QTest::newRow("a with voiced mark") << "ｱﾞ"
                                        << "ア゛"
                                        << "ア゛";
    QTest::newRow("ka with semi-voiced mark") << "ｶﾟ"
                                              << "カ゜"
                                              << "カ゜";
    QTest::newRow("to and ho voiced") << "ﾄﾞﾎﾞﾎﾟ"
                                      << "ドボポ"
                                      << "ト゛ホ゛ホ゜";
    QTest::newRow("lone mark, punctuation") << "ﾞ｡｢ｰ｣･ｦﾝ"
                                            << "゛。「ー」・ヲン"
                                            << "゛。「ー」・ヲン";
    QTest::newRow("trail byte in kana range untouched") << "ソｱ表"
                                                        << "ソア表"
                                                        << "ソア表";
}

void TestPzConv::KanaConversions() {
    QFETCH(QString, input);
    QFETCH(QString, withDaku);
    QFETCH(QString, sepaDaku);
    QCOMPARE(ShiftJis::Decode(TPzConv::ZenkakuWithDaku(Sjis(input))), withDaku);
    QCOMPARE(ShiftJis::Decode(TPzConv::ZenkakuSepaDaku(Sjis(input))), sepaDaku);
}

void TestPzConv::SjisToJis_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("byteCode");
    QTest::addColumn<int>("kana");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("kanji line") << "漢字\r\nabc" << int(btAscii) << int(ktZenWithDaku)
                                << QByteArray("\x1b$B4A;z\x1b(B\r\nabc");
    QTest::newRow("ends in kanji")
        << "aあ" << int(btAscii) << int(ktZenWithDaku) << QByteArray("a\x1b$B$\"\x1b(B");
    QTest::newRow("roman return") << "あa" << int(btRoman) << int(ktZenWithDaku)
                                  << QByteArray("\x1b$B$\"\x1b(Ja");
    QTest::newRow("half-width kana merged")
        << "ｶﾞ" << int(btAscii) << int(ktZenWithDaku) << QByteArray("\x1b$B%,\x1b(B");
    QTest::newRow("half-width kana kept")
        << "ｱ" << int(btAscii) << int(ktNone) << QByteArray("\xb1");
    QTest::newRow("NEC extension by arithmetic")
        << "①" << int(btAscii) << int(ktNone) << QByteArray("\x1b$B-!\x1b(B");
}

void TestPzConv::SjisToJis() {
    QFETCH(QString, input);
    QFETCH(int, byteCode);
    QFETCH(int, kana);
    QFETCH(QByteArray, expected);
    TPzConv conv;
    conv.JisByteCodeType = static_cast<TJisByteCodeType>(byteCode);
    conv.JisKanaConvType = static_cast<TJisKanaConvType>(kana);
    QCOMPARE(conv.SjisToJis(Sjis(input)), expected);
}

void TestPzConv::ExtensionsStaySevenBit_data() {
    QTest::addColumn<QByteArray>("sjis");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("髙 in a name") << QByteArray("\xfb\xfc") << QByteArray("\x1b$B|b\x1b(B");
    QTest::newRow("﨑 in a name") << QByteArray("\xfa\xb1") << QByteArray("\x1b$Byu\x1b(B");
    QTest::newRow("small roman numeral") << QByteArray("\xfa\x40") << QByteArray("\x1b$B|q\x1b(B");
    QTest::newRow("roman numeral") << QByteArray("\xfa\x4a") << QByteArray("\x1b$B-5\x1b(B");
    QTest::newRow("user-defined") << QByteArray("a\xf0\x40") << QByteArray("a\x1b$B\".\x1b(B");
    QTest::newRow("kabushiki sign") << QByteArray("\xfa\x58") << QByteArray("\x1b$B-j\x1b(B");
}

// The mail is declared 7bit and readers decode only the 7-bit rows: IBM extensions go as their
// NEC copies, user-defined characters as "〓".
void TestPzConv::ExtensionsStaySevenBit() {
    QFETCH(QByteArray, sjis);
    QFETCH(QByteArray, expected);
    QCOMPARE(TPzConv().SjisToJis(sjis), expected);
}

void TestPzConv::EncodeBase64_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("one byte") << QByteArray("a") << QByteArray("YQ==");
    QTest::newRow("two bytes") << QByteArray("ab") << QByteArray("YWI=");
    QTest::newRow("three bytes") << QByteArray("abc") << QByteArray("YWJj");
    QTest::newRow("long, no line breaks")
        << QByteArray(100, 'x') << QByteArray(100, 'x').toBase64();
}

void TestPzConv::EncodeBase64() {
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(TPzConv::EncodeBase64(input), expected);
    QVERIFY(!TPzConv::EncodeBase64(input).contains('\n'));
}

void TestPzConv::EncodeHeaderWord_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("ascii") << "Spring sale" << QByteArray("Spring sale");
    QTest::newRow("ascii and half-width kana")
        << "Sale ｾｰﾙ"
        << "=?ISO-2022-JP?B?" + QByteArray("Sale \x1b$B%;!<%k\x1b(B").toBase64() + "?=";
    QTest::newRow("japanese") << "ご案内 A"
                              << "=?ISO-2022-JP?B?" +
                                     QByteArray("\x1b$B$40FFb\x1b(B A").toBase64() + "?=";
}

void TestPzConv::EncodeHeaderWord() {
    QFETCH(QString, input);
    QFETCH(QByteArray, expected);
    QCOMPARE(TPzConv().EncodeHeaderWord(Sjis(input)), expected);
}

QTEST_GUILESS_MAIN(TestPzConv)
#include "tst_pzconv.moc"
