#include "print/PrintList.h"

#include "store/TableEngine.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

// Only ASCII letters fold; full-width letters keep their order.
QString AsciiLower(const QString &text) {
    QString lowered = text;
    for (QChar &c : lowered)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    return lowered;
}

QString MarkText(const PrintRow &row) {
    return row.Marked ? kPrintMark : QString();
}

} // namespace

QString PrintSubItem(const PrintRow &row, int column) {
    const CustomerRecord &c = row.Customer;
    if (column >= kColJoint1Mark && column < kPrintSubItemCount) {
        const int slot = (column - kColJoint1Mark) / 3;
        if (column == JointMarkColumn(slot))
            return c.checkRen[slot] ? kJointOnMark : kJointOffMark;
        return column == JointNameColumn(slot) ? c.renmei[slot] : c.renNameTitle[slot];
    }
    switch (column) {
    case kColName:
        return c.name;
    case kColNameTitle:
        return c.nameTitle;
    case kColKana:
        return c.kana;
    case kColAddress1:
        return c.address1;
    case kColAddress2:
        return c.address2;
    case kColZip:
        return c.zip;
    case kColOffice:
        return c.office;
    case kColOfficeZip:
        return c.officeZip;
    case kColOfficeAddress1:
        return c.officeAddress1;
    case kColOfficeAddress2:
        return c.officeAddress2;
    case kColOfficePost:
        return c.officePost;
    case kColOfficeExecutive:
        return c.officeExecutive;
    case kColPrintCtrl:
        return PrintControlCaption(PrintControlOf(c.printCtrl));
    case kColUseType:
        return UseTypeCaption(UseTypeOf(c.useType));
    case kColNote:
        return QString(c.note).remove(QStringLiteral("\r\n"));
    case kColUserId:
        return QString::number(c.userId);
    default:
        return {};
    }
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

QList<PrintRow> FillPrintList(Database &database, const QList<int> &customerIds) {
    Query query(database);
    std::vector<CustomerRecord> marked =
        LoadCustomerRecords(query, customerIds, WhichCustomers::Marked);
    QList<PrintRow> rows;
    rows.reserve(qsizetype(marked.size()));
    for (CustomerRecord &customer : marked)
        rows << PrintRow{true, std::move(customer)};
    return rows;
}

QList<PrintRow> RowsToPrint(const QList<PrintRow> &rows) {
    QList<PrintRow> marked;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(marked),
                 [](const PrintRow &row) { return row.IsMarked(); });
    return marked;
}

FaceTexts GatherFaceTexts(const PrintRow &row) {
    const CustomerRecord &c = row.Customer;
    FaceTexts t;
    t.Name = c.name;
    t.Honorific = c.nameTitle;
    t.Company = c.office;
    t.Department = c.officePost;
    t.Position = c.officeExecutive;
    const UseType use = UseTypeOf(c.useType);
    const bool personal = use == UseType::Personal;
    t.Address1 = personal ? c.address1 : c.officeAddress1;
    t.Address2 = personal ? c.address2 : c.officeAddress2;
    t.PostalCode = personal ? c.zip : c.officeZip;
    t.Form = ChooseNameForm(PrintControlOf(c.printCtrl), use);
    for (int slot = 0; slot < kJointSlots; ++slot) {
        if (!c.checkRen[slot])
            continue;
        t.JointNames[t.JointCount] = c.renmei[slot];
        t.JointTitles[t.JointCount] = c.renNameTitle[slot];
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
        rows_[row].Marked = marked;
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
        keys << AsciiLower(column == 0 ? MarkText(row) : PrintSubItem(row, column - 1));
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
    return index.column() == 0 ? MarkText(row) : PrintSubItem(row, index.column() - 1);
}

QVariant PrintListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return PrintListCaptions().value(section);
}
