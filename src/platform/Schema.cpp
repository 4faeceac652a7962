#include "platform/Schema.h"

#include "core/SqlText.h"
#include "platform/TableEngine.h"

namespace Schema {

namespace {

struct Column {
    const char *name;
    const char *type;
};

// SQLite types chosen for their affinity: INTEGER columns convert quoted numbers, DATE columns
// keep ISO date text.
constexpr Column userColumns[] = {
    {"UserId", "INTEGER PRIMARY KEY AUTOINCREMENT"},
    {"Kana", "VARCHAR(100)"},
    {"Name", "VARCHAR(100)"},
    {"NameTitle", "VARCHAR(100)"},
    {"Zip", "VARCHAR(100)"},
    {"Address1", "VARCHAR(100)"},
    {"Address2", "VARCHAR(100)"},
    {"TelNo_1", "VARCHAR(30)"},
    {"TelNo_2", "VARCHAR(30)"},
    {"FaxNo", "VARCHAR(30)"},
    {"Mail_1", "VARCHAR(50)"},
    {"Mail_2", "VARCHAR(50)"},
    {"BirthDay", "DATE"},
    {"Class", "SMALLINT"},
    {"Class2", "SMALLINT"},
    {"Note", "TEXT"},
    {"Print", "SMALLINT"},
    {"PrintCtrl", "SMALLINT"},
    {"MakeDay", "DATE"},
    {"Office", "VARCHAR(100)"},
    {"OfficeKana", "VARCHAR(100)"},
    {"OfficeZip", "VARCHAR(10)"},
    {"OfficeAddress1", "VARCHAR(100)"},
    {"OfficeAddress2", "VARCHAR(100)"},
    {"OfficeTel_1", "VARCHAR(20)"},
    {"OfficeTel_2", "VARCHAR(20)"},
    {"OfficeMail_1", "VARCHAR(50)"},
    {"OfficeMail_2", "VARCHAR(50)"},
    {"OfficeFax", "VARCHAR(20)"},
    {"OfficePost", "VARCHAR(100)"},
    {"OfficeExecutive", "VARCHAR(100)"},
    {"img1", "VARCHAR(255)"},
    {"img2", "VARCHAR(255)"},
    {"UseType", "SMALLINT"},
    {"Sex", "VARCHAR(20)"},
    {"CheckRen1", "INTEGER"},
    {"CheckRen2", "INTEGER"},
    {"CheckRen3", "INTEGER"},
    {"CheckRen4", "INTEGER"},
    {"Renmei1", "VARCHAR(100)"},
    {"RenNameTitle1", "VARCHAR(100)"},
    {"Renmei2", "VARCHAR(100)"},
    {"RenNameTitle2", "VARCHAR(100)"},
    {"Renmei3", "VARCHAR(100)"},
    {"RenNameTitle3", "VARCHAR(100)"},
    {"Renmei4", "VARCHAR(100)"},
    {"RenNameTitle4", "VARCHAR(100)"},
    {"Sashikomi1", "VARCHAR(100)"},
    {"Sashikomi2", "VARCHAR(100)"},
    {"Sashikomi3", "VARCHAR(100)"},
    {"Sashikomi4", "VARCHAR(100)"},
};

void Run(Database &database, const QString &text) {
    Query query(database, text);
    query.Execute();
}

} // namespace

const QStringList &UserColumns() {
    static const QStringList names = [] {
        QStringList list;
        for (const Column &column : userColumns)
            list << QString::fromLatin1(column.name);
        return list;
    }();
    return names;
}

void CreateTables(Database &database, bool upgraded) {
    QStringList columns;
    const int count = upgraded ? static_cast<int>(std::size(userColumns)) : BaseUserColumnCount;
    for (int i = 0; i < count; ++i)
        columns << QStringLiteral("%1 %2").arg(QString::fromLatin1(userColumns[i].name),
                                               QString::fromLatin1(userColumns[i].type));
    Run(database,
        QStringLiteral("CREATE TABLE usertbl (%1)").arg(columns.join(QStringLiteral(", "))));
    Run(database, QStringLiteral("CREATE TABLE historytbl (HistoryId INTEGER PRIMARY KEY "
                                 "AUTOINCREMENT, UserId SMALLINT, MakeDay VARCHAR(15), "
                                 "Title VARCHAR(50), Contents VARCHAR(255))"));
    // Engine-side indexes: the list sorts by reading and searches join history by customer.
    Run(database, QStringLiteral("CREATE INDEX usertbl_kana ON usertbl (Kana)"));
    Run(database, QStringLiteral("CREATE INDEX historytbl_user ON historytbl (UserId)"));
    for (const QString &table : {QStringLiteral("classtbl"), QStringLiteral("classtbl2")}) {
        Run(database,
            QStringLiteral("CREATE TABLE %1 (ClassId INTEGER, Name VARCHAR(60))").arg(table));
        for (int id = 0; id < 12; ++id)
            Run(database, QStringLiteral("insert into %1 (ClassId, Name) values(%2, %3)")
                              .arg(table)
                              .arg(id)
                              .arg(QuoteSql(QStringLiteral("項目%1").arg(id + 1))));
    }
}

} // namespace Schema
