#include "mail/PzConv.h"

#include "core/ShiftJis.h"

#include <QHash>
#include <algorithm>
#include <array>

namespace {

constexpr unsigned char VoicedMark = 0xDE;
constexpr unsigned char SemiVoicedMark = 0xDF;

bool IsHalfWidthKana(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}

// The full-width Shift-JIS counterpart of every half-width katakana byte 0xA1..0xDF.
const std::array<QByteArray, 0x3F> &FullWidthKana() {
    static const std::array<QByteArray, 0x3F> table = [] {
        std::array<QByteArray, 0x3F> t;
        for (int b = 0xA1; b <= 0xDF; ++b) {
            QString wide = ShiftJis::Decode(QByteArray(1, static_cast<char>(b)))
                               .normalized(QString::NormalizationForm_KC);
            if (b == VoicedMark)
                wide = QStringLiteral("゛");
            else if (b == SemiVoicedMark)
                wide = QStringLiteral("゜");
            t[b - 0xA1] = ShiftJis::Encode(wide);
        }
        return t;
    }();
    return table;
}

QByteArray WithTrailPlus(QByteArray kana, int step) {
    kana[1] = static_cast<char>(static_cast<unsigned char>(kana[1]) + step);
    return kana;
}

// Both kana conversions: walks the text by Shift-JIS characters and lets `merge` turn a
// half-width kana and the byte after it into output, returning how many bytes it used.
template <typename Merge> QByteArray ConvertHalfWidthKana(const QByteArray &text, Merge merge) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (ShiftJis::IsLeadByte(b) && i + 1 < text.size()) {
            out += text.mid(i, 2);
            i += 2;
        } else if (IsHalfWidthKana(b)) {
            const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            i += merge(b, next, out);
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

// Code page 932 holds the IBM extension characters (lead bytes 0xFA to 0xFC: 髙, 﨑, ⅰ, ㈱ ...)
// twice; only their NEC copies (lead bytes 0x81, 0x87, 0xED, 0xEE) fall inside the 7-bit rows
// of ISO-2022-JP that mail readers decode. Keyed by lead byte * 256 + trail byte.
const QHash<int, std::pair<unsigned char, unsigned char>> &NecCopiesOfIbmExtensions() {
    static const auto table = [] {
        // Empty for a code that holds no character.
        const auto charAt = [](int lead, int trail) {
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QString c = ShiftJis::Decode(QByteArray(bytes, 2));
            return c.size() == 1 && c[0] != QChar::ReplacementCharacter ? c : QString();
        };
        QHash<QString, std::pair<unsigned char, unsigned char>> necCodeOf;
        for (const int lead : {0x81, 0x87, 0xED, 0xEE})
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                necCodeOf.insert(charAt(lead, trail), {static_cast<unsigned char>(lead),
                                                       static_cast<unsigned char>(trail)});
        necCodeOf.remove(QString());
        QHash<int, std::pair<unsigned char, unsigned char>> copies;
        for (int lead = 0xFA; lead <= 0xFC; ++lead)
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                if (const auto nec = necCodeOf.constFind(charAt(lead, trail));
                    nec != necCodeOf.cend())
                    copies.insert(lead * 256 + trail, *nec);
        return copies;
    }();
    return table;
}

// The code whose JIS form stays in the 7-bit rows. User-defined characters (lead bytes 0xF0 to
// 0xF9) exist only on the writer's machine and become the customary stand-in "〓".
std::pair<unsigned char, unsigned char> SevenBitCode(unsigned char lead, unsigned char trail) {
    if (lead >= 0xF0 && lead <= 0xF9)
        return {0x81, 0xAC};
    return NecCopiesOfIbmExtensions().value(lead * 256 + trail, {lead, trail});
}

} // namespace

QByteArray TPzConv::ZenkakuSepaDaku(const QByteArray &text) {
    return ConvertHalfWidthKana(text, [](unsigned char kana, unsigned char, QByteArray &out) {
        out += FullWidthKana()[kana - 0xA1];
        return 1;
    });
}

QByteArray TPzConv::ZenkakuWithDaku(const QByteArray &text) {
    return ConvertHalfWidthKana(text, [](unsigned char kana, unsigned char next, QByteArray &out) {
        const QByteArray &wide = FullWidthKana()[kana - 0xA1];
        const bool haToHo = kana >= 0xCA && kana <= 0xCE;
        if (next == VoicedMark && kana == 0xB3) {
            out += "\x83\x94"; // ヴ
            return 2;
        }
        if (next == VoicedMark && ((kana >= 0xB6 && kana <= 0xC4) || haToHo)) {
            out += WithTrailPlus(wide, 1);
            return 2;
        }
        if (next == SemiVoicedMark && haToHo) {
            out += WithTrailPlus(wide, 2);
            return 2;
        }
        out += wide;
        return 1;
    });
}

std::pair<unsigned char, unsigned char> TPzConv::SjisToJisChar(unsigned char lead,
                                                               unsigned char trail) {
    int high = lead <= 0x9F ? 2 * (lead - 0x70) : 2 * (lead - 0xB0);
    if (trail < 0x9F)
        --high;
    int low;
    if (trail < 0x7F)
        low = trail - 0x1F;
    else if (trail < 0x9F)
        low = trail - 0x20;
    else
        low = trail - 0x7E;
    return {static_cast<unsigned char>(high), static_cast<unsigned char>(low)};
}

QByteArray TPzConv::ConvertKana(const QByteArray &text) const {
    switch (JisKanaConvType) {
    case ktZenWithDaku:
        return ZenkakuWithDaku(text);
    case ktZenSepaDaku:
        return ZenkakuSepaDaku(text);
    case ktNone:
        break;
    }
    return text;
}

QByteArray TPzConv::SjisToJis(const QByteArray &text) const {
    const QByteArray kana = ConvertKana(text);
    const QByteArray toAscii = JisByteCodeType == btRoman ? "\x1b(J" : "\x1b(B";
    QByteArray out;
    out.reserve(kana.size() + kana.size() / 2 + 8);
    bool kanji = false;
    for (qsizetype i = 0; i < kana.size(); ++i) {
        const auto b = static_cast<unsigned char>(kana[i]);
        if (ShiftJis::IsLeadByte(b) && i + 1 < kana.size()) {
            if (!kanji) {
                out += "\x1b$B";
                kanji = true;
            }
            const auto trail = static_cast<unsigned char>(kana[++i]);
            const auto [lead7, trail7] = SevenBitCode(b, trail);
            const auto [high, low] = SjisToJisChar(lead7, trail7);
            out += static_cast<char>(high);
            out += static_cast<char>(low);
        } else {
            if (kanji) {
                out += toAscii;
                kanji = false;
            }
            out += kana[i];
        }
    }
    if (kanji)
        out += toAscii;
    return out;
}

QByteArray TPzConv::EncodeBase64(const QByteArray &bytes) {
    return bytes.toBase64();
}

QByteArray TPzConv::EncodeHeaderWord(const QByteArray &text) const {
    // Half-width katakana too: a header of raw 8-bit bytes carries no charset and reaches the
    // recipient garbled.
    const bool needsEncoding = std::any_of(
        text.begin(), text.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    if (!needsEncoding)
        return text;
    // An encoded-word holds at most 75 characters, so a longer text becomes several words,
    // split between characters; each word leaves kanji mode before it ends.
    constexpr qsizetype MaxWord = 75;
    const QByteArray prefix = "=?ISO-2022-JP?B?";
    const auto word = [&](const QByteArray &part) {
        return prefix + EncodeBase64(SjisToJis(part)) + "?=";
    };
    const QByteArray converted = ConvertKana(text);
    QList<QByteArray> words;
    QByteArray part;
    for (qsizetype i = 0; i < converted.size();) {
        const auto lead = static_cast<unsigned char>(converted[i]);
        const qsizetype length = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1;
        const QByteArray character = converted.mid(i, length);
        i += length;
        if (!part.isEmpty() && word(part + character).size() > MaxWord) {
            words << word(part);
            part.clear();
        }
        part += character;
    }
    words << word(part);
    return words.join(' ');
}

bool TPzConv::FitsJis(const QByteArray &text) const {
    const QByteArray jis = SjisToJis(ConvertKana(text));
    bool kanji = false;
    for (qsizetype i = 0; i < jis.size(); ++i) {
        if (jis[i] == '\x1b') {
            kanji = jis.mid(i + 1, 2) == "$B";
            i += 2;
        } else if (kanji) {
            // Rows 1-8 and 16-84 are JIS X 0208; row 13 and rows past 84 are the NEC and IBM
            // extensions and the user area, which ISO-2022-JP does not have.
            const int row = static_cast<unsigned char>(jis[i]) - 0x20;
            if (row < 1 || row == 13 || (row > 8 && row < 16) || row > 84)
                return false;
            ++i;
        } else if (static_cast<unsigned char>(jis[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}
