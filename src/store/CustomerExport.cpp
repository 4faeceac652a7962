#include "store/CustomerExport.h"

#include "store/TableEngine.h"

#include <QHash>

bool VisitCustomerColumns(
    Database &database, const QStringList &columns,
    const std::function<void(int userId, std::span<const QByteArrayView> values)> &visit,
    const std::function<bool(int done, int total)> &progress) {
    const int total = [&database] {
        Query count(database, QStringLiteral("select count(*) as Customers from Usertbl"));
        count.Open();
        return count.AsInteger(QStringLiteral("Customers"));
    }();
    // The column names come from the catalogue, never from the user; reading them by position
    // spares a name lookup per value on long lists.
    const std::unique_ptr<EngineStatement> select = database.GetEngine().Prepare(
        QStringLiteral("select UserId%1%2 from Usertbl")
            .arg(columns.isEmpty() ? QString() : QStringLiteral(","), columns.join(u',')));
    std::vector<QByteArrayView> values(size_t(columns.size()));
    int done = 0;
    while (select->Step()) {
        if (++done % 1000 == 0 && !progress(done, total))
            return false;
        for (int i = 0; i < int(values.size()); ++i)
            values[size_t(i)] = select->Text(i + 1);
        visit(int(select->Integer(0)), values);
    }
    return true;
}

bool VisitListedCustomers(
    Database &database, const std::vector<int> &userIds, const QStringList &columns,
    const std::function<void(size_t position, std::span<const QByteArrayView> values)> &visit,
    const std::function<bool(int done, int total)> &progress) {
    QHash<int, size_t> positions;
    positions.reserve(qsizetype(userIds.size()));
    for (size_t i = 0; i < userIds.size(); ++i)
        positions.insert(userIds[i], i);
    return VisitCustomerColumns(
        database, columns,
        [&positions, &visit](int userId, std::span<const QByteArrayView> values) {
            if (const auto at = positions.constFind(userId); at != positions.constEnd())
                visit(*at, values);
        },
        progress);
}

std::optional<std::vector<QStringList>>
ReadListedCustomers(Database &database, const std::vector<int> &userIds, const QStringList &columns,
                    const std::function<bool(int done, int total)> &progress) {
    std::vector<QStringList> rows(userIds.size());
    std::vector<bool> found(userIds.size(), false);
    const bool read = VisitListedCustomers(
        database, userIds, columns,
        [&rows, &found](size_t position, std::span<const QByteArrayView> values) {
            QStringList &row = rows[position];
            row.reserve(qsizetype(values.size()));
            for (const QByteArrayView value : values)
                row << (value.isNull() ? QString() : QString::fromUtf8(value));
            found[position] = true;
        },
        progress);
    if (!read)
        return std::nullopt;
    std::vector<QStringList> listed;
    listed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        if (found[i])
            listed.push_back(std::move(rows[i]));
    return listed;
}
