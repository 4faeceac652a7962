#include "records/ClassNames.h"

#include "core/SqlText.h"
#include "platform/Prompt.h"
#include "platform/TableEngine.h"
#include "records/FormEditClass.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {

// Renames the entries of an axis in place: entry i of `idBox`, entry i + 1 of `filterBox`.
void RenameEntries(Query &classQuery, const QString &statement, QComboBox *idBox,
                   QComboBox *filterBox) {
    const QStringList names = ReadClassNames(classQuery, statement);
    const QSignalBlocker blockId(idBox);
    const QSignalBlocker blockFilter(filterBox);
    const int idSelected = idBox->currentIndex();
    const int filterSelected = filterBox->currentIndex();
    for (int i = 0; i < names.size(); ++i) {
        if (i < idBox->count())
            idBox->setItemText(i, names[i]);
        if (i + 1 < filterBox->count())
            filterBox->setItemText(i + 1, names[i]);
    }
    idBox->setCurrentIndex(idSelected);
    filterBox->setCurrentIndex(filterSelected);
}

} // namespace

QStringList ReadClassNames(Query &classQuery, const QString &statement) {
    classQuery.SetText(statement);
    classQuery.Close();
    classQuery.Open();
    QStringList names;
    for (; !classQuery.AtEnd(); classQuery.Next())
        names << classQuery.AsString(QStringLiteral("Name"));
    return names;
}

void LoadClassNames(Query &classQuery, const ClassBoxes &boxes) {
    const QSignalBlocker block1(boxes.CBClass);
    const QSignalBlocker block2(boxes.CBClass2);
    const QSignalBlocker block3(boxes.CBPrClass);
    const QSignalBlocker block4(boxes.CBPrClass2);
    boxes.CBClass->clear();
    boxes.CBClass2->clear();
    boxes.CBPrClass->clear();
    boxes.CBPrClass->addItem(NoClassFilter);
    boxes.CBPrClass2->clear();
    boxes.CBPrClass2->addItem(NoClassFilter);
    const QStringList names1 = ReadClassNames(classQuery, QStringLiteral("select * from Classtbl"));
    boxes.CBClass->addItems(names1);
    boxes.CBPrClass->addItems(names1);
    const QStringList names2 =
        ReadClassNames(classQuery, QStringLiteral("select * from Classtbl2"));
    if (!names2.isEmpty()) {
        boxes.CBClass2->addItems(names2);
        boxes.CBPrClass2->addItems(names2);
        for (QComboBox *box : {boxes.CBClass, boxes.CBClass2, boxes.CBPrClass, boxes.CBPrClass2})
            box->setCurrentIndex(0);
    }
}

QStringList ClassNameUpdates(const QString &table, const QStringList &names) {
    QStringList statements;
    for (int id = 0; id < ClassCount; ++id)
        statements << QStringLiteral("Update %1 set Name=%2where ClassId = %3")
                          .arg(table, QuoteSql(names.value(id)), QString::number(id));
    return statements;
}

QStringList FillClassNames(const QStringList &stored) {
    QStringList names = stored.mid(0, ClassCount);
    while (!names.isEmpty() && names.size() < ClassCount)
        names << names.last();
    while (names.size() < ClassCount)
        names << QString();
    return names;
}

bool EditClassNames(Query &classQuery, TFormEditClass &form, const ClassBoxes &boxes) {
    try {
        form.SetNames(
            FillClassNames(ReadClassNames(classQuery, QStringLiteral("select * from Classtbl"))),
            FillClassNames(ReadClassNames(classQuery, QStringLiteral("select * from Classtbl2"))));
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    if (form.exec() != QDialog::Accepted)
        return false;
    try {
        const QStringList statements = ClassNameUpdates(QStringLiteral("Classtbl"), form.Names(1)) +
                                       ClassNameUpdates(QStringLiteral("Classtbl2"), form.Names(2));
        for (const QString &statement : statements) {
            classQuery.SetText(statement);
            classQuery.Close();
            classQuery.Execute();
        }
        RenameEntries(classQuery, QStringLiteral("select * from Classtbl order by ClassId"),
                      boxes.CBClass, boxes.CBPrClass);
        RenameEntries(classQuery, QStringLiteral("select * from Classtbl2 Order by ClassId"),
                      boxes.CBClass2, boxes.CBPrClass2);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    return true;
}
