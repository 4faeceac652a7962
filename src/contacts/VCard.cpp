#include "contacts/VCard.h"

#include "core/PostalCode.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"

#include <QStringDecoder>
#include <QUuid>
#include <algorithm>

namespace VCard {
namespace {

// The name, the reading and the like split into family and given part at the first blank.
std::pair<QString, QString> FamilyAndGiven(const QString &text) {
    const QString simplified = QString(text).replace(QChar(0x3000), u' ').trimmed();
    const qsizetype blank = simplified.indexOf(u' ');
    if (blank < 0)
        return {simplified, QString()};
    return {simplified.left(blank), simplified.mid(blank + 1).trimmed()};
}

// Half-width katakana as the phone reads them, composed with their voicing marks.
QString FullWidthReading(const QString &halfWidth, ReadingScript script) {
    if (halfWidth.isEmpty())
        return {};
    QString text = halfWidth.normalized(QString::NormalizationForm_KC);
    if (script == ReadingScript::Hiragana)
        for (QChar &c : text)
            if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
                c = QChar(char16_t(c.unicode() - 0x60));
    return text;
}

QString Escaped(const QString &value) {
    if (std::none_of(value.begin(), value.end(), [](QChar c) {
            return c == u'\\' || c == u',' || c == u';' || c == u'\r' || c == u'\n';
        }))
        return value;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' || c == u',' || c == u';')
            out += u'\\', out += c;
        else if (c == u'\r') {
            if (i + 1 == value.size() || value[i + 1] != u'\n')
                out += QStringLiteral("\\n");
        } else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out;
}

QString Components(std::initializer_list<QString> parts) {
    QStringList escaped;
    for (const QString &part : parts)
        escaped << Escaped(part);
    return escaped.join(u';');
}

// A parameter value; it cannot hold a double quote, so one is dropped.
QString ParameterValue(QString value) {
    value.remove(u'"');
    if (value.contains(u',') || value.contains(u';') || value.contains(u':'))
        return u'"' + value + u'"';
    return value;
}

// Appends one content line folded at 75 octets, never inside a UTF-8 sequence.
void AppendLine(QByteArray &out, const QString &line) {
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    int limit = 75;
    while (bytes.size() - start > limit) {
        qsizetype end = start + limit;
        while ((static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        out += bytes.mid(start, end - start);
        out += "\r\n ";
        start = end;
        limit = 74; // the leading blank counts
    }
    out += bytes.mid(start);
    out += "\r\n";
}

class CardWriter {
public:
    explicit CardWriter(Version version) : version_(version) {}
    void Add(const QString &name, const QString &value) {
        if (!value.isEmpty())
            AppendLine(out_, name + u':' + value);
    }
    void AddText(const QString &name, const QString &value) { Add(name, Escaped(value)); }
    void AddTyped(const QString &name, const QString &types, const QString &value) {
        if (!value.isEmpty())
            Add(name + QStringLiteral(";TYPE=") + types, Escaped(value));
    }
    QByteArray Take() { return std::move(out_); }
    Version version() const { return version_; }

private:
    Version version_;
    QByteArray out_;
};

void WriteAddress(CardWriter &writer, const QString &type, const QString &zip,
                  const QString &address1, const QString &address2) {
    if (zip.isEmpty() && address1.isEmpty() && address2.isEmpty())
        return;
    writer.Add(QStringLiteral("ADR;TYPE=") + type,
               Components({QString(), address2, address1, QString(), QString(), zip, QString()}));
}

} // namespace

QString BookUid(const QString &bookKey, int userId) {
    static const QUuid bookNamespace(QStringLiteral("{7c1f0d5e-3b8a-4f61-9a1e-5d2b6c8e4a10}"));
    return QStringLiteral("urn:uuid:") +
           QUuid::createUuidV5(bookNamespace, QStringLiteral("%1/%2").arg(bookKey).arg(userId))
               .toString(QUuid::WithoutBraces);
}

QByteArray WriteCard(const Card &card, const WriteOptions &options) {
    const CustomerRecord &r = card.record;
    CardWriter writer(options.version);
    const bool v4 = options.version == Version::V4;
    writer.Add(QStringLiteral("BEGIN"), QStringLiteral("VCARD"));
    writer.Add(QStringLiteral("VERSION"), v4 ? QStringLiteral("4.0") : QStringLiteral("3.0"));
    writer.Add(QStringLiteral("UID"),
               card.uid.isEmpty() ? BookUid(options.bookKey, r.userId) : card.uid);
    const auto [family, given] = FamilyAndGiven(r.name);
    const auto [familyReading, givenReading] =
        FamilyAndGiven(FullWidthReading(r.kana, options.reading));
    const QString shownName = r.name.isEmpty() ? r.office : r.name;
    writer.AddText(QStringLiteral("FN"), shownName.isEmpty() ? QStringLiteral(" ") : shownName);
    QString nName = QStringLiteral("N");
    const bool withPhoneticName = v4 && !familyReading.isEmpty();
    if (withPhoneticName)
        nName += QStringLiteral(";ALTID=1;LANGUAGE=ja;SORT-AS=") +
                 ParameterValue(givenReading.isEmpty() ? familyReading
                                                       : familyReading + u',' + givenReading);
    writer.Add(nName, Components({family, given, QString(), QString(), QString()}));
    // The reading as the same name in its kana script, which vCard 4.0 phones link by ALTID.
    if (withPhoneticName) {
        const QString script = options.reading == ReadingScript::Hiragana ? QStringLiteral("Hira")
                                                                          : QStringLiteral("Kana");
        writer.Add(QStringLiteral("N;ALTID=1;PHONETIC=script;SCRIPT=%1;LANGUAGE=ja-%1").arg(script),
                   Components({familyReading, givenReading, QString(), QString(), QString()}));
    }
    writer.AddText(QStringLiteral("X-PHONETIC-LAST-NAME"), familyReading);
    writer.AddText(QStringLiteral("X-PHONETIC-FIRST-NAME"), givenReading);
    if (!r.office.isEmpty() || !r.officePost.isEmpty())
        writer.Add(QStringLiteral("ORG"), Components({r.office, r.officePost}));
    writer.AddText(QStringLiteral("X-PHONETIC-ORG"),
                   FullWidthReading(r.officeKana, options.reading));
    writer.AddText(QStringLiteral("TITLE"), r.officeExecutive);
    WriteAddress(writer, QStringLiteral("home"), r.zip, r.address1, r.address2);
    WriteAddress(writer, QStringLiteral("work"), r.officeZip, r.officeAddress1, r.officeAddress2);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("home,voice"), r.telNo1);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("cell"), r.telNo2);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("home,fax"), r.faxNo);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("work,voice"), r.officeTel1);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("work,voice"), r.officeTel2);
    writer.AddTyped(QStringLiteral("TEL"), QStringLiteral("work,fax"), r.officeFax);
    const QString home = v4 ? QStringLiteral("home") : QStringLiteral("internet,home");
    const QString work = v4 ? QStringLiteral("work") : QStringLiteral("internet,work");
    writer.AddTyped(QStringLiteral("EMAIL"), home, r.mail1);
    writer.AddTyped(QStringLiteral("EMAIL"), home, r.mail2);
    writer.AddTyped(QStringLiteral("EMAIL"), work, r.officeMail1);
    writer.AddTyped(QStringLiteral("EMAIL"), work, r.officeMail2);
    if (r.birthDay.isValid())
        writer.Add(QStringLiteral("BDAY"), r.birthDay.toString(v4 ? QStringLiteral("yyyyMMdd")
                                                                  : QStringLiteral("yyyy-MM-dd")));
    writer.AddText(QStringLiteral("NOTE"), r.note);
    QStringList categories;
    for (const QString &name : card.classNames)
        if (!name.isEmpty() && !categories.contains(Escaped(name)))
            categories << Escaped(name);
    writer.Add(QStringLiteral("CATEGORIES"), categories.join(u','));
    if (!card.photoJpeg.isEmpty()) {
        const QString base64 = QString::fromLatin1(card.photoJpeg.toBase64());
        if (v4)
            writer.Add(QStringLiteral("PHOTO"), QStringLiteral("data:image/jpeg;base64,") + base64);
        else
            writer.Add(QStringLiteral("PHOTO;ENCODING=b;TYPE=JPEG"), base64);
    }
    writer.Add(QStringLiteral("END"), QStringLiteral("VCARD"));
    return writer.Take();
}

namespace {

// One content line split into its parts; the value still as the file holds it.
struct ContentLine {
    QByteArray name;                                     // upper case, without its group
    QList<std::pair<QByteArray, QByteArray>> parameters; // names upper case
    QByteArray value;

    QByteArray Parameter(const char *wanted) const {
        for (const auto &[key, parameterValue] : parameters)
            if (key == wanted)
                return parameterValue;
        return {};
    }
    // The TYPE values, lower case; 2.1 writes them bare (TEL;HOME;FAX).
    QByteArrayList Types() const {
        QByteArrayList types;
        for (const auto &[key, parameterValue] : parameters)
            if (key == "TYPE" || parameterValue.isEmpty())
                for (const QByteArray &type :
                     (parameterValue.isEmpty() ? key : parameterValue).split(','))
                    types << type.trimmed().toLower();
        return types;
    }
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray QuotedPrintableDecoded(const QByteArray &text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += char(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else if (text[i] == '=' && i + 1 == text.size()) {
            break;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool IsQuotedPrintable(const QByteArray &header) {
    return header.toUpper().contains("QUOTED-PRINTABLE");
}

// The file's lines with folded lines joined; a quoted-printable value ending in "=" goes on on
// the next line.
QList<QByteArray> LogicalLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t'))) {
            lines.last() += line.mid(1);
            continue;
        }
        if (!lines.isEmpty()) {
            const QByteArray &last = lines.last();
            const qsizetype colon = last.indexOf(':');
            if (last.endsWith('=') && colon > 0 && IsQuotedPrintable(last.left(colon))) {
                lines.last().chop(1);
                lines.last() += line;
                continue;
            }
        }
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

ContentLine ParseLine(const QByteArray &line) {
    ContentLine parsed;
    qsizetype colon = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon < 0)
        return parsed;
    parsed.value = line.mid(colon + 1);
    const QByteArrayList parts = line.left(colon).split(';');
    QByteArray name = parts.value(0).toUpper();
    if (const qsizetype dot = name.lastIndexOf('.'); dot >= 0)
        name = name.mid(dot + 1); // item1.TEL
    parsed.name = name;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const qsizetype equals = parts[i].indexOf('=');
        QByteArray value = equals < 0 ? QByteArray() : parts[i].mid(equals + 1);
        if (value.startsWith('"') && value.endsWith('"') && value.size() >= 2)
            value = value.mid(1, value.size() - 2);
        parsed.parameters.append(
            {parts[i].left(equals < 0 ? parts[i].size() : equals).toUpper(), value});
    }
    return parsed;
}

// The value as text: quoted-printable undone, then decoded in its charset; without one UTF-8,
// or code page 932 when the bytes are not UTF-8 (older Japanese phones).
QString DecodedValue(const ContentLine &line) {
    const QByteArray raw =
        line.Parameter("ENCODING").toUpper() == "QUOTED-PRINTABLE" ||
                line.parameters.contains({QByteArray("QUOTED-PRINTABLE"), QByteArray()})
            ? QuotedPrintableDecoded(line.value)
            : line.value;
    const QByteArray charset = line.Parameter("CHARSET").toUpper();
    if (charset == "SHIFT_JIS" || charset == "SJIS" || charset == "CP932" ||
        charset == "WINDOWS-31J" || charset == "SHIFT-JIS")
        return ShiftJis::Decode(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    if (utf8.hasError() && charset.isEmpty())
        return ShiftJis::Decode(raw);
    return text;
}

// Splits at `separator` outside backslash escapes and undoes the escapes.
QStringList SplitValue(const QString &value, QChar separator) {
    QStringList parts(1);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            const QChar next = value[++i];
            parts.last() += (next == u'n' || next == u'N') ? QChar(u'\n') : next;
        } else if (c == separator) {
            parts << QString();
        } else {
            parts.last() += c;
        }
    }
    return parts;
}

QString Unescaped(const QString &value) {
    return SplitValue(value, QChar()).join(QString());
}

// Puts a value in the first of the fields that is still empty; the rest are dropped.
void Fill(std::initializer_list<QString *> fields, const QString &value) {
    if (value.isEmpty())
        return;
    for (QString *field : fields)
        if (field->isEmpty()) {
            *field = value;
            return;
        }
}

QDate BirthdayOf(const QString &value) {
    const QString digits = QString(value).remove(u'-').left(8);
    return QDate::fromString(digits, QStringLiteral("yyyyMMdd"));
}

// The JPEG a PHOTO line carries inline: a data URI (4.0) or base64 (b in 3.0, BASE64 in 2.1).
QByteArray InlineJpeg(const ContentLine &line) {
    QByteArray encoded;
    if (line.value.startsWith("data:")) {
        const qsizetype comma = line.value.indexOf(',');
        if (comma < 0 || !line.value.left(comma).toLower().endsWith(";base64"))
            return {};
        encoded = line.value.mid(comma + 1);
    } else {
        const QByteArray encoding = line.Parameter("ENCODING").toUpper();
        if (encoding != "B" && encoding != "BASE64" &&
            !line.parameters.contains({QByteArray("BASE64"), QByteArray()}))
            return {};
        encoded = line.value;
    }
    const QByteArray jpeg = QByteArray::fromBase64(encoded.simplified().replace(' ', ""));
    return jpeg.startsWith("\xFF\xD8") ? jpeg : QByteArray();
}

QString StoredPostalCode(const QString &code) {
    return NormalisedPostalCode(code).value_or(code.trimmed());
}

// Gathers one card's properties.
class CardReader {
public:
    void Read(const ContentLine &line) {
        if (line.name == "PHOTO") {
            if (card_.photoJpeg.isEmpty())
                card_.photoJpeg = InlineJpeg(line);
            return;
        }
        const QString value = DecodedValue(line);
        const QByteArrayList types = line.Types();
        const auto has = [&types](const char *type) { return types.contains(type); };
        CustomerRecord &r = card_.record;
        if (line.name == "N" && !line.Parameter("PHONETIC").isEmpty()) {
            // Only a rendering in kana is a reading; one in IPA or in Latin letters is not.
            const QByteArray script = line.Parameter("SCRIPT");
            if (line.Parameter("PHONETIC").toLower() == "script" &&
                QByteArrayList({"Kana", "Hira", "Hrkt"}).contains(script)) {
                const QStringList parts = SplitValue(value, u';');
                phoneticNameReading_ = QStringList{Unescaped(parts.value(0)).trimmed(),
                                                   Unescaped(parts.value(1)).trimmed()}
                                           .join(u' ')
                                           .trimmed();
            }
        } else if (line.name == "N") {
            const QStringList parts = SplitValue(value, u';');
            nName_ = QStringList{parts.value(0).trimmed(), parts.value(1).trimmed()}
                         .join(u' ')
                         .trimmed();
            sortAs_ = QString::fromUtf8(line.Parameter("SORT-AS")).replace(u',', u' ');
        } else if (line.name == "UID") {
            card_.uid = Unescaped(value).trimmed();
        } else if (line.name == "FN") {
            fn_ = Unescaped(value).trimmed();
        } else if (line.name == "X-PHONETIC-LAST-NAME") {
            phoneticFamily_ = Unescaped(value).trimmed();
        } else if (line.name == "X-PHONETIC-FIRST-NAME") {
            phoneticGiven_ = Unescaped(value).trimmed();
        } else if (line.name == "SOUND" && line.parameters.contains({"X-IRMC-N", {}})) {
            const QStringList parts = SplitValue(value, u';');
            irmcReading_ = QStringList{parts.value(0), parts.value(1)}.join(u' ').trimmed();
        } else if (line.name == "X-PHONETIC-ORG") {
            r.officeKana = ToHalfWidthKatakana(Unescaped(value).trimmed());
        } else if (line.name == "ORG") {
            const QStringList parts = SplitValue(value, u';');
            r.office = parts.value(0).trimmed();
            r.officePost = parts.mid(1).join(u' ').trimmed();
        } else if (line.name == "TITLE") {
            r.officeExecutive = Unescaped(value).trimmed();
        } else if (line.name == "ADR") {
            const QStringList p = SplitValue(value, u';');
            const QString street = (p.value(4) + p.value(3) + p.value(2)).trimmed();
            const QString extended = QStringList{p.value(1), p.value(0)}.join(u' ').trimmed();
            const QString zip = StoredPostalCode(p.value(5));
            if (has("work") && r.officeAddress1.isEmpty() && r.officeZip.isEmpty())
                r.officeZip = zip, r.officeAddress1 = street, r.officeAddress2 = extended;
            else if (!has("work") && r.address1.isEmpty() && r.zip.isEmpty())
                r.zip = zip, r.address1 = street, r.address2 = extended;
        } else if (line.name == "TEL") {
            const QString number = Unescaped(value).remove(QStringLiteral("tel:")).trimmed();
            if (has("fax"))
                Fill({has("work") ? &r.officeFax : &r.faxNo}, number);
            else if (has("work"))
                Fill({&r.officeTel1, &r.officeTel2}, number);
            else if (has("cell"))
                Fill({&r.telNo2, &r.telNo1}, number);
            else
                Fill({&r.telNo1, &r.telNo2}, number);
        } else if (line.name == "EMAIL") {
            const QString address = Unescaped(value).trimmed();
            if (has("work"))
                Fill({&r.officeMail1, &r.officeMail2}, address);
            else
                Fill({&r.mail1, &r.mail2}, address);
        } else if (line.name == "BDAY") {
            r.birthDay = BirthdayOf(value.trimmed());
        } else if (line.name == "NOTE") {
            r.note = Unescaped(value);
        } else if (line.name == "CATEGORIES") {
            for (const QString &name : SplitValue(value, u','))
                if (!name.trimmed().isEmpty())
                    card_.classNames << name.trimmed();
        }
    }

    Card Finish() {
        CustomerRecord &r = card_.record;
        r.name = nName_.isEmpty() ? fn_ : nName_;
        QString reading = QStringList{phoneticFamily_, phoneticGiven_}.join(u' ').trimmed();
        for (const QString &other : {phoneticNameReading_, irmcReading_, sortAs_.trimmed()})
            if (reading.isEmpty())
                reading = other;
        r.kana = ToHalfWidthKatakana(reading);
        return std::move(card_);
    }

private:
    Card card_;
    QString nName_, fn_, sortAs_, phoneticFamily_, phoneticGiven_, irmcReading_;
    QString phoneticNameReading_;
};

// The characters of the stored texts that code page 932 cannot hold, after cross-mapping the
// ones it holds in another form.
QString UnrepresentableIn(CustomerRecord &r) {
    QString found;
    for (QString *text : {&r.name,           &r.kana,           &r.zip,
                          &r.address1,       &r.address2,       &r.telNo1,
                          &r.telNo2,         &r.faxNo,          &r.mail1,
                          &r.mail2,          &r.note,           &r.office,
                          &r.officeKana,     &r.officeZip,      &r.officeAddress1,
                          &r.officeAddress2, &r.officeTel1,     &r.officeTel2,
                          &r.officeMail1,    &r.officeMail2,    &r.officeFax,
                          &r.officePost,     &r.officeExecutive}) {
        *text = ShiftJis::NormalizeCrossMapping(*text);
        found += *text;
    }
    // Looking character by character is slow; most cards need no look.
    return ShiftJis::IsRepresentable(found) ? QString() : ShiftJis::UnrepresentableChars(found);
}

} // namespace

ReadResult ReadCards(const QByteArray &bytes) {
    ReadResult result;
    std::optional<CardReader> reader;
    for (const QByteArray &text : LogicalLines(bytes)) {
        const ContentLine line = ParseLine(text);
        if (line.name == "BEGIN" && line.value.trimmed().toUpper() == "VCARD") {
            reader.emplace();
        } else if (line.name == "END" && line.value.trimmed().toUpper() == "VCARD" && reader) {
            Card card = reader->Finish();
            reader.reset();
            for (QString &name : card.classNames)
                name = ShiftJis::NormalizeCrossMapping(name);
            if (const QString bad = UnrepresentableIn(card.record); !bad.isEmpty())
                result.refused << QStringLiteral("%1: %2").arg(card.record.name,
                                                               NameCharacters(bad));
            else
                result.cards.push_back(std::move(card));
        } else if (reader) {
            reader->Read(line);
        }
    }
    return result;
}

namespace {

// The texts the book took from a property, to tell a value it holds from one it has no field for.
QStringList HeldTexts(const CustomerRecord &r) {
    return {r.zip,        r.address1,       r.address2,       r.telNo1,
            r.telNo2,     r.faxNo,          r.mail1,          r.mail2,
            r.officeZip,  r.officeAddress1, r.officeAddress2, r.officeTel1,
            r.officeTel2, r.officeMail1,    r.officeMail2,    r.officeFax};
}

} // namespace

QByteArray KeepExtraProperties(const QByteArray &written, const QByteArray &previous) {
    static const QByteArrayList bookProperties = {"BEGIN",
                                                  "END",
                                                  "VERSION",
                                                  "UID",
                                                  "FN",
                                                  "N",
                                                  "ORG",
                                                  "TITLE",
                                                  "BDAY",
                                                  "NOTE",
                                                  "CATEGORIES",
                                                  "PHOTO",
                                                  "REV",
                                                  "PRODID",
                                                  "X-PHONETIC-LAST-NAME",
                                                  "X-PHONETIC-FIRST-NAME",
                                                  "X-PHONETIC-ORG",
                                                  "SOUND"};
    const ReadResult read = ReadCards(previous);
    if (read.cards.empty())
        return written;
    const QStringList held = HeldTexts(read.cards.front().record);
    QByteArray kept;
    for (const QByteArray &text : LogicalLines(previous)) {
        const ContentLine line = ParseLine(text);
        if (line.name.isEmpty() || bookProperties.contains(line.name))
            continue;
        if (line.name == "ADR") {
            const QStringList p = SplitValue(DecodedValue(line), u';');
            const QString street = (p.value(4) + p.value(3) + p.value(2)).trimmed();
            if (held.contains(street) && !street.isEmpty())
                continue;
        } else if (line.name == "TEL" || line.name == "EMAIL") {
            const QString value =
                Unescaped(DecodedValue(line)).remove(QStringLiteral("tel:")).trimmed();
            if (held.contains(value))
                continue;
        }
        AppendLine(kept, QString::fromUtf8(text));
    }
    if (kept.isEmpty())
        return written;
    QByteArray merged = written;
    merged.insert(merged.lastIndexOf("END:VCARD"), kept);
    return merged;
}

std::vector<std::pair<QString, QString>> CardFields(const Card &card) {
    const CustomerRecord &r = card.record;
    // As a card writes them: a name both axes give once.
    QStringList categories = card.classNames;
    categories.removeAll(QString());
    categories.removeDuplicates();
    return {{QStringLiteral("名前"), r.name},
            {QStringLiteral("フリガナ"), r.kana},
            {QStringLiteral("郵便番号"), r.zip},
            {QStringLiteral("住所１"), r.address1},
            {QStringLiteral("住所２"), r.address2},
            {QStringLiteral("電話番号１"), r.telNo1},
            {QStringLiteral("電話番号２"), r.telNo2},
            {QStringLiteral("ＦＡＸ"), r.faxNo},
            {QStringLiteral("メール１"), r.mail1},
            {QStringLiteral("メール２"), r.mail2},
            {QStringLiteral("誕生日"), r.birthDay.toString(QStringLiteral("yyyy/MM/dd"))},
            {QStringLiteral("会社名"), r.office},
            {QStringLiteral("会社フリガナ"), r.officeKana},
            {QStringLiteral("会社郵便番号"), r.officeZip},
            {QStringLiteral("会社住所１"), r.officeAddress1},
            {QStringLiteral("会社住所２"), r.officeAddress2},
            {QStringLiteral("会社電話１"), r.officeTel1},
            {QStringLiteral("会社電話２"), r.officeTel2},
            {QStringLiteral("会社メール１"), r.officeMail1},
            {QStringLiteral("会社メール２"), r.officeMail2},
            {QStringLiteral("会社ＦＡＸ"), r.officeFax},
            {QStringLiteral("部署"), r.officePost},
            {QStringLiteral("役職"), r.officeExecutive},
            {QStringLiteral("メモ"), r.note},
            {QStringLiteral("分類"), categories.join(QStringLiteral("、"))}};
}

void ApplyCardFields(CustomerRecord &target, const Card &card, const QStringList &classNames1,
                     const QStringList &classNames2) {
    const CustomerRecord &r = card.record;
    for (auto [to, from] : std::initializer_list<std::pair<QString *, const QString *>>{
             {&target.name, &r.name},
             {&target.kana, &r.kana},
             {&target.zip, &r.zip},
             {&target.address1, &r.address1},
             {&target.address2, &r.address2},
             {&target.telNo1, &r.telNo1},
             {&target.telNo2, &r.telNo2},
             {&target.faxNo, &r.faxNo},
             {&target.mail1, &r.mail1},
             {&target.mail2, &r.mail2},
             {&target.note, &r.note},
             {&target.office, &r.office},
             {&target.officeKana, &r.officeKana},
             {&target.officeZip, &r.officeZip},
             {&target.officeAddress1, &r.officeAddress1},
             {&target.officeAddress2, &r.officeAddress2},
             {&target.officeTel1, &r.officeTel1},
             {&target.officeTel2, &r.officeTel2},
             {&target.officeMail1, &r.officeMail1},
             {&target.officeMail2, &r.officeMail2},
             {&target.officeFax, &r.officeFax},
             {&target.officePost, &r.officePost},
             {&target.officeExecutive, &r.officeExecutive}})
        *to = *from;
    target.birthDay = r.birthDay;
    if (const qsizetype id = classNames1.indexOf(card.classNames.value(0)); id >= 0)
        target.classId = int(id);
    if (const qsizetype id = classNames2.indexOf(card.classNames.value(1)); id >= 0)
        target.classId2 = int(id);
}

} // namespace VCard
