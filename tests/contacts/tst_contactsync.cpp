#include "../common/TestEnv.h"
#include "contacts/ContactSync.h"
#include "store/ContactLinks.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Radicale on loopback with its own storage and one user, and the phone beside it.
class Radicale {
public:
    Radicale() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port_ = probe.serverPort();
        probe.close();
        QFile users(dir_.filePath("users"));
        if (!users.open(QIODevice::WriteOnly) || users.write("phone:secret\n") < 0)
            return;
        users.close();
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start("/usr/bin/python3",
                       {"-m", "radicale", "--config", "", "--server-hosts",
                        QStringLiteral("127.0.0.1:%1").arg(port_), "--storage-filesystem-folder",
                        dir_.filePath("storage"), "--auth-type", "htpasswd",
                        "--auth-htpasswd-filename", users.fileName(), "--auth-htpasswd-encryption",
                        "plain", "--rights-type", "owner_only"});
        QElapsedTimer waited;
        waited.start();
        while (process_.state() != QProcess::NotRunning && waited.elapsed() < 10000) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port_);
            if (socket.waitForConnected(200)) {
                running_ = Phone({"mkbook", "/phone/book/"});
                return;
            }
            QTest::qWait(100);
        }
    }
    ~Radicale() {
        process_.kill();
        process_.waitForFinished();
    }
    bool running() const { return running_; }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

    bool Phone(QStringList arguments, QByteArray *output = nullptr) {
        QProcess phone;
        arguments =
            QStringList{PELLOR3_SOURCE_DIR "/tests/contacts/phone.py", base(), "phone", "secret"} +
            arguments;
        phone.start("/usr/bin/python3", arguments);
        phone.waitForFinished(20000);
        if (output)
            *output = phone.readAllStandardOutput();
        return phone.exitStatus() == QProcess::NormalExit && phone.exitCode() == 0;
    }
    bool Put(const QString &path, const QString &card) {
        QFile file(dir_.filePath("card.vcf"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(card.toUtf8());
        file.close();
        return Phone({"put", path, file.fileName()});
    }
    QString Get(const QString &path) {
        QByteArray card;
        return Phone({"get", path}, &card) ? QString::fromUtf8(card) : QString();
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 port_ = 0;
    bool running_ = false;
};

QString CardPath(Database &database, int userId) {
    for (const ContactLink &link : ReadContactLinks(database))
        if (link.userId == userId)
            return link.href;
    return {};
}

} // namespace

class TestContactSync : public QObject {
    Q_OBJECT

private slots:
    // The phone adds, changes and deletes cards; the book adds, changes and deletes customers;
    // both change one customer. Each sync's counts, what the book holds and what the server
    // holds after it.
    void syncWithPhone() {
        Radicale server;
        if (!server.running())
            QSKIP("Radicale (Debian radicale, python3-caldav) could not be started on loopback");
        TestEnv env;
        const int yamada = env.AddCustomer(u"山田 太郎"_s, u"ﾔﾏﾀﾞ ﾀﾛｳ"_s);
        const int sato = env.AddCustomer(u"佐藤 花子"_s, u"ｻﾄｳ ﾊﾅｺ"_s);
        env.Run(u"update Usertbl set TelNo_1 = '03-1111-2222' where UserId = %1"_s.arg(yamada));
        // Found from the server's address through the well-known address and the principal.
        ContactSync sync(env.db(), env.dataPath(), {server.base() + "/", "phone", "secret", false});
        const auto counts = [](const ContactSync::Outcome &o) {
            return QStringLiteral("up %1 down %2 server-deleted %3 book-deleted %4 conflicts %5 "
                                  "asked %6")
                .arg(o.uploaded)
                .arg(o.downloaded)
                .arg(o.deletedOnServer)
                .arg(o.deletedInBook)
                .arg(o.conflicts.size())
                .arg(o.deletions.size());
        };
        QCOMPARE(counts(sync.Run(false)), u"up 2 down 0 server-deleted 0 book-deleted 0 "
                                          "conflicts 0 asked 0"_s);
        const QString yamadaPath = CardPath(env.db(), yamada);
        const QString satoPath = CardPath(env.db(), sato);
        QVERIFY(server.Get(yamadaPath).contains(u"TEL;TYPE=home,voice:03-1111-2222"_s));

        // An unchanged book asks the server once.
        ContactSync again(env.db(), env.dataPath(),
                          {server.base() + "/", "phone", "secret", false});
        const ContactSync::Outcome unchanged = again.Run(false);
        QCOMPARE(unchanged.requests, 1);
        QCOMPARE(unchanged.uploaded + unchanged.downloaded, 0);

        // The phone: a new card with its reading, a changed card with a URL the book has no
        // field for, a deleted card.
        QVERIFY(server.Put("/phone/book/new.vcf",
                           u"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nN:鈴木;一郎;;;\r\n"
                           "FN:鈴木 一郎\r\nX-PHONETIC-LAST-NAME:すずき\r\n"
                           "X-PHONETIC-FIRST-NAME:いちろう\r\nEND:VCARD\r\n"_s));
        QString changed = server.Get(yamadaPath);
        changed.replace(u"03-1111-2222"_s, u"03-9999-0000"_s)
            .replace(u"END:VCARD"_s, u"URL:https://yamada.example.jp/\r\nEND:VCARD"_s);
        QVERIFY(server.Put(yamadaPath, changed));
        QVERIFY(server.Phone({"delete", satoPath}));
        QCOMPARE(counts(sync.Run(false)), u"up 0 down 2 server-deleted 0 book-deleted 0 "
                                          "conflicts 0 asked 1"_s);
        QCOMPARE(env.Scalar(u"select TelNo_1 from Usertbl where UserId = %1"_s.arg(yamada)),
                 u"03-9999-0000"_s);
        QCOMPARE(env.Scalar(u"select Kana from Usertbl where Name = '鈴木 一郎'"_s),
                 u"ｽｽﾞｷ ｲﾁﾛｳ"_s);
        // Deleted on the server, kept in the book until the user accepts.
        QCOMPARE(env.Scalar(u"select count(*) from Usertbl where UserId = %1"_s.arg(sato)), "1");
        QCOMPARE(counts(sync.Run(true)), u"up 0 down 0 server-deleted 0 book-deleted 1 "
                                         "conflicts 0 asked 0"_s);
        QCOMPARE(env.Scalar(u"select count(*) from Usertbl where UserId = %1"_s.arg(sato)), "0");

        // Changed on both sides: a conflict, nothing overwritten; the book's version chosen
        // goes up with the phone's URL kept.
        env.Run(u"update Usertbl set Mail_1 = 'taro@example.jp' where UserId = %1"_s.arg(yamada));
        changed = server.Get(yamadaPath).replace(u"03-9999-0000"_s, u"03-5555-6666"_s);
        QVERIFY(server.Put(yamadaPath, changed));
        const ContactSync::Outcome conflicted = sync.Run(false);
        QCOMPARE(counts(conflicted), u"up 0 down 0 server-deleted 0 book-deleted 0 "
                                     "conflicts 1 asked 0"_s);
        QCOMPARE(env.Scalar(u"select TelNo_1 from Usertbl where UserId = %1"_s.arg(yamada)),
                 u"03-9999-0000"_s);
        QVERIFY(server.Get(yamadaPath).contains(u"03-5555-6666"_s));
        QVERIFY(sync.KeepBook(conflicted.conflicts.front()));
        const QString kept = server.Get(yamadaPath);
        QVERIFY(kept.contains(u"taro@example.jp"_s) && kept.contains(u"03-9999-0000"_s));
        QVERIFY(kept.contains(u"URL:https://yamada.example.jp/"_s));

        // Deleted in the book: the card goes.
        env.Run(u"delete from Usertbl where UserId = %1"_s.arg(yamada));
        QCOMPARE(counts(sync.Run(false)), u"up 0 down 0 server-deleted 1 book-deleted 0 "
                                          "conflicts 0 asked 0"_s);
        QVERIFY(server.Get(yamadaPath).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestContactSync)
#include "tst_contactsync.moc"
