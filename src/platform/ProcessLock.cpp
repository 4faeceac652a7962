#include "platform/ProcessLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ProcessLock::ProcessLock(QString path) : path_(std::move(path)) {}

ProcessLock::~ProcessLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool ProcessLock::TryLock(int waitMs) {
    if (fd_ >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || deadline.hasExpired()) {
            ::close(fd);
            return false;
        }
        QThread::msleep(50);
    }
    fd_ = fd;
    return true;
}
