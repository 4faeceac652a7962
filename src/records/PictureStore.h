#pragma once

#include <QImage>
#include <QString>

class PictureBox;
class Query;

// The two pictures of a customer. Slot 0 is picture 1 (column img1), slot 1 picture 2 (img2).
// Each is stored as a BMP through the book's PictureStorage (the picture folder "DB/img/" of the
// data folder for a local book); the column holds the bare name. Statements run in the query the
// main window passes (its UserQuery); failures are shown through prompt() and change nothing.
//
// The editor's picture buttons call ChooseAndLoad and ConfirmAndDelete for the one selected
// customer; a click on a picture opens it in TFormPicPreview.
namespace PictureStore {

// The picture folder inside the data folder, ending in "/".
QString PictureFolder(const QString &dataPath);
// "u_s.bmp", such as 12_0.bmp.
QString PictureFileName(int userId, int slot);

// Stores `source` (a BMP file as it is, a JPEG decoded, turned upright and written as BMP; the
// file's contents tell which, whatever its extension) as the slot's picture and names it in the
// column. The old picture is replaced only once the new one has been read. Returns false, after
// showing why, when nothing was stored; `stored` receives the stored picture.
bool LoadPicture(Query &userQuery, const QString &dataPath, int slot, int userId,
                 const QString &source, QImage *stored = nullptr);

// The same for a picture's bytes (BMP or JPEG), showing nothing: false with the reason in
// `error`.
bool StorePicture(Query &userQuery, const QString &dataPath, int slot, int userId,
                  const QByteArray &content, QString &error, QImage *stored = nullptr);

// A stored picture's bytes as JPEG (for contact cards); empty when they do not read.
QByteArray JpegPicture(const QByteArray &stored);
// The picture a column names as JPEG; empty when none is stored or it does not read.
QByteArray StoredJpeg(Query &userQuery, const QString &dataPath, const QString &storedName);

// Deletes the slot's picture only (for a customer whose row is gone). False, after showing why,
// when it stays.
bool RemovePictureFile(Query &userQuery, const QString &dataPath, int slot, int userId);

// Deletes the slot's picture (the one named after the customer and slot, whatever the column
// held) and empties the column. False, after showing why, when either failed.
bool DeletePicture(Query &userQuery, const QString &dataPath, int slot, int userId);

// The picture a column names; a null image when none is stored or it cannot be read.
QImage ReadPicture(Query &userQuery, const QString &dataPath, const QString &storedName);

// The editor's handlers around these: ask for a file and load it (the box shows it); ask
// "画像を削除しますか？" / "画像２を削除しますか？" and delete (the box is emptied). True when
// the picture changed.
bool ChooseAndLoad(Query &userQuery, const QString &dataPath, int slot, int userId,
                   PictureBox &box);
bool ConfirmAndDelete(Query &userQuery, const QString &dataPath, int slot, int userId,
                      PictureBox &box);

} // namespace PictureStore
