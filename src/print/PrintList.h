#pragma once

// The rows of the address print list: one per customer marked for printing, with the record
// an address face is made of.

#include "core/DomainWords.h"
#include "print/NameSenderLayout.h"
#include "store/CustomerRecord.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>

class Database;

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

inline const QString kPrintMark = QStringLiteral("　〇　");
inline const QString kJointOnMark = QStringLiteral("　○　");
inline const QString kJointOffMark = QStringLiteral("　×　");

struct PrintRow {
    bool Marked = false; // switched off rows stay listed but are not printed
    CustomerRecord Customer;

    bool IsMarked() const { return Marked; }
    int UserId() const { return Customer.userId; }
};

// The text the list shows for sub-item `column` (a PrintColumn) of a row: the print control and
// use type by their captions, the joint names' marks as "○" or "×", the note on one line.
QString PrintSubItem(const PrintRow &row, int column);

// Column captions of the list: the print mark's column, then the 28 sub-items.
const QStringList &PrintListCaptions();

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
    // The personal block for the personal use type, otherwise the company block.
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

// ListViewPrint's rows: column 0 the print mark, column k sub-item k - 1.
class PrintListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(QList<PrintRow> rows);
    const QList<PrintRow> &Rows() const { return rows_; }
    const PrintRow &Row(int row) const { return rows_.at(row); }

    // Sets or clears the print mark of these rows; the customers stay as they are.
    void SetMarked(const QList<int> &rows, bool marked);
    // Column 0 by the print mark, column k by sub-item k - 1, as shown, ignoring ASCII case.
    void SortBy(int column, bool ascending);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<PrintRow> rows_;
};
