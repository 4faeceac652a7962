#include "../common/TestEnv.h"

#include "store/ClassTable.h"
#include "store/CustomerMerge.h"
#include "store/CustomerRecord.h"
#include "store/CustomerTable.h"
#include "store/HistoryTable.h"
#include "store/ListStatement.h"

#include <QTest>

// Two PCs on one book: the test's own connection and a second one. PC 2 reads, PC 1 changes
// what PC 2 read (or not), then PC 2 acts on what it read.
class TestRowVersion : public QObject {
    Q_OBJECT

private slots:
    void aChangeAsReadIsRefusedOnceAnotherPcChangedTheRow_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("changedMeanwhile");
        for (const char *operation : {"save", "mark", "delete", "merge kept", "merge removed"}) {
            QTest::newRow(QByteArray(operation) + ", unchanged") << operation << false;
            QTest::newRow(QByteArray(operation) + ", changed") << operation << true;
        }
    }
    void aChangeAsReadIsRefusedOnceAnotherPcChangedTheRow() {
        QFETCH(QString, operation);
        QFETCH(bool, changedMeanwhile);
        TestEnv env;
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        const int baba = env.AddCustomer("馬場", "ﾊﾞﾊﾞ");
        const int target = operation == "merge removed" ? baba : aoki;
        Query query2(pc2);
        CustomerRecord kept2 = *LoadCustomerRecord(query2, aoki);
        LoadCustomerRecord(query2, baba);
        if (changedMeanwhile) {
            Query query1(env.db());
            CustomerRecord row1 = *LoadCustomerRecord(query1, target);
            row1.telNo1 = "03-1111-2222";
            QCOMPARE(SaveCustomerRecord(query1, row1), SaveOutcome::Saved);
        }

        bool done = false;
        kept2.note = "PC2";
        if (operation == "save") {
            done = SaveCustomerRecord(query2, kept2) == SaveOutcome::Saved;
        } else if (operation == "mark") {
            done = SetPrintMark(query2, aoki, true);
        } else if (operation == "delete") {
            done = DeleteCustomerRow(query2, aoki);
        } else {
            try {
                done = MergeCustomers(pc2, kept2, baba).has_value();
            } catch (const EngineError &error) {
                QVERIFY(error.message().startsWith(ChangedElsewhereText()));
            }
        }
        QCOMPARE(done, !changedMeanwhile);
        if (changedMeanwhile) {
            QCOMPARE(
                env.Scalar(QString("select TelNo_1 from Usertbl where UserId = %1").arg(target)),
                QString("03-1111-2222"));
            QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("2"));
            QCOMPARE(env.Scalar("select count(*) from Usertbl where Print = '1' or Note = 'PC2'"),
                     QString("0"));
        }
    }

    // A long operation meets a row another PC is changing: it stops, and none of it is stored,
    // so the other PCs see the book as before it.
    void aLongOperationIsStoredWholeOrNotAtAll_data() {
        QTest::addColumn<QString>("operation");
        QTest::newRow("greeting-season marking") << "mark";
        QTest::newRow("merge") << "merge";
    }
    void aLongOperationIsStoredWholeOrNotAtAll() {
        QFETCH(QString, operation);
        TestEnv env;
        const int aoki = env.AddCustomer("青木", "ｱｵｷ", true);
        const int baba = env.AddCustomer("馬場", "ﾊﾞﾊﾞ");
        Query query(env.db());
        InsertHistory(query, baba, {QDate(2024, 5, 1), "来店", ""});
        CustomerRecord kept = *LoadCustomerRecord(query, aoki);
        kept.telNo1 = "03-1111-2222";
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        // The last row each operation changes.
        pc2.Begin();
        Query(pc2).Execute(QString("update Usertbl set Note = 'PC2' where UserId = %1").arg(baba));
        bool refused = false;
        try {
            if (operation == "mark")
                MarkCustomersForPrinting(env.db(), {baba}, true);
            else
                MergeCustomers(env.db(), kept, baba);
        } catch (const EngineError &) {
            refused = true;
        }
        pc2.Rollback();
        QVERIFY(refused);
        QCOMPARE(env.Scalar(QString("select count(*) from Usertbl where (UserId = %1 and Print = "
                                    "'1' and TelNo_1 IS NULL) or (UserId = %2 and Print = '0')")
                                .arg(aoki)
                                .arg(baba)),
                 QString("2"));
        QCOMPARE(env.Scalar("select UserId from Historytbl"), QString::number(baba));
    }

    // PC 2 marks or deletes a customer it listed; a later list of other customers and the
    // season marking of PC 2 itself leave it free to.
    void aListedCustomerIsChangedOnlyAsListed_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("done");
        for (const char *operation : {"mark", "delete"}) {
            const QByteArray name(operation);
            QTest::newRow(name + ", unchanged") << operation << "nothing" << true;
            QTest::newRow(name + ", saved by PC 1") << operation << "PC 1 saves" << false;
            QTest::newRow(name + ", marked for the season, no longer listed")
                << operation << "PC 2 lists others and marks" << true;
        }
    }
    void aListedCustomerIsChangedOnlyAsListed() {
        QFETCH(QString, operation);
        QFETCH(QString, meanwhile);
        QFETCH(bool, done);
        TestEnv env;
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("馬場", "ﾊﾞﾊﾞ");
        Query query2(pc2);
        QCOMPARE(LoadListedCustomers(pc2, query2, {}).rows.size(), size_t(2));
        if (meanwhile == "PC 1 saves") {
            Query query1(env.db());
            CustomerRecord row1 = *LoadCustomerRecord(query1, aoki);
            row1.telNo1 = "03-1111-2222";
            QCOMPARE(SaveCustomerRecord(query1, row1), SaveOutcome::Saved);
        } else if (meanwhile == "PC 2 lists others and marks") {
            ListFilters ha;
            ha.readingIndex = 6;
            QCOMPARE(LoadListedCustomers(pc2, query2, ha).rows.size(), size_t(1));
            QCOMPARE(MarkCustomersForPrinting(pc2, {aoki}, true), 1);
        }
        const bool changed = operation == "mark" ? SetPrintMark(query2, aoki, false)
                                                 : DeleteCustomerRow(query2, aoki);
        QCOMPARE(changed, done);
        QCOMPARE(env.Scalar(QString("select count(*) from Usertbl where UserId = %1 and "
                                    "(TelNo_1 = '03-1111-2222' or Print = '1')")
                                .arg(aoki)),
                 QString(done ? "0" : "1"));
    }

    void everyStoredChangeIncreasesTheVersion() {
        TestEnv env;
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        Query query(env.db());
        CustomerRecord row = *LoadCustomerRecord(query, id);
        const auto version = [&] {
            return env.Scalar(QString("select RowVersion from Usertbl where UserId = %1").arg(id))
                .toInt();
        };
        QCOMPARE(version(), 0);
        QCOMPARE(SaveCustomerRecord(query, row), SaveOutcome::Saved);
        QCOMPARE(SaveCustomerRecord(query, row), SaveOutcome::Changed);
        ++row.rowVersion;
        QCOMPARE(SaveCustomerRecord(query, row), SaveOutcome::Saved);
        QVERIFY(SetPrintMark(query, id, true));
        QCOMPARE(MarkCustomersForPrinting(env.db(), {id}, false), 1);
        QCOMPARE(version(), 4);
        env.Run(QString("delete from Usertbl where UserId = %1").arg(id));
        QCOMPARE(SaveCustomerRecord(query, row), SaveOutcome::Gone);
    }

    void aHistoryEntryChangedElsewhereIsNotOverwritten_data() {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("update") << false;
        QTest::newRow("delete") << true;
    }
    void aHistoryEntryChangedElsewhereIsNotOverwritten() {
        QFETCH(bool, deleting);
        TestEnv env;
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        const int id = env.AddCustomer("青木", "ｱｵｷ");
        Query history1(env.db());
        InsertHistory(history1, id, {QDate(2024, 5, 1), "来店", "a"});
        const int entryId = env.Scalar("select HistoryId from Historytbl").toInt();
        Query history2(pc2);
        const HistoryEntry read2 = *ReadHistoryEntry(history2, entryId);
        const HistoryEntry read1 = *ReadHistoryEntry(history1, entryId);
        QVERIFY(
            UpdateHistory(history1, entryId, read1.rowVersion, {QDate(2024, 5, 2), "電話", "b"}));
        QVERIFY(deleting ? !DeleteHistory(history2, entryId, read2.rowVersion)
                         : !UpdateHistory(history2, entryId, read2.rowVersion,
                                          {QDate(2024, 5, 3), "x", "c"}));
        QCOMPARE(env.Scalar("select Title || Contents from Historytbl"), QString("電話b"));
        QVERIFY(DeleteHistory(history2, entryId, read1.rowVersion + 1));
    }

    void aClassNameChangedElsewhereIsNotOverwritten() {
        TestEnv env;
        Database pc2;
        env.OpenAsAnotherPc(pc2);
        Query classes1(env.db());
        Query classes2(pc2);
        const QList<ClassNameAsRead> read2 = ReadClassNamesAsRead(classes2, ClassAxis::First);
        QStringList names1 = ReadClassNamesById(classes1, ClassAxis::First);
        names1[0] = "得意先";
        QVERIFY(StoreChangedClassNames(classes1, ClassAxis::First,
                                       ReadClassNamesAsRead(classes1, ClassAxis::First), names1)
                    .isEmpty());
        QStringList names2 = FreshClassNames();
        names2[0] = "友人";
        names2[1] = "親戚";
        QCOMPARE(StoreChangedClassNames(classes2, ClassAxis::First, read2, names2), QList<int>{0});
        QCOMPARE(ReadClassNamesById(classes1, ClassAxis::First).mid(0, 3),
                 QStringList({"得意先", "親戚", "項目3"}));
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestRowVersion)
#include "tst_rowversion.moc"
