#pragma once

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/TableEngine.h"

// The application context of the mail windows, which read no tables: only the data folder
// is real.
class MailTestContext : public AppContext {
public:
    explicit MailTestContext(QString dataPath) : dataPath_(std::move(dataPath)) {}

    Database &GetDatabase() override { return database_; }
    Query &SharedUserQuery() override { return query_; }
    Query &SharedHistoryQuery() override { return query_; }
    Query &SharedClassQuery() override { return query_; }
    QString GetDataPath() const override { return dataPath_; }
    QString GetDbPath() const override { return dataPath_ + QStringLiteral("DB/"); }
    std::vector<int> ListedUserIds() const override { return {}; }
    ListSelection CurrentSelection() const override { return {}; }
    void RefreshList() override {}

private:
    QString dataPath_;
    Database database_;
    Query query_{database_};
};
