#include "printui/FormWarituke.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

class TestFormWarituke : public QObject {
    Q_OBJECT

private slots:
    void entriesReadAsSignedPoints_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("points");
        QTest::newRow("+10") << "+10" << 10;
        QTest::newRow("+ 5") << "+ 5" << 5;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("- 5") << "- 5" << -5;
        QTest::newRow("-10") << "-10" << -10;
    }
    void entriesReadAsSignedPoints() {
        QFETCH(QString, entry);
        QFETCH(int, points);
        QVERIFY(OffsetEntries().contains(entry));
        QCOMPARE(OffsetOfEntry(entry), points);
    }

    void listsRunFromPlusTenToMinusTen() {
        const QStringList &entries = OffsetEntries();
        QCOMPARE(entries.size(), 21);
        QCOMPARE(entries.at(kZeroOffsetEntry), QString("0"));
        for (int i = 0; i < entries.size(); ++i)
            QCOMPARE(OffsetOfEntry(entries.at(i)), 10 - i);
    }

    void shiftsApplyOnlyWhenManual() {
        TFormWarituke form;
        List(form, "CBAtenaAddress")->setCurrentText("+ 5");
        List(form, "CBSashidashiOffice")->setCurrentText("- 5");
        FontSizeOffsets offsets = form.Offsets();
        QCOMPARE(offsets.RecipientAddress, 5);
        QCOMPARE(offsets.SenderOffice, -5);
        QCOMPARE(offsets.Applied(), FontSizeOffsets());
        offsets.Manual = true;
        QCOMPARE(offsets.Applied().RecipientAddress, 5);
        QCOMPARE(offsets.Applied().SenderOffice, -5);
    }

    void resetReturnsEveryListToZero() {
        TFormWarituke form;
        const char *names[] = {"CBAtenaAddress",   "CBAtenaName",        "CBSashidashiAddress",
                               "CBSashidashiName", "CBSashidashiTelFax", "CBSashidashiOffice"};
        for (const char *name : names)
            List(form, name)->setCurrentIndex(0);
        QCOMPARE(form.Offsets().SenderTelFax, 10);
        form.findChild<QPushButton *>("BtnReset")->click();
        for (const char *name : names)
            QCOMPARE(List(form, name)->currentText(), QString("0"));
        QCOMPARE(form.Offsets(), FontSizeOffsets());
        QVERIFY(!List(form, "CBAtenaName")->isEditable());
    }

private:
    static QComboBox *List(TFormWarituke &form, const char *name) {
        return form.findChild<QComboBox *>(name);
    }
};

QTEST_MAIN(TestFormWarituke)
#include "tst_formwarituke.moc"
