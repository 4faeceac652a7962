#pragma once

#include <QObject>
#include <QString>
#include <memory>

class ProcessLock;
class QLocalServer;

// Lets one copy of the program run per user. The first copy holds a lock in the user's settings
// folder (taken atomically, so two copies started together cannot both pass; gone with the copy
// however it ends) and listens for later copies, which ask it to raise its main window and then
// end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True for the first copy. A later copy asks the first to show itself and gets false; when
    // the first does not answer, the user is told so.
    bool Acquire();

signals:
    void ActivationRequested();

private:
    QString name_;
    std::unique_ptr<ProcessLock> lock_;
    QLocalServer *server_ = nullptr;
};
