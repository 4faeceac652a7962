#include "store/CustomerColumns.h"

#include <array>

namespace {

// SQLite types chosen for their affinity: INTEGER columns convert quoted numbers, DATE columns
// keep ISO date text.
constexpr std::array<CustomerColumn, 51> columns{{
    {"UserId", "INTEGER PRIMARY KEY AUTOINCREMENT", ColumnKind::Key},
    {"Kana", "VARCHAR(100)", ColumnKind::Text},
    {"Name", "VARCHAR(100)", ColumnKind::Text},
    {"NameTitle", "VARCHAR(100)", ColumnKind::Text},
    {"Zip", "VARCHAR(100)", ColumnKind::Text},
    {"Address1", "VARCHAR(100)", ColumnKind::Text},
    {"Address2", "VARCHAR(100)", ColumnKind::Text},
    {"TelNo_1", "VARCHAR(30)", ColumnKind::Text},
    {"TelNo_2", "VARCHAR(30)", ColumnKind::Text},
    {"FaxNo", "VARCHAR(30)", ColumnKind::Text},
    {"Mail_1", "VARCHAR(50)", ColumnKind::Text},
    {"Mail_2", "VARCHAR(50)", ColumnKind::Text},
    {"BirthDay", "DATE", ColumnKind::Date},
    {"Class", "SMALLINT", ColumnKind::Integer},
    {"Class2", "SMALLINT", ColumnKind::Integer},
    {"Note", "TEXT", ColumnKind::Memo},
    {"Print", "SMALLINT", ColumnKind::Integer},
    {"PrintCtrl", "SMALLINT", ColumnKind::Integer},
    {"MakeDay", "DATE", ColumnKind::Date},
    {"Office", "VARCHAR(100)", ColumnKind::Text},
    {"OfficeKana", "VARCHAR(100)", ColumnKind::Text},
    {"OfficeZip", "VARCHAR(10)", ColumnKind::Text},
    {"OfficeAddress1", "VARCHAR(100)", ColumnKind::Text},
    {"OfficeAddress2", "VARCHAR(100)", ColumnKind::Text},
    {"OfficeTel_1", "VARCHAR(20)", ColumnKind::Text},
    {"OfficeTel_2", "VARCHAR(20)", ColumnKind::Text},
    {"OfficeMail_1", "VARCHAR(50)", ColumnKind::Text},
    {"OfficeMail_2", "VARCHAR(50)", ColumnKind::Text},
    {"OfficeFax", "VARCHAR(20)", ColumnKind::Text},
    {"OfficePost", "VARCHAR(100)", ColumnKind::Text},
    {"OfficeExecutive", "VARCHAR(100)", ColumnKind::Text},
    {"img1", "VARCHAR(255)", ColumnKind::Text},
    {"img2", "VARCHAR(255)", ColumnKind::Text},
    {"UseType", "SMALLINT", ColumnKind::Integer},
    {"Sex", "VARCHAR(20)", ColumnKind::Text},
    {"CheckRen1", "INTEGER", ColumnKind::Integer},
    {"CheckRen2", "INTEGER", ColumnKind::Integer},
    {"CheckRen3", "INTEGER", ColumnKind::Integer},
    {"CheckRen4", "INTEGER", ColumnKind::Integer},
    {"Renmei1", "VARCHAR(100)", ColumnKind::Text},
    {"RenNameTitle1", "VARCHAR(100)", ColumnKind::Text},
    {"Renmei2", "VARCHAR(100)", ColumnKind::Text},
    {"RenNameTitle2", "VARCHAR(100)", ColumnKind::Text},
    {"Renmei3", "VARCHAR(100)", ColumnKind::Text},
    {"RenNameTitle3", "VARCHAR(100)", ColumnKind::Text},
    {"Renmei4", "VARCHAR(100)", ColumnKind::Text},
    {"RenNameTitle4", "VARCHAR(100)", ColumnKind::Text},
    {"Sashikomi1", "VARCHAR(100)", ColumnKind::Text},
    {"Sashikomi2", "VARCHAR(100)", ColumnKind::Text},
    {"Sashikomi3", "VARCHAR(100)", ColumnKind::Text},
    {"Sashikomi4", "VARCHAR(100)", ColumnKind::Text},
}};

} // namespace

std::span<const CustomerColumn> CustomerColumns() {
    return columns;
}

const QStringList &CustomerColumnNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const CustomerColumn &column : columns)
            list << column.Name();
        return list;
    }();
    return names;
}
