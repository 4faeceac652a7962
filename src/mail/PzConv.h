#pragma once

#include <QByteArray>
#include <QObject>
#include <utility>

// How kanji mode is left in ISO-2022-JP text.
enum TJisByteCodeType {
    btAscii, // ESC "(B"
    btRoman, // ESC "(J"
};

// What becomes of half-width katakana before conversion.
enum TJisKanaConvType {
    ktNone,
    ktZenWithDaku, // full-width, voiced and semi-voiced marks merged into the kana
    ktZenSepaDaku, // full-width, the marks as separate full-width marks
};

// Shift-JIS (code page 932) bytes to ISO-2022-JP for mail bodies and to MIME encoded-words for
// header texts. Works on bytes; never fails.
class TPzConv : public QObject {
    Q_OBJECT

public:
    explicit TPzConv(QObject *owner = nullptr) : QObject(owner) {}

    TJisByteCodeType JisByteCodeType = btAscii;
    TJisKanaConvType JisKanaConvType = ktZenWithDaku;

    QByteArray SjisToJis(const QByteArray &text) const;
    // One encoded-word, or several separated by blanks when one would pass 75 characters.
    QByteArray EncodeHeaderWord(const QByteArray &text) const;
    // Whether the text goes into ISO-2022-JP whole: JIS X 0208 and ASCII only.
    bool FitsJis(const QByteArray &text) const;

    static QByteArray EncodeBase64(const QByteArray &bytes);
    static std::pair<unsigned char, unsigned char> SjisToJisChar(unsigned char lead,
                                                                 unsigned char trail);
    static QByteArray ZenkakuWithDaku(const QByteArray &text);
    static QByteArray ZenkakuSepaDaku(const QByteArray &text);

private:
    QByteArray ConvertKana(const QByteArray &text) const;
};
