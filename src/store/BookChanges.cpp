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
    : QObject(parent), database_(database) {
    PGconn *conn = ConnectionOf(database_);
    if (!conn)
        return;
    static_cast<PostgresEngine &>(database_.GetEngine()).JoinOffice(pcName);
    socket_ = new QSocketNotifier(PQsocket(conn), QSocketNotifier::Read, this);
    connect(socket_, &QSocketNotifier::activated, this, &BookChanges::Poll);
    poll_ = new QTimer(this);
    connect(poll_, &QTimer::timeout, this, &BookChanges::Poll);
    poll_->start(PollMilliseconds);
}

BookChanges::~BookChanges() = default;

void BookChanges::Poll() {
    PGconn *conn = ConnectionOf(database_);
    if (!conn || lost_)
        return;
    if (PQconsumeInput(conn) == 0 || PQstatus(conn) != CONNECTION_OK) {
        lost_ = true;
        socket_->setEnabled(false);
        emit ConnectionLost();
        return;
    }
    bool others = false;
    while (PGnotify *notice = PQnotifies(conn)) {
        others = others || notice->be_pid != PQbackendPID(conn);
        PQfreemem(notice);
    }
    if (others)
        emit Changed();
}
