#pragma once

// The customer, sender, postcard choices and postal code data the print tests share, and the
// folder where they leave pictures for a look by eye.

#include "core/TextFile.h"
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
    row.Marked = true;
    CustomerRecord &c = row.Customer;
    c.name = QStringLiteral("山田　太郎");
    c.nameTitle = QStringLiteral("様");
    c.address1 = QStringLiteral("千葉県千葉市稲毛区緑町3丁目30-8");
    c.address2 = QStringLiteral("郵便ビル403号");
    c.zip = QStringLiteral("263-0023");
    c.office = QStringLiteral("株式会社ブリスコ商事");
    c.officeZip = QStringLiteral("110-0016");
    c.officeAddress1 = QStringLiteral("東京都台東区台東5-6-3");
    c.officeAddress2 = QStringLiteral("ABCビル10F");
    c.officePost = QStringLiteral("営業部");
    c.officeExecutive = QStringLiteral("部長");
    c.printCtrl = printCtrl;
    c.useType = useType;
    c.renmei = {QStringLiteral("山田　花子"), QStringLiteral("山田 次郎"), QStringLiteral("さくら"),
                QString()};
    c.renNameTitle = {QStringLiteral("様"), QStringLiteral("殿"), QStringLiteral("ちゃん"),
                      QString()};
    c.checkRen = {true, false, true, false};
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

// The postal code file that knows the towns of the sample customer's two addresses, written
// once per test program; empty when it could not be written.
inline QString SampleZipDataPath() {
    static const QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("zip.dat"));
        const bool written =
            folder.isValid() &&
            TextFile::WriteLines(file, {QStringLiteral("2630023,千葉県千葉市稲毛区緑町"),
                                        QStringLiteral("1100016,東京都台東区台東")});
        return written ? file : QString();
    }();
    return path;
}

// The folder named by PELLOR3_SAMPLE_OUT, else `fallback` under the temp folder; made if missing.
inline QString SampleOutputFolder(const QString &fallback) {
    const QString wanted = qEnvironmentVariable("PELLOR3_SAMPLE_OUT");
    const QString folder = wanted.isEmpty() ? QDir::temp().filePath(fallback) : wanted;
    QDir().mkpath(folder);
    return folder;
}
