#include "postal/JapanPostFiles.h"

#include "core/ShiftJis.h"
#include "platform/ZipArchive.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>

namespace {

enum class FileKind { Areas, AreasUtf8, Offices, Other };

// Columns of the published records.
constexpr int kAreaCode = 2, kAreaPrefecture = 6, kAreaCity = 7, kAreaTown = 8, kAreaColumns = 15;
constexpr int kOfficePrefecture = 3, kOfficeCity = 4, kOfficeTown = 5, kOfficeStreet = 6,
              kOfficeCode = 7, kOfficeColumns = 13;

FileKind KindOf(const QString &entryName) {
    const QString name = entryName.section(u'/', -1).toLower();
    if (name == QStringLiteral("ken_all.csv"))
        return FileKind::Areas;
    if (name == QStringLiteral("utf_ken_all.csv"))
        return FileKind::AreasUtf8;
    if (name == QStringLiteral("jigyosyo.csv"))
        return FileKind::Offices;
    return FileKind::Other;
}

// The fields of one line; the published files quote text and never put a quote inside one.
QStringList Fields(const QString &line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields << std::exchange(field, QString());
        else
            field += c;
    }
    fields << field;
    return fields;
}

// The bracketed notes at the end of a name, such as （１～１９丁目） or （次のビルを除く), say
// which part of the town a code covers; a bracket inside the name stays.
QString WithoutTrailingNotes(QString name) {
    while (name.endsWith(u'）')) {
        int depth = 0;
        qsizetype at = name.size() - 1;
        for (; at >= 0; --at) {
            depth += name.at(at) == u'）' ? 1 : name.at(at) == u'（' ? -1 : 0;
            if (depth == 0)
                break;
        }
        if (depth != 0)
            break;
        name.truncate(at);
    }
    return name;
}

// A town that only says the municipality has no towns, or that the number follows its name.
bool IsNoteOnly(const QString &town) {
    static const QRegularExpression numberFollows(QStringLiteral("^.+の次に.+がくる場合$"));
    return town == QStringLiteral("以下に掲載がない場合") || numberFollows.match(town).hasMatch();
}

void AddLine(QStringList &lines, QSet<QString> &seen, const QString &code, const QString &address) {
    if (address.isEmpty())
        return;
    const QString line = code + u',' + address;
    if (!seen.contains(line)) {
        seen.insert(line);
        lines << line;
    }
}

bool AddAreaLines(const QStringList &records, QStringList &lines, QString &fault) {
    QSet<QString> seen;
    const auto add = [&](const QStringList &fields) {
        const QString &town = fields.at(kAreaTown);
        AddLine(lines, seen, fields.at(kAreaCode),
                fields.at(kAreaPrefecture) + fields.at(kAreaCity) +
                    (IsNoteOnly(town) ? QString() : WithoutTrailingNotes(town)));
    };
    QStringList pending; // a town whose bracket is still open continues in the next record
    for (qsizetype i = 0; i < records.size(); ++i) {
        QStringList fields = Fields(records.at(i));
        if (fields.size() < kAreaColumns) {
            fault = QStringLiteral("%1行目の項目が足りません。").arg(i + 1);
            return false;
        }
        if (!pending.isEmpty() && pending.at(kAreaCode) == fields.at(kAreaCode)) {
            pending[kAreaTown] += fields.at(kAreaTown);
            fields = pending;
        } else if (!pending.isEmpty()) {
            add(pending);
        }
        pending.clear();
        const QString &town = fields.at(kAreaTown);
        if (town.count(u'（') > town.count(u'）'))
            pending = fields;
        else
            add(fields);
    }
    if (!pending.isEmpty())
        add(pending);
    return true;
}

bool AddOfficeLines(const QStringList &records, QStringList &lines, QString &fault) {
    QSet<QString> seen;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QStringList fields = Fields(records.at(i));
        if (fields.size() < kOfficeColumns) {
            fault = QStringLiteral("%1行目の項目が足りません。").arg(i + 1);
            return false;
        }
        AddLine(lines, seen, fields.at(kOfficeCode),
                fields.at(kOfficePrefecture) + fields.at(kOfficeCity) + fields.at(kOfficeTown) +
                    WithoutTrailingNotes(fields.at(kOfficeStreet)));
    }
    return true;
}

bool DecodeText(const QByteArray &bytes, FileKind kind, QString &text) {
    if (kind != FileKind::AreasUtf8)
        return ShiftJis::DecodeShiftJisStrict(bytes, text);
    QStringDecoder decoder(QStringDecoder::Utf8);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

bool ReadJapanPostArchive(const QString &path, JapanPostData &data, QString &error) {
    QList<ZipArchiveEntry> entries;
    if (!ReadZipArchive(path, entries, error))
        return false;
    bool found = false;
    for (const ZipArchiveEntry &entry : entries) {
        const FileKind kind = KindOf(entry.name);
        if (kind == FileKind::Other)
            continue;
        QString text;
        QString fault;
        if (!DecodeText(entry.data, kind, text))
            fault = kind == FileKind::AreasUtf8 ? QStringLiteral("UTF-8の文字ではありません。")
                                                : QStringLiteral("シフトJISの文字ではありません。");
        const QStringList records =
            text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")), Qt::SkipEmptyParts);
        if (fault.isEmpty()) {
            if (kind == FileKind::Offices)
                AddOfficeLines(records, data.officeLines, fault);
            else
                AddAreaLines(records, data.areaLines, fault);
        }
        if (!fault.isEmpty()) {
            error = QStringLiteral("「%1」の「%2」を読めません。%3")
                        .arg(QDir::toNativeSeparators(path), entry.name, fault);
            return false;
        }
        data.published = std::max(data.published, entry.modified.date());
        found = true;
    }
    if (!found)
        error = QStringLiteral("「%1」には日本郵便の郵便番号データ（KEN_ALL.CSV、utf_ken_all.csv、"
                               "JIGYOSYO.CSV）がありません。")
                    .arg(QDir::toNativeSeparators(path));
    return found;
}
