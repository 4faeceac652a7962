#pragma once

#include "postal/PostalUpdate.h"

#include <QThread>

// Downloads the postal data off the user-interface thread and replaces the two local files.
// Done is emitted from the worker; connected to a window it arrives on the user-interface thread.
class Thread_ZipDL : public QThread {
    Q_OBJECT

public:
    Thread_ZipDL(QString server, QString dataPath, ZipProxy proxy, ZipUpdateLimits limits,
                 QObject *parent = nullptr);

signals:
    void Done(bool ok, const QString &message);

protected:
    void run() override;

private:
    QString server_;
    QString dataPath_;
    ZipProxy proxy_;
    ZipUpdateLimits limits_;
};
