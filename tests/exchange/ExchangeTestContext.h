#pragma once

#include "../common/TestEnv.h"
#include "platform/AppContext.h"

#include <QFile>
#include <QTemporaryDir>

// The application context over a test installation: the listed customers are set by the test,
// list rebuilds are counted.
class ExchangeTestContext : public AppContext {
public:
    TestEnv env;
    std::vector<int> listed;
    int refreshes = 0;

    Database &GetDatabase() override { return env.db(); }
    Query &SharedUserQuery() override { return user_; }
    Query &SharedHistoryQuery() override { return history_; }
    Query &SharedClassQuery() override { return classes_; }
    QString GetDataPath() const override { return env.dataPath(); }
    QString GetDbPath() const override { return env.dbPath(); }
    std::vector<int> ListedUserIds() const override { return listed; }
    void RefreshList() override { ++refreshes; }
    Prompt &GetPrompt() override { return env.prompt(); }

    // A file in the test's folder holding `bytes`.
    QString WriteFile(const QString &name, const QByteArray &bytes) {
        const QString path = env.root() + name;
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    QByteArray ReadFile(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    Query user_{env.db()};
    Query history_{env.db()};
    Query classes_{env.db()};
};
