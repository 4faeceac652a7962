#include "app/CustomerList.h"

QString PrintMarkText(PrintMark mark) {
    switch (mark) {
    case PrintMark::On:
        return QStringLiteral("〇");
    case PrintMark::Off:
        return QStringLiteral("Ｘ");
    case PrintMark::OffEdited:
        return QStringLiteral("×");
    }
    return {};
}

CustomerListModel::CustomerListModel(QObject *parent) : QAbstractTableModel(parent) {}

int CustomerListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CustomerListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CustomerListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListRow &row = rows_[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case MarkColumn:
            return PrintMarkText(row.mark);
        case NameColumn:
            return row.customer.name;
        case IdColumn:
            return QString::number(row.customer.userId);
        case KanaColumn:
            return row.customer.kana;
        case ZipColumn:
            return row.customer.zip;
        case AddressColumn:
            return row.customer.address;
        case TelColumn:
            return row.customer.tel;
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == MarkColumn)
        return int(Qt::AlignCenter);
    return {};
}

QVariant CustomerListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case MarkColumn:
        return QStringLiteral("印刷");
    case NameColumn:
        return QStringLiteral("名前");
    case KanaColumn:
        return QStringLiteral("ﾌﾘｶﾞﾅ");
    case ZipColumn:
        return QStringLiteral("〒");
    case AddressColumn:
        return QStringLiteral("住所");
    case TelColumn:
        return QStringLiteral("電話");
    default:
        return QString();
    }
}

void CustomerListModel::SetRows(std::vector<ListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void CustomerListModel::UpdateRow(int row, ListedCustomer customer) {
    if (row < 0 || row >= rowCount())
        return;
    rows_[row].mark = customer.print ? PrintMark::On : PrintMark::OffEdited;
    rows_[row].customer = std::move(customer);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int CustomerListModel::RowOf(int userId) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].customer.userId == userId)
            return static_cast<int>(i);
    return -1;
}
