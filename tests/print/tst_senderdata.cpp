#include "core/IniFile.h"
#include "core/ShiftJis.h"
#include "core/TextFile.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "print/FPrintSenderCfg.h"
#include "print/FormMyData.h"
#include "print/SenderData.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList FileLines(const QString &path) {
    QStringList lines;
    TextFile::ReadLines(path, lines);
    lines.removeAll(QString());
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(TSenderBuff)

class TestSenderData : public QObject {
    Q_OBJECT
private slots:
    void init() {
        prompt = new ScriptedPrompt;
        Prompt::Install(std::unique_ptr<Prompt>(prompt));
        dir.emplace();
        QVERIFY(dir->isValid());
        dataPath = dir->path() + QStringLiteral("/");
        confPath = dataPath + QStringLiteral("conf.ini");
    }

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

    void editWindowSavesInItsKeyOrder() {
        QVERIFY(TextFile::WriteLines(confPath, {"[PRINT_CONF]", "FONT=ＭＳ 明朝", "VERTICAL=1"}));
        TFormMyData window(dataPath);
        window.FormShow();
        const SenderFormWidgets &f = window.Fields();
        QCOMPARE(f.HpEdit->text(), QStringLiteral("http://"));
        QVERIFY(f.PrintPostCodeRadioBtn1->isChecked());
        f.NameEdit->setText(QStringLiteral("鈴木　一郎"));
        f.ZipCodeEdit->setText(QStringLiteral("100-0001"));
        f.TelEdit->setText(QStringLiteral("03-1234"));
        f.PrintTelCheckBox->setChecked(true);
        f.Edit_HPMail->setText(QStringLiteral("m@example.jp"));
        f.PrintPostCodeRadioBtn2->setChecked(true);
        window.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(
            FileLines(confPath),
            (QStringList{"[PRINT_CONF]",    "FONT=ＭＳ 明朝", "VERTICAL=1",  "[SENDER]",
                         "NAME=鈴木　一郎", "ZIP1=",          "ZIP2=",       "ZIPCODE=100-0001",
                         "TEL=03-1234",     "FAX=",           "MAIL=",       "HPMAIL=m@example.jp",
                         "HP=http://",      "OFFICENAME=",    "POST=",       "EXECUTIVE=",
                         "ZIPPRINTSTATE=0", "TELCHECK=1",     "FAXCHECK=0",  "MAILCHECK=0",
                         "HPCHECK=0",       "OFFICECHECK=0",  "POSTCHECK=0", "EXECUTIVECHECK=0"}));

        TFormMyData again(dataPath);
        again.FormShow();
        QCOMPARE(again.Fields().NameEdit->text(), QStringLiteral("鈴木　一郎"));
        QVERIFY(again.Fields().PrintPostCodeRadioBtn2->isChecked());
        QVERIFY(again.Fields().PrintTelCheckBox->isChecked());
        QCOMPARE(again.Fields().Edit_HPMail->text(), QStringLiteral("m@example.jp"));
    }

    void editWindowCancelWritesNothing() {
        TFormMyData window(dataPath);
        window.FormShow();
        window.Fields().NameEdit->setText(QStringLiteral("鈴木"));
        window.findChild<QPushButton *>(QStringLiteral("Button2"))->click();
        QVERIFY(!QFile::exists(confPath));
        window.FormShow();
        QVERIFY(window.Fields().NameEdit->text().isEmpty());
    }

    void editWindowRefusesWhatTheFileCannotHold() {
        TFormMyData window(dataPath);
        window.FormShow();
        window.Fields().NameEdit->setText(QStringLiteral("鈴木😀"));
        window.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QVERIFY(!QFile::exists(confPath));
        QCOMPARE(prompt->Texts(QStringLiteral("error")).size(), 1);
        QVERIFY(prompt->Texts(QStringLiteral("error")).first().contains(QStringLiteral("😀")));
    }

    void printChoiceWindowCreatesTheFileAndShowsReadOnly() {
        TFPrintSenderCfg window(dataPath);
        window.FormShow();
        QVERIFY(QFile::exists(confPath));
        QCOMPARE(window.SenderBuff().Hp, QStringLiteral("http://"));
        QVERIFY(window.SenderBuff().ZipPrintState);
        QVERIFY(!window.findChild<QLineEdit *>(QStringLiteral("Edit_HPMail")));
        for (const QLineEdit *edit : window.findChildren<QLineEdit *>())
            QVERIFY(edit->isReadOnly() && !edit->isEnabled());
    }

    void printChoiceWindowOkWritesNineteenValues() {
        TFPrintSenderCfg window(dataPath);
        window.FormShow();
        window.Fields().PrintFaxCheckBox->setChecked(true);
        window.Fields().PrintPostCodeRadioBtn2->setChecked(true);
        window.findChild<QPushButton *>(QStringLiteral("RegistButton"))->click();
        QCOMPARE(
            FileLines(confPath),
            (QStringList{
                "[SENDER]",      "NAME=",       "ZIP1=",       "ZIP2=",      "ZIPCODE=",
                "TEL=",          "TELCHECK=0",  "FAX=",        "FAXCHECK=1", "OFFICENAME=",
                "OFFICECHECK=0", "POST=",       "POSTCHECK=0", "EXECUTIVE=", "EXECUTIVECHECK=0",
                "MAIL=",         "MAILCHECK=0", "HP=http://",  "HPCHECK=0",  "ZIPPRINTSTATE=0"}));
    }

    void printChoiceWindowCancelRestores() {
        IniFile ini(confPath);
        TSenderBuff stored;
        stored.Name = QStringLiteral("鈴木");
        stored.Tel = QStringLiteral("03-1234");
        stored.TelCheck = true;
        stored.Hp = QStringLiteral("http://");
        WriteSenderData(ini, stored, QStringLiteral("keep@example.jp"));
        QVERIFY(ini.Save());
        const QStringList before = FileLines(confPath);

        TFPrintSenderCfg window(dataPath);
        window.FormShow();
        const SenderFormWidgets &f = window.Fields();
        QVERIFY(f.PrintTelCheckBox->isChecked());
        f.PrintTelCheckBox->setChecked(false);
        f.PrintMailCheckBox->setChecked(true);
        f.PrintPostCodeRadioBtn2->setChecked(true);
        window.findChild<QPushButton *>(QStringLiteral("CancelButton"))->click();
        QVERIFY(f.PrintTelCheckBox->isChecked());
        QVERIFY(!f.PrintMailCheckBox->isChecked());
        QVERIFY(f.PrintPostCodeRadioBtn1->isChecked());
        QCOMPARE(FileLines(confPath), before);
    }

    void printChoiceWindowComposesFromItsChoices() {
        IniFile ini(confPath);
        TSenderBuff stored;
        stored.Name = QStringLiteral("鈴木 一郎");
        stored.Tel = QStringLiteral("03-1234");
        stored.Fax = QStringLiteral("03-5678");
        stored.TelCheck = true;
        WriteSenderBuff(ini, stored);
        QVERIFY(ini.Save());
        TFPrintSenderCfg window(dataPath);
        window.FormShow();
        window.Fields().PrintFaxCheckBox->setChecked(true);
        TPrintSenderData r;
        window.ComposeSenderPrintData(r);
        QCOMPARE(r.ContactLineCount, 2);
        QCOMPARE(r.PrintFax, QStringLiteral("０３―５６７８"));
        QCOMPARE(r.PrintFamilyName, QStringLiteral("鈴木"));
    }

    void confIniFoundUnderEitherName() {
        QVERIFY(TextFile::WriteLines(dataPath + QStringLiteral("Conf.ini"),
                                     {"[SENDER]", "NAME=大文字"}));
        QCOMPARE(SenderConfPath(dataPath), dataPath + QStringLiteral("Conf.ini"));
        TFPrintSenderCfg window(dataPath);
        window.FormShow();
        QCOMPARE(window.SenderBuff().Name, QStringLiteral("大文字"));
        QVERIFY(TextFile::WriteLines(confPath, {"[SENDER]", "NAME=小文字"}));
        QCOMPARE(SenderConfPath(dataPath), confPath);
    }

private:
    ScriptedPrompt *prompt = nullptr;
    std::optional<QTemporaryDir> dir;
    QString dataPath;
    QString confPath;
};

QTEST_MAIN(TestSenderData)
#include "tst_senderdata.moc"
