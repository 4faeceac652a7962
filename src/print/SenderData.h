#pragma once

// The user's own data (section SENDER of "conf.ini") and the record it becomes for the sender
// block of an address face.

#include <QPoint>
#include <QString>
#include <utility>

class IniFile;

// The sender data as stored, and the print choices.
struct TSenderBuff {
    QString Name;
    QString Zip1;
    QString Zip2;
    QString ZipCode;
    QString Tel;
    bool TelCheck = false;
    QString Fax;
    bool FaxCheck = false;
    QString OfficeName;
    bool OfficeCheck = false;
    QString Post;
    bool PostCheck = false;
    QString Executive;
    bool ExecutiveCheck = false;
    QString Mail;
    bool MailCheck = false;
    QString Hp;
    bool HpCheck = false;
    bool ZipPrintState = true; // true: the postal code goes into the boxes
};

// One card's sender block: texts and counts from ComposeSenderPrintData, start sizes from the
// caller, final sizes, positions and spacing from LayoutSender.
struct TPrintSenderData {
    TSenderBuff SenderBuff;

    int AddressLineCount = 0; // 0 to 3
    int OfficeLineCount = 0;  // company name and department, 0 to 2
    int NameCount = 0;        // always 1
    int ContactLineCount = 0; // 0 to 4
    QString PrintPostCode;    // "〒" + code, only when printed as a line of the sender text
    QString PrintAddress1;
    QString PrintAddress2;
    QString PrintOffice;
    QString PrintPost;
    QString PrintExecutive;
    QString PrintFamilyName;
    QString PrintGivenName;
    QString TelLabel;
    QString FaxLabel;
    QString MailLabel;
    QString HpLabel;
    QString PrintTel;
    QString PrintFax;
    QString PrintMail;
    QString PrintHp;
    QString MarkedZipCode; // the code as typed + end marker, for the sender postal boxes

    // Points: start sizes set by the caller, lowered by LayoutSender.
    double AddressSize = 0;
    double SenderNameSize = 0;
    double OfficeSize = 0;
    double ExecutiveTitleSize = 0;
    double TelFaxSize = 0;
    double MailSize = 0;
    double HpSize = 0;

    // Device dots, set by LayoutSender.
    QPoint PostCodePos;
    QPoint Address1Pos;
    QPoint Address2Pos;
    QPoint FamilyNamePos;
    QPoint GivenNamePos;
    QPoint TelLabelPos;
    QPoint FaxLabelPos;
    QPoint MailLabelPos;
    QPoint HpLabelPos;
    QPoint TelPos;
    QPoint FaxPos;
    QPoint MailPos;
    QPoint HpPos;
    QPoint OfficePos;
    QPoint PostPos;
    QPoint ExecutivePos;
    int CharSpacing = 0; // dots between the characters of the name
};

// Splits a name at its first (half- or full-width) space into family and given part; a name
// without space, or one that starts with a space, is all family part.
std::pair<QString, QString> SplitName(const QString &text);

// Fills the texts and counts of `record` from the sender data and the print choices shown
// (`shown`), keeping the record's font sizes. Everything else of the record is reset.
void ComposeSenderPrintData(const TSenderBuff &shown, TPrintSenderData &record);

// The settings file of the data folder (`dataPath` ends in "/"): "conf.ini", or "Conf.ini"
// when only that one exists.
QString SenderConfPath(const QString &dataPath);

// Section SENDER read with its defaults (HP "http://", postal code into the boxes).
TSenderBuff ReadSenderBuff(const IniFile &ini);
QString ReadSenderMobileMail(const IniFile &ini);
// Writes everything the edit window holds, in its key order.
void WriteSenderData(IniFile &ini, const TSenderBuff &sender, const QString &mobileMail);
// Writes the nineteen values of the print choice window, in its key order.
void WriteSenderBuff(IniFile &ini, const TSenderBuff &sender);
