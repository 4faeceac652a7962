#include "admin/BookMove.h"

#include "admin/BookPlace.h"
#include "store/PictureStorage.h"
#include "store/SchemaUpgrade.h"
#include "store/TableEngine.h"

namespace {

void Upgrade(Database &database, const QString &dataPath) {
    if (const QString problem = RunSchemaUpgrade(database, dataPath); !problem.isEmpty())
        throw EngineError(problem);
}

} // namespace

BookCounts MoveBook(BookMoveDirection direction, const QString &uri, const QString &dbPath,
                    const QString &dataPath, const CopyProgress &progress) {
    Database local;
    local.Open(dbPath);
    Database server;
    OpenServerBook(server, uri, direction == BookMoveDirection::ToServer);
    Upgrade(local, dataPath);
    Upgrade(server, dataPath);
    PictureStorage localPictures(local, dbPath);
    PictureStorage serverPictures(server, dbPath);
    if (direction == BookMoveDirection::ToServer)
        return CopyBook(local, localPictures, server, serverPictures, progress);
    return CopyBook(server, serverPictures, local, localPictures, progress);
}
