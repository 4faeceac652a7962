#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Query;

// The names of the two class axes (classtbl, classtbl2), twelve per axis, position = class id.
// Every statement throws EngineError when refused.

inline constexpr int ClassCount = 12;

enum class ClassAxis { First, Second };

// The names a fresh book's axes start with: 未分類 first, because new customers are placed in the
// first class, then 項目2 … 項目12.
QStringList FreshClassNames();

// The table of an axis as the statements name it: "Classtbl" or "Classtbl2".
QString ClassTableName(ClassAxis axis);

// The names of an axis ordered by class id.
QStringList ReadClassNamesById(Query &classQuery, ClassAxis axis);

// One class name with its row version, as read.
struct ClassNameAsRead {
    QString name;
    int rowVersion = 0;
};
// The names of an axis ordered by class id, with their versions.
QList<ClassNameAsRead> ReadClassNamesAsRead(Query &classQuery, ClassAxis axis);
// Stores each name of `names` that differs from `read`, while its row is still the version
// read. Returns the ids of the names another PC changed since; those stay as that PC stored
// them.
QList<int> StoreChangedClassNames(Query &classQuery, ClassAxis axis,
                                  const QList<ClassNameAsRead> &read, const QStringList &names);

// The twelve statements that store the names of one axis.
QStringList ClassNameUpdates(ClassAxis axis, const QStringList &names);
void StoreClassNames(Query &classQuery, ClassAxis axis, const QStringList &names);
