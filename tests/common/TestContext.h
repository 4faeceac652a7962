#pragma once

#include "TestEnv.h"

#include "platform/AppContext.h"

// The application context over a test installation: its book and data folder. The
// listed customers and the list selection are what the test sets; list rebuilds are counted.
class TestContext : public AppContext {
public:
    explicit TestContext(TestEnv &env) : env_(env) {}

    std::vector<int> listed;
    ListSelection selection;
    int refreshes = 0;

    Database &GetDatabase() override { return env_.db(); }
    Query &SharedUserQuery() override { return user_; }
    Query &SharedHistoryQuery() override { return history_; }
    Query &SharedClassQuery() override { return classes_; }
    QString GetDataPath() const override { return env_.dataPath(); }
    QString GetDbPath() const override { return env_.dbPath(); }
    std::vector<int> ListedUserIds() const override { return listed; }
    ListSelection CurrentSelection() const override { return selection; }
    void RefreshList() override { ++refreshes; }

private:
    TestEnv &env_;
    Query user_{env_.db()};
    Query history_{env_.db()};
    Query classes_{env_.db()};
};

struct TestEnvHolder {
    TestEnv env;
};

// A context with an installation of its own, for tests that need nothing else.
class OwningTestContext : public TestEnvHolder, public TestContext {
public:
    OwningTestContext() : TestContext(env) {}
};
