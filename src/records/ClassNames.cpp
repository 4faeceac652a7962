#include "records/ClassNames.h"

#include "platform/Prompt.h"
#include "records/FormEditClass.h"
#include "store/ClassTable.h"
#include "store/TableEngine.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {

// Renames the entries of an axis in place: entry i of `idBox`, entry i + 1 of `filterBox`.
void RenameEntries(Query &classQuery, ClassAxis axis, QComboBox *idBox, QComboBox *filterBox) {
    const QStringList names = ReadClassNamesById(classQuery, axis);
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
    // By id: a server keeps a renamed row wherever it finds room, not in its place.
    const QStringList names1 = ReadClassNamesById(classQuery, ClassAxis::First);
    boxes.CBClass->addItems(names1);
    boxes.CBPrClass->addItems(names1);
    const QStringList names2 = ReadClassNamesById(classQuery, ClassAxis::Second);
    if (!names2.isEmpty()) {
        boxes.CBClass2->addItems(names2);
        boxes.CBPrClass2->addItems(names2);
        for (QComboBox *box : {boxes.CBClass, boxes.CBClass2, boxes.CBPrClass, boxes.CBPrClass2})
            box->setCurrentIndex(0);
    }
}

void RenameClassEntries(Query &classQuery, const ClassBoxes &boxes) {
    RenameEntries(classQuery, ClassAxis::First, boxes.CBClass, boxes.CBPrClass);
    RenameEntries(classQuery, ClassAxis::Second, boxes.CBClass2, boxes.CBPrClass2);
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
    QList<ClassNameAsRead> read1;
    QList<ClassNameAsRead> read2;
    // The form shows the very names whose versions the store checks, so a name another PC
    // gives meanwhile is never taken for one this user typed.
    const auto namesOf = [](const QList<ClassNameAsRead> &read) {
        QStringList names;
        for (const ClassNameAsRead &name : read)
            names << name.name;
        return FillClassNames(names);
    };
    try {
        read1 = ReadClassNamesAsRead(classQuery, ClassAxis::First);
        read2 = ReadClassNamesAsRead(classQuery, ClassAxis::Second);
        form.SetNames(namesOf(read1), namesOf(read2));
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    if (form.exec() != QDialog::Accepted)
        return false;
    try {
        QStringList refused;
        for (const int id :
             StoreChangedClassNames(classQuery, ClassAxis::First, read1, form.Names(1)))
            refused << QStringLiteral("分類1 の %1").arg(read1[id].name);
        for (const int id :
             StoreChangedClassNames(classQuery, ClassAxis::Second, read2, form.Names(2)))
            refused << QStringLiteral("分類2 の %1").arg(read2[id].name);
        if (!refused.isEmpty())
            prompt().Message(QStringLiteral("他のパソコンで分類名が変更されました。次の分類名は"
                                            "他のパソコンで付けた名前のままにしました。\r\n") +
                             refused.join(QStringLiteral("\r\n")));
        RenameClassEntries(classQuery, boxes);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    return true;
}
