#include "admin/DataInitialisation.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/DataReset.h"
#include "store/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void DeletePictureFiles(const QString &pictureFolder) {
    const QDir folder(pictureFolder);
    for (const QFileInfo &file :
         folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        // The read-only attribute, whoever runs the program.
        if (file.permissions().testFlag(QFileDevice::WriteOwner))
            QFile::remove(file.absoluteFilePath());
}

bool IBtnFormatClick(AppContext &context) {
    const QString title = QStringLiteral("警告");
    if (!prompt().Confirm(QStringLiteral("現在登録されている全データを削除して、初期化します。"
                                         "中止する場合は、いいえをクリックしてください"),
                          title) ||
        !prompt().Confirm(QStringLiteral("この操作をすると、全てのデータが消去（初期化）されます。"
                                         "中止する場合は、いいえをクリックしてください"),
                          title))
        return false;
    try {
        ResetCustomerBook(context.SharedUserQuery(), context.SharedHistoryQuery(),
                          context.SharedClassQuery());
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return true;
    }
    DeletePictureFiles(context.GetDbPath() + QStringLiteral("img/"));
    return true;
}
