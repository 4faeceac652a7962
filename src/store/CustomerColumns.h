#pragma once

#include <QString>
#include <QStringList>
#include <span>

// What a customer column holds, as the statements write and read it.
enum class ColumnKind { Key, Text, Integer, Date, Memo };

// One column of usertbl.
struct CustomerColumn {
    const char *name;
    const char *type; // the engine's column type
    ColumnKind kind;

    QString Name() const { return QString::fromLatin1(name); }
};

// The columns of usertbl in table order: the 35 of every version, then the 16 the 1.04 upgrade
// added (joint names and insert fields).
std::span<const CustomerColumn> CustomerColumns();
inline constexpr int BaseCustomerColumnCount = 35;

// The names of CustomerColumns(), in table order.
const QStringList &CustomerColumnNames();
