#pragma once

#include <QString>
#include <stdexcept>

// A statement the engine refused, or a table file it could not use. Callers show message().
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const QString &message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString &message() const { return message_; }

private:
    QString message_;
};
