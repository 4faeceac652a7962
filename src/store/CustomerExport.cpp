#include "store/CustomerExport.h"

#include "store/TableEngine.h"

#include <QHash>

std::optional<std::vector<QStringList>>
ReadListedCustomers(Query &userQuery, const std::vector<int> &userIds, const QStringList &columns,
                    const std::function<bool(int done, int total)> &progress) {
    QHash<int, qsizetype> positions;
    positions.reserve(qsizetype(userIds.size()));
    for (qsizetype i = 0; i < qsizetype(userIds.size()); ++i)
        positions.insert(userIds[size_t(i)], i);
    std::vector<QStringList> rows(userIds.size());
    std::vector<bool> found(userIds.size(), false);

    userQuery.SetText(QStringLiteral("select * from Usertbl"));
    userQuery.Close();
    userQuery.Open();
    const int total = userQuery.RowCount();
    int done = 0;
    for (; !userQuery.AtEnd(); userQuery.Next()) {
        if (++done % 1000 == 0 && !progress(done, total)) {
            userQuery.Close();
            return std::nullopt;
        }
        const auto at = positions.constFind(userQuery.AsInteger(QStringLiteral("UserId")));
        if (at == positions.constEnd())
            continue;
        QStringList &row = rows[size_t(*at)];
        row.reserve(columns.size());
        for (const QString &column : columns)
            row << userQuery.AsString(column);
        found[size_t(*at)] = true;
    }
    // An open result would keep other connections from writing.
    userQuery.Close();
    std::vector<QStringList> listed;
    listed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        if (found[i])
            listed.push_back(std::move(rows[i]));
    return listed;
}
