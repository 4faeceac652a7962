#include "store/CustomerImport.h"

#include "core/Clock.h"
#include "core/TextHelpers.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

CustomerImport::CustomerImport(Database &database)
    : today_(Clock::Today().toString(Qt::ISODate).toLatin1()) {
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

void CustomerImport::Insert(const QStringList &values) {
    const auto fields = ImportFields();
    for (qsizetype i = 0; i < qsizetype(fields.size()); ++i) {
        const int parameter = int(i) + 1;
        QString value = values.value(i);
        const ImportValue kind = fields[i].value;
        if (kind == ImportValue::Date || kind == ImportValue::Birthday) {
            const QDate date = ParseShortDate(value);
            value = date.isValid() ? date.toString(Qt::ISODate) : QString();
        }
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
}
