#include "ExchangeTestContext.h"

#include "core/ShiftJis.h"
#include "core/SqlText.h"
#include "exchange/CsvExport.h"
#include "exchange/EstimateExport.h"
#include "exchange/Export_Select.h"
#include "exchange/FormExport.h"
#include "exchange/FormImport.h"
#include "exchange/HeadlessExchange.h"
#include "exchange/Mitsumori.h"
#include "records/PictureStore.h"
#include "store/ExchangeColumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

ExportOptions Only(const QStringList &checkBoxes, bool header = false) {
    ExportOptions options;
    for (const ExportColumn &column : ExportColumns())
        options.ticked.push_back(checkBoxes.contains(QLatin1String(column.checkBox)));
    options.header = header;
    return options;
}

ExportOptions All(bool header) {
    ExportOptions options;
    options.ticked.assign(ExportColumns().size(), true);
    options.header = header;
    return options;
}

QString Exported(ExchangeTestContext &context, const ExportOptions &options) {
    const std::optional<QByteArray> bytes = BuildCsvExport(
        context.GetDatabase(), context.ListedUserIds(), options, [](int, int) { return true; });
    return bytes ? ShiftJis::Decode(*bytes) : QStringLiteral("(cancelled)");
}

// A customer with every column filled, awkward characters included.
int AddFullCustomer(TestEnv &env) {
    const int id = env.AddCustomer(QStringLiteral("山田,\"太郎\""), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
    QStringList sets;
    int n = 0;
    for (const ImportField &field : ImportFields()) {
        if (field.value == ImportValue::Text)
            sets << QStringLiteral("%1 = %2").arg(field.Column(),
                                                  QuoteSql(QStringLiteral("値%1,'\"").arg(++n)));
    }
    sets << QStringLiteral("Name = %1").arg(QuoteSql(QStringLiteral("山田,\"太郎\"")));
    sets << QStringLiteral("OfficeKana = 'ｶﾌﾞｼｷｶﾞｲｼｬ'");
    sets << QStringLiteral("Note = %1").arg(QuoteSql(QStringLiteral("一行目\r\n二行目")));
    sets << QStringLiteral("BirthDay = \"01/05/1990\"");
    env.Run(QStringLiteral("update Usertbl set %1 where UserId = %2").arg(sets.join(u',')).arg(id));
    return id;
}

// The imported copy of customer `id` holds every compared field as the original stored it (a
// note's line ends are not carried).
void CompareImportedCopy(Database &db, int id,
                         const std::function<bool(const ImportField &)> &compared) {
    Query original(db, QStringLiteral("select * from Usertbl where UserId = %1").arg(id));
    Query copy(db, QStringLiteral("select * from Usertbl where UserId <> %1").arg(id));
    original.Open();
    copy.Open();
    QVERIFY(!copy.AtEnd());
    for (const ImportField &field : ImportFields()) {
        if (!compared(field))
            continue;
        QString expected = original.AsString(field.Column());
        if (field.value == ImportValue::Memo)
            expected.remove("\r\n");
        QCOMPARE(copy.AsString(field.Column()), expected);
    }
    QCOMPARE(copy.AsString("Name"), original.AsString("Name"));
}

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT
private slots:
    void items_data() {
        QTest::addColumn<QString>("checkBox");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("line");
        QTest::newRow("plain name") << "ChBName"
                                    << "Name = '山田'"
                                    << "山田,";
        QTest::newRow("comma quoted") << "ChBName"
                                      << "Name = '山田,太郎'"
                                      << "\"山田,太郎\",";
        QTest::newRow("quote doubled") << "ChBOffice"
                                       << "Office = '\"A\"社'"
                                       << "\"\"\"A\"\"社\",";
        QTest::newRow("memo lines joined") << "ChBNote"
                                           << "Note = '一\r\n二\n三'"
                                           << "一二三,";
        QTest::newRow("no birthday, no age") << "ChBAge"
                                             << "BirthDay = NULL"
                                             << ",";
        QTest::newRow("no birthday, no date") << "ChBBirthday"
                                              << "BirthDay = NULL"
                                              << ",";
        QTest::newRow("birthday today") << "ChBAge"
                                        << "BirthDay = \"05/15/1990\""
                                        << "34,";
        QTest::newRow("birthday tomorrow") << "ChBAge"
                                           << "BirthDay = \"05/16/1990\""
                                           << "33,";
        QTest::newRow("date as yyyy/mm/dd") << "ChBBirthday"
                                            << "BirthDay = \"01/05/1990\""
                                            << "1990/01/05,";
        QTest::newRow("class name by position") << "ChBClass2"
                                                << "Class2 = 1"
                                                << "取引先,";
        QTest::newRow("class outside the list") << "ChBClass"
                                                << "Class = 40"
                                                << ",";
        QTest::newRow("formula kept from the spreadsheet") << "ChBTel1"
                                                           << "TelNo_1 = '-3'"
                                                           << "'-3,";
        QTest::newRow("company zip captioned as its own") << "ChBOfficeZip"
                                                          << "OfficeZip = '100-0001'"
                                                          << "100-0001,";
        QTest::newRow("only 連名４敬称") << "ChbRenmeiKei4"
                                         << "RenNameTitle1 = '殿', RenNameTitle4 = '先生'"
                                         << "先生,";
    }
    void items() {
        QFETCH(QString, checkBox);
        QFETCH(QString, set);
        QFETCH(QString, line);
        ExchangeTestContext context;
        const int id = context.env.AddCustomer("山田", "ﾔﾏﾀﾞ");
        context.env.Run("update Classtbl2 set Name = '取引先' where ClassId = 1");
        context.env.Run(QStringLiteral("update Usertbl set %1 where UserId = %2").arg(set).arg(id));
        context.listed = {id};
        QCOMPARE(Exported(context, Only({checkBox})), line + "\r\n");
    }

    void headerAndListOrder() {
        ExchangeTestContext context;
        const int a = context.env.AddCustomer("甲", "ｺｳ");
        const int b = context.env.AddCustomer("乙", "ｵﾂ");
        context.env.AddCustomer("丙, not listed", "ﾍｲ");
        context.listed = {b, a};
        const QStringList lines = Exported(context, All(true)).split("\r\n");
        QCOMPARE(lines.size(), 4); // header, two customers, nothing after the last CR LF
        QCOMPARE(lines[0].count(u','), 42);
        QVERIFY(lines[0].startsWith("名前,フリガナ,敬称,郵便番号,"));
        QVERIFY(lines[0].endsWith("連名敬称４,差込１,差込２,差込３,差込４,"));
        QVERIFY(lines[1].startsWith("乙,ｵﾂ,様,") && lines[2].startsWith("甲,ｺｳ,様,"));
        QVERIFY(lines[3].isEmpty());
    }

    void columnWindowNeedsOneColumn() {
        ExchangeTestContext context;
        TFormExport window(context);
        for (QCheckBox *check : window.findChildren<QCheckBox *>())
            check->setChecked(check->objectName() == "ChbMidashi");
        window.BtnExportClick();
        QVERIFY(!window.AllowClose());
        QCOMPARE(context.env.prompt().Texts("message"),
                 QStringList{"エクスポートする項目を１つ以上選択して下さい"});
        window.findChild<QCheckBox *>("ChBNameTitle")->setChecked(true);
        window.BtnExportClick();
        QVERIFY(window.AllowClose());
        QCOMPARE(TickedColumns(window.Options()).size(), size_t(1));
        QVERIFY(window.Options().header);
    }

    void emptyListExportsNothing() {
        ExchangeTestContext context;
        TExport_Select window(context);
        window.RunCsvExport();
        QCOMPARE(context.env.prompt().Texts("message"),
                 QStringList{"エクスポートするデータが存在しません"});
        QVERIFY(!window.FormExport()->isVisible());
    }

    // The window's choices reach the file: version, reading script, and the listed customers.
    void vcardExportFromTheWindow() {
        ExchangeTestContext context;
        context.listed = {context.env.AddCustomer("山田 太郎", "ﾔﾏﾀﾞ ﾀﾛｳ")};
        TExport_Select window(context);
        window.findChild<QComboBox *>("CBVCardVersion")->setCurrentIndex(1);
        window.findChild<QComboBox *>("CBVCardReading")->setCurrentIndex(1);
        const QString path = context.env.root() + "連絡先.vcf";
        context.env.prompt().PushPath(path);
        window.BtnVCardClick();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains("\r\nVERSION:3.0\r\n"));
        QVERIFY(
            text.contains("\r\nX-PHONETIC-LAST-NAME:やまだ\r\nX-PHONETIC-FIRST-NAME:たろう\r\n"));
        QCOMPARE(context.env.prompt().Texts("message").size(), 1);
    }

    // The import window takes a vCard file as it is and tells the counts.
    void vcardImportFromTheWindow() {
        ExchangeTestContext context;
        const QString path = context.env.root() + "phone.VCF";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nX-PHONETIC-LAST-NAME:やまだ\r\n"
            "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:𠮷田\r\nEND:VCARD\r\n"_s.toUtf8());
        file.close();
        context.env.prompt().PushPath(path);
        TFormImport window(context);
        window.RunImport();
        QCOMPARE(
            context.env.prompt().Texts("message"),
            QStringList{
                u"この顧客台帳に保存できない文字: 𠮷田: 𠮷 (U+20BB7)\r\n1件を登録しました。"_s});
        QCOMPARE(context.env.Scalar("select Kana from Usertbl where Name = '山田 太郎'"), "ﾔﾏﾀﾞ");
    }

    void utf8WithByteOrderMark() {
        ExchangeTestContext context;
        context.listed = {context.env.AddCustomer("髙橋", "ﾀｶﾊｼ")};
        ExportOptions options = Only({"ChBName"});
        options.encoding = TextFile::TextEncoding::Utf8;
        const std::optional<QByteArray> bytes = BuildCsvExport(
            context.GetDatabase(), context.ListedUserIds(), options, [](int, int) { return true; });
        QCOMPARE(*bytes, QByteArray("\xEF\xBB\xBF") + QStringLiteral("髙橋,\r\n").toUtf8());
    }

    void unwritableTargetLeavesNothing() {
        ExchangeTestContext context;
        const QString path = context.env.root() + "missing/エクスポート.csv";
        QVERIFY(!WriteExportFile(path, "x"));
        QVERIFY(
            context.env.prompt().Texts("error").value(0).startsWith(path + " に書き込めません"));
        QVERIFY(!QFile::exists(path));
    }

    // The save dialog asked about the name as typed; the name with ".csv" added may exist.
    void existingTargetWithoutExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("path");
        QTest::newRow("kept") << "顧客" << false << "";
        QTest::newRow("replaced") << "顧客" << true << "顧客.csv";
        QTest::newRow("dot is no extension") << "2024.05" << true << "2024.05.csv";
    }
    void existingTargetWithoutExtension() {
        QFETCH(QString, typed);
        QFETCH(bool, overwrite);
        QFETCH(QString, path);
        ExchangeTestContext context;
        context.WriteFile(typed + ".csv", "keep");
        context.env.prompt().PushPath(context.env.root() + typed);
        context.env.prompt().PushAnswer(overwrite ? Prompt::Answer::Yes : Prompt::Answer::No);
        QCOMPARE(AskCsvSavePath(prompt(), "エクスポート", {}, {}),
                 path.isEmpty() ? path : context.env.root() + path);
        QCOMPARE(context.env.prompt().Texts("confirm").size(), 1);
    }

    // Every importable column survives export and import; the memo loses only its line break.
    void roundTrip() {
        ExchangeTestContext context;
        const int id = AddFullCustomer(context.env);
        context.listed = {id};
        ExportOptions options = All(false);
        QStringList assignments;
        for (const ExportColumn &column : ExportColumns()) {
            QString caption;
            for (const ImportField &field : ImportFields())
                if (field.Column().compare(column.Column(), Qt::CaseInsensitive) == 0 &&
                    column.value != ExportValue::Age)
                    caption = field.Caption();
            assignments << caption;
        }
        const QByteArray file = *BuildCsvExport(context.GetDatabase(), context.ListedUserIds(),
                                                options, [](int, int) { return true; });

        TFormImport window(context);
        QVERIFY(Import(context, window, file, assignments));

        CompareImportedCopy(context.env.db(), id, [&assignments](const ImportField &field) {
            return assignments.contains(field.Caption());
        });
    }

    // Values the import would split, trim or unquote come back as they were stored.
    void awkwardValuesRoundTrip_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("tab inside") << "東京都\t港区";
        QTest::newRow("leading tab") << "\t山田";
        QTest::newRow("leading blank") << " 山田";
        QTest::newRow("trailing blank") << "山田 ";
        QTest::newRow("just a quote") << "\"";
        QTest::newRow("quoted whole") << "\"山田\"";
        QTest::newRow("formula") << "=1+2";
    }
    void awkwardValuesRoundTrip() {
        QFETCH(QString, value);
        ExchangeTestContext context;
        const int id = context.env.AddCustomer("x", "ｴｯｸｽ");
        context.env.Run(QStringLiteral("update Usertbl set Name = %1, Address1 = %1, "
                                       "TelNo_1 = 'end' where UserId = %2")
                            .arg(QuoteSql(value))
                            .arg(id));
        context.listed = {id};
        const QByteArray file = *BuildCsvExport(context.GetDatabase(), context.ListedUserIds(),
                                                Only({"ChBName", "ChBAddress1", "ChBTel1"}),
                                                [](int, int) { return true; });
        TFormImport window(context);
        QVERIFY(Import(context, window, file, {"名前", "住所１", "電話１"}));
        Query copy(context.env.db(),
                   QStringLiteral("select * from Usertbl where UserId <> %1").arg(id));
        copy.Open();
        QCOMPARE(copy.AsString("Name"), value);
        QCOMPARE(copy.AsString("Address1"), value);
        QCOMPARE(copy.AsString("TelNo_1"), "end");
    }

    // What the command line writes, the command line reads back: every stored column.
    void headlessRoundTripOfEveryColumn() {
        ExchangeTestContext context;
        const int id = AddFullCustomer(context.env);
        context.env.Run(
            QStringLiteral("update Usertbl set Zip = '100-0001', OfficeZip = '530-0001', "
                           "UseType = 1, Class = 2, Class2 = 3, Print = 1, PrintCtrl = 2, "
                           "CheckRen1 = 1, CheckRen3 = 1, MakeDay = \"02/03/2001\", "
                           "Mail_1 = '=cmd', Note = '+1' where UserId = %1")
                .arg(id));
        const QString path = context.env.root() + "all.csv";
        QString error;
        QCOMPARE(ExportCsvHeadless(context.env.db(), {id}, path, &error), 0);
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), 0);
        QStringList reported;
        QCOMPARE(ImportCsvHeadless(
                     context.env.db(), path, [&reported](const QString &line) { reported << line; },
                     &error),
                 0);
        QCOMPARE(reported, QStringList{"1件を登録しました。"});
        CompareImportedCopy(context.env.db(), id, [](const ImportField &) { return true; });
    }

    // The vCard commands carry every column a card has a property for, in either version; a
    // card the book cannot hold is refused alone.
    void headlessVCardRoundTrip_data() {
        QTest::addColumn<int>("version");
        QTest::newRow("4.0") << int(VCard::Version::V4);
        QTest::newRow("3.0") << int(VCard::Version::V3);
    }
    void headlessVCardRoundTrip() {
        QFETCH(int, version);
        ExchangeTestContext context;
        const int id = AddFullCustomer(context.env);
        context.env.Run(QStringLiteral("update Usertbl set Zip = '100-0001', OfficeZip = "
                                       "'530-0001', Class = 2, Class2 = 3 where UserId = %1")
                            .arg(id));
        // The first picture goes along as the card's photo and comes back as a picture.
        const QString pictures = PictureStore::PictureFolder(context.env.dataPath());
        QImage picture(8, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(QDir().mkpath(pictures) && picture.save(pictures + "p.bmp"));
        context.env.Run(
            QStringLiteral("update Usertbl set img1 = 'p.bmp' where UserId = %1").arg(id));
        const QString path = context.env.root() + "all.vcf";
        QString error;
        QCOMPARE(ExportVCardsHeadless(context.env.db(), {id}, context.env.dataPath(),
                                      context.env.dbPath(), path, VCard::Version(version), &error),
                 0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:𠮷田\r\nEND:VCARD\r\n"_s.toUtf8());
        file.close();
        QStringList reported;
        QCOMPARE(ImportVCardsHeadless(
                     context.env.db(), context.env.dataPath(), path,
                     [&reported](const QString &line) { reported << line; }, &error),
                 3);
        QCOMPARE(reported, (QStringList{u"この顧客台帳に保存できない文字: 𠮷田: 𠮷 (U+20BB7)"_s,
                                        u"1件を登録しました。"_s}));
        static const QStringList carried = {"Kana",
                                            "Zip",
                                            "Address1",
                                            "Address2",
                                            "FaxNo",
                                            "TelNo_1",
                                            "TelNo_2",
                                            "Mail_1",
                                            "mail_2",
                                            "Office",
                                            "OfficeKana",
                                            "OfficeZip",
                                            "OfficeAddress1",
                                            "OfficeAddress2",
                                            "OfficeFax",
                                            "OfficeTel_1",
                                            "OfficeTel_2",
                                            "OfficeMail_1",
                                            "OfficeMail_2",
                                            "OfficePost",
                                            "OfficeExecutive",
                                            "BirthDay",
                                            "Class",
                                            "Class2"};
        CompareImportedCopy(context.env.db(), id, [](const ImportField &field) {
            return carried.contains(field.Column());
        });
        QCOMPARE(context.env.Scalar(
                     QStringLiteral("select Note from Usertbl where UserId <> %1").arg(id)),
                 "一行目\n二行目");
        const QString copy = context.env.Scalar(
            QStringLiteral("select UserId from Usertbl where UserId <> %1").arg(id));
        QCOMPARE(context.env.Scalar(
                     QStringLiteral("select img1 from Usertbl where UserId = %1").arg(copy)),
                 copy + "_0.bmp");
        const QImage stored(pictures + copy + "_0.bmp");
        QCOMPARE(stored.size(), picture.size());
        QVERIFY(qRed(stored.pixel(4, 2)) > 240 && qGreen(stored.pixel(4, 2)) < 16);
    }

    void estimateLines_data() {
        QTest::addColumn<QStringList>("choices");
        QTest::addColumn<QString>("line");
        const QString none = "エクスポートしない";
        QTest::newRow("initial choices") << QStringList{"会社名",     "会社郵便番号", "会社住所１",
                                                        "会社住所２", "会社電話１",   "会社ＦＡＸ"}
                                         << "\"A,\"\"B\"\"社\",100-0001,東京都,,03-1,03-9";
        QTest::newRow("name alone")
            << QStringList{"名前", none, none, none, none, none} << "山田,,,,,";
        QTest::newRow("personal phone 2") << QStringList{none,         "個人郵便番号", "個人住所１",
                                                         "個人住所２", "個人電話２",   "個人ＦＡＸ"}
                                          << ",200-0002,大阪府,北区,06-2,06-9";
    }
    void estimateLines() {
        QFETCH(QStringList, choices);
        QFETCH(QString, line);
        ExchangeTestContext context;
        const int id = context.env.AddCustomer("山田", "ﾔﾏﾀﾞ");
        context.env.Run(
            QStringLiteral("update Usertbl set Office = 'A,\"B\"社', OfficeZip = '100-0001', "
                           "OfficeAddress1 = '東京都', OfficeTel_1 = '03-1', OfficeFax = '03-9', "
                           "Zip = '200-0002', Address1 = '大阪府', Address2 = '北区', "
                           "TelNo_1 = '06-1', TelNo_2 = '06-2', FaxNo = '06-9' where UserId = %1")
                .arg(id));
        context.listed = {id};
        Tmitsumori window(context);
        const char *names[] = {"CB_Company",  "CB_Zip", "CB_Address1",
                               "CB_Address2", "CB_Tel", "CB_Fax"};
        for (int i = 0; i < 6; ++i)
            window.findChild<QComboBox *>(names[i])->setCurrentText(choices[i]);
        const QString path = context.env.root() + "quillet.csv";
        context.env.prompt().PushPath(path);
        window.Button1Click();
        QCOMPARE(context.ReadFile(path), ShiftJis::Encode(line + "\r\n"));
    }

    void readOnlyTargetIsKept() {
        ExchangeTestContext context;
        context.listed = {context.env.AddCustomer("山田", "ﾔﾏﾀﾞ")};
        const QString path = context.WriteFile("quillet.csv", "keep");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        context.env.prompt().PushPath(path);
        Tmitsumori window(context);
        window.Button1Click();
        QCOMPARE(context.ReadFile(path), QByteArray("keep"));
        QCOMPARE(context.env.prompt().Texts("error").size(), 1);
    }

    void estimateWithEmptyList() {
        ExchangeTestContext context;
        Tmitsumori window(context);
        const QString path = context.env.root() + "quillet.csv";
        context.env.prompt().PushPath(path);
        window.Button1Click();
        QCOMPARE(context.env.prompt().Texts("message"),
                 QStringList{"エクスポートするデータがありません。"});
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
