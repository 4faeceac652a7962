#include "core/TextFile.h"

#include "core/ShiftJis.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace TextFile {

QStringList SplitLines(const QString &text) {
    QStringList lines;
    QString current;
    bool pendingEnd = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            pendingEnd = false;
            continue;
        }
        current += c;
        pendingEnd = true;
    }
    if (pendingEnd)
        lines << current;
    return lines;
}

bool ReadLines(const QString &path, QStringList &lines, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines = SplitLines(ShiftJis::Decode(file.readAll()));
    return true;
}

std::optional<ForeignText> DecodeForeignText(const QByteArray &bytes) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    if (!ascii) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return ForeignText{ShiftJis::NormalizeCrossMapping(text), TextEncoding::Utf8};
    }
    QString text;
    if (!ShiftJis::DecodeStrictly(bytes, text))
        return std::nullopt;
    return ForeignText{text, TextEncoding::ShiftJis};
}

bool WriteLines(const QString &path, const QStringList &lines, QString *error) {
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return WriteFileAtomically(path, ShiftJis::Encode(text), error);
}

bool WriteFileAtomically(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace TextFile
