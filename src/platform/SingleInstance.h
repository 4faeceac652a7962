#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

// Lets one copy of the program run per user. The first copy holds a lock file in the user's
// settings folder (taken atomically, so two copies started together cannot both pass) and
// listens for later copies, which ask it to raise its main window and then end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True for the first copy. A later copy asks the first to show itself and gets false.
    bool Acquire();

signals:
    void ActivationRequested();

private:
    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
};
