#include "core/SqlText.h"

QString QuoteSql(const QString &value) {
    QString doubled = value;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

QString SqlDate(const QDate &date) {
    if (!date.isValid())
        return QStringLiteral("NULL");
    return u'"' + date.toString(QStringLiteral("MM/dd/yyyy")) + u'"';
}
