#include "exchange/HeadlessExchange.h"
#include "exchange/GreetingCsv.h"

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "store/ClassTable.h"
#include "store/CustomerImport.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

int ExportCsvHeadless(Database &database, const std::vector<int> &userIds, const QString &path,
                      QString *error) {
    ExportOptions options;
    options.ticked.assign(ExportColumns().size(), true);
    options.lossless = true;
    const std::optional<QByteArray> bytes =
        BuildCsvExport(database, userIds, options, [](int, int) { return true; });
    return WritePrivateExportFile(path, *bytes, error) ? 0 : 1;
}

int ImportCsvHeadless(Database &database, const QString &path,
                      const std::function<void(const QString &line)> &report, QString *error) {
    QString reason;
    const std::optional<ImportFile> file = ReadImportFile(path, reason);
    if (!file) {
        *error = reason;
        return 1;
    }
    const std::optional<QStringList> header =
        HeaderAssignments(SampleFields(file->lines.value(0), file->separator));
    if (!header) {
        *error = file->name + QStringLiteral("の1行目は見出しとして読めません。"
                                             "項目名を書いた見出し行をつけて下さい。");
        return 1;
    }
    Query classQuery(database);
    const ImportPlan plan = BuildImportPlan(*file, *header,
                                            {true, ReadClassNamesById(classQuery, ClassAxis::First),
                                             ReadClassNamesById(classQuery, ClassAxis::Second)});
    for (const QString &line : plan.unrepresentable)
        report(QStringLiteral("この顧客台帳に保存できない文字: ") + line);
    int refused = int(plan.unrepresentable.size());
    int stored = 0;
    {
        CustomerImport import(database);
        Transaction transaction(database);
        for (size_t row = 0; row < plan.rows.size(); ++row) {
            if (plan.unrepresentableRows.contains(int(row)))
                continue;
            try {
                import.Insert(plan.rows[row]);
                ++stored;
            } catch (const EngineError &refusal) {
                report(QStringLiteral("%1行目を登録できませんでした: %2")
                           .arg(plan.lineNumbers[row])
                           .arg(refusal.message()));
                ++refused;
            }
        }
        transaction.Commit();
    }
    if (const QString notes = ImportNotesMessage(plan, int(plan.rows.size())); !notes.isEmpty())
        report(notes);
    report(QStringLiteral("%1件を登録しました。").arg(stored));
    if (stored == 0 && refused > 0) {
        *error = QStringLiteral("%1の行はどれも登録できませんでした。").arg(file->name);
        return 1;
    }
    return refused > 0 ? 3 : 0;
}

int ExportGreetingsHeadless(Database &database, const QString &path, QString *error) {
    return WritePrivateExportFile(path, BuildGreetingCsv(database), error) ? 0 : 1;
}

int ImportGreetingsHeadless(Database &database, const QString &path,
                            const std::function<void(const QString &line)> &report,
                            QString *error) {
    GreetingImport outcome;
    if (!ImportGreetingCsv(database, path, outcome, *error))
        return 1;
    for (const QString &line : outcome.refused)
        report(line);
    return outcome.refused.isEmpty() ? 0 : 3;
}
