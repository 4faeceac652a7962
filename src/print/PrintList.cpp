#include "print/PrintList.h"

#include "store/TableEngine.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Sub-items read straight from a customer column, by sub-item.
const std::array<std::pair<PrintColumn, const char *>, 12> plainColumns = {{
    {kColName, "Name"},
    {kColNameTitle, "NameTitle"},
    {kColKana, "Kana"},
    {kColAddress1, "Address1"},
    {kColAddress2, "Address2"},
    {kColZip, "Zip"},
    {kColOffice, "Office"},
    {kColOfficeZip, "OfficeZip"},
    {kColOfficeAddress1, "OfficeAddress1"},
    {kColOfficeAddress2, "OfficeAddress2"},
    {kColOfficePost, "OfficePost"},
    {kColOfficeExecutive, "OfficeExecutive"},
}};

QString Field(const Query &query, const char *name) {
    return query.AsString(QString::fromLatin1(name));
}

// Only ASCII letters fold; full-width letters keep their order.
QString AsciiLower(const QString &text) {
    QString lowered = text;
    for (QChar &c : lowered)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return lowered;
}

} // namespace

QString PrintControlText(int printCtrl) {
    switch (printCtrl) {
    case 0:
    case 4:
        return QStringLiteral("個人名");
    case 1:
        return QStringLiteral("会社部署御中");
    case 2:
        return QStringLiteral("会社部署役職殿");
    case 3:
        return QStringLiteral("会社部署役職氏名");
    default:
        return {};
    }
}

QString UseTypeText(int useType) {
    return useType == 1 ? kCompanyUse : kPersonalUse;
}

const QStringList &PrintListCaptions() {
    static const QStringList captions = [] {
        QStringList list = {QStringLiteral("印刷"),       QStringLiteral("氏名"),
                            QStringLiteral("敬称"),       QStringLiteral("ﾌﾘｶﾞﾅ"),
                            QStringLiteral("住所１"),     QStringLiteral("住所２"),
                            QStringLiteral("〒"),         QStringLiteral("会社名"),
                            QStringLiteral("会社〒"),     QStringLiteral("会社住所１"),
                            QStringLiteral("会社住所２"), QStringLiteral("部署名"),
                            QStringLiteral("役職名"),     QStringLiteral("印刷コントロール"),
                            QStringLiteral("使用データ"), QStringLiteral("備考"),
                            QStringLiteral("No")};
        const QStringList digits = {QStringLiteral("１"), QStringLiteral("２"),
                                    QStringLiteral("３"), QStringLiteral("４")};
        for (const QString &digit : digits)
            list << QStringLiteral("連名%1印刷").arg(digit) << QStringLiteral("連名%1").arg(digit)
                 << QStringLiteral("連名%1敬称").arg(digit);
        return list;
    }();
    return captions;
}

PrintRow PrintRowFromQuery(const Query &query) {
    PrintRow row;
    row.Mark = kPrintMark;
    for (const auto &[column, name] : plainColumns)
        row.SubItems[column] = Field(query, name);
    row.SubItems[kColPrintCtrl] = PrintControlText(query.AsInteger(QStringLiteral("PrintCtrl")));
    row.SubItems[kColUseType] = UseTypeText(query.AsInteger(QStringLiteral("UseType")));
    row.SubItems[kColNote] = Field(query, "Note").remove(QStringLiteral("\r\n"));
    row.SubItems[kColUserId] = QString::number(query.AsInteger(QStringLiteral("UserId")));
    for (int slot = 0; slot < kJointSlots; ++slot) {
        const QString n = QString::number(slot + 1);
        row.SubItems[JointMarkColumn(slot)] =
            query.AsInteger(QStringLiteral("CheckRen") + n) != 0 ? kJointOnMark : kJointOffMark;
        row.SubItems[JointNameColumn(slot)] = query.AsString(QStringLiteral("Renmei") + n);
        row.SubItems[JointTitleColumn(slot)] = query.AsString(QStringLiteral("RenNameTitle") + n);
    }
    return row;
}

QList<PrintRow> FillPrintList(Database &database, const QList<int> &customerIds) {
    QList<PrintRow> rows;
    Query query(database);
    for (const int id : customerIds) {
        query.Close();
        query.SetText(QStringLiteral("select * from Usertbl where UserId=") + QString::number(id));
        query.Open();
        if (!query.AtEnd() && query.AsInteger(QStringLiteral("Print")) != 0)
            rows << PrintRowFromQuery(query);
    }
    query.Close();
    return rows;
}

QList<PrintRow> RowsToPrint(const QList<PrintRow> &rows) {
    QList<PrintRow> marked;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(marked),
                 [](const PrintRow &row) { return row.IsMarked(); });
    return marked;
}

FaceTexts GatherFaceTexts(const PrintRow &row) {
    const auto &s = row.SubItems;
    FaceTexts t;
    t.Name = s[kColName];
    t.Honorific = s[kColNameTitle];
    t.Company = s[kColOffice];
    t.Department = s[kColOfficePost];
    t.Position = s[kColOfficeExecutive];
    t.PrintControl = s[kColPrintCtrl];
    t.UseType = s[kColUseType];
    const bool personal = t.UseType == kPersonalUse;
    t.Address1 = personal ? s[kColAddress1] : s[kColOfficeAddress1];
    t.Address2 = personal ? s[kColAddress2] : s[kColOfficeAddress2];
    t.PostalCode = personal ? s[kColZip] : s[kColOfficeZip];
    t.Form = ChooseNameForm(t.PrintControl, t.UseType);
    for (int slot = 0; slot < kJointSlots; ++slot) {
        if (s[JointMarkColumn(slot)] != kJointOnMark)
            continue;
        t.JointNames[t.JointCount] = s[JointNameColumn(slot)];
        t.JointTitles[t.JointCount] = s[JointTitleColumn(slot)];
        ++t.JointCount;
    }
    return t;
}

void PrintListModel::SetRows(QList<PrintRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void PrintListModel::SetMarked(const QList<int> &rows, bool marked) {
    for (const int row : rows) {
        if (row < 0 || row >= rows_.size())
            continue;
        rows_[row].Mark = marked ? kPrintMark : QString();
        emit dataChanged(index(row, 0), index(row, 0));
    }
}

void PrintListModel::SortBy(int column, bool ascending) {
    if (column < 0 || column > kPrintSubItemCount)
        return;
    std::vector<int> order(rows_.size());
    std::iota(order.begin(), order.end(), 0);
    QStringList keys;
    for (const PrintRow &row : rows_)
        keys << AsciiLower(column == 0 ? row.Mark : row.SubItems[column - 1]);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int compared = keys.at(a).compare(keys.at(b));
        return ascending ? compared < 0 : compared > 0;
    });
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<PrintRow> sorted;
    std::vector<int> newRowOf(rows_.size());
    for (int i = 0; i < static_cast<int>(order.size()); ++i) {
        sorted << rows_.at(order[i]);
        newRowOf[order[i]] = i;
    }
    rows_ = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex &index : before)
        after << this->index(newRowOf[index.row()], index.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PrintListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PrintListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kPrintSubItemCount + 1;
}

QVariant PrintListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const PrintRow &row = rows_.at(index.row());
    return index.column() == 0 ? row.Mark : row.SubItems[index.column() - 1];
}

QVariant PrintListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return PrintListCaptions().value(section);
}
