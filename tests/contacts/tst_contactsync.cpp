#include "../common/RadicaleServer.h"
#include "../common/TestEnv.h"
#include "contacts/ContactSync.h"
#include "store/ContactLinks.h"
#include "store/CustomerRecord.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

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
    // The certificate-checked connection, or plain HTTP only to this computer or with leave.
    void addressRules_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("allowHttp");
        QTest::addColumn<bool>("usable");
        QTest::newRow("https") << "https://dav.example.jp/" << false << true;
        QTest::newRow("http to another computer") << "http://dav.example.jp/" << false << false;
        QTest::newRow("http with leave") << "http://dav.example.jp/" << true << true;
        QTest::newRow("http to loopback") << "http://127.0.0.1:5232/" << false << true;
        QTest::newRow("http to localhost") << "http://localhost/" << false << true;
        QTest::newRow("another scheme") << "ftp://dav.example.jp/" << true << false;
        QTest::newRow("no host") << "dav.example.jp" << true << false;
    }
    void addressRules() {
        QFETCH(QString, url);
        QFETCH(bool, allowHttp);
        QFETCH(bool, usable);
        QCOMPARE(CardDavAddressProblem(QUrl(url), allowHttp).isEmpty(), usable);
    }

    // A card deleted on the phone deletes its customer, unless another PC changed the customer
    // since this PC read it: then the customer keeps its link for the next sync to ask again.
    void aDeletionFromThePhoneKeepsACustomerChangedElsewhere_data() {
        QTest::addColumn<bool>("changedElsewhere");
        QTest::newRow("unchanged") << false;
        QTest::newRow("changed by another PC") << true;
    }
    void aDeletionFromThePhoneKeepsACustomerChangedElsewhere() {
        QFETCH(bool, changedElsewhere);
        TestEnv env;
        const int id = env.AddCustomer(u"山田 太郎"_s, u"ﾔﾏﾀﾞ ﾀﾛｳ"_s);
        StoreContactLink(env.db(), {id, u"uid"_s, u"/phone/a.vcf"_s, u"1"_s, u"h"_s, {}});
        Query query(env.db());
        LoadCustomerRecord(query, id);
        if (changedElsewhere)
            env.Run(u"update Usertbl set RowVersion = RowVersion + 1 where UserId = %1"_s.arg(id));
        ContactSync sync(env.db(), env.dataPath(), {u"http://127.0.0.1:9/"_s, "", "", false});
        sync.AcceptDeletion({id, u"山田 太郎"_s});
        QCOMPARE(env.Scalar(u"select count(*) from Usertbl"_s), changedElsewhere ? u"1"_s : u"0"_s);
        QCOMPARE(CardPath(env.db(), id), changedElsewhere ? u"/phone/a.vcf"_s : QString());
    }

    // The phone adds, changes and deletes cards; the book adds, changes and deletes customers;
    // both change one customer. Each sync's counts, what the book holds and what the server
    // holds after it.
    void syncWithPhone() {
        RadicaleServer server;
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
