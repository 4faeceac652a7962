#pragma once

#include "store/SearchClause.h"

#include <QMetaType>

Q_DECLARE_METATYPE(SearchRow)

// A row naming its field and operator by their texts, as the user picks them.
inline SearchRow MakeRow(const QString &fieldEntry, const QString &value,
                         const QString &op = QString(), int valueIndex = -1) {
    SearchRow row;
    for (int i = 0; i < SearchFields().size(); ++i)
        if (SearchFields().at(i).entry == fieldEntry)
            row.field = i;
    const QStringList &operators = SearchFields().at(row.field).operators;
    row.operatorIndex = op.isEmpty() ? 0 : static_cast<int>(operators.indexOf(op));
    row.value = value;
    row.valueIndex = valueIndex;
    row.inUse = true;
    return row;
}
