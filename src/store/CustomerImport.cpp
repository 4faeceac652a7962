#include "store/CustomerImport.h"

#include "core/Clock.h"
#include "core/TextHelpers.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

CustomerImport::CustomerImport(Database &database)
    : database_(database), today_(Clock::Today().toString(Qt::ISODate).toLatin1()) {
    QStringList columns;
    for (const ImportField &field : ImportFields())
        columns << field.Column();
    const QString statement =
        QStringLiteral("insert into usertbl(%1)values(%2)")
            .arg(columns.join(u','), QStringLiteral("?,").repeated(columns.size()).chopped(1));
    try {
        insert_ = database.GetEngine().Prepare(statement);
    } catch (const EngineError &error) {
        // Without the statement text, which tells the user nothing.
        throw EngineError(EngineFailure::Other, error.detail());
    }
}

namespace {

// A value as the table stores it: dates as ISO text, NULL for no date.
QString StoredValue(const ImportField &field, const QString &value) {
    if (field.value != ImportValue::Date && field.value != ImportValue::Birthday)
        return value;
    const QDate date = ParseShortDate(value);
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

} // namespace

void CustomerImport::FillRow(int userId, const QStringList &values) {
    const auto fields = ImportFields();
    QStringList assignments;
    QStringList filled;
    for (qsizetype i = 0; i < qsizetype(fields.size()); ++i) {
        const ImportField &field = fields[size_t(i)];
        const QString value = StoredValue(field, values.value(i));
        const bool text = field.value != ImportValue::Number &&
                          field.value != ImportValue::ClassName1 &&
                          field.value != ImportValue::ClassName2;
        if (!text || value.isEmpty() || field.Column() == QLatin1String("MakeDay"))
            continue;
        assignments << QStringLiteral("%1 = CASE WHEN %1 IS NULL OR %1 = '' THEN ? ELSE %1 END")
                           .arg(field.Column());
        filled << value;
    }
    if (assignments.isEmpty())
        return;
    const std::unique_ptr<EngineStatement> update =
        database_.GetEngine().Prepare(QStringLiteral("update usertbl set %1, RowVersion = "
                                                     "RowVersion + 1 where UserId = %2")
                                          .arg(assignments.join(QStringLiteral(", ")))
                                          .arg(userId));
    for (qsizetype i = 0; i < filled.size(); ++i)
        update->BindText(int(i) + 1, filled.at(i).toUtf8());
    update->Step();
    AnnounceOnce();
}

void CustomerImport::AnnounceOnce() {
    // The other PCs hear of the whole file once it is committed.
    if (!announced_)
        database_.GetEngine().AnnounceChange();
    announced_ = true;
}

void CustomerImport::InsertRow(const QStringList &values) {
    const auto fields = ImportFields();
    for (qsizetype i = 0; i < qsizetype(fields.size()); ++i) {
        const int parameter = int(i) + 1;
        const QString value = StoredValue(fields[size_t(i)], values.value(i));
        if (!value.isEmpty())
            insert_->BindText(parameter, value.toUtf8());
        else if (fields[i].Column() == QLatin1String("MakeDay"))
            insert_->BindText(parameter, today_);
        else
            insert_->BindNull(parameter);
    }
    try {
        insert_->Step();
    } catch (const EngineError &) {
        insert_->Reset();
        throw;
    }
    insert_->Reset();
    AnnounceOnce();
}

namespace {

constexpr size_t SavepointRows = 500;

void RunControl(Database &database, const char *statement) {
    database.GetEngine().Prepare(QString::fromLatin1(statement))->Step();
}

} // namespace

void CustomerImport::Stored(std::function<void()> row) {
    if (!database_.IsOnServer()) {
        row();
        return;
    }
    if (!savepointSet_ || sinceSavepoint_.size() == SavepointRows) {
        if (savepointSet_)
            RunControl(database_, "RELEASE SAVEPOINT import_rows");
        RunControl(database_, "SAVEPOINT import_rows");
        savepointSet_ = true;
        sinceSavepoint_.clear();
    }
    try {
        row();
    } catch (const EngineError &) {
        StoreAgainAfterRefusal();
        throw;
    }
    sinceSavepoint_.push_back(std::move(row));
}

void CustomerImport::StoreAgainAfterRefusal() {
    RunControl(database_, "ROLLBACK TO SAVEPOINT import_rows");
    // The announcement may have gone with the rows rolled back.
    announced_ = false;
    for (const std::function<void()> &row : sinceSavepoint_)
        row();
}

void CustomerImport::Insert(const QStringList &values) {
    Stored([this, values] { InsertRow(values); });
}

void CustomerImport::FillEmptyColumns(int userId, const QStringList &values) {
    Stored([this, userId, values] { FillRow(userId, values); });
}
