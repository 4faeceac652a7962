#include "../common/TestEnv.h"

#include "store/CustomerRecord.h"
#include "store/HistoryTable.h"

#include <QTest>

namespace {

// A record whose every text holds a different value with the characters that could break a
// statement.
CustomerRecord Sample(int userId) {
    CustomerRecord r;
    r.userId = userId;
    int n = 0;
    const auto value = [&n] { return QString("値'%1,\"`").arg(++n); };
    for (QString *field :
         {&r.kana,           &r.name,       &r.nameTitle,       &r.zip,         &r.address1,
          &r.address2,       &r.telNo1,     &r.telNo2,          &r.faxNo,       &r.mail1,
          &r.mail2,          &r.office,     &r.officeKana,      &r.officeZip,   &r.officeAddress1,
          &r.officeAddress2, &r.officeTel1, &r.officeTel2,      &r.officeMail1, &r.officeMail2,
          &r.officeFax,      &r.officePost, &r.officeExecutive, &r.sex})
        *field = value();
    for (int i = 0; i < 4; ++i) {
        r.renmei[i] = value();
        r.renNameTitle[i] = value();
        r.sashikomi[i] = value();
    }
    r.note = "一行目\r\n二行目 ' :MEMOETC";
    r.birthDay = QDate(1996, 2, 29);
    r.classId = 11;
    r.classId2 = 4;
    r.print = true;
    r.printCtrl = 3;
    r.useType = 1;
    r.checkRen = {true, false, true, false};
    return r;
}

} // namespace

class TestCustomerRecord : public QObject {
    Q_OBJECT
private slots:
    void updateStatementHasTheFullRowInOrder() {
        CustomerRecord r;
        r.userId = 42;
        r.kana = "ｱｵｷ";
        r.name = "青木";
        r.nameTitle = "様";
        r.birthDay = QDate(1994, 5, 15);
        r.classId = 2;
        r.classId2 = 0;
        r.sex = "男性";
        r.print = true;
        r.printCtrl = 1;
        r.checkRen = {false, true, false, false};
        r.renNameTitle = {"様", "殿", "様", "様"};
        QCOMPARE(
            BuildUpdateStatement(r),
            QString("update Usertbl set Kana = 'ｱｵｷ', Name = '青木', Zip = '', Address1 = '', "
                    "Address2 = '', Office = '', Faxno = '', Telno_1 = '', Telno_2 = '', "
                    "Mail_1 = '', Mail_2 = '', PrintCtrl = '1', OfficeZip = '', "
                    "OfficeAddress1 = '', OfficeAddress2 = '', OfficeTel_1 = '', "
                    "OfficeTel_2 = '', OfficeMail_1 = '', OfficeMail_2 = '', OfficeFax = '', "
                    "OfficePost = '', OfficeExecutive = '', NameTitle = '様', OfficeKana = '', "
                    "BirthDay = \"05/15/1994\", Class = 2, Class2 = 0, Sex = '男性', "
                    "Note = :MEMOETC,CheckRen1 = '0', CheckRen2 = '1', CheckRen3 = '0', "
                    "CheckRen4 = '0', Renmei1 = '', Renmei2 = '', Renmei3 = '', Renmei4 = '', "
                    "RenNameTitle1 = '様', RenNameTitle2 = '殿', RenNameTitle3 = '様', "
                    "RenNameTitle4 = '様', Sashikomi1 = '', Sashikomi2 = '', Sashikomi3 = '', "
                    "Sashikomi4 = '', UseType = '0', print = '1' where UserID =42"));
    }

    void quotesInEveryFieldAreStoredAsTyped() {
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        const int other = env.AddCustomer("佐藤", "ｻﾄｳ");
        Query query(env.db());
        const CustomerRecord saved = Sample(id);
        SaveCustomerRecord(query, saved);
        const std::optional<CustomerRecord> loaded = LoadCustomerRecord(query, id);
        QVERIFY(loaded);
        CustomerRecord expected = saved;
        expected.makeDay = QDate(2024, 5, 15);
        QCOMPARE(BuildUpdateStatement(*loaded), BuildUpdateStatement(expected));
        QCOMPARE(loaded->note, saved.note);
        QCOMPARE(loaded->makeDay, QDate(2024, 5, 15));
        QCOMPARE(LoadCustomerRecord(query, other)->name, QString("佐藤"));
        QVERIFY(!query.IsActive());
    }

    void anInvalidBirthdayIsStoredAsNull() {
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        Query query(env.db());
        CustomerRecord r = *LoadCustomerRecord(query, id);
        r.birthDay = QDate();
        SaveCustomerRecord(query, r);
        QCOMPARE(env.Scalar(QString("select count(*) from Usertbl where BirthDay IS NULL")),
                 QString("1"));
        QVERIFY(!LoadCustomerRecord(query, id)->birthDay.isValid());
    }

    void aMissingCustomerLoadsNothing() {
        TestEnv env;
        Query query(env.db());
        QVERIFY(!LoadCustomerRecord(query, 99));
    }

    void readsListedCustomersInListOrder_data() {
        QTest::addColumn<int>("customers");
        QTest::addColumn<bool>("markedOnly");
        QTest::newRow("few") << 5 << false;
        QTest::newRow("few, marked") << 5 << true;
        QTest::newRow("several statements") << 1203 << false;
        QTest::newRow("several statements, marked") << 1203 << true;
    }
    // Listed newest first with a deleted customer among them; every third is marked.
    void readsListedCustomersInListOrder() {
        QFETCH(int, customers);
        QFETCH(bool, markedOnly);
        TestEnv env;
        std::vector<int> listed;
        env.db().Begin();
        for (int i = 0; i < customers; ++i) {
            listed.insert(listed.begin(),
                          env.AddCustomer(QString("顧客%1").arg(i), "ｺｷｬｸ", i % 3 == 0));
            if (i == 2)
                listed.insert(listed.begin(), 99999);
        }
        env.db().Commit();
        Query query(env.db());
        const std::vector<CustomerRecord> read = LoadCustomerRecords(
            query, listed, markedOnly ? WhichCustomers::Marked : WhichCustomers::All);
        std::vector<int> expected;
        for (const int id : listed)
            if (const std::optional<CustomerRecord> one = LoadCustomerRecord(query, id);
                one && (one->print || !markedOnly))
                expected.push_back(id);
        QCOMPARE(read.size(), expected.size());
        for (size_t i = 0; i < read.size(); ++i) {
            const CustomerRecord one = *LoadCustomerRecord(query, expected[i]);
            QCOMPARE(BuildUpdateStatement(read[i]), BuildUpdateStatement(one));
            QCOMPARE(read[i].makeDay, one.makeDay);
            QCOMPARE(read[i].note, one.note);
        }
        QVERIFY(!query.IsActive());
    }

    void historyIsListedNewestFirst() {
        TestEnv env;
        for (const char *day : {"2024/01/05", "2023/12/31", "2024/02/01"})
            env.Run(QString("insert into Historytbl(UserId,MakeDay,Title,Contents)values(3,'%1',"
                            "'項目','内容')")
                        .arg(day));
        env.Run(
            "insert into Historytbl(UserId,MakeDay,Title,Contents)values(4,'2025/01/01','x','y')");
        Query query(env.db());
        const std::vector<HistoryRow> rows = LoadHistoryRows(query, 3);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0].date, QString("2024/02/01"));
        QCOMPARE(rows[1].date, QString("2024/01/05"));
        QCOMPARE(rows[2].date, QString("2023/12/31"));
        QCOMPARE(rows[0].title, QString("項目"));
        QVERIFY(rows[0].historyId > 0);
        QVERIFY(LoadHistoryRows(query, 5).empty());
    }

    void anUnreadableHistoryDateKeepsTheRowsBeforeIt() {
        TestEnv env;
        env.Run(
            "insert into Historytbl(UserId,MakeDay,Title,Contents)values(3,'2024/02/01','a','')");
        env.Run("insert into Historytbl(UserId,MakeDay,Title,Contents)values(3,'1-2-2024','b','')");
        Query query(env.db());
        try {
            LoadHistoryRows(query, 3);
            QFAIL("no error");
        } catch (const HistoryDateError &error) {
            QCOMPARE(error.RowsSoFar().size(), size_t(1));
            QVERIFY(error.message().contains("1-2-2024"));
        }
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestCustomerRecord)
#include "tst_customerrecord.moc"
