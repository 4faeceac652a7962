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
    // The classes and the print flag as a customer added in the window has them.
    const QString statement =
        QStringLiteral(
            "insert into usertbl(%1,Makeday,UseType,Class,Class2,Print)values(%2?,0,0,0,0)")
            .arg(columns.join(u','), QStringLiteral("?,").repeated(columns.size()));
    // A refused row is reported in the engine's words alone, after the line it came from.
    try {
        insert_ = database.GetEngine().Prepare(statement);
    } catch (const EngineError &error) {
        throw EngineError(error.detail());
    }
}

void CustomerImport::Insert(const QStringList &values) {
    const auto fields = ImportFields();
    int parameter = 1;
    for (qsizetype i = 0; i < qsizetype(fields.size()); ++i, ++parameter) {
        QString value = values.value(i);
        if (fields[i].value == ImportValue::Date) {
            const QDate date = ParseShortDate(value);
            value = date.isValid() ? date.toString(Qt::ISODate) : QString();
        }
        if (value.isEmpty())
            insert_->BindNull(parameter);
        else
            insert_->BindText(parameter, value.toUtf8());
    }
    insert_->BindText(parameter, today_);
    try {
        insert_->Step();
    } catch (const EngineError &error) {
        insert_->Reset();
        throw EngineError(error.detail());
    }
    insert_->Reset();
}
