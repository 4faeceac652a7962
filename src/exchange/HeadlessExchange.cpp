#include "exchange/HeadlessExchange.h"
#include "exchange/GreetingCsv.h"

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "records/PictureStore.h"
#include "store/ClassTable.h"
#include "store/CustomerImport.h"
#include "store/CustomerRecord.h"
#include "store/ExchangeColumns.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

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

QByteArray BuildVCardExport(Database &database, const std::vector<int> &userIds,
                            const VCard::WriteOptions &options, const PictureStorage &pictures,
                            int *customers) {
    Query query(database);
    const QStringList classNames1 = ReadClassNamesById(query, ClassAxis::First);
    const QStringList classNames2 = ReadClassNamesById(query, ClassAxis::Second);
    QByteArray bytes;
    int written = 0;
    for (CustomerRecord &record : LoadCustomerRecords(query, userIds)) {
        VCard::Card card{std::move(record), {}, {}, {}};
        card.classNames = {classNames1.value(card.record.classId),
                           classNames2.value(card.record.classId2)};
        if (!card.record.img1.isEmpty())
            card.photoJpeg = PictureStore::JpegPicture(pictures.Read(card.record.img1));
        bytes += VCard::WriteCard(card, options);
        ++written;
    }
    if (customers)
        *customers = written;
    return bytes;
}

int ExportVCardsHeadless(Database &database, const std::vector<int> &userIds,
                         const QString &dataPath, const QString &tableFolder, const QString &path,
                         VCard::Version version, QString *error) {
    const QByteArray bytes =
        BuildVCardExport(database, userIds, {version, VCard::ReadingScript::Katakana, dataPath},
                         PictureStorage(database, tableFolder));
    return WritePrivateExportFile(path, bytes, error) ? 0 : 1;
}

int ImportVCardsHeadless(Database &database, const QString &dataPath, const QString &path,
                         const std::function<void(const QString &line)> &report, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 を開けません: %2").arg(path, file.errorString());
        return 1;
    }
    const VCard::ReadResult read = VCard::ReadCards(file.readAll());
    for (const QString &refusal : read.refused)
        report(QStringLiteral("この顧客台帳に保存できない文字: ") + refusal);
    int refused = int(read.refused.size());
    int stored = 0;
    Query classQuery(database);
    const QStringList classNames1 = ReadClassNamesById(classQuery, ClassAxis::First);
    const QStringList classNames2 = ReadClassNamesById(classQuery, ClassAxis::Second);
    {
        CustomerImport import(database);
        Query pictureQuery(database);
        Transaction transaction(database);
        for (const VCard::Card &card : read.cards) {
            if (card.record.name.isEmpty()) {
                report(QStringLiteral("名前のないカードは登録しませんでした。"));
                ++refused;
                continue;
            }
            CustomerRecord record = card.record;
            record.classId = std::max(0, int(classNames1.indexOf(card.classNames.value(0))));
            record.classId2 = std::max(0, int(classNames2.indexOf(card.classNames.value(1))));
            try {
                import.Insert(ImportRowOfRecord(record));
                ++stored;
                QString pictureError;
                if (!card.photoJpeg.isEmpty() &&
                    !PictureStore::StorePicture(pictureQuery, dataPath, 0,
                                                int(database.GetEngine().LastInsertId()),
                                                card.photoJpeg, pictureError))
                    report(QStringLiteral("%1の画像は登録できませんでした: %2")
                               .arg(record.name, pictureError));
            } catch (const EngineError &refusal) {
                report(QStringLiteral("%1を登録できませんでした: %2")
                           .arg(record.name, refusal.message()));
                ++refused;
            }
        }
        transaction.Commit();
    }
    report(QStringLiteral("%1件を登録しました。").arg(stored));
    if (stored == 0) {
        *error = QStringLiteral("%1には登録できるカードがありませんでした。").arg(path);
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
