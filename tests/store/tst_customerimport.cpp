#include "../common/TestEnv.h"

#include "store/CustomerImport.h"
#include "store/ExchangeColumns.h"

#include <QTest>

class TestCustomerImport : public QObject {
    Q_OBJECT
private slots:
    // The server drops a whole transaction at a refused row; the rows before it (more than a
    // savepoint's worth) are still stored when the user keeps them, as on SQLite.
    void aRefusedRowLeavesTheRowsBeforeIt() {
        TestEnv env;
        if (!env.onServer())
            QSKIP("SQLite refuses no row of this kind");
        qsizetype name = -1;
        qsizetype print = -1;
        for (qsizetype i = 0; i < qsizetype(ImportFields().size()); ++i) {
            const QLatin1String column(ImportFields()[size_t(i)].column);
            name = column == QLatin1String("Name") ? i : name;
            print = column == QLatin1String("Print") ? i : print;
        }
        CustomerImport import(env.db());
        Transaction transaction(env.db());
        QStringList row(qsizetype(ImportFields().size()));
        for (int i = 0; i < 700; ++i) {
            row[name] = QString("顧客%1").arg(i);
            import.Insert(row);
        }
        row[print] = "x";
        QVERIFY_THROWS_EXCEPTION(EngineError, import.Insert(row));
        transaction.Commit();
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("700"));
        QCOMPARE(env.Scalar("select max(Name) from Usertbl"), QString("顧客99"));
    }
};

PELLOR3_ENGINES_TEST_MAIN(TestCustomerImport)
#include "tst_customerimport.moc"
