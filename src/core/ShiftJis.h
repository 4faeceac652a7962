#pragma once

#include <QByteArray>
#include <QString>

// Every file the program reads or writes is code page 932; this is the one place that converts.
namespace ShiftJis {

// Maps the Unicode characters that other systems produce for the code page 932 cross-mapped
// characters (wave dash, minus sign, double vertical line, cent, pound, not, yen, em dash,
// overline) onto the forms code page 932 holds.
QString NormalizeCrossMapping(const QString &text);

QByteArray Encode(const QString &text);
QString Decode(const QByteArray &bytes);
// Decodes bytes that must be code page 932; false when they are not: a stray or cut-off byte,
// or a two-byte code that code page 932 does not assign.
bool DecodeShiftJisStrict(const QByteArray &bytes, QString &text);

// True when the text survives a round trip through code page 932 after cross-mapping.
bool IsRepresentable(const QString &text);
// The characters of the text that code page 932 cannot hold, each listed once.
QString UnrepresentableChars(const QString &text);

// True when the byte starts a two-byte character.
inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace ShiftJis
