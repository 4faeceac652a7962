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

// What the user reads for an engine result code: the cause in Japanese first, the engine's own
// words (`detail`) after it for whoever looks further.
QString EngineFailureText(int sqliteCode, const QString &detail);
