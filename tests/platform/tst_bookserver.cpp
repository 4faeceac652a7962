#include "../common/TestEnv.h"

#include "platform/BookServer.h"
#include "platform/SecretStore.h"

#include <QFile>
#include <QTest>

namespace {

// A keyring that keeps what it is given.
class MemoryKeyring : public SecretStore {
public:
    std::optional<QString> Read(const QString &key) override { return kept.value(key); }
    bool Write(const QString &key, const QString &secret) override {
        kept.insert(key, secret);
        return true;
    }
    QHash<QString, QString> kept;
};

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBookServer : public QObject {
    Q_OBJECT

private slots:
    void uriParts_data() {
        QTest::addColumn<QString>("uri");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("hostAndPort");
        QTest::addColumn<bool>("requireSsl");
        QTest::addColumn<QString>("kept");
        QTest::newRow("full") << "postgresql://office@192.168.1.5:5433/pellor3?sslmode=prefer"
                              << true << "192.168.1.5:5433" << false
                              << "postgresql://office@192.168.1.5:5433/pellor3?sslmode=prefer";
        QTest::newRow("port and sslmode default")
            << "postgresql://office@server/book" << true << "server:5432" << false
            << "postgresql://office@server:5432/book?sslmode=prefer";
        QTest::newRow("require") << "postgres://a@h:1/d?sslmode=require" << true << "h:1" << true
                                 << "postgresql://a@h:1/d?sslmode=require";
        QTest::newRow("user with @ encoded")
            << "postgresql://a%40b@h/d" << true << "h:5432" << false
            << "postgresql://a%40b@h:5432/d?sslmode=prefer";
        QTest::newRow("password refused")
            << "postgresql://a:secret@h/d" << false << "" << false << "";
        QTest::newRow("no user") << "postgresql://h/d" << false << "" << false << "";
        QTest::newRow("no database") << "postgresql://a@h/" << false << "" << false << "";
        QTest::newRow("other scheme") << "mysql://a@h/d" << false << "" << false << "";
        QTest::newRow("sslmode disable refused")
            << "postgresql://a@h/d?sslmode=disable" << false << "" << false << "";
    }
    void uriParts() {
        QFETCH(QString, uri);
        QFETCH(bool, valid);
        QString error;
        const std::optional<BookServer::Address> address = BookServer::Parse(uri, &error);
        QCOMPARE(address.has_value(), valid);
        if (!valid) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QTEST(address->HostAndPort(), "hostAndPort");
        QTEST(address->requireSsl, "requireSsl");
        QTEST(BookServer::UriOf(*address), "kept");
        QCOMPARE(BookServer::Parse(BookServer::UriOf(*address)), address);
    }

    void passwordOnlyInTheConnectionUri() {
        const BookServer::Address address{"office", "host", 5432, "book", false};
        const QString uri = BookServer::ConnectionUri(address, "p@ss:w/rd");
        const BookServer::ClientLogin login = BookServer::SplitPassword(uri);
        QCOMPARE(login.password, QString("p@ss:w/rd"));
        QCOMPARE(login.uri, BookServer::UriOf(address));
    }

    void passwordFileWithoutKeyring() {
        TestEnv env;
        const QString path = env.root() + "pgpass";
        qputenv("PGPASSFILE", path.toUtf8());
        QFile::remove(path);
        QFile other(path);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("elsewhere:5432:*:me:keep\n");
        other.close();
        const BookServer::Address address{"off:ice", "host", 5432, "book", false};
        QCOMPARE(BookServer::StorePassword(address, "old", nullptr),
                 BookServer::PasswordPlace::PasswordFile);
        QCOMPARE(BookServer::StorePassword(address, "n\\ew", nullptr),
                 BookServer::PasswordPlace::PasswordFile);
        QCOMPARE(ReadAll(path), QByteArray("host:5432:book:off\\:ice:n\\\\ew\n"
                                           "elsewhere:5432:*:me:keep\n"));
        const QFile::Permissions others =
            QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile::permissions(path) & others, QFile::Permissions());
        // Not the registry: no INI file holds the password.
        QVERIFY(!ReadAll(env.root() + "../registry.ini").contains("n\\ew"));
        qunsetenv("PGPASSFILE");
    }

    void passwordInTheKeyringWhereOneAnswers() {
        TestEnv env;
        const QString path = env.root() + "pgpass";
        qputenv("PGPASSFILE", path.toUtf8());
        auto keyring = std::make_unique<MemoryKeyring>();
        MemoryKeyring &kept = *keyring;
        SecretStore::Install(std::move(keyring));
        const BookServer::Address address{"office", "host", 5432, "book", true};
        QCOMPARE(BookServer::StorePassword(address, "secret", nullptr),
                 BookServer::PasswordPlace::Keyring);
        QCOMPARE(BookServer::KeyringPassword(address), QString("secret"));
        QCOMPARE(kept.kept.size(), 1);
        QVERIFY(!QFile::exists(path));
        qunsetenv("PGPASSFILE");
    }

    void unreachableTextNamesHostAndPort() {
        const QString text = BookServer::UnreachableText(
            {"office", "192.168.1.5", 5433, "book", false}, "connection refused\n");
        QVERIFY(text.contains("192.168.1.5:5433"));
        QVERIFY(text.contains("接続できませんでした"));
        QVERIFY(text.endsWith("connection refused"));
    }
};

QTEST_GUILESS_MAIN(TestBookServer)
#include "tst_bookserver.moc"
