#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// Shift-JIS text files: read with CR, LF or CR LF line ends, written with CR LF, and every
// whole-file write goes through a temporary file that is renamed over the old one.
namespace TextFile {

// Splits text at CR LF, CR or LF. A final line end does not make an extra empty line.
QStringList SplitLines(const QString &text);

// Reads a Shift-JIS file as lines. Returns false (and the reason) when it cannot be read.
bool ReadLines(const QString &path, QStringList &lines, QString *error = nullptr);

// How a text file from another program was read.
enum class TextEncoding { ShiftJis, Utf8 };

// The text of a file from another program: UTF-8 when it starts with a byte-order mark (which
// is dropped) or holds enough UTF-8 characters beyond ASCII, else code page 932, else UTF-8
// after all. nullopt when the bytes are neither.
struct ForeignText {
    QString text;
    TextEncoding encoding;
};
std::optional<ForeignText> DecodeForeignText(const QByteArray &bytes);
// The bytes read in the given encoding; nullopt when they are not valid in it.
std::optional<QString> DecodeText(const QByteArray &bytes, TextEncoding encoding);

// Joins lines with CR LF (each line ended by CR LF) and writes them as Shift-JIS.
bool WriteLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// Writes bytes to a temporary file in the same folder, flushes it and renames it over path.
bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Removes from `folder` the temporaries that writes like the one above leave when killed: a
// file named after a file beside it with six more characters ("zip.dat.a1B2c3"), last written
// before `before`. Returns how many went.
int RemoveStaleTemporaries(const QString &folder, const QDateTime &before);

} // namespace TextFile
