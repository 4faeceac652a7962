#pragma once

#include <QString>

// A lock that belongs to the process holding its file open (flock): it ends with the process
// however the process ends, so a start killed at any moment never leaves a lock behind, and
// what the file holds (nothing, after such a kill) does not matter.
class ProcessLock {
public:
    explicit ProcessLock(QString path);
    ~ProcessLock();
    ProcessLock(const ProcessLock &) = delete;
    ProcessLock &operator=(const ProcessLock &) = delete;

    // Takes the lock, waiting at most waitMs for another holder to let go.
    bool TryLock(int waitMs = 0);
    const QString &FileName() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};
