#include "Bench.h"

#include "../tests/common/RadicaleServer.h"
#include "../tests/common/TestEnv.h"
#include "contacts/ContactSync.h"
#include "store/ClassTable.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/TableEngine.h"

#include <QFile>
#include <cstdio>

namespace {

constexpr int Cards = 10000;

} // namespace

// A sync of a book whose cards are all on the loopback server and in step: one request, and the
// comparison of every customer with its card as last synced.
PELLOR3_BENCH_FIGURE(CardDavUnchanged10000, "carddav_sync_unchanged_10000_ms", "ms") {
    RadicaleServer server;
    if (!server.running())
        qFatal("Radicale could not be started on loopback");
    TestEnv env;
    {
        Transaction transaction(env.db());
        for (int i = 0; i < Cards; ++i)
            env.Run(QStringLiteral("insert into Usertbl (Name, Kana, TelNo_1, Mail_1) values "
                                   "('顧客 %1', 'ｺｷｬｸ %1', '03-1234-%2', 'user%1@example.jp')")
                        .arg(i)
                        .arg(i % 10000, 4, 10, QLatin1Char('0')));
        transaction.Commit();
    }
    // Radicale stores about seven cards a second through PUT, so the cards are laid into its
    // folder as the first sync would have written them; that sync then finds each customer's
    // card by its UID and links it.
    Query query(env.db());
    const QStringList classNames1 = ReadClassNamesById(query, ClassAxis::First);
    const QStringList classNames2 = ReadClassNamesById(query, ClassAxis::Second);
    for (const CustomerRecord &record : LoadCustomerRecords(query, CustomerIdsByReading(query))) {
        VCard::Card card{record,
                         {classNames1.value(record.classId), classNames2.value(record.classId2)},
                         {},
                         VCard::BookUid(env.dataPath(), record.userId)};
        QFile file(server.BookFolder() + QString(card.uid).remove(QStringLiteral("urn:uuid:")) +
                   QStringLiteral(".vcf"));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(VCard::WriteCard(card, {VCard::Version::V3, {}, env.dataPath()})) < 0)
            qFatal("the card could not be laid out");
    }
    // Radicale reads new files into its cache at the first request, for minutes with 10 000;
    // the phone's export of the whole book does that before the sync asks.
    QByteArray everyCard;
    if (!server.Phone({QStringLiteral("get"), QStringLiteral("/phone/book/")}, &everyCard, 900000))
        qFatal("Radicale did not read the cards");
    const CardDavSettings settings{server.base() + QStringLiteral("/phone/book/"),
                                   QStringLiteral("phone"), QStringLiteral("secret"), false};
    ContactSync::Outcome first;
    const double firstMs =
        ElapsedMs([&] { first = ContactSync(env.db(), env.dataPath(), settings).Run(false); });
    std::printf("carddav_first_sync_linking_10000_ms: %.0f ms\n", firstMs);
    if (first.uploaded + first.downloaded != 0 || !first.conflicts.empty())
        qFatal("the laid-out cards were not linked to their customers");
    return MedianMs(3, [&] {
        const ContactSync::Outcome outcome =
            ContactSync(env.db(), env.dataPath(), settings).Run(false);
        if (outcome.requests != 1 || outcome.uploaded + outcome.downloaded != 0)
            qFatal("the unchanged book was not left alone");
    });
}
