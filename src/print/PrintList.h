#pragma once

// The rows of the address print list: one per customer marked for printing, with the texts
// an address face is made of.

#include "print/NameSenderLayout.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>

class Database;
class Query;

// Sub-items of a print row, in list order (the list's column k + 1 shows sub-item k).
enum PrintColumn {
    kColName,
    kColNameTitle,
    kColKana,
    kColAddress1,
    kColAddress2,
    kColZip,
    kColOffice,
    kColOfficeZip,
    kColOfficeAddress1,
    kColOfficeAddress2,
    kColOfficePost,
    kColOfficeExecutive,
    kColPrintCtrl,
    kColUseType,
    kColNote,
    kColUserId,
    kColJoint1Mark, // then the joint name and its honorific; slots 2 to 4 follow by threes
};
constexpr int kPrintSubItemCount = 28;
constexpr int kJointSlots = 4;
constexpr int JointMarkColumn(int slot) {
    return kColJoint1Mark + 3 * slot;
}
constexpr int JointNameColumn(int slot) {
    return JointMarkColumn(slot) + 1;
}
constexpr int JointTitleColumn(int slot) {
    return JointMarkColumn(slot) + 2;
}

inline const QString kPrintMark = QStringLiteral("　〇　");
inline const QString kJointOnMark = QStringLiteral("　○　");
inline const QString kJointOffMark = QStringLiteral("　×　");
inline const QString kPersonalUse = QStringLiteral("個人用");
inline const QString kCompanyUse = QStringLiteral("会社用");

struct PrintRow {
    QString Mark; // kPrintMark, or empty when switched off
    std::array<QString, kPrintSubItemCount> SubItems;

    bool IsMarked() const { return !Mark.trimmed().isEmpty(); }
    int UserId() const { return SubItems[kColUserId].toInt(); }
};

// "個人名", "会社部署御中", "会社部署役職殿", "会社部署役職氏名", or empty for other values.
QString PrintControlText(int printCtrl);
QString UseTypeText(int useType);

// Column captions of the list: the print mark's column, then the 28 sub-items.
const QStringList &PrintListCaptions();

// The row of the customer the query stands on.
PrintRow PrintRowFromQuery(const Query &query);

// The customers of the main list (ids in its order) whose print flag is set, read afresh.
QList<PrintRow> FillPrintList(Database &database, const QList<int> &customerIds);

// The rows still marked, whole, in list order: one print run.
QList<PrintRow> RowsToPrint(const QList<PrintRow> &rows);

// The texts of one address face.
struct FaceTexts {
    QString Name;
    QString Honorific;
    QString Company;
    QString Department;
    QString Position;
    QString PrintControl;
    QString UseType;
    // The personal block for "個人用", otherwise the company block.
    QString Address1;
    QString Address2;
    QString PostalCode;
    NameForm Form = NameForm::Personal;
    // The marked joint slots, packed from 0.
    int JointCount = 0;
    std::array<QString, kJointSlots> JointNames;
    std::array<QString, kJointSlots> JointTitles;
};

FaceTexts GatherFaceTexts(const PrintRow &row);

// ListViewPrint's rows.
class PrintListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(QList<PrintRow> rows);
    const QList<PrintRow> &Rows() const { return rows_; }
    const PrintRow &Row(int row) const { return rows_.at(row); }

    // Sets or clears the print mark of these rows; the customers stay as they are.
    void SetMarked(const QList<int> &rows, bool marked);
    // Column 0 by the print mark, column k by sub-item k - 1, as text ignoring ASCII case.
    void SortBy(int column, bool ascending);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<PrintRow> rows_;
};
