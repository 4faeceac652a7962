#pragma once

// The application context the print windows are given in tests: the test installation's book,
// data folder and prompt, and the customers the test lists.

#include "../common/TestEnv.h"
#include "platform/AppContext.h"

#include <QList>

class PrintUiContext : public AppContext {
public:
    explicit PrintUiContext(TestEnv &env)
        : env_(env), userQuery_(env.db()), historyQuery_(env.db()), classQuery_(env.db()) {}

    // The customers the main list would show, in its order.
    QList<int> Listed;

    Database &GetDatabase() override { return env_.db(); }
    Query &SharedUserQuery() override { return userQuery_; }
    Query &SharedHistoryQuery() override { return historyQuery_; }
    Query &SharedClassQuery() override { return classQuery_; }
    QString GetDataPath() const override { return env_.dataPath(); }
    QString GetDbPath() const override { return env_.dbPath(); }
    std::vector<int> ListedUserIds() const override { return {Listed.begin(), Listed.end()}; }
    ListSelection CurrentSelection() const override { return {}; }
    void RefreshList() override {}
    Prompt &GetPrompt() override { return env_.prompt(); }

private:
    TestEnv &env_;
    Query userQuery_;
    Query historyQuery_;
    Query classQuery_;
};
