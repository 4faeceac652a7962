#pragma once

#include <QString>
#include <stdexcept>

// Why an engine failed, in the terms the user is told.
enum class EngineFailure { InUse, DiskFull, NoPermission, Unreadable, Damaged, NoServer, Other };

// What the user reads for an engine failure: the cause in Japanese first, the engine's own
// words (`detail`) after it for whoever looks further.
QString EngineFailureText(EngineFailure failure, const QString &detail);

// A statement the engine refused, or a table file it could not use. Callers show message();
// detail() holds the engine's own words alone.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString &message) : EngineError(message, message) {}
    EngineError(EngineFailure failure, const QString &detail)
        : EngineError(EngineFailureText(failure, detail), detail) {}
    EngineError(const QString &message, const QString &detail)
        : std::runtime_error(message.toStdString()), message_(message), detail_(detail) {}
    const QString &message() const { return message_; }
    const QString &detail() const { return detail_; }

private:
    QString message_;
    QString detail_;
};
