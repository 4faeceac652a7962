#include "Bench.h"
#include "BenchBook.h"

#include "../tests/common/TestEnv.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/PostgresEngine.h"

#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <libpq-fe.h>
#include <mutex>
#include <sys/select.h>
#include <thread>
#include <vector>

// Five PCs, each a thread with a connection of its own, edit, mark, add and delete among 1 000
// customers of one server book for a minute; meanwhile a sixth connection times how soon a
// change of its own reaches a listening one.
namespace {

constexpr int Pcs = 5;
constexpr int Customers = 1000;

// One change a PC was told was stored: the row's version it left, and for an edit its text.
struct Acknowledged {
    int userId;
    int version;
    QString note; // empty for a mark
};

struct PcTally {
    int saves = 0;
    int conflicts = 0;
    int deadlocks = 0;
    std::vector<double> saveMs;
    std::vector<Acknowledged> acknowledged;
    QList<int> deleted;
};

struct OfficeFigures {
    double saves = NAN, conflicts = NAN, lostUpdates = NAN, deadlocks = NAN, saveP50 = NAN,
           saveP99 = NAN, notifyP50 = NAN, bareUpdateP50 = NAN;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}

int RunSeconds() {
    const int asked = qEnvironmentVariableIntValue("PELLOR3_BENCH_OFFICE_SECONDS");
    return asked > 0 ? asked : 60;
}

bool IsDeadlock(const EngineError &error) {
    return error.detail().contains(QStringLiteral("deadlock"));
}

void WorkAsPc(const QString &uri, int pc, qint64 until, std::atomic<int> &highestId,
              PcTally &tally) {
    Database book;
    book.OpenServer(uri);
    Query query(book);
    QRandomGenerator random(quint32(17 + pc));
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; clock.elapsed() < until; ++round) {
        const int userId = 1 + random.bounded(highestId.load());
        const int kind = random.bounded(100);
        try {
            if (kind < 8) {
                highestId.store(std::max(highestId.load(),
                                         InsertCustomer(query, QStringLiteral("追加 %1").arg(pc),
                                                        QStringLiteral("ﾂｲｶ"))));
                continue;
            }
            std::optional<CustomerRecord> row = LoadCustomerRecord(query, userId);
            if (!row)
                continue;
            if (kind < 12) {
                if (DeleteCustomerRow(query, userId))
                    tally.deleted << userId;
                else
                    ++tally.conflicts;
            } else if (kind < 30) {
                if (SetPrintMark(query, userId, !row->print))
                    tally.acknowledged.push_back({userId, row->rowVersion + 1, {}});
                else
                    ++tally.conflicts;
            } else {
                row->note = QStringLiteral("PC%1 %2").arg(pc).arg(round);
                SaveOutcome outcome = SaveOutcome::Gone;
                tally.saveMs.push_back(
                    ElapsedMs([&] { outcome = SaveCustomerRecord(query, *row); }));
                ++tally.saves;
                if (outcome == SaveOutcome::Saved)
                    tally.acknowledged.push_back({userId, row->rowVersion + 1, row->note});
                else if (outcome == SaveOutcome::Changed)
                    ++tally.conflicts;
            }
        } catch (const EngineError &error) {
            if (IsDeadlock(error))
                ++tally.deadlocks;
            else
                std::fprintf(stderr, "office PC%d: %s\n", pc, qPrintable(error.message()));
        }
    }
}

// Two acknowledged changes leaving one row at the same version overwrote one another; the
// last acknowledged edit of a row still there must be what the book holds.
int LostUpdates(Database &book, const std::vector<PcTally> &tallies) {
    QHash<int, QHash<int, int>> claims;
    QHash<int, Acknowledged> latest;
    QSet<int> deleted;
    for (const PcTally &tally : tallies) {
        for (const int userId : tally.deleted)
            deleted.insert(userId);
        for (const Acknowledged &change : tally.acknowledged) {
            ++claims[change.userId][change.version];
            if (!latest.contains(change.userId) || latest[change.userId].version < change.version)
                latest[change.userId] = change;
        }
    }
    int lost = 0;
    for (const auto &versions : claims)
        for (const int count : versions)
            lost += count - 1;
    Query query(book);
    for (const Acknowledged &change : latest) {
        if (deleted.contains(change.userId))
            continue;
        const std::optional<CustomerRecord> row = LoadCustomerRecord(query, change.userId);
        if (!row || row->rowVersion < change.version ||
            (row->rowVersion == change.version && !change.note.isEmpty() &&
             row->note != change.note))
            ++lost;
    }
    return lost;
}

// Times a change stored through `sender` until `listener` hears of it, while the PCs work.
std::vector<double> NotifyTimes(const QString &uri, qint64 until) {
    Database sender;
    sender.OpenServer(uri);
    Database listener;
    listener.OpenServer(uri);
    auto &listening = static_cast<PostgresEngine &>(listener.GetEngine());
    listening.JoinOffice(QStringLiteral("bench-listener"));
    PGconn *conn = listening.Connection();
    const int senderPid =
        PQbackendPID(static_cast<PostgresEngine &>(sender.GetEngine()).Connection());
    Query query(sender);
    std::vector<double> times;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < until) {
        std::optional<CustomerRecord> row = LoadCustomerRecord(query, 1);
        if (!row)
            break;
        QElapsedTimer heard;
        heard.start();
        SaveCustomerRecord(query, *row);
        bool seen = false;
        while (!seen && heard.elapsed() < 2000) {
            fd_set read;
            FD_ZERO(&read);
            FD_SET(PQsocket(conn), &read);
            timeval wait{0, 100000};
            select(PQsocket(conn) + 1, &read, nullptr, nullptr, &wait);
            if (PQconsumeInput(conn) == 0)
                return times;
            while (PGnotify *notice = PQnotifies(conn)) {
                seen = seen || notice->be_pid == senderPid;
                PQfreemem(notice);
            }
        }
        times.push_back(heard.nsecsElapsed() / 1e6);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return times;
}

// A plain prepared update through libpq, none of the store's work around it.
double BareUpdateP50(Database &book) {
    BareStatement update(static_cast<PostgresEngine &>(book.GetEngine()).Connection(),
                         "update usertbl set note = $1 where userid = $2", 2);
    std::vector<double> times;
    for (int round = 0; round < 201; ++round) {
        const QList<QByteArray> values{QByteArray::number(round),
                                       QByteArray::number(1 + round % 100)};
        times.push_back(ElapsedMs([&] { update.Run(values); }));
    }
    return Percentile(times, 0.5);
}

OfficeFigures RunOffice() {
    OfficeFigures figures;
    if (TestServerUri().isEmpty()) {
        std::fprintf(stderr, "office: PELLOR3_TEST_SERVER is not set; nothing measured\n");
        return figures;
    }
    TestServerDatabase server;
    Database book;
    book.OpenServer(server.uri(), true);
    {
        Transaction transaction(book);
        Query query(book);
        for (int i = 0; i < Customers; ++i)
            InsertCustomer(query, QStringLiteral("顧客 %1").arg(i), QStringLiteral("ｺｷｬｸ"));
        transaction.Commit();
    }
    const qint64 until = qint64(RunSeconds()) * 1000;
    std::atomic<int> highestId{Customers};
    std::vector<PcTally> tallies(Pcs);
    std::vector<std::thread> pcs;
    for (int pc = 0; pc < Pcs; ++pc)
        pcs.emplace_back(WorkAsPc, server.uri(), pc, until, std::ref(highestId),
                         std::ref(tallies[size_t(pc)]));
    const std::vector<double> notify = NotifyTimes(server.uri(), until);
    for (std::thread &pc : pcs)
        pc.join();

    std::vector<double> saveMs;
    figures.saves = figures.conflicts = figures.deadlocks = 0;
    for (const PcTally &tally : tallies) {
        figures.saves += tally.saves;
        figures.conflicts += tally.conflicts;
        figures.deadlocks += tally.deadlocks;
        saveMs.insert(saveMs.end(), tally.saveMs.begin(), tally.saveMs.end());
    }
    figures.lostUpdates = LostUpdates(book, tallies);
    figures.saveP50 = Percentile(saveMs, 0.5);
    figures.saveP99 = Percentile(saveMs, 0.99);
    figures.notifyP50 = Percentile(notify, 0.5);
    figures.bareUpdateP50 = BareUpdateP50(book);
    book.Close();
    return figures;
}

const OfficeFigures &Office() {
    static const OfficeFigures figures = RunOffice();
    return figures;
}

} // namespace

PELLOR3_BENCH_FIGURE(OfficeSaves, "office_saves", "saves") {
    return Office().saves;
}
PELLOR3_BENCH_FIGURE(OfficeConflicts, "office_conflicts", "conflicts") {
    return Office().conflicts;
}
PELLOR3_BENCH_FIGURE(OfficeLostUpdates, "office_lost_updates", "updates") {
    return Office().lostUpdates;
}
PELLOR3_BENCH_FIGURE(OfficeDeadlocks, "office_deadlocks", "deadlocks") {
    return Office().deadlocks;
}
PELLOR3_BENCH_FIGURE(OfficeSaveP50, "office_save_p50_ms", "ms") {
    return Office().saveP50;
}
PELLOR3_BENCH_FIGURE(OfficeSaveP99, "office_save_p99_ms", "ms") {
    return Office().saveP99;
}
PELLOR3_BENCH_FIGURE(OfficeNotifyP50, "office_notify_p50_ms", "ms") {
    return Office().notifyP50;
}
PELLOR3_BENCH_FIGURE(OfficeBareUpdateP50, "office_bare_update_p50_ms", "ms") {
    return Office().bareUpdateP50;
}
