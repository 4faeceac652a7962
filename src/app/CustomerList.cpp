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
            return row.name;
        case IdColumn:
            return QString::number(row.userId);
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
    if (section == MarkColumn)
        return QStringLiteral("印刷");
    if (section == NameColumn)
        return QStringLiteral("名前");
    return QString();
}

void CustomerListModel::SetRows(std::vector<ListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void CustomerListModel::UpdateRow(int row, bool print, const QString &name) {
    if (row < 0 || row >= rowCount())
        return;
    rows_[row].mark = print ? PrintMark::On : PrintMark::OffEdited;
    rows_[row].name = name;
    emit dataChanged(index(row, MarkColumn), index(row, NameColumn));
}

int CustomerListModel::RowOf(int userId) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].userId == userId)
            return static_cast<int>(i);
    return -1;
}
