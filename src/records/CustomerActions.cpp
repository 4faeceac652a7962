#include "records/CustomerActions.h"

#include "platform/Prompt.h"
#include "records/PictureStore.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/EngineError.h"
#include "store/TableEngine.h"

#include <QStringList>
#include <functional>

namespace {

// Pictures go only once their customers' rows are gone for good: a delete the engine refuses
// or never commits (another program holding the book, the program cut off) loses no picture of
// a customer who stays.
void RemovePictures(Query &userQuery, const QString &dataPath, const QList<int> &userIds) {
    for (int userId : userIds)
        for (int slot : {0, 1})
            if (!PictureStore::RemovePictureFile(userQuery, dataPath, slot, userId))
                return;
}

// Marking or deleting a whole list costs one wait for the disk instead of one per row. `work`
// shows its own refusals and stops there; what it did before is stored all the same. False
// (after showing why) when nothing was stored.
bool StoreTogether(Query &userQuery, const std::function<void()> &work) {
    try {
        Transaction transaction(userQuery.GetDatabase());
        work();
        transaction.Commit();
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

// Customers another PC changed or deleted since this PC listed them are left as they are, and
// said once.
void ReportChangedElsewhere(const QList<int> &userIds) {
    if (userIds.isEmpty())
        return;
    QStringList numbers;
    for (const int userId : userIds)
        numbers << QString::number(userId);
    prompt().Message(ChangedElsewhereText() +
                     QStringLiteral("。\r\n次の番号の顧客はそのままにしました。一覧を表示し直し"
                                    "ます。\r\n") +
                     numbers.join(QStringLiteral(", ")));
}

} // namespace

int InsertNewCustomer(Query &userQuery, const QString &name, const QString &kana) {
    try {
        return InsertCustomer(userQuery, name, kana);
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
    if (!prompt().Confirm(name + QStringLiteral("を削除しますか？"), QStringLiteral("確認"),
                          Prompt::Answer::No))
        return false;
    try {
        if (!DeleteCustomerRow(userQuery, *userId)) {
            ReportChangedElsewhere({*userId});
            return true;
        }
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return true;
    }
    RemovePictures(userQuery, dataPath, {*userId});
    return true;
}

bool DeleteCustomers(Query &userQuery, const QString &dataPath, const QList<int> &userIds) {
    if (userIds.isEmpty()) {
        prompt().Message(QStringLiteral("削除する項目を選択して下さい"));
        return false;
    }
    if (!prompt().Confirm(QStringLiteral("選択したデータを削除しますか？"), QStringLiteral("確認"),
                          Prompt::Answer::No))
        return false;
    QList<int> deleted;
    QList<int> refused;
    const bool stored = StoreTogether(userQuery, [&] {
        try {
            for (int userId : userIds)
                (DeleteCustomerRow(userQuery, userId) ? deleted : refused) << userId;
        } catch (const EngineError &e) {
            prompt().Error(e.message());
        }
    });
    if (stored) {
        RemovePictures(userQuery, dataPath, deleted);
        ReportChangedElsewhere(refused);
    }
    return true;
}

bool SetPrintFlags(Query &userQuery, const QList<int> &userIds, bool print) {
    if (userIds.isEmpty()) {
        prompt().Message(QStringLiteral("印刷設定を変更する項目を選択して下さい"));
        return false;
    }
    QList<int> refused;
    if (StoreTogether(userQuery, [&] {
            try {
                for (int userId : userIds)
                    if (!SetPrintMark(userQuery, userId, print))
                        refused << userId;
            } catch (const EngineError &e) {
                prompt().Error(e.message());
            }
        }))
        ReportChangedElsewhere(refused);
    return true;
}
