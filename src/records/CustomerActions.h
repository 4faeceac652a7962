#pragma once

#include <QList>
#include <QString>
#include <optional>

class Query;

// Adding, deleting and marking customers. Statements run in the query the main window passes
// (its UserQuery); every value goes through QuoteSql. A refused statement is shown as an error
// and ends the operation; what was done before it stays done. Each function that returns a
// bool returns true when the operation ran (the user did not decline), so the main window must
// run RefreshList.
//
// How the main window calls it (ids = UserId of the selected rows of ListViewMain in list
// order; DataPath = the data folder, ending in "/"):
//   BtnAdddataClick: const int id = FormAddData->AddCustomer(UserQuery);   (TFormAddData)
//                    if (id > 0) { class filters to "指定なし"; tab KanaTabIndex of the first
//                    character of FormAddData->Kana(); unselect; RefreshList; unselect; select
//                    the row whose UserId is id, if listed }
//   BtnDelClick:     if (DeleteLoadedCustomer(UserQuery, DataPath, id of the selected row or
//                    std::nullopt, Name of that row)) RefreshList();
//   N7Click:         if (DeleteCustomers(UserQuery, DataPath, ids)) RefreshList();
//   N2Click / N1Click: if (SetPrintFlags(UserQuery, ids, true / false)) RefreshList();

// Inserts a new customer with the honorific 様, sex 不明, use type 0, registered today,
// without a birthday, everything else empty (print off, class 0). Returns the new UserId, or 0
// after showing the engine's error. The id is the key the insert assigned, so a second
// customer with the same name, reading and day is never mistaken for the new one.
int InsertNewCustomer(Query &userQuery, const QString &name, const QString &kana);

// BtnDel: asks "<name>を削除しますか？", then deletes the row and, once it is gone, both pictures.
// History rows stay. Without a selected row shows "削除するデータを選択して下さい".
bool DeleteLoadedCustomer(Query &userQuery, const QString &dataPath, std::optional<int> userId,
                          const QString &name);

// Pop-up "削除する": asks "選択したデータを削除しますか？", then deletes the row of every id in
// order and, once they are stored, their pictures.
bool DeleteCustomers(Query &userQuery, const QString &dataPath, const QList<int> &userIds);

// Pop-up "印刷をオンにする" / "印刷をオフにする": one update of the print flag per id.
bool SetPrintFlags(Query &userQuery, const QList<int> &userIds, bool print);
