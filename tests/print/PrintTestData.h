#pragma once

// The customer, sender, postcard choices and postal code data the print tests share, and the
// folder where they leave pictures for a look by eye.

#include "core/TextFile.h"
#include "platform/CustomerBarcode.h"
#include "print/HeadlessPrint.h"
#include "print/PrintList.h"
#include "print/PrintSettings.h"
#include "print/SenderData.h"

#include <QDir>
#include <QTemporaryDir>

// 山田太郎 at home in 稲毛区 and at his company in 台東区, with joint names in three slots: the
// first and third marked, the second (山田 次郎) not.
inline PrintRow SampleCustomerRow(int useType, int printCtrl) {
    PrintRow row;
    row.Mark = kPrintMark;
    auto &s = row.SubItems;
    s[kColName] = QStringLiteral("山田　太郎");
    s[kColNameTitle] = QStringLiteral("様");
    s[kColAddress1] = QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8");
    s[kColAddress2] = QStringLiteral("郵便ビル403号");
    s[kColZip] = QStringLiteral("263-0023");
    s[kColOffice] = QStringLiteral("株式会社ブリスコ商事");
    s[kColOfficeZip] = QStringLiteral("110-0016");
    s[kColOfficeAddress1] = QStringLiteral("東京都台東区台東5-6-3");
    s[kColOfficeAddress2] = QStringLiteral("ABCビル10F");
    s[kColOfficePost] = QStringLiteral("営業部");
    s[kColOfficeExecutive] = QStringLiteral("部長");
    s[kColPrintCtrl] = PrintControlText(printCtrl);
    s[kColUseType] = UseTypeText(useType);
    const QStringList names = {QStringLiteral("山田　花子"), QStringLiteral("山田 次郎"),
                               QStringLiteral("さくら"), QString()};
    const QStringList titles = {QStringLiteral("様"), QStringLiteral("殿"),
                                QStringLiteral("ちゃん"), QString()};
    for (int slot = 0; slot < kJointSlots; ++slot) {
        s[JointMarkColumn(slot)] = slot == 0 || slot == 2 ? kJointOnMark : kJointOffMark;
        s[JointNameColumn(slot)] = names[slot];
        s[JointTitleColumn(slot)] = titles[slot];
    }
    return row;
}

// A sender at a company, every line ticked.
inline TSenderBuff SampleSender() {
    TSenderBuff s;
    s.Name = QStringLiteral("鈴木　一郎");
    s.ZipCode = QStringLiteral("100-0001");
    s.Zip1 = QStringLiteral("東京都千代田区千代田1-1");
    s.Zip2 = QStringLiteral("皇居前ビル2F");
    s.Tel = QStringLiteral("03-1234-5678");
    s.TelCheck = true;
    s.Fax = QStringLiteral("03-1234-5679");
    s.FaxCheck = true;
    s.Mail = QStringLiteral("info@example.jp");
    s.MailCheck = true;
    s.Hp = QStringLiteral("http://");
    s.HpCheck = true;
    s.OfficeName = QStringLiteral("ブリスコ株式会社");
    s.OfficeCheck = true;
    s.Post = QStringLiteral("総務部");
    s.PostCheck = true;
    s.Executive = QStringLiteral("課長");
    s.ExecutiveCheck = true;
    return s;
}

// Postcards of a paper kind with its default frames and the customer barcode.
inline PrintSettings PostcardSettings(bool vertical, bool printSender,
                                      int kind = kDefaultPaperKind) {
    PrintSettings s;
    s.PostcardIndex = kind;
    s.Vertical = vertical;
    s.PrintSender = printSender;
    s.PrintCostom = true;
    s.Frames = DefaultFrames(kind, vertical);
    return s;
}

// Postal code data in `folder` that knows the towns of the sample customer's two addresses,
// made the one the barcode reads.
inline bool UseSampleZipData(const QTemporaryDir &folder) {
    const QString path = folder.filePath(QStringLiteral("zip.dat"));
    if (!folder.isValid() ||
        !TextFile::WriteLines(path, {QStringLiteral("2630023,千葉県千葉市稲毛区緑町"),
                                     QStringLiteral("1100016,東京都台東区台東")}))
        return false;
    CustomerBarcode::SetZipDataPath(path);
    return true;
}

// The folder named by PELLOR3_SAMPLE_OUT, else `fallback` under the temp folder; made if missing.
inline QString SampleOutputFolder(const QString &fallback) {
    const QString wanted = qEnvironmentVariable("PELLOR3_SAMPLE_OUT");
    const QString folder = wanted.isEmpty() ? QDir::temp().filePath(fallback) : wanted;
    QDir().mkpath(folder);
    return folder;
}
