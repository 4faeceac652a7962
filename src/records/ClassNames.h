#pragma once

#include <QString>
#include <QStringList>

#include "store/ClassTable.h"

class Query;
class QComboBox;
class TFormEditClass;

// The four class boxes of the main window: the editor's CBClass and CBClass2 (position = class
// id) and the list filters CBPrClass and CBPrClass2 ("指定なし", then position = class id + 1).
struct ClassBoxes {
    QComboBox *CBClass = nullptr;
    QComboBox *CBClass2 = nullptr;
    QComboBox *CBPrClass = nullptr;
    QComboBox *CBPrClass2 = nullptr;
};

inline const QString NoClassFilter = QStringLiteral("指定なし");

// Refills the four boxes from classtbl and classtbl2 and selects their first entries, without
// raising their change signals. Throws EngineError.
void LoadClassNames(Query &classQuery, const ClassBoxes &boxes);

// Renames the entries of the four boxes to the stored names in place, keeping their selections
// and without raising their change signals. Throws EngineError.
void RenameClassEntries(Query &classQuery, const ClassBoxes &boxes);

// Puts the stored names into the editor's twelve edits of each axis; when a table holds fewer
// rows, the remaining edits repeat its last name.
QStringList FillClassNames(const QStringList &stored);

// The class-name editor: shows `form` with the stored names and, on 更新, stores the edited
// names and renames the entries of the four boxes in place, keeping their selections. Errors
// are reported to the user; the statements after a refused one are not run. Returns true when
// names were stored.
bool EditClassNames(Query &classQuery, TFormEditClass &form, const ClassBoxes &boxes);
