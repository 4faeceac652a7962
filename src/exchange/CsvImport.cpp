#include "exchange/CsvImport.h"

#include "core/Clock.h"
#include "core/PostalCode.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "exchange/CsvText.h"
#include "platform/Prompt.h"
#include "store/ClassTable.h"
#include "store/CustomerImport.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

// Long lists in a message are cut after this many entries.
constexpr int ListedInMessage = 20;

QString LineList(const QList<int> &lines) {
    QStringList items;
    for (int line : lines.first(std::min<qsizetype>(lines.size(), ListedInMessage)))
        items << QStringLiteral("%1行目").arg(line);
    QString text = items.join(QStringLiteral("、"));
    if (lines.size() > ListedInMessage)
        text += QStringLiteral(" ほか%1行").arg(lines.size() - ListedInMessage);
    return text;
}

// A text without a byte-order mark is UTF-16 when its NUL bytes, the high halves of ASCII
// characters, nearly all fall on even or nearly all on odd places.
bool LooksLikeUtf16(const QByteArray &bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return true;
    qsizetype nuls[2] = {0, 0};
    for (qsizetype i = 0; i < bytes.size(); ++i)
        nuls[i % 2] += bytes[i] == '\0';
    const qsizetype all = nuls[0] + nuls[1];
    return all >= 2 && std::max(nuls[0], nuls[1]) * 10 >= all * 9;
}

// The file line (from 1) that holds byte `at`.
int LineAt(const QByteArray &bytes, qsizetype at) {
    int line = 1;
    for (qsizetype i = 0; i < at; ++i)
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    return line;
}

// Spreadsheets write a day as 1985-07-07, 1985.7.7 or 1985年7月7日, at times with a time of day
// after it, and in the Japanese era as 昭和55年4月1日, S55.4.1 or 平成元年5月1日. A year of
// fewer than four digits is no year.
QDate ImportedDate(const QString &value) {
    static const QRegularExpression western(QStringLiteral(
        "^([0-9]{4})[-./年]([0-9]{1,2})[-./月]([0-9]{1,2})日?(?:[ T][0-9:.+\\-Z]*)?$"));
    static const QRegularExpression era(
        QStringLiteral(
            "^(明治|大正|昭和|平成|令和|[MTSHR]) *(元|[0-9]{1,2}) *[-./年] *([0-9]{1,2}) "
            "*[-./月] *([0-9]{1,2}) *日?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = value.normalized(QString::NormalizationForm_KC).trimmed();
    if (const QRegularExpressionMatch match = western.match(text); match.hasMatch())
        return QDate(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    const QRegularExpressionMatch match = era.match(text);
    if (!match.hasMatch())
        return {};
    static const QHash<QString, int> firstYears{
        {QStringLiteral("明治"), 1868}, {QStringLiteral("M"), 1868},
        {QStringLiteral("大正"), 1912}, {QStringLiteral("T"), 1912},
        {QStringLiteral("昭和"), 1926}, {QStringLiteral("S"), 1926},
        {QStringLiteral("平成"), 1989}, {QStringLiteral("H"), 1989},
        {QStringLiteral("令和"), 2019}, {QStringLiteral("R"), 2019}};
    const int year = match.captured(2) == QStringLiteral("元") ? 1 : match.captured(2).toInt();
    if (year < 1)
        return {};
    return QDate(firstYears.value(match.captured(1).toUpper()) + year - 1,
                 match.captured(3).toInt(), match.captured(4).toInt());
}

// Spreadsheets are kept from reading a value as a formula by an apostrophe before it.
QString WithoutFormulaGuard(const QString &value) {
    if (value.size() >= 2 && value[0] == u'\'' && QStringView(u"=+-@").contains(value[1]))
        return value.mid(1);
    return value;
}

// The class id a class column's value names: a class name, else its number; 0 for neither.
// A class column holds the class number or its name; nullopt when it names no class.
std::optional<QString> ClassIdOf(const QString &value, const QStringList &names) {
    const QString text = value.trimmed();
    if (text.isEmpty())
        return QStringLiteral("0");
    bool number = false;
    const int id = text.toInt(&number);
    if (number)
        return id >= 0 && id < ClassCount ? std::optional(QString::number(id)) : std::nullopt;
    const qsizetype named = names.indexOf(text);
    return named >= 0 ? std::optional(QString::number(named)) : std::nullopt;
}

QString NormalisedCaption(const QString &caption) {
    QString text = caption.normalized(QString::NormalizationForm_KC).toCaseFolded();
    text.remove(QRegularExpression(QStringLiteral("[\\s・_\\-]")));
    return text;
}

bool DecodeInto(ImportFile &file, const QString &text, QString &error) {
    const QStringList lines = TextFile::SplitLines(text);
    file.separator = DetectSeparator(lines);
    CsvRecords csv = JoinQuotedLineBreaks(lines, file.separator);
    file.lines = std::move(csv.records);
    file.firstLines = std::move(csv.firstLines);
    file.strayQuotes = std::move(csv.strayQuotes);
    if (file.lines.isEmpty()) {
        error = file.name + QStringLiteral("には登録するデータがありません。");
        return false;
    }
    return true;
}

} // namespace

std::optional<ImportFile> ReadImportFile(const QString &path, QString &error) {
    ImportFile imported;
    imported.name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = imported.name + QStringLiteral("は開く事が出来ません。");
        return std::nullopt;
    }
    imported.bytes = file.readAll();
    if (LooksLikeUtf16(imported.bytes)) {
        error = imported.name + QStringLiteral("は UTF-16 で書かれているため読めません。"
                                               "UTF-8 か Shift-JIS で保存し直して下さい。\r\n"
                                               "何も登録していません。");
        return std::nullopt;
    }
    if (const qsizetype nul = imported.bytes.indexOf('\0'); nul >= 0) {
        error = QStringLiteral("%1の%2行目に NUL 文字があるため読めません。\r\n"
                               "何も登録していません。")
                    .arg(imported.name)
                    .arg(LineAt(imported.bytes, nul));
        return std::nullopt;
    }
    const std::optional<TextFile::ForeignText> text = TextFile::DecodeForeignText(imported.bytes);
    if (!text) {
        error =
            imported.name + QStringLiteral("は UTF-8 でも Shift-JIS でもないため読めません。\r\n"
                                           "何も登録していません。");
        return std::nullopt;
    }
    imported.encoding = text->encoding;
    if (!DecodeInto(imported, text->text, error))
        return std::nullopt;
    return imported;
}

bool ReadImportFileAs(ImportFile &file, TextFile::TextEncoding encoding, QString &error) {
    const std::optional<QString> text = TextFile::DecodeText(file.bytes, encoding);
    if (!text) {
        error = QStringLiteral("%1は %2 として読めません。").arg(file.name, EncodingName(encoding));
        return false;
    }
    ImportFile read = file;
    read.encoding = encoding;
    if (!DecodeInto(read, *text, error))
        return false;
    file = std::move(read);
    return true;
}

QString CsvFieldValue(const QString &field) {
    return WithoutFormulaGuard(field);
}

QString EncodingName(TextFile::TextEncoding encoding) {
    return encoding == TextFile::TextEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                    : QStringLiteral("Shift-JIS");
}

QStringList SampleFields(const QString &line, QChar separator) {
    TStringListEx fields;
    fields.SetCsvText(line, separator);
    if (fields.size() > MaxMappingRows)
        fields.resize(MaxMappingRows);
    return fields;
}

std::optional<QStringList> HeaderAssignments(const QStringList &fields) {
    QStringList captions;
    for (const QString &field : fields)
        captions << NormalisedCaption(field);
    QStringList assignments(captions.size());
    int matched = 0;
    for (const ImportField &field : ImportFields()) {
        // Other captions first: a class number names its class more surely than a name.
        QStringList names = QString::fromUtf16(field.aliases).split(u'|', Qt::SkipEmptyParts);
        names << field.Caption();
        for (const QString &name : names) {
            const qsizetype column = captions.indexOf(NormalisedCaption(name));
            if (column >= 0 && assignments[column].isEmpty()) {
                assignments[column] = field.Caption();
                ++matched;
                break;
            }
        }
    }
    const qsizetype named =
        std::count_if(captions.begin(), captions.end(),
                      [](const QString &caption) { return !caption.isEmpty(); });
    if (matched == 0 || matched * 2 < named)
        return std::nullopt;
    return assignments;
}

ImportPlan BuildImportPlan(const ImportFile &file, const QStringList &assignments,
                           const ImportSettings &settings) {
    const QStringList &lines = file.lines;
    // Text read as code page 932 holds nothing else.
    const bool checkCodePage = file.encoding == TextFile::TextEncoding::Utf8;
    const QDate today = Clock::Today();
    const auto fields = ImportFields();
    QHash<QString, qsizetype> fieldIndex;
    for (qsizetype f = 0; f < qsizetype(fields.size()); ++f)
        fieldIndex.insert(fields[f].Caption(), f);
    // The file column of each field, -1 when not assigned.
    std::vector<qsizetype> columnOf(fields.size(), -1);
    for (qsizetype row = 0; row < assignments.size(); ++row)
        if (const auto at = fieldIndex.constFind(assignments[row]); at != fieldIndex.constEnd())
            columnOf[size_t(*at)] = row;

    ImportPlan plan;
    plan.rows.reserve(size_t(lines.size()));
    const auto lineOf = [&file](qsizetype record) {
        return file.firstLines.isEmpty() ? int(record + 1) : file.firstLines[record];
    };
    const qsizetype firstRecord = settings.header ? 1 : 0;
    plan.strayQuotes = file.strayQuotes;
    TStringListEx split;
    for (qsizetype n = firstRecord; n < lines.size(); ++n) {
        const int line = lineOf(n);
        split.SetCsvText(lines[n], file.separator);
        QStringList values;
        values.reserve(qsizetype(fields.size()));
        bool cut = false;
        for (size_t f = 0; f < fields.size(); ++f) {
            const ImportField &field = fields[f];
            if (columnOf[f] < 0) {
                values << field.Unassigned();
                continue;
            }
            QString value = WithoutFormulaGuard(split.value(columnOf[f]));
            switch (field.value) {
            case ImportValue::Reading:
                value = ToHalfWidthKatakana(value);
                break;
            case ImportValue::Postal:
                if (!value.trimmed().isEmpty()) {
                    if (const std::optional<QString> code = NormalisedPostalCode(value))
                        value = *code;
                    else if (!plan.keptPostalCodes.contains(line))
                        plan.keptPostalCodes << line;
                }
                break;
            case ImportValue::Date:
            case ImportValue::Birthday:
                if (!value.trimmed().isEmpty()) {
                    const QDate date = ImportedDate(value);
                    value = date.isValid() ? ShortDateText(date) : QString();
                    if (!date.isValid())
                        plan.unreadableDates << line;
                    else if (field.value == ImportValue::Birthday && date > today) {
                        plan.futureBirthdays << line;
                        value.clear();
                    }
                }
                break;
            case ImportValue::ClassName1:
            case ImportValue::ClassName2:
                if (const std::optional<QString> id = ClassIdOf(
                        value, field.value == ImportValue::ClassName1 ? settings.classNames1
                                                                      : settings.classNames2))
                    value = *id;
                else {
                    value = QStringLiteral("0");
                    if (!plan.unknownClasses.contains(line))
                        plan.unknownClasses << line;
                }
                break;
            case ImportValue::Number: {
                bool number = false;
                value = QString::number(value.trimmed().toInt(&number));
                if (!number)
                    value = field.Unassigned();
                break;
            }
            case ImportValue::Text:
            case ImportValue::Memo:
                break;
            }
            if (field.maxLength > 0 && value.size() > field.maxLength) {
                value.truncate(field.maxLength);
                cut = true;
            }
            values << value;
        }
        if (cut)
            plan.cutValues << line;
        if (const QString text = values.join(QString());
            checkCodePage && !ShiftJis::IsRepresentable(text)) {
            // Named by code too: a zero-width or combining mark shows nothing by itself.
            const QString name = values.value(fieldIndex.value(QStringLiteral("名前"), -1));
            plan.unrepresentable << QStringLiteral("%1行目%2: %3")
                                        .arg(QString::number(line),
                                             name.isEmpty() ? QString() : u'（' + name + u'）',
                                             NameCharacters(ShiftJis::UnrepresentableChars(text)));
            plan.unrepresentableRows << int(plan.rows.size());
        }
        plan.rows.push_back(std::move(values));
        plan.lineNumbers.push_back(line);
    }
    return plan;
}

namespace {
// The text columns of an import row and the record's members they fill; `compared` marks
// those a customer already in the book is found by.
struct RowText {
    const char *column;
    QString CustomerRecord::*member;
    bool compared;
};
constexpr RowText rowTexts[] = {
    {"Name", &CustomerRecord::name, true},
    {"Kana", &CustomerRecord::kana, true},
    {"Zip", &CustomerRecord::zip, true},
    {"Address1", &CustomerRecord::address1, true},
    {"Address2", &CustomerRecord::address2, true},
    {"TelNo_1", &CustomerRecord::telNo1, true},
    {"TelNo_2", &CustomerRecord::telNo2, true},
    {"Mail_1", &CustomerRecord::mail1, true},
    {"mail_2", &CustomerRecord::mail2, true},
    {"OfficeZip", &CustomerRecord::officeZip, true},
    {"OfficeAddress1", &CustomerRecord::officeAddress1, true},
    {"OfficeAddress2", &CustomerRecord::officeAddress2, true},
    {"OfficeTel_1", &CustomerRecord::officeTel1, true},
    {"OfficeTel_2", &CustomerRecord::officeTel2, true},
    {"OfficeMail_1", &CustomerRecord::officeMail1, true},
    {"OfficeMail_2", &CustomerRecord::officeMail2, true},
    {"FaxNo", &CustomerRecord::faxNo, false},
    {"Office", &CustomerRecord::office, false},
    {"OfficeKana", &CustomerRecord::officeKana, false},
    {"OfficeFax", &CustomerRecord::officeFax, false},
    {"OfficePost", &CustomerRecord::officePost, false},
    {"OfficeExecutive", &CustomerRecord::officeExecutive, false},
    {"Note", &CustomerRecord::note, false},
};
} // namespace

CustomerRecord CandidateOfRow(const QStringList &row) {
    CustomerRecord candidate;
    const auto fields = ImportFields();
    for (size_t i = 0; i < fields.size(); ++i)
        for (const RowText &text : rowTexts)
            if (text.compared &&
                fields[i].Column().compare(QLatin1String(text.column), Qt::CaseInsensitive) == 0)
                candidate.*text.member = row.value(qsizetype(i));
    return candidate;
}

QStringList ImportRowOfRecord(const CustomerRecord &record) {
    QStringList row;
    for (const ImportField &field : ImportFields()) {
        QString value = field.Unassigned();
        for (const RowText &text : rowTexts)
            if (field.Column().compare(QLatin1String(text.column), Qt::CaseInsensitive) == 0)
                value = record.*text.member;
        if (field.Column() == QLatin1String("BirthDay"))
            value = ShortDateText(record.birthDay);
        else if (field.Column() == QLatin1String("Class"))
            value = QString::number(record.classId);
        else if (field.Column() == QLatin1String("Class2"))
            value = QString::number(record.classId2);
        if (field.maxLength > 0)
            value.truncate(field.maxLength);
        row << value;
    }
    return row;
}

ImportOutcome InsertImportRows(Database &database, const ImportPlan &plan, Prompt &prompt,
                               const std::function<bool(int, int)> &progress,
                               ExistingCustomerChoice choice,
                               const FindExistingCustomer &existing) {
    const int total = int(plan.rows.size());
    const bool matching = choice != ExistingCustomerChoice::AddAnyway && existing;
    CustomerImport import(database);
    ImportOutcome outcome;
    // Left without Commit, the transaction is rolled back: nothing of the file is stored.
    Transaction transaction(database);
    for (int i = 0; i < total; ++i) {
        if (i % 500 == 0 && !progress(i, total))
            return {ImportOutcome::Cancelled, 0};
        try {
            const QStringList &row = plan.rows[size_t(i)];
            const int match = matching ? existing(CandidateOfRow(row)) : 0;
            if (match == 0) {
                import.Insert(row);
            } else if (choice == ExistingCustomerChoice::Skip) {
                ++outcome.skipped;
            } else {
                import.FillEmptyColumns(match, row);
                ++outcome.filled;
            }
        } catch (const EngineError &error) {
            const bool keep =
                prompt.Confirm(QStringLiteral("%1行目を登録できませんでした。\r\n%2\r\n\r\n"
                                              "それより前の%3件を登録しますか？\r\n"
                                              "「いいえ」を選ぶと何も登録しません。")
                                   .arg(plan.lineNumbers[size_t(i)])
                                   .arg(error.message())
                                   .arg(i));
            if (!keep)
                return {ImportOutcome::Refused, 0};
            transaction.Commit();
            outcome.kind = ImportOutcome::Refused;
            outcome.stored = i;
            return outcome;
        }
    }
    transaction.Commit();
    progress(total, total);
    outcome.stored = total;
    return outcome;
}

QString ExistingCustomerCountsMessage(const ImportOutcome &outcome) {
    QStringList lines = {QStringLiteral("%1件を登録しました。")
                             .arg(outcome.stored - outcome.skipped - outcome.filled)};
    if (outcome.skipped > 0)
        lines << QStringLiteral("登録済みの顧客と一致した%1件は登録しませんでした。")
                     .arg(outcome.skipped);
    if (outcome.filled > 0)
        lines << QStringLiteral("登録済みの顧客と一致した%1件で、その顧客の空欄を補いました。")
                     .arg(outcome.filled);
    return lines.join(QStringLiteral("\r\n"));
}

QString ImportNotesMessage(const ImportPlan &plan, int stored) {
    if (stored <= 0)
        return {};
    const int lastLine = plan.lineNumbers[size_t(stored - 1)];
    const auto upToLast = [lastLine](const QList<int> &lines) {
        QList<int> kept;
        for (int line : lines)
            if (line <= lastLine)
                kept << line;
        return kept;
    };
    const std::pair<const QList<int> &, const char16_t *> notes[] = {
        {plan.unreadableDates,
         u"生年月日を日付として読めなかった%1件は、生年月日なしで登録しました。"},
        {plan.futureBirthdays, u"生年月日が今日より後だった%1件は、生年月日なしで登録しました。"},
        {plan.keptPostalCodes,
         u"郵便番号が7桁の番号でなかった%1件は、書かれたとおりに登録しました。"},
        {plan.unknownClasses,
         u"分類名がどの分類とも合わなかった%1件は、最初の分類で登録しました。"},
        {plan.cutValues,
         u"入力できる長さを超える項目があった%1件は、超えた部分を切り捨てて登録しました。"},
        {plan.strayQuotes,
         u"閉じられていない「\"」があった%1行は、「\"」を文字として行ごとに読みました。"},
    };
    QStringList paragraphs;
    for (const auto &[lines, text] : notes)
        if (const QList<int> listed = upToLast(lines); !listed.isEmpty())
            paragraphs << QString::fromUtf16(text).arg(listed.size()) + QStringLiteral("\r\n") +
                              LineList(listed);
    return paragraphs.join(QStringLiteral("\r\n\r\n"));
}
