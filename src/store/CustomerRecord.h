#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

class Query;

// One usertbl row as the editor shows and stores it.
struct CustomerRecord {
    int userId = 0;
    // The row's version when it was read; each stored change increases it.
    int rowVersion = 0;
    QString kana;
    QString name;
    QString nameTitle;
    QString zip;
    QString address1;
    QString address2;
    QString telNo1;
    QString telNo2;
    QString faxNo;
    QString mail1;
    QString mail2;
    QDate birthDay; // invalid when NULL
    int classId = 0;
    int classId2 = 0;
    QString note;
    bool print = false;
    int printCtrl = 0;
    QDate makeDay;
    QString office;
    QString officeKana;
    QString officeZip;
    QString officeAddress1;
    QString officeAddress2;
    QString officeTel1;
    QString officeTel2;
    QString officeMail1;
    QString officeMail2;
    QString officeFax;
    QString officePost;
    QString officeExecutive;
    QString img1;
    QString img2;
    int useType = 0; // 0 personal, 1 company
    QString sex;
    std::array<bool, 4> checkRen{};
    std::array<QString, 4> renmei;
    std::array<QString, 4> renNameTitle;
    std::array<QString, 4> sashikomi;
};

// Reads customer `userId` with "select * from Usertbl where UserID =" id; nullopt when the
// row is gone. Throws EngineError.
std::optional<CustomerRecord> LoadCustomerRecord(Query &userQuery, int userId);

enum class WhichCustomers { All, Marked };

// Reads the customers `userIds` names, in that order, a few hundred to a statement; with
// Marked only those whose print flag is set. A customer deleted since is left out. Throws
// EngineError.
std::vector<CustomerRecord> LoadCustomerRecords(Query &userQuery, std::span<const int> userIds,
                                                WhichCustomers which = WhichCustomers::All);

// The full-row update the editor runs after every change; the memo goes as :MEMOETC.
QString BuildUpdateStatement(const CustomerRecord &record);

enum class SaveOutcome {
    Saved,   // the row is now record.rowVersion + 1
    Changed, // another PC stored the row since it was read: nothing was written
    Gone,    // the row no longer exists
};

// Runs BuildUpdateStatement with the memo bound, only while the row is still at
// record.rowVersion. Throws EngineError.
SaveOutcome SaveCustomerRecord(Query &userQuery, const CustomerRecord &record);

// The message a change refused for another PC's change of the same customer begins with.
QString ChangedElsewhereText();
