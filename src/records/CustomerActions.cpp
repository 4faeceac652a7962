#include "records/CustomerActions.h"

#include "core/Clock.h"
#include "core/SqlText.h"
#include "platform/Prompt.h"
#include "platform/TableEngine.h"
#include "records/PictureStore.h"

namespace {

void Run(Query &query, const QString &statement) {
    query.Close();
    query.SetText(statement);
    query.Execute();
}

// Both pictures, then the row. False when something failed (already shown).
bool DeleteCustomer(Query &userQuery, const QString &dataPath, int userId) {
    if (!PictureStore::DeletePicture(userQuery, dataPath, 0, userId) ||
        !PictureStore::DeletePicture(userQuery, dataPath, 1, userId))
        return false;
    try {
        Run(userQuery, QStringLiteral("Delete from Usertbl where UserId=%1").arg(userId));
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

} // namespace

int InsertNewCustomer(Query &userQuery, const QString &name, const QString &kana) {
    const QString today = SqlDate(Clock::Today());
    try {
        Run(userQuery, QStringLiteral("insert into Usertbl(Name,Kana,NameTitle,Sex,MakeDay,"
                                      "BirthDay,UseType)values(%1,%2,'様','不明',%3,%3,\"0\")")
                           .arg(QuoteSql(name), QuoteSql(kana), today));
        return static_cast<int>(userQuery.LastInsertId());
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return 0;
    }
}

bool DeleteLoadedCustomer(Query &userQuery, const QString &dataPath, std::optional<int> userId,
                          const QString &name) {
    if (!userId) {
        prompt().Message(QStringLiteral("削除するデータを選択して下さい"));
        return false;
    }
    if (!prompt().Confirm(name + QStringLiteral("を削除しますか？"), QStringLiteral("確認")))
        return false;
    DeleteCustomer(userQuery, dataPath, *userId);
    return true;
}

bool DeleteCustomers(Query &userQuery, const QString &dataPath, const QList<int> &userIds) {
    if (userIds.isEmpty()) {
        prompt().Message(QStringLiteral("削除する項目を選択して下さい"));
        return false;
    }
    if (!prompt().Confirm(QStringLiteral("選択したデータを削除しますか？"), QStringLiteral("確認")))
        return false;
    for (int userId : userIds)
        if (!DeleteCustomer(userQuery, dataPath, userId))
            break;
    return true;
}

bool SetPrintFlags(Query &userQuery, const QList<int> &userIds, bool print) {
    if (userIds.isEmpty()) {
        prompt().Message(QStringLiteral("印刷設定を変更する項目を選択して下さい"));
        return false;
    }
    try {
        for (int userId : userIds)
            Run(userQuery, QStringLiteral("update Usertbl set print = '%1' where UserID =%2")
                               .arg(print ? 1 : 0)
                               .arg(userId));
    } catch (const EngineError &e) {
        prompt().Error(e.message());
    }
    return true;
}
