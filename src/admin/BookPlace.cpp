#include "admin/BookPlace.h"

#include "platform/Prompt.h"
#include "store/TableEngine.h"

std::optional<ServerRefusal> TryServerBook(const QString &connectionUri) {
    try {
        Database database;
        database.OpenServer(connectionUri, true);
        return std::nullopt;
    } catch (const ServerRefusal &refusal) {
        return refusal;
    } catch (const EngineError &error) {
        return ServerRefusal(ConnectRefusal::Other, error.message(), error.message());
    }
}

void OpenServerBook(Database &database, const QString &uri, bool create) {
    QString reason;
    const std::optional<BookServer::Address> address = BookServer::Parse(uri, &reason);
    if (!address)
        throw EngineError(QStringLiteral("サーバーの指定 %1 を使えません。\n%2").arg(uri, reason));
    try {
        database.OpenServer(
            BookServer::ConnectionUri(*address, BookServer::KeyringPassword(*address)), create);
    } catch (const ServerRefusal &refusal) {
        throw EngineError(BookServer::RefusalText(*address, refusal.refusal(), refusal.detail()),
                          refusal.detail());
    }
}

void OpenNamedBook(Database &database, const QString &dbPath) {
    if (const QString uri = BookServer::StoredUri(); !uri.isEmpty())
        OpenServerBook(database, uri);
    else
        database.Open(dbPath);
}

bool OpenBookAtStart(Database &database, const QString &dbPath, QString *error) {
    for (;;) {
        try {
            OpenNamedBook(database, dbPath);
            return true;
        } catch (const EngineError &failure) {
            if (BookServer::StoredUri().isEmpty()) {
                *error = failure.message();
                return false;
            }
            const int choice = prompt().Choose(
                failure.message(), QStringLiteral("サーバーに接続できません"),
                {QStringLiteral("再試行"), QStringLiteral("このパソコンの台帳を開く"),
                 QStringLiteral("終了")},
                0);
            if (choice == 0)
                continue;
            error->clear();
            if (choice != 1)
                return false;
            try {
                // The local book as the data folder holds it; never one made empty here.
                database.Open(dbPath);
                prompt().Message(QStringLiteral("このパソコンの台帳を開きました。サーバーの台帳"
                                                "とは別のものです。"));
                return true;
            } catch (const EngineError &local) {
                *error = local.message();
                return false;
            }
        }
    }
}

bool ChooseBookPlace(const std::function<bool()> &askServer) {
    for (;;) {
        const int choice = prompt().Choose(
            QStringLiteral("顧客台帳をどこに置きますか？\n\n"
                           "このパソコンだけ: 今までどおり、このパソコンに保存します。\n"
                           "事務所のサーバー: 事務所の PostgreSQL サーバーに保存し、"
                           "複数のパソコンで同じ台帳を使います。"),
            QStringLiteral("顧客台帳の保存先"),
            {QStringLiteral("このパソコンだけ"), QStringLiteral("事務所のサーバー")}, 0);
        if (choice != 1)
            return false;
        if (askServer())
            return true;
    }
}

QString KeepServer(const BookServer::Address &address, const QString &password,
                   const ConnectionTry &tryConnection) {
    if (address.host.isEmpty() || address.user.isEmpty() || address.database.isEmpty())
        return QStringLiteral("ホスト名・データベース名・ユーザー名を入力して下さい。");
    if (const std::optional<ServerRefusal> refused =
            tryConnection(BookServer::ConnectionUri(address, password)))
        return BookServer::RefusalText(address, refused->refusal(), refused->detail());
    QString error;
    if (!password.isEmpty() && !BookServer::StorePassword(address, password, &error))
        return QStringLiteral("パスワードを保存できませんでした。\n%1").arg(error);
    if (!BookServer::StoreUri(BookServer::UriOf(address), &error))
        return QStringLiteral("サーバーの指定を保存できませんでした。\n%1").arg(error);
    return {};
}
