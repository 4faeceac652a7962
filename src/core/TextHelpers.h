#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The system's short date text, yyyy/MM/dd.
QString ShortDateText(const QDate &date);
// Reads a short date text (yyyy/MM/dd, also accepting yyyy/M/d); invalid date when it is not one.
QDate ParseShortDate(const QString &text);

// Age in whole years on `today` of someone born on `birthday`; the birthday itself counts.
int CalcAge(const QDate &birthday, const QDate &today);

// The key filter of all entry fields: the double quote, single quote, grave accent and comma
// are swallowed (no value); every other character passes.
std::optional<QChar> FilterKey(QChar key);
// The text with every character FilterKey swallows removed (for pasted text).
QString StripFilteredKeys(const QString &text);

// Printed texts: hyphens become "―", ASCII digits and letters their full-width forms.
QString ToFullWidth(const QString &text);

// Hiragana and katakana as half-width katakana (voiced kana become the base and ﾞ or ﾟ);
// full-width blanks, letters, digits and signs become their ASCII forms, kana punctuation its
// half-width forms. Other characters are kept.
QString ToHalfWidthKatakana(const QString &text);

// Each character beside its code, e.g. "😀 (U+1F600)", joined with "、"; a character without a
// glyph of its own (a control, a zero-width or combining mark) by its code alone.
QString NameCharacters(const QString &chars);

// Rounds to the nearest integer, halves to even.
int Rnd(double value);

// Byte-wise exclusive-or of the Shift-JIS bytes with the fixed key byte; applying it twice
// gives the original bytes.
QByteArray ScramblePassword(const QByteArray &bytes);

// A value as one field of a comma-separated line: every double quote doubled, then the value
// enclosed in double quotes when it holds a "," or a double quote. Other values stay bare.
QString QuoteCsvValue(const QString &value);
