#include "print/SenderData.h"

#include "core/IniFile.h"
#include "core/TextHelpers.h"
#include "print/LayoutEngine.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("SENDER");

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
    composed.MarkedZipCode = shown.ZipCode + kPostalCodeEndMarker;

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
    TSenderBuff s;
    s.Name = ini.ReadString(kSection, QStringLiteral("NAME"));
    s.Zip1 = ini.ReadString(kSection, QStringLiteral("ZIP1"));
    s.Zip2 = ini.ReadString(kSection, QStringLiteral("ZIP2"));
    s.ZipCode = ini.ReadString(kSection, QStringLiteral("ZIPCODE"));
    s.Tel = ini.ReadString(kSection, QStringLiteral("TEL"));
    s.TelCheck = ini.ReadBool(kSection, QStringLiteral("TELCHECK"), false);
    s.Fax = ini.ReadString(kSection, QStringLiteral("FAX"));
    s.FaxCheck = ini.ReadBool(kSection, QStringLiteral("FAXCHECK"), false);
    s.OfficeName = ini.ReadString(kSection, QStringLiteral("OFFICENAME"));
    s.OfficeCheck = ini.ReadBool(kSection, QStringLiteral("OFFICECHECK"), false);
    s.Post = ini.ReadString(kSection, QStringLiteral("POST"));
    s.PostCheck = ini.ReadBool(kSection, QStringLiteral("POSTCHECK"), false);
    s.Executive = ini.ReadString(kSection, QStringLiteral("EXECUTIVE"));
    s.ExecutiveCheck = ini.ReadBool(kSection, QStringLiteral("EXECUTIVECHECK"), false);
    s.Mail = ini.ReadString(kSection, QStringLiteral("MAIL"));
    s.MailCheck = ini.ReadBool(kSection, QStringLiteral("MAILCHECK"), false);
    s.Hp = ini.ReadString(kSection, QStringLiteral("HP"), QStringLiteral("http://"));
    s.HpCheck = ini.ReadBool(kSection, QStringLiteral("HPCHECK"), false);
    s.ZipPrintState = ini.ReadBool(kSection, QStringLiteral("ZIPPRINTSTATE"), true);
    return s;
}

QString ReadSenderMobileMail(const IniFile &ini) {
    return ini.ReadString(kSection, QStringLiteral("HPMAIL"));
}

void WriteSenderData(IniFile &ini, const TSenderBuff &s, const QString &mobileMail) {
    const auto text = [&](const char *key, const QString &value) {
        ini.WriteString(kSection, QString::fromLatin1(key), value);
    };
    const auto flag = [&](const char *key, bool value) {
        ini.WriteBool(kSection, QString::fromLatin1(key), value);
    };
    text("NAME", s.Name);
    text("ZIP1", s.Zip1);
    text("ZIP2", s.Zip2);
    text("ZIPCODE", s.ZipCode);
    text("TEL", s.Tel);
    text("FAX", s.Fax);
    text("MAIL", s.Mail);
    text("HPMAIL", mobileMail);
    text("HP", s.Hp);
    text("OFFICENAME", s.OfficeName);
    text("POST", s.Post);
    text("EXECUTIVE", s.Executive);
    flag("ZIPPRINTSTATE", s.ZipPrintState);
    flag("TELCHECK", s.TelCheck);
    flag("FAXCHECK", s.FaxCheck);
    flag("MAILCHECK", s.MailCheck);
    flag("HPCHECK", s.HpCheck);
    flag("OFFICECHECK", s.OfficeCheck);
    flag("POSTCHECK", s.PostCheck);
    flag("EXECUTIVECHECK", s.ExecutiveCheck);
}

void WriteSenderBuff(IniFile &ini, const TSenderBuff &s) {
    const auto text = [&](const char *key, const QString &value) {
        ini.WriteString(kSection, QString::fromLatin1(key), value);
    };
    const auto flag = [&](const char *key, bool value) {
        ini.WriteBool(kSection, QString::fromLatin1(key), value);
    };
    text("NAME", s.Name);
    text("ZIP1", s.Zip1);
    text("ZIP2", s.Zip2);
    text("ZIPCODE", s.ZipCode);
    text("TEL", s.Tel);
    flag("TELCHECK", s.TelCheck);
    text("FAX", s.Fax);
    flag("FAXCHECK", s.FaxCheck);
    text("OFFICENAME", s.OfficeName);
    flag("OFFICECHECK", s.OfficeCheck);
    text("POST", s.Post);
    flag("POSTCHECK", s.PostCheck);
    text("EXECUTIVE", s.Executive);
    flag("EXECUTIVECHECK", s.ExecutiveCheck);
    text("MAIL", s.Mail);
    flag("MAILCHECK", s.MailCheck);
    text("HP", s.Hp);
    flag("HPCHECK", s.HpCheck);
    flag("ZIPPRINTSTATE", s.ZipPrintState);
}
