#pragma once

#include "../common/TestEnv.h"

#include "platform/AppContext.h"

// The application context over a test installation; counts list rebuilds.
class AdminTestContext : public AppContext {
public:
    explicit AdminTestContext(TestEnv &env) : env_(env) {}

    Database &GetDatabase() override { return env_.db(); }
    Query &SharedUserQuery() override { return user_; }
    Query &SharedHistoryQuery() override { return history_; }
    Query &SharedClassQuery() override { return class_; }
    QString GetDataPath() const override { return env_.dataPath(); }
    QString GetDbPath() const override { return env_.dbPath(); }
    std::vector<int> ListedUserIds() const override { return {}; }
    ListSelection CurrentSelection() const override { return {}; }
    void RefreshList() override { ++refreshes; }
    Prompt &GetPrompt() override { return env_.prompt(); }

    int refreshes = 0;

private:
    TestEnv &env_;
    Query user_{env_.db()};
    Query history_{env_.db()};
    Query class_{env_.db()};
};
