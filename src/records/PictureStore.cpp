#include "records/PictureStore.h"

#include "core/PrivateFolder.h"
#include "core/TextFile.h"
#include "platform/JpegDecoder.h"
#include "platform/Prompt.h"
#include "store/CustomerTable.h"
#include "store/EngineError.h"
#include "widgets/PictureBox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace PictureStore {

namespace {

QString StoredPath(const QString &dataPath, int userId, int slot) {
    return PictureFolder(dataPath) + PictureFileName(userId, slot);
}

// A copied picture keeps the source's read-only attribute; it must go before the file can be
// replaced or deleted.
void ClearReadOnly(const QString &path) {
    QFile file(path);
    if (file.exists())
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

// No camera photo or scan comes near this; a larger file is refused before it is read whole.
constexpr qint64 MaxSourceMegabytes = 256;

// The bytes to store for a BMP or JPEG file's `content` and the picture they show; false with
// the reason in `error` when it is neither or does not read.
bool PrepareStoredBytes(const QByteArray &content, QByteArray &bytes, QImage &picture,
                        QString &error) {
    // The first bytes decide, as photos are often saved under the other format's extension.
    const bool isBmp = content.startsWith("BM");
    if (!isBmp && !content.startsWith("\xFF\xD8")) {
        error =
            QStringLiteral("画像を読み込めませんでした。\r\nBMP・JPEG形式の画像ではありません。");
        return false;
    }
    if (isBmp) {
        QBuffer buffer;
        buffer.setData(content);
        QImageReader reader(&buffer, "bmp");
        picture = reader.read();
        if (picture.isNull()) {
            error = QStringLiteral("画像を読み込めませんでした。\r\n%1").arg(reader.errorString());
            return false;
        }
        bytes = content;
        return true;
    }
    QString reason;
    picture = JpegDecoder::Decode(content, &reason);
    if (picture.isNull()) {
        error = QStringLiteral("画像を読み込めませんでした。\r\n%1").arg(reason);
        return false;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        error = QStringLiteral("画像をBMP形式に変換できませんでした。");
        return false;
    }
    return true;
}

// The source file's contents; false after showing why not.
bool ReadSource(const QString &source, QByteArray &content) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        prompt().Error(QStringLiteral("画像ファイルを読み込めませんでした。\r\n%1\r\n%2")
                           .arg(QDir::toNativeSeparators(source), file.errorString()));
        return false;
    }
    if (file.size() > MaxSourceMegabytes * 1024 * 1024) {
        prompt().Error(
            QStringLiteral("画像ファイルが大きすぎます（%1MB）。%2MB以下の画像を使って下さい。")
                .arg(file.size() / (1024 * 1024))
                .arg(MaxSourceMegabytes));
        return false;
    }
    content = file.readAll();
    return true;
}

// A customer that is gone has no column to clear; that is no failure.
bool ClearColumn(Query &userQuery, int slot, int userId) {
    try {
        SetPictureFileName(userQuery, userId, slot, QString());
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

} // namespace

QString PictureFolder(const QString &dataPath) {
    return dataPath + QStringLiteral("DB/img/");
}

QString PictureFileName(int userId, int slot) {
    return QStringLiteral("%1_%2.bmp").arg(userId).arg(slot);
}

bool StorePicture(Query &userQuery, const QString &dataPath, int slot, int userId,
                  const QByteArray &content, QString &error, QImage *stored) {
    const QString folder = PictureFolder(dataPath);
    if (!MakePrivateFolder(folder)) {
        error = QStringLiteral("画像フォルダを作成できませんでした。\r\n%1")
                    .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QByteArray bytes;
    QImage picture;
    if (!PrepareStoredBytes(content, bytes, picture, error))
        return false;
    const QString target = StoredPath(dataPath, userId, slot);
    ClearReadOnly(target);
    QString reason;
    if (!TextFile::WriteFileAtomically(target, bytes, &reason)) {
        error = QStringLiteral("画像を保存できませんでした。\r\n%1").arg(reason);
        return false;
    }
    bool named = false;
    try {
        named = SetPictureFileName(userQuery, userId, slot, PictureFileName(userId, slot));
    } catch (const EngineError &e) {
        error = e.message();
        return false;
    }
    if (!named) {
        // A file for a customer that is gone would stay in the folder for good.
        QFile::remove(target);
        error = QStringLiteral(
            "この顧客データはほかのプログラムで削除されたため、画像を登録できませんでした。");
        return false;
    }
    if (stored)
        *stored = picture;
    return true;
}

bool LoadPicture(Query &userQuery, const QString &dataPath, int slot, int userId,
                 const QString &source, QImage *stored) {
    if (!QFileInfo::exists(source)) {
        prompt().Error(QDir::toNativeSeparators(source) + QStringLiteral("は存在しません"));
        return false;
    }
    QByteArray content;
    if (!ReadSource(source, content))
        return false;
    QString error;
    if (!StorePicture(userQuery, dataPath, slot, userId, content, error, stored)) {
        prompt().Error(error);
        return false;
    }
    return true;
}

QByteArray JpegPicture(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xD8"))
        return bytes;
    const QImage image = QImage::fromData(bytes);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG"))
        return {};
    return jpeg;
}

bool RemovePictureFile(const QString &dataPath, int slot, int userId) {
    const QString target = StoredPath(dataPath, userId, slot);
    QFile file(target);
    if (!file.exists())
        return true;
    ClearReadOnly(target);
    if (!file.remove()) {
        prompt().Error(QStringLiteral("画像ファイルを削除できませんでした。\r\n%1\r\n%2")
                           .arg(QDir::toNativeSeparators(target), file.errorString()));
        return false;
    }
    return true;
}

bool DeletePicture(Query &userQuery, const QString &dataPath, int slot, int userId) {
    return RemovePictureFile(dataPath, slot, userId) && ClearColumn(userQuery, slot, userId);
}

bool ChooseAndLoad(Query &userQuery, const QString &dataPath, int slot, int userId,
                   PictureBox &box) {
    const QString source = prompt().OpenFile(
        QString(), QString(),
        QStringLiteral(
            "BMP・JPEGファイル(*.BMP,*JPG,*JPEG) (*.BMP *.JPG *.JPEG *.bmp *.jpg *.jpeg)"));
    if (source.isEmpty())
        return false;
    QImage picture;
    if (!LoadPicture(userQuery, dataPath, slot, userId, source, &picture))
        return false;
    box.SetPicture(picture);
    return true;
}

bool ConfirmAndDelete(Query &userQuery, const QString &dataPath, int slot, int userId,
                      PictureBox &box) {
    const QString question = slot == 0 ? QStringLiteral("画像を削除しますか？")
                                       : QStringLiteral("画像２を削除しますか？");
    if (!prompt().Confirm(question, QStringLiteral("確認"), Prompt::Answer::No))
        return false;
    if (!DeletePicture(userQuery, dataPath, slot, userId))
        return false;
    box.Clear();
    return true;
}

} // namespace PictureStore
