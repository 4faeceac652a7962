#include "store/BookChanges.h"

#include "store/PostgresEngine.h"
#include "store/TableEngine.h"

#include <QSocketNotifier>
#include <QTimer>
#include <libpq-fe.h>

namespace {

// Half the time within which the other PCs must show a change.
constexpr int PollMilliseconds = 500;

PGconn *ConnectionOf(Database &database) {
    if (!database.IsOpen() || !database.IsOnServer())
        return nullptr;
    auto *engine = dynamic_cast<PostgresEngine *>(&database.GetEngine());
    return engine ? engine->Connection() : nullptr;
}

} // namespace

BookChanges::BookChanges(Database &database, const QString &pcName, QObject *parent)
    : QObject(parent), database_(database), pcName_(pcName) {
    if (!ConnectionOf(database_))
        return;
    Join(pcName);
    poll_ = new QTimer(this);
    connect(poll_, &QTimer::timeout, this, &BookChanges::Poll);
    poll_->start(PollMilliseconds);
}

void BookChanges::Join(const QString &pcName) {
    PGconn *conn = ConnectionOf(database_);
    static_cast<PostgresEngine &>(database_.GetEngine()).JoinOffice(pcName);
    backendPid_ = PQbackendPID(conn);
    delete socket_;
    socket_ = new QSocketNotifier(PQsocket(conn), QSocketNotifier::Read, this);
    connect(socket_, &QSocketNotifier::activated, this, &BookChanges::Poll);
}

BookChanges::~BookChanges() = default;

void BookChanges::Poll() {
    PGconn *conn = ConnectionOf(database_);
    if (!conn || (lost_ && PQstatus(conn) != CONNECTION_OK))
        return;
    lost_ = false;
    if (PQconsumeInput(conn) == 0 || PQstatus(conn) != CONNECTION_OK) {
        lost_ = true;
        socket_->setEnabled(false);
        emit ConnectionLost();
        return;
    }
    bool others = false;
    if (PQbackendPID(conn) != backendPid_) {
        // The book connected anew: what was announced meanwhile is lost, so it all counts
        // as changed.
        try {
            Join(pcName_);
        } catch (const EngineError &) {
            return;
        }
        others = true;
    }
    while (PGnotify *notice = PQnotifies(conn)) {
        others = others || notice->be_pid != PQbackendPID(conn);
        PQfreemem(notice);
    }
    if (others)
        emit Changed();
}
