#include "records/PictureStore.h"

#include "platform/JpegDecoder.h"
#include "platform/Prompt.h"
#include "store/CustomerTable.h"
#include "store/EngineError.h"
#include "store/PictureStorage.h"
#include "store/TableEngine.h"
#include "widgets/PictureBox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace PictureStore {

namespace {

PictureStorage PicturesOf(Query &userQuery, const QString &dataPath) {
    return PictureStorage(userQuery.GetDatabase(), dataPath + QStringLiteral("DB/"));
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
    return PictureStorage::FileName(userId, slot);
}

bool StorePicture(Query &userQuery, const QString &dataPath, int slot, int userId,
                  const QByteArray &content, QString &error, QImage *stored) {
    QByteArray bytes;
    QImage picture;
    if (!PrepareStoredBytes(content, bytes, picture, error))
        return false;
    PictureStorage pictures = PicturesOf(userQuery, dataPath);
    try {
        const QString name = pictures.Write(userId, slot, bytes);
        if (!SetPictureFileName(userQuery, userId, slot, name)) {
            // A picture of a customer that is gone would stay for good.
            pictures.Remove(userId, slot);
            error = QStringLiteral(
                "この顧客データはほかのプログラムで削除されたため、画像を登録できませんでした。");
            return false;
        }
    } catch (const EngineError &e) {
        error = e.message();
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

QByteArray JpegPicture(const QByteArray &stored) {
    if (stored.startsWith("\xFF\xD8"))
        return stored;
    const QImage image = QImage::fromData(stored);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "JPEG"))
        return {};
    return jpeg;
}

QByteArray StoredJpeg(Query &userQuery, const QString &dataPath, const QString &storedName) {
    try {
        return JpegPicture(PicturesOf(userQuery, dataPath).Read(storedName));
    } catch (const EngineError &) {
        return {};
    }
}

bool RemovePictureFile(Query &userQuery, const QString &dataPath, int slot, int userId) {
    try {
        PicturesOf(userQuery, dataPath).Remove(userId, slot);
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

bool DeletePicture(Query &userQuery, const QString &dataPath, int slot, int userId) {
    return RemovePictureFile(userQuery, dataPath, slot, userId) &&
           ClearColumn(userQuery, slot, userId);
}

QImage ReadPicture(Query &userQuery, const QString &dataPath, const QString &storedName) {
    try {
        return QImage::fromData(PicturesOf(userQuery, dataPath).Read(storedName));
    } catch (const EngineError &) {
        // The editor shows an empty box; the list and fields stay usable.
        return {};
    }
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
