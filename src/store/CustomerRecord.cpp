#include "store/CustomerRecord.h"

#include "core/SqlText.h"
#include "core/TextHelpers.h"
#include "store/TableEngine.h"

namespace {

QString Flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

std::optional<CustomerRecord> LoadCustomerRecord(Query &userQuery, int userId) {
    userQuery.SetText(QStringLiteral("select * from Usertbl where UserID =") +
                      QString::number(userId));
    userQuery.Close();
    userQuery.Open();
    if (userQuery.AtEnd()) {
        userQuery.Close();
        return std::nullopt;
    }
    const Query &q = userQuery;
    CustomerRecord r;
    r.userId = q.AsInteger(QStringLiteral("UserId"));
    r.kana = q.AsString(QStringLiteral("Kana"));
    r.name = q.AsString(QStringLiteral("Name"));
    r.nameTitle = q.AsString(QStringLiteral("NameTitle"));
    r.zip = q.AsString(QStringLiteral("Zip"));
    r.address1 = q.AsString(QStringLiteral("Address1"));
    r.address2 = q.AsString(QStringLiteral("Address2"));
    r.telNo1 = q.AsString(QStringLiteral("TelNo_1"));
    r.telNo2 = q.AsString(QStringLiteral("TelNo_2"));
    r.faxNo = q.AsString(QStringLiteral("Faxno"));
    r.mail1 = q.AsString(QStringLiteral("Mail_1"));
    r.mail2 = q.AsString(QStringLiteral("Mail_2"));
    r.birthDay = q.AsDate(QStringLiteral("BirthDay"));
    r.classId = q.AsInteger(QStringLiteral("Class"));
    r.classId2 = q.AsInteger(QStringLiteral("Class2"));
    r.note = q.AsString(QStringLiteral("Note"));
    r.print = q.AsString(QStringLiteral("Print")) == QStringLiteral("1");
    r.printCtrl = q.AsInteger(QStringLiteral("PrintCtrl"));
    r.makeDay = q.AsDate(QStringLiteral("MakeDay"));
    r.office = q.AsString(QStringLiteral("Office"));
    r.officeKana = q.AsString(QStringLiteral("OfficeKana"));
    r.officeZip = q.AsString(QStringLiteral("OfficeZip"));
    r.officeAddress1 = q.AsString(QStringLiteral("OfficeAddress1"));
    r.officeAddress2 = q.AsString(QStringLiteral("OfficeAddress2"));
    r.officeTel1 = q.AsString(QStringLiteral("OfficeTel_1"));
    r.officeTel2 = q.AsString(QStringLiteral("OfficeTel_2"));
    r.officeMail1 = q.AsString(QStringLiteral("OfficeMail_1"));
    r.officeMail2 = q.AsString(QStringLiteral("OfficeMail_2"));
    r.officeFax = q.AsString(QStringLiteral("OfficeFax"));
    r.officePost = q.AsString(QStringLiteral("OfficePost"));
    r.officeExecutive = q.AsString(QStringLiteral("OfficeExecutive"));
    r.img1 = q.AsString(QStringLiteral("img1"));
    r.img2 = q.AsString(QStringLiteral("img2"));
    r.useType = q.AsInteger(QStringLiteral("UseType"));
    r.sex = q.AsString(QStringLiteral("Sex"));
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        r.checkRen[i] = q.AsString(QStringLiteral("CheckRen") + n) == QStringLiteral("1");
        r.renmei[i] = q.AsString(QStringLiteral("Renmei") + n);
        r.renNameTitle[i] = q.AsString(QStringLiteral("RenNameTitle") + n);
        r.sashikomi[i] = q.AsString(QStringLiteral("Sashikomi") + n);
    }
    // An open result would keep other connections from writing.
    userQuery.Close();
    return r;
}

QString BuildUpdateStatement(const CustomerRecord &r) {
    QString s = QStringLiteral("update Usertbl set Kana = ") + QuoteSql(r.kana);
    const auto text = [&s](QStringView column, const QString &value) {
        s += QStringLiteral(", ") + column.toString() + QStringLiteral(" = ") + QuoteSql(value);
    };
    text(u"Name", r.name);
    text(u"Zip", r.zip);
    text(u"Address1", r.address1);
    text(u"Address2", r.address2);
    text(u"Office", r.office);
    text(u"Faxno", r.faxNo);
    text(u"Telno_1", r.telNo1);
    text(u"Telno_2", r.telNo2);
    text(u"Mail_1", r.mail1);
    text(u"Mail_2", r.mail2);
    text(u"PrintCtrl", QString::number(r.printCtrl));
    text(u"OfficeZip", r.officeZip);
    text(u"OfficeAddress1", r.officeAddress1);
    text(u"OfficeAddress2", r.officeAddress2);
    text(u"OfficeTel_1", r.officeTel1);
    text(u"OfficeTel_2", r.officeTel2);
    text(u"OfficeMail_1", r.officeMail1);
    text(u"OfficeMail_2", r.officeMail2);
    text(u"OfficeFax", r.officeFax);
    text(u"OfficePost", r.officePost);
    text(u"OfficeExecutive", r.officeExecutive);
    text(u"NameTitle", r.nameTitle);
    text(u"OfficeKana", r.officeKana);
    s += QStringLiteral(", BirthDay = ") + SqlDate(r.birthDay);
    s += QStringLiteral(", Class = ") + QString::number(r.classId);
    s += QStringLiteral(", Class2 = ") + QString::number(r.classId2);
    s += QStringLiteral(", Sex = ") + QuoteSql(r.sex);
    s += QStringLiteral(", Note = :MEMOETC,");
    s += QStringLiteral("CheckRen1 = ") + QuoteSql(Flag(r.checkRen[0]));
    text(u"CheckRen2", Flag(r.checkRen[1]));
    text(u"CheckRen3", Flag(r.checkRen[2]));
    text(u"CheckRen4", Flag(r.checkRen[3]));
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("Renmei%1").arg(i + 1), r.renmei[i]);
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("RenNameTitle%1").arg(i + 1), r.renNameTitle[i]);
    for (int i = 0; i < 4; ++i)
        text(QStringLiteral("Sashikomi%1").arg(i + 1), r.sashikomi[i]);
    text(u"UseType", QString::number(r.useType));
    text(u"print", Flag(r.print));
    s += QStringLiteral(" where UserID =") + QString::number(r.userId);
    return s;
}

bool SaveCustomerRecord(Query &userQuery, const CustomerRecord &record) {
    userQuery.SetMemo(record.note);
    return userQuery.Execute(BuildUpdateStatement(record)) > 0;
}
