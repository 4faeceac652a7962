#include "platform/Installer.h"

#include "core/TextFile.h"
#include "platform/Registry.h"
#include "store/Schema.h"
#include "store/TableEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <zlib.h>

namespace Installer {

namespace {

QByteArray Resource(const QString &name) {
    QFile file(QStringLiteral(":/installation/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool Deliver(const QString &path, const QByteArray &bytes, QString *error) {
    if (QFileInfo::exists(path))
        return true;
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("インストールデータが見つかりません: %1").arg(path);
        return false;
    }
    QString reason;
    if (!TextFile::WriteFileAtomically(path, bytes, &reason)) {
        if (error)
            *error = QStringLiteral("%1 を作成できません: %2").arg(path, reason);
        return false;
    }
    return true;
}

bool MakeFolder(const QString &path, QString *error) {
    if (QDir().mkpath(path))
        return true;
    if (error)
        *error = QStringLiteral("フォルダを作成できません: %1").arg(path);
    return false;
}

bool CreateDatabase(const QString &dbFolder, QString *error) {
    const QString finalPath = dbFolder + QString::fromLatin1(Database::FileName);
    if (QFileInfo::exists(finalPath))
        return true;
    // Built under a temporary name, then renamed, so a failure never leaves half a table file.
    const QString buildFolder = dbFolder + QStringLiteral(".install/");
    QDir(buildFolder).removeRecursively();
    if (!MakeFolder(buildFolder, error))
        return false;
    try {
        Database database;
        database.Open(buildFolder, true);
        Schema::CreateTables(database);
        database.Close();
    } catch (const EngineError &e) {
        QDir(buildFolder).removeRecursively();
        if (error)
            *error = e.message();
        return false;
    }
    const bool moved =
        QFile::rename(buildFolder + QString::fromLatin1(Database::FileName), finalPath);
    QDir(buildFolder).removeRecursively();
    if (!moved && error)
        *error = QStringLiteral("%1 を作成できません").arg(finalPath);
    return moved;
}

} // namespace

QString DefaultInstallFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/pellor3/");
}

QByteArray Gunzip(const QByteArray &compressed) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.constData()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    QByteArray out;
    char buffer[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(buffer);
        stream.avail_out = sizeof buffer;
        rc = inflate(&stream, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END)
            break;
        out.append(buffer, static_cast<qsizetype>(sizeof buffer - stream.avail_out));
    }
    inflateEnd(&stream);
    return rc == Z_STREAM_END ? out : QByteArray();
}

bool LayOut(const QString &installFolder, QString *error) {
    const QString data = installFolder + QStringLiteral("Data/");
    const QString db = data + QStringLiteral("DB/");
    return MakeFolder(db + QStringLiteral("img"), error) &&
           MakeFolder(data + QStringLiteral("zip"), error) && CreateDatabase(db, error) &&
           Deliver(db + QStringLiteral("DBDWORK.INI"), QByteArrayLiteral("[DBDWORK]\r\n"), error) &&
           Deliver(db + QStringLiteral("usertbl.DM"), Resource(QStringLiteral("usertbl.DM")),
                   error) &&
           Deliver(data + QStringLiteral("paper.cfg"), Resource(QStringLiteral("paper.cfg")),
                   error) &&
           Deliver(data + QStringLiteral("zip/zip.dat"),
                   Gunzip(Resource(QStringLiteral("zip/zip.dat.gz"))), error) &&
           Deliver(data + QStringLiteral("zip/version.txt"),
                   Resource(QStringLiteral("zip/version.txt")), error);
}

QString EnsureInstalled(QString *error) {
    const QString recorded =
        Registry::ReadString(Registry::ProgramKey, QStringLiteral("DataFolder"));
    if (!recorded.isEmpty())
        return recorded;
    const QString folder = DefaultInstallFolder();
    if (!LayOut(folder, error))
        return {};
    if (!Registry::WriteString(Registry::ProgramKey, QStringLiteral("DataFolder"), folder, error) ||
        !Registry::WriteString(Registry::ProgramKey, QStringLiteral("CommonDataPath"), folder,
                               error))
        return {};
    return folder;
}

} // namespace Installer
