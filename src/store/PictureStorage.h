#pragma once

#include <QByteArray>
#include <QString>

class Database;

// Where the bytes of the customers' pictures are kept. A local book keeps each as the file
// "<UserId>_<slot>.bmp" in its table folder's "img/"; a book on a server keeps them in picturetbl
// (bytes keyed by the customer and slot the name gives), since the PCs share no folder.
// The picture columns hold the bare name either way. Every reader and writer of pictures (editor,
// card print, vCard export, merge, copies of the book) goes through here.
// Failures throw EngineError.
class PictureStorage {
public:
    // `tableFolder` is the local book's table folder ("…/Data/DB/"); a server book ignores it.
    PictureStorage(Database &database, const QString &tableFolder);

    // "u_s.bmp", such as 12_0.bmp.
    static QString FileName(int userId, int slot);

    // The bytes of the picture a column names; empty when the name is empty or nothing is stored.
    QByteArray Read(const QString &storedName) const;
    // Stores the bytes under the customer and slot (the file replaced whole). Returns the name
    // the column is to hold.
    QString Write(int userId, int slot, const QByteArray &bytes);
    // Removes the slot's picture; nothing stored is no failure.
    void Remove(int userId, int slot);
    // Removes every stored picture (the data initialisation); how many went.
    int RemoveAll();

    bool OnServer() const;
    // The local book's picture folder, ending in "/".
    const QString &Folder() const { return folder_; }

private:
    Database &database_;
    QString folder_;
};

// Creates picturetbl when the book lacks it; on both engines, so one schema serves both.
void CreatePictureTable(Database &database);
// Server books of earlier versions kept the pictures as base64 text; they are converted to
// bytes in place, once (user version 3).
void StorePicturesAsBytes(Database &database);
