#include "../common/TestEnv.h"
#include "print/PrintList.h"

#include <QtTest>

Q_DECLARE_METATYPE(NameForm)

namespace {

PrintRow RowWith(const QString &useType, const QString &printControl) {
    PrintRow row;
    row.Mark = kPrintMark;
    auto &s = row.SubItems;
    s[kColName] = "山田 太郎";
    s[kColNameTitle] = "様";
    s[kColAddress1] = "自宅住所1";
    s[kColAddress2] = "自宅住所2";
    s[kColZip] = "100-0001";
    s[kColOffice] = "山田商事";
    s[kColOfficeZip] = "200-0002";
    s[kColOfficeAddress1] = "会社住所1";
    s[kColOfficeAddress2] = "会社住所2";
    s[kColOfficePost] = "営業部";
    s[kColOfficeExecutive] = "部長";
    s[kColPrintCtrl] = printControl;
    s[kColUseType] = useType;
    for (int slot = 0; slot < kJointSlots; ++slot)
        s[JointMarkColumn(slot)] = kJointOffMark;
    return row;
}

} // namespace

class TestPrintList : public QObject {
    Q_OBJECT

private slots:
    void listsMarkedCustomersInMainListOrder() {
        TestEnv env;
        const int a = env.AddCustomer("青木 一郎", "ｱｵｷ", true);
        const int b = env.AddCustomer("伊藤 二郎", "ｲﾄｳ", false);
        const int c = env.AddCustomer("上田 三郎", "ｳｴﾀﾞ", true);
        const QList<PrintRow> rows = FillPrintList(env.db(), {c, b, a, 999});
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].UserId(), c);
        QCOMPARE(rows[1].UserId(), a);
        QCOMPARE(rows[0].Mark, QString("　〇　"));
        QCOMPARE(rows[1].SubItems[kColName], QString("青木 一郎"));
    }

    void rowCarriesEverySubItem() {
        TestEnv env;
        const int id = env.AddCustomer("山田 花子", "ﾔﾏﾀﾞ ﾊﾅｺ", true);
        env.Run(QString("update Usertbl set Zip='100-0001', Address1='東京都千代田区1-2', "
                        "Address2='ビル3F', Office='山田商事', OfficeZip='200-0002', "
                        "OfficeAddress1='大阪市', OfficeAddress2='2階', OfficePost='営業部', "
                        "OfficeExecutive='部長', PrintCtrl=2, UseType=1, Note='一行目\r\n二行目', "
                        "CheckRen1=0, CheckRen2=1, Renmei2='山田 次郎', RenNameTitle2='様' "
                        "where UserId=%1")
                    .arg(id));
        const QList<PrintRow> rows = FillPrintList(env.db(), {id});
        QCOMPARE(rows.size(), 1);
        const auto &s = rows[0].SubItems;
        const QStringList expected = {"山田 花子",
                                      "様",
                                      "ﾔﾏﾀﾞ ﾊﾅｺ",
                                      "東京都千代田区1-2",
                                      "ビル3F",
                                      "100-0001",
                                      "山田商事",
                                      "200-0002",
                                      "大阪市",
                                      "2階",
                                      "営業部",
                                      "部長",
                                      "会社部署役職殿",
                                      "会社用",
                                      "一行目二行目",
                                      QString::number(id),
                                      "　×　",
                                      "",
                                      "",
                                      "　○　",
                                      "山田 次郎",
                                      "様",
                                      "　×　",
                                      "",
                                      "",
                                      "　×　",
                                      "",
                                      ""};
        QCOMPARE(QStringList(s.begin(), s.end()), expected);
        QCOMPARE(PrintListCaptions().size(), kPrintSubItemCount + 1);
        QCOMPARE(PrintListCaptions().at(1 + kColUserId), QString("No"));
        QCOMPARE(PrintListCaptions().last(), QString("連名４敬称"));
    }

    void printControlAndUseTypeTexts_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("use");
        QTest::newRow("0") << 0 << "個人名"
                           << "個人用";
        QTest::newRow("1") << 1 << "会社部署御中"
                           << "会社用";
        QTest::newRow("2") << 2 << "会社部署役職殿"
                           << "個人用";
        QTest::newRow("3") << 3 << "会社部署役職氏名"
                           << "個人用";
        QTest::newRow("4") << 4 << "個人名"
                           << "個人用";
        QTest::newRow("none chosen") << -1 << ""
                                     << "個人用";
    }
    void printControlAndUseTypeTexts() {
        QFETCH(int, value);
        QFETCH(QString, control);
        QFETCH(QString, use);
        QCOMPARE(PrintControlText(value), control);
        QCOMPARE(UseTypeText(value), use);
    }

    void useTypeAndPrintControlChooseBlockAndForm_data() {
        QTest::addColumn<QString>("useType");
        QTest::addColumn<QString>("printControl");
        QTest::addColumn<QString>("address1");
        QTest::addColumn<QString>("zip");
        QTest::addColumn<NameForm>("form");
        QTest::newRow("company use, personal name") << "会社用"
                                                    << "個人名"
                                                    << "会社住所1"
                                                    << "200-0002" << NameForm::Personal;
        QTest::newRow("personal use decides first") << "個人用"
                                                    << "会社部署御中"
                                                    << "自宅住所1"
                                                    << "100-0001" << NameForm::Personal;
        QTest::newRow("御中") << "会社用"
                              << "会社部署御中"
                              << "会社住所1"
                              << "200-0002" << NameForm::CompanyOnchu;
        QTest::newRow("殿") << "会社用"
                            << "会社部署役職殿"
                            << "会社住所1"
                            << "200-0002" << NameForm::CompanyDono;
        QTest::newRow("named") << "会社用"
                               << "会社部署役職氏名"
                               << "会社住所1"
                               << "200-0002" << NameForm::CompanyNamed;
        QTest::newRow("none chosen") << "会社用"
                                     << ""
                                     << "会社住所1"
                                     << "200-0002" << NameForm::CompanyNamed;
    }
    void useTypeAndPrintControlChooseBlockAndForm() {
        QFETCH(QString, useType);
        QFETCH(QString, printControl);
        QFETCH(QString, address1);
        QFETCH(QString, zip);
        QFETCH(NameForm, form);
        const FaceTexts t = GatherFaceTexts(RowWith(useType, printControl));
        QCOMPARE(t.Address1, address1);
        QCOMPARE(t.Address2, address1.left(4) + "2");
        QCOMPARE(t.PostalCode, zip);
        QCOMPARE(t.Form, form);
        QCOMPARE(t.Name, QString("山田 太郎"));
        QCOMPARE(t.Company, QString("山田商事"));
    }

    void markedJointNamesArePacked() {
        PrintRow row = RowWith("個人用", "個人名");
        const QStringList names = {"一", "二", "三", "四"};
        for (int slot = 0; slot < kJointSlots; ++slot) {
            row.SubItems[JointNameColumn(slot)] = names[slot];
            row.SubItems[JointTitleColumn(slot)] = "様" + names[slot];
        }
        row.SubItems[JointMarkColumn(1)] = kJointOnMark;
        row.SubItems[JointMarkColumn(3)] = kJointOnMark;
        const FaceTexts t = GatherFaceTexts(row);
        QCOMPARE(t.JointCount, 2);
        QCOMPARE(t.JointNames[0], QString("二"));
        QCOMPARE(t.JointTitles[0], QString("様二"));
        QCOMPARE(t.JointNames[1], QString("四"));
        QCOMPARE(t.JointNames[2], QString());
    }

    void switchedOffRowsLeaveTheRunWithTheirWholeRow() {
        TestEnv env;
        const int a = env.AddCustomer("青木 一郎", "ｱｵｷ", true);
        const int b = env.AddCustomer("伊藤 二郎", "ｲﾄｳ", true);
        env.Run(
            QString("update Usertbl set CheckRen1=1, Renmei1='青木 花子' where UserId=%1").arg(a));
        env.Run(
            QString("update Usertbl set CheckRen3=1, Renmei3='伊藤 桜' where UserId=%1").arg(b));
        PrintListModel model;
        model.SetRows(FillPrintList(env.db(), {a, b}));
        model.SetMarked({0}, false);
        QCOMPARE(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString());
        const QList<PrintRow> run = RowsToPrint(model.Rows());
        QCOMPARE(run.size(), 1);
        const FaceTexts t = GatherFaceTexts(run[0]);
        QCOMPARE(t.Name, QString("伊藤 二郎"));
        QCOMPARE(t.JointCount, 1);
        QCOMPARE(t.JointNames[0], QString("伊藤 桜"));
        model.SetMarked({0, 1}, true);
        QCOMPARE(RowsToPrint(model.Rows()).size(), 2);
        QCOMPARE(env.Scalar(QString("select Print from Usertbl where UserId=%1").arg(a)),
                 QString("1"));
    }

    void sortsByColumnIgnoringAsciiCase() {
        PrintListModel model;
        QList<PrintRow> rows;
        for (const char *kana : {"b", "A", "c"}) {
            PrintRow row = RowWith("個人用", "個人名");
            row.SubItems[kColKana] = kana;
            rows << row;
        }
        rows[1].Mark.clear();
        model.SetRows(rows);
        const auto kanas = [&] {
            QStringList list;
            for (int r = 0; r < model.rowCount(); ++r)
                list << model.data(model.index(r, 1 + kColKana), Qt::DisplayRole).toString();
            return list;
        };
        model.SortBy(1 + kColKana, true);
        QCOMPARE(kanas(), QStringList({"A", "b", "c"}));
        model.SortBy(1 + kColKana, false);
        QCOMPARE(kanas(), QStringList({"c", "b", "A"}));
        model.SortBy(0, true);
        QCOMPARE(kanas().first(), QString("A"));
    }
};

QTEST_GUILESS_MAIN(TestPrintList)
#include "tst_printlist.moc"
