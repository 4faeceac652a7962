#include "store/ExchangeColumns.h"

#include <array>

namespace {

using enum ExportValue;
using enum ExportGroup;

constexpr std::array<ExportColumn, 42> exportColumns{{
    {"ChBName", u"名前", u"名前", "Name", Text, None},
    {"ChBKana", u"フリガナ", u"フリガナ", "Kana", Text, None},
    {"ChBNameTitle", u"敬称", u"敬称", "NameTitle", Text, None},
    {"ChBZip", u"郵便番号", u"郵便番号", "Zip", Text, Personal},
    {"ChBAddress1", u"住所１", u"住所１", "Address1", Text, Personal},
    {"ChBAddress2", u"住所２", u"住所２", "Address2", Text, Personal},
    {"ChBTel1", u"電話１", u"電話１", "TelNo_1", Text, Personal},
    {"ChBTel2", u"電話２", u"電話２", "TelNo_2", Text, Personal},
    {"ChBFax", u"FAX", u"ＦＡＸ", "FaxNo", Text, Personal},
    {"ChBMail1", u"メール１", u"メール１", "Mail_1", Text, Personal},
    {"ChBMail2", u"メール２", u"メール２", "Mail_2", Text, Personal},
    {"ChBAge", u"年齢", u"年齢", "BirthDay", Age, Personal},
    {"ChBBirthday", u"生年月日", u"生年月日", "BirthDay", Date, Personal},
    {"ChBSex", u"性別", u"性別", "Sex", Text, Personal},
    {"ChBOffice", u"会社名", u"会社名", "Office", Text, Company},
    {"ChBOfficeKana", u"フリガナ", u"会社フリガナ", "OfficeKana", Text, Company},
    {"ChBOfficeZip", u"郵便番号", u"会社郵便番号", "OfficeZip", Text, Company},
    {"ChBOfficeAddress1", u"住所１", u"会社住所１", "OfficeAddress1", Text, Company},
    {"ChBOfficeAddress2", u"住所２", u"会社住所２", "OfficeAddress2", Text, Company},
    {"ChBOfficeTel1", u"電話１", u"会社電話１", "OfficeTel_1", Text, Company},
    {"ChBOfficeTel2", u"電話２", u"会社電話２", "OfficeTel_2", Text, Company},
    {"ChBOfficeFax", u"FAX", u"会社ＦＡＸ", "OfficeFax", Text, Company},
    {"ChBOfficeMail1", u"メール１", u"会社メール１", "OfficeMail_1", Text, Company},
    {"ChBOfficeMail2", u"メール２", u"会社メール２", "OfficeMail_2", Text, Company},
    {"ChBOfficePost", u"部署", u"部署", "OfficePost", Text, Company},
    {"ChBOfficeExecutive", u"役職", u"役職", "OfficeExecutive", Text, Company},
    {"ChBClass", u"分類１", u"分類１", "Class", ClassName1, None},
    {"ChBClass2", u"分類２", u"分類２", "Class2", ClassName2, None},
    {"ChBMakeDay", u"登録日", u"登録日", "MakeDay", Date, None},
    {"ChBNote", u"備考", u"備考", "Note", Text, None},
    {"ChbRenmei1", u"連名１", u"連名１", "Renmei1", Text, None},
    {"ChbRenmeiKei1", u"連名１敬称", u"連名敬称１", "RenNameTitle1", Text, None},
    {"ChbRenmei2", u"連名２", u"連名２", "Renmei2", Text, None},
    {"ChbRenmeiKei2", u"連名２敬称", u"連名敬称２", "RenNameTitle2", Text, None},
    {"ChbRenmei3", u"連名３", u"連名３", "Renmei3", Text, None},
    {"ChbRenmeiKei3", u"連名３敬称", u"連名敬称３", "RenNameTitle3", Text, None},
    {"ChbRenmei4", u"連名４", u"連名４", "Renmei4", Text, None},
    {"ChbRenmeiKei4", u"連名４敬称", u"連名敬称４", "RenNameTitle4", Text, None},
    {"ChbSashikomi1", u"差込１", u"差込１", "Sashikomi1", Text, None},
    {"ChbSashikomi2", u"差込２", u"差込２", "Sashikomi2", Text, None},
    {"ChbSashikomi3", u"差込３", u"差込３", "Sashikomi3", Text, None},
    {"ChbSashikomi4", u"差込４", u"差込４", "Sashikomi4", Text, None},
}};

// What the full export adds, so a re-import restores every stored value.
constexpr std::array<ExportColumn, 9> losslessColumns{{
    {"", u"使用区分", u"使用区分", "UseType", Text, None},
    {"", u"分類１番号", u"分類１番号", "Class", Text, None},
    {"", u"分類２番号", u"分類２番号", "Class2", Text, None},
    {"", u"印刷", u"印刷", "Print", Text, None},
    {"", u"印刷制御", u"印刷制御", "PrintCtrl", Text, None},
    {"", u"連名１印刷", u"連名１印刷", "CheckRen1", Text, None},
    {"", u"連名２印刷", u"連名２印刷", "CheckRen2", Text, None},
    {"", u"連名３印刷", u"連名３印刷", "CheckRen3", Text, None},
    {"", u"連名４印刷", u"連名４印刷", "CheckRen4", Text, None},
}};

constexpr const char16_t *Sama = u"様";

// Limits as the editor's entry fields hold them; the joint names, titles and inserts as the
// table's columns do.
constexpr std::array<ImportField, 48> importFields{{
    {u"名前", "Name", u"", ImportValue::Text, 40, u"氏名|お名前|姓名|name|fullname"},
    {u"ﾌﾘｶﾞﾅ", "Kana", u"", ImportValue::Reading, 40,
     u"フリガナ|ふりがな|よみ|よみがな|読み|ヨミ|カナ|氏名フリガナ|名前フリガナ|kana"},
    {u"敬称", "NameTitle", Sama, ImportValue::Text, 20, u""},
    {u"郵便番号", "Zip", u"", ImportValue::Postal, 8,
     u"〒|郵便|自宅郵便番号|個人郵便番号|zip|zipcode"},
    {u"住所１", "Address1", u"", ImportValue::Text, 60,
     u"住所|住所1|自宅住所|個人住所１|address|address1"},
    {u"住所２", "Address2", u"", ImportValue::Text, 60, u"住所2|番地|建物名|個人住所２|address2"},
    {u"ＦＡＸ", "FaxNo", u"", ImportValue::Text, 13, u"fax|ファックス|ファクス|個人ＦＡＸ"},
    {u"電話１", "TelNo_1", u"", ImportValue::Text, 13, u"電話|電話番号|tel|電話1|個人電話１|phone"},
    {u"電話２", "TelNo_2", u"", ImportValue::Text, 13, u"電話2|tel2|携帯|携帯電話|個人電話２"},
    {u"メール１", "Mail_1", u"", ImportValue::Text, 40,
     u"メール|メールアドレス|e-mail|email|mail|メール1"},
    {u"メール２", "mail_2", u"", ImportValue::Text, 40, u"メール2|携帯メール|e-mail2|email2"},
    {u"会社名", "Office", u"", ImportValue::Text, 50, u"会社|勤務先|勤務先名|company"},
    {u"会社名フリガナ", "OfficeKana", u"", ImportValue::Reading, 70,
     u"会社フリガナ|会社よみ|会社名よみ"},
    {u"会社郵便番号", "OfficeZip", u"", ImportValue::Postal, 8, u"会社〒|勤務先郵便番号"},
    {u"会社住所１", "OfficeAddress1", u"", ImportValue::Text, 60, u"会社住所|勤務先住所|会社住所1"},
    {u"会社住所２", "OfficeAddress2", u"", ImportValue::Text, 60, u"会社住所2|勤務先住所2"},
    {u"会社ＦＡＸ", "OfficeFax", u"", ImportValue::Text, 13, u"会社fax|勤務先fax"},
    {u"会社電話１", "OfficeTel_1", u"", ImportValue::Text, 13,
     u"会社電話|会社tel|勤務先電話|会社電話1"},
    {u"会社電話２", "OfficeTel_2", u"", ImportValue::Text, 13, u"会社電話2|会社tel2"},
    {u"会社メール１", "OfficeMail_1", u"", ImportValue::Text, 40,
     u"会社メール|会社メールアドレス|会社メール1"},
    {u"会社メール２", "OfficeMail_2", u"", ImportValue::Text, 40, u"会社メール2"},
    {u"部署", "OfficePost", u"", ImportValue::Text, 40, u"部署名|所属部署|所属"},
    {u"役職", "OfficeExecutive", u"", ImportValue::Text, 40, u"役職名|肩書"},
    {u"生年月日", "BirthDay", u"", ImportValue::Birthday, 0, u"誕生日|birthday"},
    {u"性別", "Sex", u"", ImportValue::Text, 20, u""},
    {u"備考", "Note", u"", ImportValue::Memo, 10000, u"メモ|コメント|note|notes"},
    {u"連名１", "Renmei1", u"", ImportValue::Text, 100, u"連名1"},
    {u"連名１敬称", "RenNameTitle1", Sama, ImportValue::Text, 100,
     u"連名敬称１|連名敬称1|連名1敬称"},
    {u"連名２", "Renmei2", u"", ImportValue::Text, 100, u"連名2"},
    {u"連名２敬称", "RenNameTitle2", Sama, ImportValue::Text, 100,
     u"連名敬称２|連名敬称2|連名2敬称"},
    {u"連名３", "Renmei3", u"", ImportValue::Text, 100, u"連名3"},
    {u"連名３敬称", "RenNameTitle3", Sama, ImportValue::Text, 100,
     u"連名敬称３|連名敬称3|連名3敬称"},
    {u"連名４", "Renmei4", u"", ImportValue::Text, 100, u"連名4"},
    {u"連名４敬称", "RenNameTitle4", Sama, ImportValue::Text, 100,
     u"連名敬称４|連名敬称4|連名4敬称"},
    {u"差込１", "Sashikomi1", u"", ImportValue::Text, 100, u"差込1"},
    {u"差込２", "Sashikomi2", u"", ImportValue::Text, 100, u"差込2"},
    {u"差込３", "Sashikomi3", u"", ImportValue::Text, 100, u"差込3"},
    {u"差込４", "Sashikomi4", u"", ImportValue::Text, 100, u"差込4"},
    // The class number, when the file has it, comes before the class name.
    {u"分類１", "Class", u"0", ImportValue::ClassName1, 0,
     u"分類１番号|分類1番号|分類|分類1|グループ"},
    {u"分類２", "Class2", u"0", ImportValue::ClassName2, 0, u"分類２番号|分類2番号|分類2"},
    {u"登録日", "MakeDay", u"", ImportValue::Date, 0, u"登録日付"},
    {u"使用区分", "UseType", u"0", ImportValue::Number, 0, u""},
    {u"印刷", "Print", u"0", ImportValue::Number, 0, u"印刷対象"},
    {u"印刷制御", "PrintCtrl", u"", ImportValue::Number, 0, u""},
    {u"連名１印刷", "CheckRen1", u"", ImportValue::Number, 0, u"連名1印刷"},
    {u"連名２印刷", "CheckRen2", u"", ImportValue::Number, 0, u"連名2印刷"},
    {u"連名３印刷", "CheckRen3", u"", ImportValue::Number, 0, u"連名3印刷"},
    {u"連名４印刷", "CheckRen4", u"", ImportValue::Number, 0, u"連名4印刷"},
}};

} // namespace

std::span<const ExportColumn> ExportColumns() {
    return exportColumns;
}

std::span<const ExportColumn> LosslessExportColumns() {
    return losslessColumns;
}

std::span<const ImportField> ImportFields() {
    return importFields;
}
