#include "store/ClassTable.h"

#include "core/SqlText.h"
#include "store/TableEngine.h"

namespace {

QStringList NamesOf(Query &classQuery, const QString &statement) {
    classQuery.SetText(statement);
    classQuery.Close();
    classQuery.Open();
    QStringList names;
    for (; !classQuery.AtEnd(); classQuery.Next())
        names << classQuery.AsString(QStringLiteral("Name"));
    return names;
}

} // namespace

QStringList FreshClassNames() {
    QStringList names{QStringLiteral("未分類")};
    for (int id = 1; id < ClassCount; ++id)
        names << QStringLiteral("項目%1").arg(id + 1);
    return names;
}

QString ClassTableName(ClassAxis axis) {
    return axis == ClassAxis::First ? QStringLiteral("Classtbl") : QStringLiteral("Classtbl2");
}

QStringList ReadClassNamesById(Query &classQuery, ClassAxis axis) {
    return NamesOf(classQuery, axis == ClassAxis::First
                                   ? QStringLiteral("select * from Classtbl order by ClassId")
                                   : QStringLiteral("select * from Classtbl2 Order by ClassId"));
}

QStringList ClassNameUpdates(ClassAxis axis, const QStringList &names) {
    QStringList statements;
    for (int id = 0; id < ClassCount; ++id)
        statements << QStringLiteral("Update %1 set Name=%2where ClassId = %3")
                          .arg(ClassTableName(axis), QuoteSql(names.value(id)),
                               QString::number(id));
    return statements;
}

void StoreClassNames(Query &classQuery, ClassAxis axis, const QStringList &names) {
    for (const QString &statement : ClassNameUpdates(axis, names)) {
        classQuery.Execute(statement);
    }
}

QList<ClassNameAsRead> ReadClassNamesAsRead(Query &classQuery, ClassAxis axis) {
    classQuery.SetText(
        QStringLiteral("select * from %1 order by ClassId").arg(ClassTableName(axis)));
    classQuery.Close();
    QList<ClassNameAsRead> read;
    for (classQuery.Open(); !classQuery.AtEnd(); classQuery.Next())
        read.append({classQuery.AsString(QStringLiteral("Name")),
                     classQuery.AsInteger(QStringLiteral("RowVersion"))});
    classQuery.Close();
    return read;
}

QList<int> StoreChangedClassNames(Query &classQuery, ClassAxis axis,
                                  const QList<ClassNameAsRead> &read, const QStringList &names) {
    QList<int> refused;
    for (int id = 0; id < read.size() && id < names.size(); ++id) {
        if (names[id] == read[id].name)
            continue;
        if (classQuery.Execute(QStringLiteral("Update %1 set Name=%2, RowVersion = RowVersion + 1 "
                                              "where ClassId = %3 and RowVersion = %4")
                                   .arg(ClassTableName(axis), QuoteSql(names[id]))
                                   .arg(id)
                                   .arg(read[id].rowVersion)) == 0)
            refused << id;
    }
    return refused;
}
