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
    {"ChBOfficeZip", u"郵便番号", u"郵便番号", "OfficeZip", Text, Company},
    {"ChBOfficeAddress1", u"住所１", u"住所１", "OfficeAddress1", Text, Company},
    {"ChBOfficeAddress2", u"住所２", u"住所２", "OfficeAddress2", Text, Company},
    {"ChBOfficeTel1", u"電話１", u"電話１", "OfficeTel_1", Text, Company},
    {"ChBOfficeTel2", u"電話２", u"電話２", "OfficeTel_2", Text, Company},
    {"ChBOfficeFax", u"FAX", u"ＦＡＸ", "OfficeFax", Text, Company},
    {"ChBOfficeMail1", u"メール１", u"メール１", "OfficeMail_1", Text, Company},
    {"ChBOfficeMail2", u"メール２", u"メール２", "OfficeMail_2", Text, Company},
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

constexpr const char16_t *Sama = u"様";

constexpr std::array<ImportField, 38> importFields{{
    {u"名前", "Name", u"", ImportValue::Text},
    {u"ﾌﾘｶﾞﾅ", "Kana", u"", ImportValue::Reading},
    {u"敬称", "NameTitle", Sama, ImportValue::Text},
    {u"郵便番号", "Zip", u"", ImportValue::Text},
    {u"住所１", "Address1", u"", ImportValue::Text},
    {u"住所２", "Address2", u"", ImportValue::Text},
    {u"ＦＡＸ", "FaxNo", u"", ImportValue::Text},
    {u"電話１", "TelNo_1", u"", ImportValue::Text},
    {u"電話２", "TelNo_2", u"", ImportValue::Text},
    {u"メール１", "Mail_1", u"", ImportValue::Text},
    {u"メール２", "mail_2", u"", ImportValue::Text},
    {u"会社名", "Office", u"", ImportValue::Text},
    {u"会社名フリガナ", "OfficeKana", u"", ImportValue::Reading},
    {u"会社郵便番号", "OfficeZip", u"", ImportValue::Text},
    {u"会社住所１", "OfficeAddress1", u"", ImportValue::Text},
    {u"会社住所２", "OfficeAddress2", u"", ImportValue::Text},
    {u"会社ＦＡＸ", "OfficeFax", u"", ImportValue::Text},
    {u"会社電話１", "OfficeTel_1", u"", ImportValue::Text},
    {u"会社電話２", "OfficeTel_2", u"", ImportValue::Text},
    {u"会社メール１", "OfficeMail_1", u"", ImportValue::Text},
    {u"会社メール２", "OfficeMail_2", u"", ImportValue::Text},
    {u"部署", "OfficePost", u"", ImportValue::Text},
    {u"役職", "OfficeExecutive", u"", ImportValue::Text},
    {u"生年月日", "BirthDay", u"", ImportValue::Date},
    {u"性別", "Sex", u"", ImportValue::Text},
    {u"備考", "Note", u"", ImportValue::Memo},
    {u"連名１", "Renmei1", u"", ImportValue::Text},
    {u"連名１敬称", "RenNameTitle1", Sama, ImportValue::Text},
    {u"連名２", "Renmei2", u"", ImportValue::Text},
    {u"連名２敬称", "RenNameTitle2", Sama, ImportValue::Text},
    {u"連名３", "Renmei3", u"", ImportValue::Text},
    {u"連名３敬称", "RenNameTitle3", Sama, ImportValue::Text},
    {u"連名４", "Renmei4", u"", ImportValue::Text},
    {u"連名４敬称", "RenNameTitle4", Sama, ImportValue::Text},
    {u"差込１", "Sashikomi1", u"", ImportValue::Text},
    {u"差込２", "Sashikomi2", u"", ImportValue::Text},
    {u"差込３", "Sashikomi3", u"", ImportValue::Text},
    {u"差込４", "Sashikomi4", u"", ImportValue::Text},
}};

} // namespace

std::span<const ExportColumn> ExportColumns() {
    return exportColumns;
}

std::span<const ImportField> ImportFields() {
    return importFields;
}
