#include "exchange/CsvImport.h"

#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "exchange/CsvText.h"
#include "platform/Prompt.h"
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

// Phones and spreadsheets write a day as 1985-07-07, 1985.7.7 or 1985年7月7日, at times with a
// time of day after it; the book takes 1985/7/7. Other texts are kept for the date check.
QString SlashDate(const QString &value) {
    static const QRegularExpression otherForms(QStringLiteral(
        "^\\s*([0-9]{1,4})[-./年]([0-9]{1,2})[-./月]([0-9]{1,2})日?(?:[ T][0-9:.+\\-Z]*)?\\s*$"));
    const QRegularExpressionMatch match = otherForms.match(value);
    if (!match.hasMatch())
        return value;
    return match.captured(1) + u'/' + match.captured(2) + u'/' + match.captured(3);
}

} // namespace

std::optional<ImportFile> ReadImportFile(const QString &path, QString &error) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = name + QStringLiteral("は開く事が出来ません。");
        return std::nullopt;
    }
    const std::optional<TextFile::ForeignText> text = TextFile::DecodeForeignText(file.readAll());
    if (!text) {
        error = name + QStringLiteral("は UTF-8 でも Shift-JIS でもないため読めません。\r\n"
                                      "何も登録していません。");
        return std::nullopt;
    }
    ImportFile imported{JoinQuotedLineBreaks(TextFile::SplitLines(text->text)), text->encoding};
    if (imported.lines.isEmpty()) {
        error = name + QStringLiteral("には登録するデータがありません。");
        return std::nullopt;
    }
    return imported;
}

QString EncodingName(TextFile::TextEncoding encoding) {
    return encoding == TextFile::TextEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                    : QStringLiteral("Shift-JIS");
}

QStringList SampleFields(const QString &line) {
    TStringListEx fields;
    fields.SetCsvText(line);
    if (fields.size() > MaxMappingRows)
        fields.resize(MaxMappingRows);
    return fields;
}

ImportPlan BuildImportPlan(const ImportFile &file, const QStringList &assignments) {
    const QStringList &lines = file.lines;
    // Text read as code page 932 holds nothing else.
    const bool checkCodePage = file.encoding == TextFile::TextEncoding::Utf8;
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
    TStringListEx split;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        split.SetCsvText(lines[n]);
        QStringList values;
        values.reserve(qsizetype(fields.size()));
        for (size_t f = 0; f < fields.size(); ++f) {
            const ImportField &field = fields[f];
            if (columnOf[f] < 0) {
                values << field.Unassigned();
                continue;
            }
            QString value = split.value(columnOf[f]);
            if (field.value == ImportValue::Reading)
                value = ToHalfWidthKatakana(value);
            else if (field.value == ImportValue::Date && !value.trimmed().isEmpty()) {
                value = SlashDate(value);
                if (!ParseShortDate(value).isValid())
                    plan.unreadableDates << int(n + 1);
            }
            values << value;
        }
        if (const QString text = values.join(QString());
            checkCodePage && !ShiftJis::IsRepresentable(text)) {
            // Named by code too: a zero-width or combining mark shows nothing by itself.
            const QString name = values.value(fieldIndex.value(QStringLiteral("名前"), -1));
            plan.unrepresentable << QStringLiteral("%1行目%2: %3")
                                        .arg(QString::number(n + 1),
                                             name.isEmpty() ? QString() : u'（' + name + u'）',
                                             NameCharacters(ShiftJis::UnrepresentableChars(text)));
        }
        plan.rows.push_back(std::move(values));
    }
    return plan;
}

ImportOutcome InsertImportRows(Database &database, const ImportPlan &plan, Prompt &prompt,
                               const std::function<bool(int, int)> &progress) {
    const int total = int(plan.rows.size());
    CustomerImport import(database);
    // Left without Commit, the transaction is rolled back: nothing of the file is stored.
    Transaction transaction(database);
    for (int i = 0; i < total; ++i) {
        if (i % 500 == 0 && !progress(i, total))
            return {ImportOutcome::Cancelled, 0};
        try {
            import.Insert(plan.rows[size_t(i)]);
        } catch (const EngineError &error) {
            const bool keep =
                prompt.Confirm(QStringLiteral("%1行目を登録できませんでした。\r\n%2\r\n\r\n"
                                              "それより前の%3件を登録しますか？\r\n"
                                              "「いいえ」を選ぶと何も登録しません。")
                                   .arg(i + 1)
                                   .arg(error.message())
                                   .arg(i));
            if (keep)
                transaction.Commit();
            return {ImportOutcome::Refused, keep ? i : 0};
        }
    }
    transaction.Commit();
    progress(total, total);
    return {ImportOutcome::Stored, total};
}

QString UnreadableDatesMessage(const QList<int> &lines) {
    if (lines.isEmpty())
        return {};
    return QStringLiteral("生年月日を日付として読めなかった%1件は、生年月日なしで登録しました。"
                          "\r\n%2")
        .arg(lines.size())
        .arg(LineList(lines));
}
