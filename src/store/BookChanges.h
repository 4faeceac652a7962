#pragma once

#include <QObject>
#include <QString>

class Database;
class QSocketNotifier;
class QTimer;

// The other PCs' stored changes of a shared book, as the server announces them on the book's
// connection. On a local book nothing is ever announced.
class BookChanges : public QObject {
    Q_OBJECT

public:
    // `pcName` is how the other PCs list this one. The book stays open while this lives.
    BookChanges(Database &database, const QString &pcName, QObject *parent = nullptr);
    ~BookChanges() override;

    // Reads what the server sent so far; Changed() follows when another PC stored something.
    void Poll();

signals:
    // Another PC committed a change (several close together come as one).
    void Changed();
    // The connection to the server broke.
    void ConnectionLost();

private:
    // Names this PC on the connection the book has now and listens on it.
    void Join(const QString &pcName);

    Database &database_;
    QString pcName_;
    // The server process of the connection joined; another one means a new connection.
    int backendPid_ = 0;
    QSocketNotifier *socket_ = nullptr;
    // Announcements read along with the answers to this PC's own statements wait in the
    // connection without the socket showing them; a short poll finds them.
    QTimer *poll_ = nullptr;
    bool lost_ = false;
};
