#include "exchange/GreetingCsv.h"

#include "core/TextHelpers.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvText.h"
#include "store/GreetingTable.h"
#include "store/TableEngine.h"

namespace {

const QStringList &Header() {
    static const QStringList header = {QStringLiteral("氏名"),     QStringLiteral("フリガナ"),
                                       QStringLiteral("郵便番号"), QStringLiteral("年"),
                                       QStringLiteral("種類"),     QStringLiteral("日付"),
                                       QStringLiteral("備考")};
    return header;
}

enum Field { Name, Kana, Zip, Season, Kind, Day, Note };

// A kind by its code or by its caption.
std::optional<GreetingKind> KindOf(const QString &text) {
    bool number = false;
    const int code = text.toInt(&number);
    if (number)
        return GreetingKindOfCode(code);
    for (const GreetingKind kind : GreetingKinds())
        if (GreetingKindCaption(kind) == text)
            return kind;
    return std::nullopt;
}

// The event of a line, or why it cannot be read.
std::variant<GreetingEvent, QString> EventOf(const QStringList &fields) {
    GreetingEvent event;
    bool number = false;
    event.season = fields.value(Season).trimmed().toInt(&number);
    if (!number || event.season < 1900 || event.season > 9999)
        return QStringLiteral("年が読めません: %1").arg(fields.value(Season));
    const std::optional<GreetingKind> kind = KindOf(fields.value(Kind).trimmed());
    if (!kind)
        return QStringLiteral("種類が読めません: %1").arg(fields.value(Kind));
    event.kind = *kind;
    const QString day = fields.value(Day).trimmed();
    event.day = ParseShortDate(day);
    if (!day.isEmpty() && !event.day.isValid())
        return QStringLiteral("日付が読めません: %1").arg(day);
    event.note = fields.value(Note);
    return event;
}

} // namespace

QByteArray BuildGreetingCsv(Database &database, int *events) {
    QString text = Header().join(u',') + QStringLiteral(",\r\n");
    const std::vector<GreetingTable::ExportRow> rows = GreetingTable(database).ExportRows();
    for (const GreetingTable::ExportRow &row : rows) {
        const GreetingEvent &event = row.event;
        for (const QString &item :
             {row.name, row.kana, row.zip, QString::number(event.season),
              QString::number(CodeOf(event.kind)),
              event.day.isValid() ? ShortDateText(event.day) : QString(), event.note})
            text += CsvItem(item, true) + u',';
        text += QStringLiteral("\r\n");
    }
    if (events)
        *events = int(rows.size());
    return EncodeExportText(text, TextFile::TextEncoding::ShiftJis);
}

bool IsGreetingFile(const ImportFile &file) {
    TStringListEx fields;
    fields.SetCsvText(file.lines.value(0), file.separator);
    return fields == Header();
}

bool ImportGreetingCsv(Database &database, const QString &path, GreetingImport &outcome,
                       QString &error) {
    const std::optional<ImportFile> file = ReadImportFile(path, error);
    return file && ImportGreetingRecords(database, *file, outcome, error);
}

QString GreetingImportMessage(const GreetingImport &outcome) {
    // A long list of refusals would make the box taller than the screen.
    constexpr qsizetype shownRefusals = 20;
    QString message = QStringLiteral("挨拶状の記録 %1件を取り込みました。").arg(outcome.stored);
    if (outcome.refused.isEmpty())
        return message;
    message +=
        QStringLiteral("\r\n次の %1 行は取り込んでいません。\r\n").arg(outcome.refused.size()) +
        outcome.refused.first(std::min(shownRefusals, outcome.refused.size()))
            .join(QStringLiteral("\r\n"));
    if (outcome.refused.size() > shownRefusals)
        message += QStringLiteral("\r\nほか %1 行").arg(outcome.refused.size() - shownRefusals);
    return message;
}

bool ImportGreetingRecords(Database &database, const ImportFile &file, GreetingImport &outcome,
                           QString &error) {
    GreetingTable greetings(database);
    std::vector<GreetingEvent> events;
    TStringListEx fields;
    for (qsizetype n = 0; n < file.lines.size(); ++n) {
        const int line = file.firstLines.isEmpty() ? int(n) + 1 : file.firstLines.at(n);
        fields.SetCsvText(file.lines.at(n), file.separator);
        if (fields.isEmpty() || (n == 0 && fields.value(0) == Header().first()))
            continue;
        QStringList values;
        for (const QString &field : fields)
            values << CsvFieldValue(field);
        const auto refuse = [&](const QString &why) {
            outcome.refused << QStringLiteral("%1行目: %2").arg(line).arg(why);
        };
        const std::variant<GreetingEvent, QString> event = EventOf(values);
        if (const QString *why = std::get_if<QString>(&event)) {
            refuse(*why);
            continue;
        }
        QList<int> matches;
        try {
            matches =
                greetings.CustomersNamed(values.value(Name), values.value(Kana), values.value(Zip));
        } catch (const EngineError &failure) {
            error = failure.message();
            return false;
        }
        if (matches.size() != 1) {
            refuse(matches.isEmpty()
                       ? QStringLiteral("氏名・フリガナ・郵便番号の合う顧客がいません: %1")
                             .arg(values.value(Name))
                       : QStringLiteral("氏名・フリガナ・郵便番号の合う顧客が %1 人います: %2")
                             .arg(matches.size())
                             .arg(values.value(Name)));
            continue;
        }
        events.push_back(std::get<GreetingEvent>(event));
        events.back().userId = matches.first();
    }
    try {
        Transaction transaction(database);
        for (const GreetingEvent &event : events)
            greetings.Set(event);
        transaction.Commit();
    } catch (const EngineError &failure) {
        error = failure.message();
        return false;
    }
    outcome.stored = int(events.size());
    return true;
}
