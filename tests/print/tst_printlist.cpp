#include "../common/TestEnv.h"
#include "print/PrintList.h"

#include <QTest>

Q_DECLARE_METATYPE(NameForm)

namespace {

PrintRow RowWith(int useType, int printCtrl) {
    PrintRow row;
    row.Marked = true;
    CustomerRecord &c = row.Customer;
    c.name = "山田 太郎";
    c.nameTitle = "様";
    c.address1 = "自宅住所1";
    c.address2 = "自宅住所2";
    c.zip = "100-0001";
    c.office = "山田商事";
    c.officeZip = "200-0002";
    c.officeAddress1 = "会社住所1";
    c.officeAddress2 = "会社住所2";
    c.officePost = "営業部";
    c.officeExecutive = "部長";
    c.printCtrl = printCtrl;
    c.useType = useType;
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
        QVERIFY(rows[0].IsMarked());
        QCOMPARE(PrintSubItem(rows[1], kColName), QString("青木 一郎"));
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
        QStringList shown;
        for (int column = 0; column < kPrintSubItemCount; ++column)
            shown << PrintSubItem(rows[0], column);
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
        QCOMPARE(shown, expected);
        QCOMPARE(PrintListCaptions().size(), kPrintSubItemCount + 1);
        QCOMPARE(PrintListCaptions().at(1 + kColUserId), QString("No"));
        QCOMPARE(PrintListCaptions().last(), QString("連名４敬称"));
    }

    void useTypeAndPrintControlChooseBlockAndForm_data() {
        QTest::addColumn<int>("useType");
        QTest::addColumn<int>("printControl");
        QTest::addColumn<QString>("address1");
        QTest::addColumn<QString>("zip");
        QTest::addColumn<NameForm>("form");
        QTest::newRow("company use, personal name") << 1 << 0 << "会社住所1"
                                                    << "200-0002" << NameForm::Personal;
        QTest::newRow("personal use decides first") << 0 << 1 << "自宅住所1"
                                                    << "100-0001" << NameForm::Personal;
        QTest::newRow("御中") << 1 << 1 << "会社住所1"
                              << "200-0002" << NameForm::CompanyOnchu;
        QTest::newRow("殿") << 1 << 2 << "会社住所1"
                            << "200-0002" << NameForm::CompanyDono;
        QTest::newRow("named") << 1 << 3 << "会社住所1"
                               << "200-0002" << NameForm::CompanyNamed;
        QTest::newRow("none chosen") << 1 << -1 << "会社住所1"
                                     << "200-0002" << NameForm::CompanyNamed;
    }
    void useTypeAndPrintControlChooseBlockAndForm() {
        QFETCH(int, useType);
        QFETCH(int, printControl);
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
        PrintRow row = RowWith(0, 0);
        const QStringList names = {"一", "二", "三", "四"};
        for (int slot = 0; slot < kJointSlots; ++slot) {
            row.Customer.renmei[slot] = names[slot];
            row.Customer.renNameTitle[slot] = "様" + names[slot];
        }
        row.Customer.checkRen[1] = true;
        row.Customer.checkRen[3] = true;
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
            PrintRow row = RowWith(0, 0);
            row.Customer.kana = kana;
            rows << row;
        }
        rows[1].Marked = false;
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
