#include "core/IniFile.h"
#include "core/TextFile.h"
#include "platform/Prompt.h"
#include "platform/ZipData.h"
#include "print/SenderData.h"
#include "printui/FPrintSenderCfg.h"
#include "printui/FormMyData.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QStringList FileLines(const QString &path) {
    QStringList lines;
    TextFile::ReadLines(path, lines);
    lines.removeAll(QString());
    return lines;
}

} // namespace

Q_DECLARE_METATYPE(TSenderBuff)

class TestSenderWindows : public QObject {
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

    void editWindowLooksUpTheSeventhDigitOfItsCode() {
        QVERIFY(QDir(dataPath).mkpath(QStringLiteral("zip")));
        QVERIFY(TextFile::WriteLines(ZipFilePath(dataPath), {"1000001,東京都千代田区千代田",
                                                             "1000002,東京都千代田区皇居外苑"}));
        TFormMyData window(dataPath);
        window.FormShow();
        QLineEdit *zip = window.Fields().ZipCodeEdit;
        QTimer::singleShot(0, &window, [&] {
            QWidget *search = QApplication::activeModalWidget();
            QVERIFY(search && search->objectName() == QStringLiteral("FormSearchZip"));
            search->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            search->close();
        });
        QTest::keyClicks(zip, QStringLiteral("100-0001"));
        QCOMPARE(zip->text(), QStringLiteral("100-0001"));
        QCOMPARE(window.Fields().ZipEdit1->text(), QStringLiteral("東京都千代田区千代田"));
        QVERIFY(prompt->calls().empty());
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

    void editWindowJoinsPastedLinesAndRefusesAtTyping_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("warnings");
        QTest::newRow("lines joined") << "山田 太郎\r\n[PRINT_CONF]\r\nTYPE=1"
                                      << "山田 太郎[PRINT_CONF]TYPE=1" << 0;
        QTest::newRow("character refused") << "鈴木😀"
                                           << "" << 1;
    }
    void editWindowJoinsPastedLinesAndRefusesAtTyping() {
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(int, warnings);
        TFormMyData window(dataPath);
        window.FormShow();
        QLineEdit *name = window.Fields().NameEdit;
        QGuiApplication::clipboard()->setText(pasted);
        name->paste();
        QCoreApplication::processEvents();
        QCOMPARE(name->text(), shown);
        QCOMPARE(prompt->Texts(QStringLiteral("warning")).size(), warnings);
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

QTEST_MAIN(TestSenderWindows)
#include "tst_senderwindows.moc"
