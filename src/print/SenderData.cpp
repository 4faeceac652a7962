#include "print/SenderData.h"

#include "core/IniFile.h"
#include "core/PostalCode.h"
#include "core/TextHelpers.h"
#include "print/LayoutEngine.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

const QString kSection = QStringLiteral("SENDER");

// A key of the section and the sender data's field it holds: a text or a print choice.
struct SenderKey {
    const char *Name;
    QString TSenderBuff::*Text = nullptr;
    bool TSenderBuff::*Flag = nullptr;
};

// Every field of the sender data, in the order the print choice window writes them.
const std::array<SenderKey, 19> kSenderKeys = {{
    {"NAME", &TSenderBuff::Name},
    {"ZIP1", &TSenderBuff::Zip1},
    {"ZIP2", &TSenderBuff::Zip2},
    {"ZIPCODE", &TSenderBuff::ZipCode},
    {"TEL", &TSenderBuff::Tel},
    {"TELCHECK", nullptr, &TSenderBuff::TelCheck},
    {"FAX", &TSenderBuff::Fax},
    {"FAXCHECK", nullptr, &TSenderBuff::FaxCheck},
    {"OFFICENAME", &TSenderBuff::OfficeName},
    {"OFFICECHECK", nullptr, &TSenderBuff::OfficeCheck},
    {"POST", &TSenderBuff::Post},
    {"POSTCHECK", nullptr, &TSenderBuff::PostCheck},
    {"EXECUTIVE", &TSenderBuff::Executive},
    {"EXECUTIVECHECK", nullptr, &TSenderBuff::ExecutiveCheck},
    {"MAIL", &TSenderBuff::Mail},
    {"MAILCHECK", nullptr, &TSenderBuff::MailCheck},
    {"HP", &TSenderBuff::Hp},
    {"HPCHECK", nullptr, &TSenderBuff::HpCheck},
    {"ZIPPRINTSTATE", nullptr, &TSenderBuff::ZipPrintState},
}};

// The edit window's order; the mobile mail is not part of the sender data.
const char *const kMobileMailKey = "HPMAIL";
const std::array<const char *, 20> kEditWindowOrder = {
    "NAME",     "ZIP1",      "ZIP2",       "ZIPCODE",     "TEL",       "FAX",           "MAIL",
    "HPMAIL",   "HP",        "OFFICENAME", "POST",        "EXECUTIVE", "ZIPPRINTSTATE", "TELCHECK",
    "FAXCHECK", "MAILCHECK", "HPCHECK",    "OFFICECHECK", "POSTCHECK", "EXECUTIVECHECK"};

void WriteKey(IniFile &ini, const TSenderBuff &sender, const SenderKey &key) {
    const QString name = QString::fromLatin1(key.Name);
    if (key.Text)
        ini.WriteString(kSection, name, sender.*key.Text);
    else
        ini.WriteBool(kSection, name, sender.*key.Flag);
}

} // namespace

std::pair<QString, QString> SplitName(const QString &text) {
    QString name = text;
    name.replace(QChar(0x3000), u' ');
    const qsizetype space = name.indexOf(u' ');
    if (space < 0)
        return {name, QString()};
    const QString first = name.left(space);
    const QString second = name.mid(space + 1);
    if (first.isEmpty())
        return {second, QString()};
    return {first, second};
}

void ComposeSenderPrintData(const TSenderBuff &shown, TPrintSenderData &record) {
    TPrintSenderData composed;
    composed.AddressSize = record.AddressSize;
    composed.SenderNameSize = record.SenderNameSize;
    composed.OfficeSize = record.OfficeSize;
    composed.ExecutiveTitleSize = record.ExecutiveTitleSize;
    composed.TelFaxSize = record.TelFaxSize;
    composed.MailSize = record.MailSize;
    composed.HpSize = record.HpSize;
    composed.SenderBuff = shown;

    if (!shown.Zip1.isEmpty())
        ++composed.AddressLineCount;
    composed.PrintAddress1 = ToFullWidth(shown.Zip1);
    if (!shown.Zip2.isEmpty())
        ++composed.AddressLineCount;
    composed.PrintAddress2 = ToFullWidth(shown.Zip2);
    if (!shown.ZipPrintState && !shown.ZipCode.trimmed().isEmpty()) {
        composed.PrintPostCode = QStringLiteral("〒") + ToFullWidth(shown.ZipCode);
        ++composed.AddressLineCount;
    }
    composed.MarkedZipCode =
        NormalisedPostalCode(shown.ZipCode).value_or(shown.ZipCode) + kPostalCodeEndMarker;

    const auto printed = [](bool check, const QString &text) {
        return check && !text.trimmed().isEmpty();
    };
    if (printed(shown.TelCheck, shown.Tel)) {
        ++composed.ContactLineCount;
        composed.PrintTel = ToFullWidth(shown.Tel);
        composed.TelLabel = QStringLiteral("ＴＥＬ ");
    }
    if (printed(shown.FaxCheck, shown.Fax)) {
        ++composed.ContactLineCount;
        composed.PrintFax = ToFullWidth(shown.Fax);
        composed.FaxLabel = QStringLiteral("ＦＡＸ ");
    }
    if (printed(shown.MailCheck, shown.Mail)) {
        ++composed.ContactLineCount;
        composed.PrintMail = shown.Mail;
        composed.MailLabel = QStringLiteral("Ｅメール ");
    }
    if (printed(shown.HpCheck, shown.Hp) && shown.Hp.trimmed() != QStringLiteral("http://")) {
        ++composed.ContactLineCount;
        composed.PrintHp = shown.Hp;
        composed.HpLabel = QStringLiteral("ＨＰ　");
    }

    std::tie(composed.PrintFamilyName, composed.PrintGivenName) =
        SplitName(ToFullWidth(shown.Name));

    composed.NameCount = 1;
    if (shown.OfficeCheck) {
        composed.PrintOffice = ToFullWidth(shown.OfficeName);
        ++composed.OfficeLineCount;
    }
    if (shown.PostCheck) {
        composed.PrintPost = ToFullWidth(shown.Post);
        ++composed.OfficeLineCount;
    }
    if (shown.ExecutiveCheck)
        composed.PrintExecutive = ToFullWidth(shown.Executive);
    record = std::move(composed);
}

QString SenderConfPath(const QString &dataPath) {
    const QString lower = dataPath + QStringLiteral("conf.ini");
    const QString upper = dataPath + QStringLiteral("Conf.ini");
    return !QFileInfo::exists(lower) && QFileInfo::exists(upper) ? upper : lower;
}

TSenderBuff ReadSenderBuff(const IniFile &ini) {
    TSenderBuff defaults;
    defaults.Hp = QStringLiteral("http://");
    TSenderBuff s;
    for (const SenderKey &key : kSenderKeys) {
        const QString name = QString::fromLatin1(key.Name);
        if (key.Text)
            s.*key.Text = ini.ReadString(kSection, name, defaults.*key.Text);
        else
            s.*key.Flag = ini.ReadBool(kSection, name, defaults.*key.Flag);
    }
    return s;
}

QString ReadSenderMobileMail(const IniFile &ini) {
    return ini.ReadString(kSection, QString::fromLatin1(kMobileMailKey));
}

void WriteSenderData(IniFile &ini, const TSenderBuff &s, const QString &mobileMail) {
    for (const char *name : kEditWindowOrder) {
        if (std::strcmp(name, kMobileMailKey) == 0) {
            ini.WriteString(kSection, QString::fromLatin1(name), mobileMail);
            continue;
        }
        WriteKey(
            ini, s,
            *std::find_if(kSenderKeys.begin(), kSenderKeys.end(), [name](const SenderKey &key) {
                return std::strcmp(key.Name, name) == 0;
            }));
    }
}

void WriteSenderBuff(IniFile &ini, const TSenderBuff &s) {
    for (const SenderKey &key : kSenderKeys)
        WriteKey(ini, s, key);
}
