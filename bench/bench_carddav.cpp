#include "Bench.h"

#include "../tests/common/RadicaleServer.h"
#include "../tests/common/TestEnv.h"
#include "contacts/ContactSync.h"
#include "store/TableEngine.h"

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
    const CardDavSettings settings{server.base() + QStringLiteral("/phone/book/"),
                                   QStringLiteral("phone"), QStringLiteral("secret"), false};
    ContactSync(env.db(), env.dataPath(), settings).Run(false);
    return MedianMs(3, [&] {
        const ContactSync::Outcome outcome =
            ContactSync(env.db(), env.dataPath(), settings).Run(false);
        if (outcome.requests != 1 || outcome.uploaded + outcome.downloaded != 0)
            qFatal("the unchanged book was not left alone");
    });
}
