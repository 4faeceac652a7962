#include "core/TextHelpers.h"
#include "print/SenderData.h"

#include <QTest>

Q_DECLARE_METATYPE(TSenderBuff)

class TestSenderData : public QObject {
    Q_OBJECT
private slots:
    void splitName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("full-width space") << "山田　太郎"
                                          << "山田"
                                          << "太郎";
        QTest::newRow("half-width space") << "山田 太郎"
                                          << "山田"
                                          << "太郎";
        QTest::newRow("further spaces stay in the second part") << "山田 太郎　次郎"
                                                                << "山田"
                                                                << "太郎 次郎";
        QTest::newRow("leading space: rest is the first part") << "　太郎"
                                                               << "太郎"
                                                               << "";
        QTest::newRow("no space") << "山田太郎"
                                  << "山田太郎"
                                  << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void splitName() {
        QFETCH(QString, name);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const auto [family, given] = SplitName(name);
        QCOMPARE(family, first);
        QCOMPARE(given, second);
    }

    void fullWidthForPrinting_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("printed");
        QTest::newRow("telephone") << "03-1234-5678"
                                   << "０３―１２３４―５６７８";
        QTest::newRow("letters keep their case") << "Abc ビル"
                                                 << "Ａｂｃ ビル";
        QTest::newRow("full-width hyphen-minus") << "1－2"
                                                 << "１―２";
        QTest::newRow("half-width katakana and signs unchanged") << "ｱｲ@#"
                                                                 << "ｱｲ@#";
    }
    void fullWidthForPrinting() {
        QFETCH(QString, text);
        QFETCH(QString, printed);
        QCOMPARE(ToFullWidth(text), printed);
    }

    void composeCountsAndLabels_data() {
        QTest::addColumn<TSenderBuff>("sender");
        QTest::addColumn<QList<int>>("counts");  // address, office, name, contact lines
        QTest::addColumn<QStringList>("labels"); // tel, fax, mail, hp
        TSenderBuff empty;
        empty.Hp = QStringLiteral("http://");
        QTest::newRow("nothing entered")
            << empty << QList<int>{0, 0, 1, 0} << QStringList{"", "", "", ""};
        TSenderBuff lines = empty;
        lines.Zip1 = QStringLiteral("  ");
        lines.ZipCode = QStringLiteral("100-0001");
        lines.ZipPrintState = false;
        QTest::newRow("blank address line and postal code as a line")
            << lines << QList<int>{2, 0, 1, 0} << QStringList{"", "", "", ""};
        TSenderBuff contacts = empty;
        contacts.Tel = QStringLiteral("03-1234-5678");
        contacts.TelCheck = true;
        contacts.Fax = QStringLiteral("   ");
        contacts.FaxCheck = true;
        contacts.Mail = QStringLiteral("a-1@example.jp");
        contacts.MailCheck = true;
        contacts.HpCheck = true;
        QTest::newRow("blank fax and unchanged home page add no line")
            << contacts << QList<int>{0, 0, 1, 2} << QStringList{"ＴＥＬ ", "", "Ｅメール ", ""};
        TSenderBuff all = contacts;
        all.Fax = QStringLiteral("03-9999");
        all.Hp = QStringLiteral("http://example.jp");
        all.OfficeCheck = true;
        all.PostCheck = true;
        all.Post = QStringLiteral("総務部");
        all.ExecutiveCheck = true;
        all.Executive = QStringLiteral("課長");
        QTest::newRow("every contact; empty company name still a line")
            << all << QList<int>{0, 2, 1, 4}
            << QStringList{"ＴＥＬ ", "ＦＡＸ ", "Ｅメール ", "ＨＰ　"};
        TSenderBuff unchecked = all;
        unchecked.TelCheck = unchecked.FaxCheck = unchecked.MailCheck = unchecked.HpCheck = false;
        unchecked.OfficeCheck = unchecked.PostCheck = false;
        QTest::newRow("nothing ticked")
            << unchecked << QList<int>{0, 0, 1, 0} << QStringList{"", "", "", ""};
        TSenderBuff emptyCode = empty;
        emptyCode.ZipPrintState = false;
        emptyCode.ZipCode = QStringLiteral(" ");
        QTest::newRow("postal code as a line, but blank")
            << emptyCode << QList<int>{0, 0, 1, 0} << QStringList{"", "", "", ""};
    }
    void composeCountsAndLabels() {
        QFETCH(TSenderBuff, sender);
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, labels);
        TPrintSenderData r;
        r.AddressSize = 13;
        r.HpSize = 11;
        r.CharSpacing = 9;
        r.TelPos = QPoint(3, 4);
        ComposeSenderPrintData(sender, r);
        QCOMPARE(
            (QList<int>{r.AddressLineCount, r.OfficeLineCount, r.NameCount, r.ContactLineCount}),
            counts);
        QCOMPARE((QStringList{r.TelLabel, r.FaxLabel, r.MailLabel, r.HpLabel}), labels);
        QCOMPARE(r.PrintTel.isEmpty(), labels[0].isEmpty());
        QCOMPARE(r.PrintHp.isEmpty(), labels[3].isEmpty());
        QCOMPARE(r.MarkedZipCode, sender.ZipCode + QStringLiteral("endpostcode"));
        QCOMPARE(r.SenderBuff.Tel, sender.Tel);
        // Start sizes stay for the layout; everything else starts afresh.
        QCOMPARE(r.AddressSize, 13.0);
        QCOMPARE(r.HpSize, 11.0);
        QCOMPARE(r.CharSpacing, 0);
        QVERIFY(r.TelPos.isNull());
    }

    void composePrintedTexts() {
        TSenderBuff s;
        s.Name = QStringLiteral("鈴木　Taro");
        s.Zip1 = QStringLiteral("東京都港区1-2");
        s.ZipCode = QStringLiteral("105-0011");
        s.ZipPrintState = false;
        s.Tel = QStringLiteral("03-1234");
        s.TelCheck = true;
        s.Mail = QStringLiteral("taro-1@example.jp");
        s.MailCheck = true;
        s.OfficeName = QStringLiteral("ABC商事");
        s.OfficeCheck = true;
        s.Executive = QStringLiteral("CEO");
        TPrintSenderData r;
        ComposeSenderPrintData(s, r);
        QCOMPARE(r.PrintAddress1, QStringLiteral("東京都港区１―２"));
        QCOMPARE(r.PrintPostCode, QStringLiteral("〒１０５―００１１"));
        QCOMPARE(r.PrintTel, QStringLiteral("０３―１２３４"));
        QCOMPARE(r.PrintMail, QStringLiteral("taro-1@example.jp"));
        QCOMPARE(r.PrintFamilyName, QStringLiteral("鈴木"));
        QCOMPARE(r.PrintGivenName, QStringLiteral("Ｔａｒｏ"));
        QCOMPARE(r.PrintOffice, QStringLiteral("ＡＢＣ商事"));
        QVERIFY(r.PrintExecutive.isEmpty());
        QCOMPARE(r.MarkedZipCode, QStringLiteral("105-0011endpostcode"));
    }
};

QTEST_MAIN(TestSenderData)
#include "tst_senderdata.moc"
