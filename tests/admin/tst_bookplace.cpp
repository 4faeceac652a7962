#include "../common/TestEnv.h"

#include "admin/BookPlace.h"
#include "platform/Registry.h"

#include <QFile>
#include <QTest>

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
        const QString problem = KeepServer(address, "s3cret", [&](const QString &uri) {
            tried = uri;
            return failure;
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
