#include "platform/Prompt.h"
#include "records/CustomerConflict.h"

#include <QTest>

// A save that met another PC's change of the same customer: what one side changed is taken
// from it, a field both changed differently waits for the user.
class TestCustomerConflict : public QObject {
    Q_OBJECT

private slots:
    void changesOfBothPcsAreFolded_data() {
        QTest::addColumn<QString>("mine");
        QTest::addColumn<QString>("theirs");
        QTest::addColumn<QString>("folded");
        QTest::addColumn<bool>("asked");
        QTest::newRow("this PC only") << "青木一郎"
                                      << "青木"
                                      << "青木一郎" << false;
        QTest::newRow("the other PC only") << "青木"
                                           << "青木次郎"
                                           << "青木次郎" << false;
        QTest::newRow("both alike") << "青木一郎"
                                    << "青木一郎"
                                    << "青木一郎" << false;
        QTest::newRow("both differently") << "青木一郎"
                                          << "青木次郎"
                                          << "青木一郎" << true;
    }
    void changesOfBothPcsAreFolded() {
        QFETCH(QString, mine);
        QFETCH(QString, theirs);
        QFETCH(QString, folded);
        QFETCH(bool, asked);
        CustomerRecord base;
        base.name = "青木";
        base.rowVersion = 3;
        CustomerRecord mineRow = base;
        mineRow.name = mine;
        CustomerRecord theirRow = base;
        theirRow.name = theirs;
        theirRow.print = true;
        theirRow.rowVersion = 4;

        const ConcurrentChange change = FoldConcurrentChange(base, mineRow, theirRow);
        QCOMPARE(change.merged.name, folded);
        // What only the other PC changed is never undone, and the stored version is theirs.
        QVERIFY(change.merged.print);
        QCOMPARE(change.merged.rowVersion, 4);
        QCOMPARE(change.conflicts.size(), size_t(asked ? 1 : 0));
        if (!asked)
            return;
        QCOMPARE(change.versions.front().caption, QString("氏名"));
        QCOMPARE(change.versions.front().mine, mine);
        QCOMPARE(change.versions.front().theirs, theirs);
        QCOMPARE(ResolveConflicts(change, theirRow, {true}).name, theirs);
        QCOMPARE(ResolveConflicts(change, theirRow, {false}).name, mine);
    }

    // Every field the save writes is compared: a change of any of them is seen.
    void everyStoredFieldIsCompared() {
        CustomerRecord base;
        CustomerRecord changed;
        changed.birthDay = QDate(1990, 1, 2);
        changed.checkRen[3] = true;
        changed.classId2 = 5;
        changed.sashikomi[2] = "x";
        changed.note = "memo";
        QCOMPARE(FoldConcurrentChange(base, base, changed).merged.sashikomi[2], QString("x"));
        const ConcurrentChange change =
            FoldConcurrentChange(base, changed, CustomerRecord{changed});
        QVERIFY(change.conflicts.empty());
        CustomerRecord other = changed;
        other.birthDay = QDate(1991, 1, 2);
        other.classId2 = 6;
        other.sashikomi[2] = "y";
        other.note = "memo2";
        QCOMPARE(FoldConcurrentChange(base, changed, other).conflicts.size(), size_t(4));
    }
};

QTEST_GUILESS_MAIN(TestCustomerConflict)
#include "tst_customerconflict.moc"
