#include "core/ShiftJis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace ShiftJis {

QString NormalizeCrossMapping(const QString &text) {
    QString out = text;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case 0x301C:
            c = QChar(0xFF5E);
            break;
        case 0x2212:
            c = QChar(0xFF0D);
            break;
        case 0x2016:
            c = QChar(0x2225);
            break;
        case 0x00A2:
            c = QChar(0xFFE0);
            break;
        case 0x00A3:
            c = QChar(0xFFE1);
            break;
        case 0x00AC:
            c = QChar(0xFFE2);
            break;
        // Web pages and other systems write these for the code page 932 yen sign, horizontal
        // bar and macron.
        case 0x00A5:
            c = QChar(0xFFE5);
            break;
        case 0x2014:
            c = QChar(0x2015);
            break;
        case 0x203E:
            c = QChar(0xFFE3);
            break;
        default:
            break;
        }
    }
    return out;
}

namespace {

QByteArray EncodeByCodec(QStringView text) {
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

// The bytes of every character of the Basic Multilingual Plane (surrogates aside) as the codec
// writes it after cross-mapping: one byte, or a lead byte (high) and its trail byte. The code
// page is stateless, so a text's bytes are those of its characters in turn, and a long export
// is converted by lookup rather than by the codec.
class CharacterCodes {
public:
    // What the codec writes as neither one byte nor two; left to the codec.
    static constexpr char16_t ByCodec = 0xFFFF;

    CharacterCodes() {
        QString every;
        every.reserve(0x10000);
        for (char32_t c = 0; c <= 0xFFFF; ++c)
            if (!QChar::isSurrogate(c))
                every += QChar(char16_t(c));
        const QString mapped = NormalizeCrossMapping(every);
        const QByteArray bytes = EncodeByCodec(mapped);
        // Each character written as one character of the code page splits the bytes the same.
        qsizetype at = 0;
        for (qsizetype i = 0; i < mapped.size() && at < bytes.size(); ++i) {
            const auto first = uchar(bytes[at++]);
            codes_[every[i].unicode()] = IsLeadByte(first) && at < bytes.size()
                                             ? char16_t(first << 8 | uchar(bytes[at++]))
                                             : char16_t(first);
        }
        QByteArray written;
        if (at != bytes.size() || !Write(every, written) || written != bytes)
            for (qsizetype i = 0; i < mapped.size(); ++i)
                codes_[every[i].unicode()] = CodeOf(EncodeByCodec(QStringView(mapped).mid(i, 1)));
    }

    // The bytes of `text`; false when a character of it is left to the codec.
    bool Write(QStringView text, QByteArray &out) const {
        out.resize(text.size() * 2);
        char *to = out.data();
        for (const QChar c : text) {
            const char16_t code = c.isSurrogate() ? ByCodec : codes_[c.unicode()];
            if (code == ByCodec)
                return false;
            if (code > 0xFF)
                *to++ = char(code >> 8);
            *to++ = char(code & 0xFF);
        }
        out.truncate(to - out.data());
        return true;
    }

private:
    static char16_t CodeOf(const QByteArray &bytes) {
        if (bytes.size() == 1)
            return uchar(bytes[0]);
        if (bytes.size() == 2 && IsLeadByte(uchar(bytes[0])))
            return char16_t(uchar(bytes[0]) << 8 | uchar(bytes[1]));
        return ByCodec;
    }

    std::array<char16_t, 0x10000> codes_{};
};

} // namespace

QByteArray Encode(const QString &text) {
    static const CharacterCodes codes;
    QByteArray bytes;
    // The codec's answer to a character beyond the plane (the code page holds none) depends on
    // what surrounds it, so such a text is left to the codec whole.
    if (!codes.Write(text, bytes))
        bytes = EncodeByCodec(NormalizeCrossMapping(text));
    return bytes;
}

QString Decode(const QByteArray &bytes) {
    QStringDecoder decoder("windows-31j");
    return decoder.decode(bytes);
}

// Every byte is ASCII, half-width katakana, or a lead byte with a trail byte after it; the
// decoder alone passes some stray bytes as U+001A or private-use characters without a fault.
static bool WellFormed(const QByteArray &bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80 || (b >= 0xA1 && b <= 0xDF))
            continue;
        if (!IsLeadByte(b) || i + 1 >= bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        if (trail < 0x40 || trail > 0xFC || trail == 0x7F)
            return false;
    }
    return true;
}

bool DecodeShiftJisStrict(const QByteArray &bytes, QString &text) {
    QStringDecoder decoder("windows-31j");
    text = decoder.decode(bytes);
    // A stray byte decodes to U+001A, so only the error flag tells it from the byte 0x7F, which
    // the code page also maps there.
    return !decoder.hasError() && WellFormed(bytes) && !text.contains(QChar::ReplacementCharacter);
}

static bool CharRepresentable(const QString &single) {
    if (single.size() == 1 && single.at(0).unicode() < 0x80)
        return true;
    QStringEncoder encoder("windows-31j");
    const QByteArray bytes = encoder.encode(single);
    if (encoder.hasError())
        return false;
    return Decode(bytes) == single;
}

QString UnrepresentableChars(const QString &text) {
    const QString normalized = NormalizeCrossMapping(text);
    QString bad;
    for (qsizetype i = 0; i < normalized.size(); ++i) {
        qsizetype len = normalized.at(i).isHighSurrogate() && i + 1 < normalized.size() ? 2 : 1;
        const QString single = normalized.mid(i, len);
        if (!CharRepresentable(single) && !bad.contains(single))
            bad += single;
        i += len - 1;
    }
    return bad;
}

bool IsRepresentable(const QString &text) {
    const QString normalized = NormalizeCrossMapping(text);
    bool ascii = true;
    for (QChar c : normalized)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return true;
    QStringEncoder encoder("windows-31j");
    const QByteArray bytes = encoder.encode(normalized);
    return !encoder.hasError() && Decode(bytes) == normalized;
}

} // namespace ShiftJis
