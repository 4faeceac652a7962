#pragma once

#include <QString>
#include <vector>

class Database;
class Query;

// Which rows of the customer list are selected: none, exactly one (with its UserId) or several.
struct ListSelection {
    enum Kind { None, One, Several };
    Kind kind = None;
    int userId = 0;
};

// What the program hands each subsystem's windows: the open book and its shared queries, the
// data folder, the customers the list shows and the list rebuild. The main window provides it;
// tests provide their own. Message boxes and dialogs are not in it: they go through the one
// installed Prompt service (prompt()).
class AppContext {
public:
    virtual ~AppContext() = default;

    virtual Database &GetDatabase() = 0;
    virtual Query &SharedUserQuery() = 0;
    virtual Query &SharedHistoryQuery() = 0;
    virtual Query &SharedClassQuery() = 0;
    // The data folder ("…/Data/") and the table folder ("…/Data/DB/").
    virtual QString GetDataPath() const = 0;
    virtual QString GetDbPath() const = 0;
    // UserId of every listed customer, in list order.
    virtual std::vector<int> ListedUserIds() const = 0;
    virtual ListSelection CurrentSelection() const = 0;
    virtual void RefreshList() = 0;
};
