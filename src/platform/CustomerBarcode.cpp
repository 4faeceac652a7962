#include "platform/CustomerBarcode.h"

#include "core/ShiftJis.h"
#include "platform/ZipData.h"

#include <QStringList>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace CustomerBarcode {

namespace {

constexpr int kDataCodes = 20;
constexpr int kHyphenValue = 10;
constexpr int kFirstControlValue = 11; // CC1; CC4 pads, CC8 is 18
constexpr int kPadValue = 14;

QStringList TownsOf(const QString &postalDigits, const QString &zipDataPath) {
    ZipData &data = SharedZipData();
    if (zipDataPath.isEmpty() || data.Load(zipDataPath) != ZipData::LoadResult::Ready)
        return {};
    return data.TownsOf(postalDigits);
}

bool IsBlank(QChar c) {
    return c == u' ' || c == QChar(0x3000) || c == u'\t';
}

QString WithoutBlanks(const QString &text) {
    QString out;
    for (QChar c : text)
        if (!IsBlank(c))
            out += c;
    return out;
}

// The town as it stands in an address: notes of the postal data ("（次のビルを除く）",
// "以下に掲載がない場合") are not part of it.
QString TownText(QString entry) {
    entry.remove(QStringLiteral("以下に掲載がない場合"));
    for (const QString &open : {QStringLiteral("（"), QStringLiteral("(")}) {
        const qsizetype at = entry.indexOf(open);
        if (at >= 0)
            entry.truncate(at);
    }
    return WithoutBlanks(entry);
}

qsizetype PrefectureLength(const QString &town) {
    static const QString marks = QStringLiteral("都道府県");
    if (town.size() > 3 && marks.contains(town.at(2)))
        return 3;
    if (town.size() > 4 && town.at(3) == QChar(u'県'))
        return 4;
    return 0;
}

// Digits of a postal code without its hyphens; nothing unless exactly seven digits.
std::optional<QString> PostalDigits(const QString &postalCode) {
    const QString digits = ZipCodeKey(postalCode.trimmed());
    const bool allDigits =
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits.size() != 7 || !allDigits)
        return std::nullopt;
    return digits;
}

bool IsLetter(QChar c) {
    return c >= u'A' && c <= u'Z';
}
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int KanjiDigit(QChar c) {
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    return int(digits.indexOf(c));
}

bool IsKanjiNumeral(QChar c) {
    return KanjiDigit(c) >= 0 || c == u'十' || c == u'百';
}

QString KanjiNumberText(const QString &run) {
    if (!run.contains(u'十') && !run.contains(u'百')) {
        QString digits;
        for (QChar c : run)
            digits += QChar(u'0' + KanjiDigit(c));
        return digits;
    }
    int value = 0;
    int pending = -1;
    for (QChar c : run) {
        if (c == u'十' || c == u'百') {
            value += (pending < 0 ? 1 : pending) * (c == u'十' ? 10 : 100);
            pending = -1;
        } else {
            pending = KanjiDigit(c);
        }
    }
    return QString::number(value + std::max(pending, 0));
}

QString KanjiNumeralsToDigits(const QString &text) {
    static const QStringList markers = {"丁目", "丁", "番地", "番", "号", "地割", "線", "の", "ノ"};
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        if (!IsKanjiNumeral(text.at(i))) {
            out += text.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && IsKanjiNumeral(text.at(end)))
            ++end;
        const QString run = text.mid(i, end - i);
        const QStringView rest = QStringView(text).mid(end);
        const bool counted = std::any_of(markers.begin(), markers.end(),
                                         [&](const QString &m) { return rest.startsWith(m); });
        out += counted ? KanjiNumberText(run) : run;
        i = end;
    }
    return out;
}

QChar CodeChar(int value, const char *table) {
    if (value < kHyphenValue)
        return QChar(u'0' + value);
    if (value == kHyphenValue)
        return QChar(u'-');
    return QChar::fromLatin1(table[2 + value - kFirstControlValue]);
}

} // namespace

QString DropTownPart(const QString &postalDigits, const QString &address,
                     const QString &zipDataPath) {
    const QString compact = WithoutBlanks(address);
    qsizetype matched = 0;
    for (const QString &entry : TownsOf(postalDigits, zipDataPath)) {
        const QString town = TownText(entry);
        for (const QString &form : {town, town.mid(PrefectureLength(town))})
            if (!form.isEmpty() && compact.startsWith(form))
                matched = std::max(matched, form.size());
    }
    if (matched == 0)
        return address;
    // Step over as many non-blank characters of the address as matched.
    qsizetype pos = 0;
    for (qsizetype seen = 0; pos < address.size() && seen < matched; ++pos)
        if (!IsBlank(address.at(pos)))
            ++seen;
    return address.mid(pos);
}

QString AddressNumber(const QString &address) {
    QString text;
    for (QChar c : address) {
        char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            u = u'0' + (u - 0xFF10);
        else if (u >= 0xFF21 && u <= 0xFF3A)
            u = u'A' + (u - 0xFF21);
        else if (u >= 0xFF41 && u <= 0xFF5A)
            u = u'A' + (u - 0xFF41);
        else if (u >= u'a' && u <= u'z')
            u = u'A' + (u - u'a');
        if (QStringLiteral("&/・.＆／．･").contains(QChar(u)))
            continue;
        text += QChar(u);
    }

    QString words;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && IsLetter(text.at(end)))
            ++end;
        if (end - i >= 2) {
            words += u'-';
            i = end;
        } else {
            words += text.at(i++);
        }
    }

    QString kept;
    for (QChar c : KanjiNumeralsToDigits(words))
        kept += (IsDigit(c) || IsLetter(c) || c == u'-') ? c : QChar(u'-');

    QString floors;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        const QChar c = kept.at(i);
        if (c == u'F' && i > 0 && IsDigit(kept.at(i - 1))) {
            if (i + 1 < kept.size())
                floors += u'-';
            continue;
        }
        floors += c;
    }

    QString collapsed;
    for (QChar c : floors)
        if (!(c == u'-' && collapsed.endsWith(u'-')))
            collapsed += c;
    QString number;
    for (qsizetype i = 0; i < collapsed.size(); ++i) {
        const QChar c = collapsed.at(i);
        const bool nextToLetter = (i > 0 && IsLetter(collapsed.at(i - 1))) ||
                                  (i + 1 < collapsed.size() && IsLetter(collapsed.at(i + 1)));
        if (c == u'-' && nextToLetter)
            continue;
        number += c;
    }
    while (number.startsWith(u'-'))
        number.remove(0, 1);
    while (number.endsWith(u'-'))
        number.chop(1);
    return number;
}

} // namespace CustomerBarcode

int GetCBarString(const char *table, const char *postalCode, const char *address, char *out,
                  const QString &zipDataPath) {
    using namespace CustomerBarcode;
    if (!table || std::strlen(table) < 10 || !postalCode || !out)
        return 2;
    const std::optional<QString> digits = PostalDigits(ShiftJis::Decode(postalCode));
    if (!digits)
        return 1;
    const QString number =
        AddressNumber(DropTownPart(*digits, ShiftJis::Decode(address ? address : ""), zipDataPath));

    std::vector<int> codes;
    for (QChar c : *digits + number) {
        if (IsDigit(c)) {
            codes.push_back(c.unicode() - u'0');
        } else if (c == u'-') {
            codes.push_back(kHyphenValue);
        } else {
            const int letter = c.unicode() - u'A';
            codes.push_back(kFirstControlValue + letter / 10);
            codes.push_back(letter % 10);
        }
    }
    codes.resize(kDataCodes, kPadValue);
    int sum = 0;
    for (int value : codes)
        sum += value;
    codes.push_back((19 - sum % 19) % 19);

    QByteArray barcode(1, table[0]);
    for (int value : codes)
        barcode += CodeChar(value, table).toLatin1();
    barcode += table[1];
    std::memcpy(out, barcode.constData(), size_t(barcode.size()));
    out[barcode.size()] = '\0';
    return 0;
}
