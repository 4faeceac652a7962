#include "admin/DataInitialisation.h"

#include "admin/Backup.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/DataReset.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"

namespace {

// The backup offered before the book is emptied; its folder's name, or empty when none was
// wanted. False when one was wanted and could not be made.
bool OfferBackup(AppContext &context, QString *made) {
    if (!prompt().Confirm(
            QStringLiteral("初期化の前に、現在のデータのバックアップを作成しますか？"),
            QStringLiteral("警告")))
        return true;
    QString error;
    QStringList leftOut;
    *made =
        Backup::MakeBackupInRoot(context.GetDatabase(), context.GetDataPath(), context.GetDbPath(),
                                 Backup::Kind::BeforeReset, &leftOut, &error);
    if (made->isEmpty()) {
        prompt().Error(
            QStringLiteral("バックアップの作成に失敗したため、初期化を中止しました\r\n") + error);
        return false;
    }
    if (!leftOut.isEmpty())
        prompt().Warning(Backup::LeftOutText(leftOut));
    return true;
}

} // namespace

bool NoOtherPcConnected(AppContext &context, const QString &operation) {
    Database &book = context.GetDatabase();
    if (!book.IsOnServer())
        return true;
    QStringList others;
    try {
        others = book.GetEngine().OtherPcs();
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return false;
    }
    if (others.isEmpty())
        return true;
    prompt().Message(QStringLiteral("ほかのパソコンがこの顧客データを開いています。\r\n%1\r\n\r\n"
                                    "%2の前に、ほかのすべてのパソコンでプログラムを終了して"
                                    "下さい。")
                         .arg(others.join(QStringLiteral("、")), operation));
    return false;
}

bool IBtnFormatClick(AppContext &context) {
    if (!NoOtherPcConnected(context, QStringLiteral("初期化")))
        return false;
    const QString title = QStringLiteral("警告");
    if (!prompt().Confirm(QStringLiteral("現在登録されている全データを削除して、初期化します。"
                                         "中止する場合は、いいえをクリックしてください"),
                          title, Prompt::Answer::No) ||
        !prompt().Confirm(QStringLiteral("この操作をすると、全てのデータが消去（初期化）されます。"
                                         "中止する場合は、いいえをクリックしてください"),
                          title, Prompt::Answer::No))
        return false;
    QString backup;
    if (!OfferBackup(context, &backup))
        return false;
    BookReset reset;
    try {
        reset = ResetCustomerBook(context.SharedUserQuery(), context.SharedHistoryQuery(),
                                  context.SharedClassQuery());
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return true;
    }
    int pictures = 0;
    try {
        // Read-only picture files and sub-folders of a local book's picture folder stay.
        pictures = PictureStorage(context.GetDatabase(), context.GetDbPath()).RemoveAll();
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
    QString done = QStringLiteral("初期化しました。\r\n顧客 %1件、履歴 %2件、挨拶状の記録 %3件、"
                                  "画像 %4件を削除し、分類名を 項目1～項目12 に戻しました。")
                       .arg(reset.customers)
                       .arg(reset.historyEntries)
                       .arg(reset.greetingEvents)
                       .arg(pictures);
    if (!backup.isEmpty())
        done +=
            QStringLiteral("\r\n初期化前のデータはバックアップ %1 に残してあります。").arg(backup);
    prompt().Message(done);
    return true;
}
