#include "store/CustomerImport.h"

#include "core/Clock.h"
#include "core/TextHelpers.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

#include <sqlite3.h>

CustomerImport::CustomerImport(Database &database)
    : database_(database), today_(Clock::Today().toString(Qt::ISODate).toLatin1()) {
    QStringList columns;
    for (const ImportField &field : ImportFields())
        columns << field.Column();
    const QString statement =
        QStringLiteral("insert into usertbl(%1,Makeday,UseType)values(%2?,0)")
            .arg(columns.join(u','), QStringLiteral("?,").repeated(columns.size()));
    const QByteArray utf8 = statement.toUtf8();
    sqlite3 *db = database_.Handle();
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &insert_, nullptr) !=
        SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(insert_);
        insert_ = nullptr;
        throw EngineError(message);
    }
}

CustomerImport::~CustomerImport() {
    sqlite3_finalize(insert_);
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
        if (value.isEmpty()) {
            sqlite3_bind_null(insert_, parameter);
        } else {
            const QByteArray utf8 = value.toUtf8();
            sqlite3_bind_text(insert_, parameter, utf8.constData(), int(utf8.size()),
                              SQLITE_TRANSIENT);
        }
    }
    sqlite3_bind_text(insert_, parameter, today_.constData(), int(today_.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);
    if (rc != SQLITE_DONE)
        throw EngineError(QString::fromUtf8(sqlite3_errmsg(database_.Handle())));
}
