#include "../common/TestEnv.h"

#include "admin/BookPlace.h"
#include "platform/Registry.h"

#include <QFile>
#include <QTest>
#include <QUrl>

namespace {

// A loopback port nothing listens on: the connection is refused at once.
const QString Unreachable = QStringLiteral("postgresql://office@127.0.0.1:1/book?sslmode=prefer");

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBookPlace : public QObject {
    Q_OBJECT

private slots:
    void theAddressIsKeptOnlyWhenTheBookOpened_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("opened") << "";
        QTest::newRow("refused") << "password authentication failed";
    }
    void theAddressIsKeptOnlyWhenTheBookOpened() {
        QFETCH(QString, failure);
        TestEnv env;
        const QString passwordFile = env.root() + "pgpass";
        qputenv("PGPASSFILE", passwordFile.toUtf8());
        const BookServer::Address address{"office", "192.168.1.5", 5433, "book", true};
        QString tried;
        const QString problem =
            KeepServer(address, "s3cret", [&](const QString &uri) -> std::optional<ServerRefusal> {
                tried = uri;
                if (failure.isEmpty())
                    return std::nullopt;
                return ServerRefusal(ConnectRefusal::WrongPassword, failure, failure);
            });
        QVERIFY(tried.contains("s3cret"));
        QCOMPARE(problem.isEmpty(), failure.isEmpty());
        QCOMPARE(BookServer::StoredUri(),
                 failure.isEmpty() ? BookServer::UriOf(address) : QString());
        QCOMPARE(ReadAll(passwordFile).contains("s3cret"), failure.isEmpty());
        QVERIFY(!ReadAll(Registry::FilePath()).contains("s3cret"));
        if (!failure.isEmpty())
            QVERIFY(problem.contains("192.168.1.5:5433") && problem.contains(failure));
        qunsetenv("PGPASSFILE");
    }

    void firstStartChoice_data() {
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<QList<bool>>("windowAnswers");
        QTest::addColumn<bool>("server");
        QTest::addColumn<int>("windowsShown");
        QTest::newRow("Enter: this PC") << QList<int>{} << QList<bool>{} << false << 0;
        QTest::newRow("closed: this PC") << QList<int>{-1} << QList<bool>{} << false << 0;
        QTest::newRow("server kept") << QList<int>{1} << QList<bool>{true} << true << 1;
        QTest::newRow("window cancelled, then this PC")
            << QList<int>{1, 0} << QList<bool>{false} << false << 1;
    }
    void firstStartChoice() {
        QFETCH(QList<int>, choices);
        QFETCH(QList<bool>, windowAnswers);
        TestEnv env;
        for (int choice : choices)
            env.prompt().PushChoice(choice);
        int shown = 0;
        QTEST(ChooseBookPlace([&] { return windowAnswers.value(shown++); }), "server");
        QTEST(shown, "windowsShown");
        QCOMPARE(env.prompt().Texts("choose").size(), qMax<qsizetype>(1, choices.size()));
    }

    void anUnreachableServerAsks_data() {
        QTest::addColumn<QList<int>>("choices");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("questions");
        QTest::newRow("retry, then the local book") << QList<int>{0, 1} << true << 2;
        QTest::newRow("end") << QList<int>{2} << false << 1;
        QTest::newRow("closed") << QList<int>{-1} << false << 1;
    }
    void anUnreachableServerAsks() {
        QFETCH(QList<int>, choices);
        TestEnv env;
        QVERIFY(BookServer::StoreUri(Unreachable, nullptr));
        for (int choice : choices)
            env.prompt().PushChoice(choice);
        Database database;
        QString error;
        QTEST(OpenBookAtStart(database, env.dbPath(), &error), "opened");
        QVERIFY(error.isEmpty());
        const QStringList questions = env.prompt().Texts("choose");
        QTEST(int(questions.size()), "questions");
        QVERIFY(questions.first().contains("127.0.0.1:1"));
        QCOMPARE(database.IsOpen() && !database.IsOnServer(), choices.contains(1));
    }

    // Each way the throw-away server turns a book away (its pg_hba.conf asks a password of
    // pellor3_password and refuses pellor3_encrypted unencrypted) is told by its cause.
    void aRefusedServerIsToldByItsCause_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("database");
        QTest::addColumn<bool>("requireSsl");
        QTest::addColumn<bool>("closedPort");
        QTest::addColumn<int>("refusal");
        QTest::addColumn<QString>("told");
        QTest::newRow("closed port") << "pellor3"
                                     << ""
                                     << "postgres" << false << true
                                     << int(ConnectRefusal::Unreachable) << "接続できませんでした";
        QTest::newRow("missing database")
            << "pellor3"
            << ""
            << "pellor3_no_such_book" << false << false << int(ConnectRefusal::NoDatabase)
            << "データベース pellor3_no_such_book がありません";
        QTest::newRow("wrong password")
            << "pellor3_password"
            << "wrong"
            << "postgres" << false << false << int(ConnectRefusal::WrongPassword)
            << "パスワードを受け付けませんでした";
        QTest::newRow("no password")
            << "pellor3_password"
            << ""
            << "postgres" << false << false << int(ConnectRefusal::NoPassword)
            << "パスワードが保存されていません";
        QTest::newRow("server wants SSL")
            << "pellor3_encrypted"
            << ""
            << "postgres" << false << false << int(ConnectRefusal::SslRequired)
            << "暗号化（SSL）した接続だけを受け付けます";
        QTest::newRow("SSL required, server has none")
            << "pellor3"
            << ""
            << "postgres" << true << false << int(ConnectRefusal::SslRefused)
            << "暗号化（SSL）した接続ができませんでした";
    }
    void aRefusedServerIsToldByItsCause() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, database);
        QFETCH(bool, requireSsl);
        QFETCH(bool, closedPort);
        QFETCH(QString, told);
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        TestEnv env;
        qputenv("PGPASSFILE", (env.root() + "no-pgpass").toUtf8());
        const QUrl server(TestServerUri());
        const BookServer::Address address{user, server.host(), closedPort ? 1 : server.port(),
                                          database, requireSsl};
        Database book;
        try {
            book.OpenServer(BookServer::ConnectionUri(address, password));
            QFAIL("the book opened");
        } catch (const ServerRefusal &refused) {
            QTEST(int(refused.refusal()), "refusal");
            const QString text =
                BookServer::RefusalText(address, refused.refusal(), refused.detail());
            QVERIFY2(text.contains(told) && text.contains(address.HostAndPort()), qPrintable(text));
        }
        qunsetenv("PGPASSFILE");
    }

    void theLocalBookIsNeverMadeEmpty() {
        TestEnv env;
        env.db().Close();
        QVERIFY(QFile::remove(env.dbPath() + Database::FileName));
        QVERIFY(BookServer::StoreUri(Unreachable, nullptr));
        env.prompt().PushChoice(1);
        Database database;
        QString error;
        QVERIFY(!OpenBookAtStart(database, env.dbPath(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(env.dbPath() + Database::FileName));
    }
};

QTEST_MAIN(TestBookPlace)
#include "tst_bookplace.moc"
