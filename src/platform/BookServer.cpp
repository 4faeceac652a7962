#include "platform/BookServer.h"

#include "core/TextFile.h"
#include "platform/Registry.h"
#include "platform/SecretStore.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QUrlQuery>

namespace BookServer {

namespace {

QString KeyringKey(const Address &address) {
    return QStringLiteral("bookserver/%1@%2/%3")
        .arg(address.user, address.HostAndPort(), address.database);
}

QString Escaped(QString field) {
    return field.replace(u'\\', QStringLiteral("\\\\")).replace(u':', QStringLiteral("\\:"));
}

// The first four fields of a password file line, escapes kept, so a line is matched as written.
QString LineKey(const QString &line) {
    int fields = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == u'\\')
            ++i;
        else if (line.at(i) == u':' && ++fields == 4)
            return line.left(i);
    }
    return {};
}

} // namespace

QString Address::HostAndPort() const {
    return QStringLiteral("%1:%2").arg(host).arg(port);
}

std::optional<Address> Parse(const QString &uri, QString *error) {
    const auto fail = [error](const QString &reason) -> std::optional<Address> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QUrl url(uri.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QStringLiteral("postgresql") &&
                           url.scheme() != QStringLiteral("postgres")))
        return fail(QStringLiteral("サーバーの指定は postgresql://ユーザー名@ホスト名:ポート番号/"
                                   "データベース名 の形で書いて下さい。"));
    if (!url.password().isEmpty())
        return fail(QStringLiteral("サーバーの指定にパスワードを含めないで下さい。"
                                   "パスワードは別に保存されます。"));
    Address address{url.userName(), url.host(), url.port(DefaultPort), url.path().mid(1), false};
    if (address.user.isEmpty() || address.host.isEmpty() || address.database.isEmpty() ||
        address.database.contains(u'/'))
        return fail(QStringLiteral("サーバーの指定にユーザー名・ホスト名・データベース名が"
                                   "そろっていません。"));
    const QString sslMode = QUrlQuery(url).queryItemValue(QStringLiteral("sslmode"));
    if (sslMode == QStringLiteral("require"))
        address.requireSsl = true;
    else if (!sslMode.isEmpty() && sslMode != QStringLiteral("prefer"))
        return fail(
            QStringLiteral("sslmode には prefer か require を指定して下さい（%1）。").arg(sslMode));
    return address;
}

QString UriOf(const Address &address) {
    return ConnectionUri(address, {});
}

QString ConnectionUri(const Address &address, const QString &password) {
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(address.user);
    if (!password.isEmpty())
        url.setPassword(password);
    url.setHost(address.host);
    url.setPort(address.port);
    url.setPath(u'/' + address.database);
    url.setQuery(QStringLiteral("sslmode=") +
                 (address.requireSsl ? QStringLiteral("require") : QStringLiteral("prefer")));
    return url.toString(QUrl::FullyEncoded);
}

ClientLogin SplitPassword(const QString &connectionUri) {
    QUrl url(connectionUri);
    const QString password = url.password();
    url.setPassword({});
    return {url.toString(QUrl::FullyEncoded), password};
}

QString StoredUri() {
    return Registry::ReadString(Registry::ProgramKey, RegistryName).trimmed();
}

bool StoreUri(const QString &uri, QString *error) {
    return Registry::WriteString(Registry::ProgramKey, RegistryName, uri, error);
}

std::optional<PasswordPlace> StorePassword(const Address &address, const QString &password,
                                           QString *error) {
    if (secrets().Write(KeyringKey(address), password))
        return PasswordPlace::Keyring;
    const QString path = PasswordFilePath();
    const QString line = PasswordFileLine(address, password);
    QStringList lines;
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    const QString key = LineKey(line);
    lines.removeIf([&key](const QString &kept) { return LineKey(kept) == key; });
    // libpq takes the first matching line; the newest password goes first.
    lines.prepend(line);
    // libpq ignores a password file that others can read.
    if (QFile file(path); !file.exists())
        file.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner);
    else
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!TextFile::WriteFileAtomically(path, (lines.join(u'\n') + u'\n').toUtf8(), error))
        return std::nullopt;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return PasswordPlace::PasswordFile;
}

QString KeyringPassword(const Address &address) {
    return secrets().Read(KeyringKey(address)).value_or(QString());
}

QString PasswordFilePath() {
    const QString overridden = qEnvironmentVariable("PGPASSFILE");
    return overridden.isEmpty() ? QDir::home().filePath(QStringLiteral(".pgpass")) : overridden;
}

QString PasswordFileLine(const Address &address, const QString &password) {
    return QStringList{Escaped(address.host), QString::number(address.port),
                       Escaped(address.database), Escaped(address.user), Escaped(password)}
        .join(u':');
}

QString UnreachableText(const Address &address, const QString &detail) {
    return QStringLiteral("顧客台帳のサーバー %1（データベース %2）に接続できませんでした。\n"
                          "サーバーのパソコンが起動しているか、ネットワークにつながっているか"
                          "確かめて下さい。\n\n%3")
        .arg(address.HostAndPort(), address.database, detail.trimmed());
}

QString RefusalText(const Address &address, ConnectRefusal refusal, const QString &detail) {
    const QString server = address.HostAndPort();
    QString text;
    switch (refusal) {
    case ConnectRefusal::Unreachable:
        return UnreachableText(address, detail);
    case ConnectRefusal::NoPassword:
        text = QStringLiteral("顧客台帳のサーバー %1 はユーザー %2 のパスワードを求めていますが、"
                              "このパソコンにはパスワードが保存されていません。\n"
                              "台帳の保存先の設定でパスワードを入力して下さい。")
                   .arg(server, address.user);
        break;
    case ConnectRefusal::WrongPassword:
        text = QStringLiteral("顧客台帳のサーバー %1 が、ユーザー %2 のパスワードを受け付けません"
                              "でした。\nパスワードが正しいか確かめて、台帳の保存先の設定で"
                              "入力し直して下さい。")
                   .arg(server, address.user);
        break;
    case ConnectRefusal::NotPermitted:
        text = QStringLiteral("顧客台帳のサーバー %1 は、このパソコンからのユーザー %2 の接続を"
                              "許可していません。\nサーバーの管理者に接続の許可"
                              "（pg_hba.conf）を確かめてもらって下さい。")
                   .arg(server, address.user);
        break;
    case ConnectRefusal::SslRequired:
        text = QStringLiteral("顧客台帳のサーバー %1 は、暗号化（SSL）した接続だけを受け付けます。"
                              "\n台帳の保存先の設定で SSL を必須にして下さい。")
                   .arg(server);
        break;
    case ConnectRefusal::SslRefused:
        text = QStringLiteral("顧客台帳のサーバー %1 と暗号化（SSL）した接続ができませんでした。"
                              "\nサーバーで SSL が使えるようになっているか、管理者に確かめて"
                              "もらって下さい。")
                   .arg(server);
        break;
    case ConnectRefusal::NoDatabase:
        text = QStringLiteral("顧客台帳のサーバー %1 にデータベース %2 がありません。\n"
                              "データベース名が正しいか確かめて下さい。")
                   .arg(server, address.database);
        break;
    case ConnectRefusal::Other:
        text = QStringLiteral("顧客台帳のサーバー %1（データベース %2）の台帳を開けませんでした。")
                   .arg(server, address.database);
        break;
    }
    return text + QStringLiteral("\n\n") + detail.trimmed();
}

} // namespace BookServer
