#include "../common/TestEnv.h"

#include "../common/TestContext.h"
#include "core/ShiftJis.h"
#include "exchange/FormImport.h"
#include "exchange/GreetingCsv.h"
#include "store/GreetingTable.h"

#include <QFile>
#include <QTest>

namespace {

int AddCustomerAt(TestEnv &env, const QString &name, const QString &kana, const QString &zip) {
    const int id = env.AddCustomer(name, kana);
    env.Run(QString("update Usertbl set Zip = '%1' where UserId = %2").arg(zip).arg(id));
    return id;
}

QString WriteFile(TestEnv &env, const QString &text) {
    const QString path = env.root() + "greetings.csv";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(ShiftJis::Encode(text)) < 0)
        return {};
    return path;
}

} // namespace

class TestGreetingCsv : public QObject {
    Q_OBJECT
private slots:
    // The file holds what the book holds, quoted as the customer export quotes, and reads back.
    void writesAndReadsTheRecord() {
        TestEnv env;
        const int aoki = AddCustomerAt(env, "青木", "ｱｵｷ", "100-0001");
        GreetingTable greetings(env.db());
        greetings.Set({aoki, 2027, GreetingKind::MourningReceived, QDate(2026, 11, 3),
                       "祖母, \"ハナ\" 九十歳"});
        greetings.Set({aoki, 2026, GreetingKind::NewYearSent, {}, "=1+1"});
        int events = 0;
        const QByteArray bytes = BuildGreetingCsv(env.db(), &events);
        QCOMPARE(events, 2);
        QCOMPARE(ShiftJis::Decode(bytes),
                 QString("氏名,フリガナ,郵便番号,年,種類,日付,備考,\r\n"
                         "青木,ｱｵｷ,100-0001,2027,3,2026/11/03,\"祖母, \"\"ハナ\"\" 九十歳\",\r\n"
                         "青木,ｱｵｷ,100-0001,2026,1,,'=1+1,\r\n"));

        env.Run("delete from greetingtbl");
        QFile file(env.root() + "back.csv");
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        GreetingImport outcome;
        QString error;
        QVERIFY(ImportGreetingCsv(env.db(), file.fileName(), outcome, error));
        QCOMPARE(outcome.stored, 2);
        QVERIFY(outcome.refused.isEmpty());
        QCOMPARE(BuildGreetingCsv(env.db()), bytes);
    }

    void leavesOutWhatItCannotPlace_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("refusal"); // empty when stored
        QTest::newRow("one customer") << "青木,ｱｵｷ,100-0001,2027,2,2027/01/02,"
                                      << "";
        QTest::newRow("kind by caption") << "青木,ｱｵｷ,100-0001,2027,喪中 受け取った,,"
                                         << "";
        QTest::newRow("no such customer") << "青木,ｱｵｷ,999-9999,2027,2,,"
                                          << "2行目: 氏名・フリガナ・郵便番号の合う顧客がいません";
        QTest::newRow("two customers") << "馬場,ﾊﾞﾊﾞ,200-0002,2027,2,,"
                                       << "2行目: 氏名・フリガナ・郵便番号の合う顧客が 2 人";
        QTest::newRow("unknown kind") << "青木,ｱｵｷ,100-0001,2027,9,,"
                                      << "2行目: 種類が読めません";
        QTest::newRow("no year") << "青木,ｱｵｷ,100-0001,来年,1,,"
                                 << "2行目: 年が読めません";
        QTest::newRow("bad day") << "青木,ｱｵｷ,100-0001,2027,1,2027/02/30,"
                                 << "2行目: 日付が読めません";
    }
    void leavesOutWhatItCannotPlace() {
        QFETCH(QString, line);
        QFETCH(QString, refusal);
        TestEnv env;
        AddCustomerAt(env, "青木", "ｱｵｷ", "100-0001");
        AddCustomerAt(env, "馬場", "ﾊﾞﾊﾞ", "200-0002");
        AddCustomerAt(env, "馬場", "ﾊﾞﾊﾞ", "200-0002");
        const QString path = WriteFile(env, "氏名,フリガナ,郵便番号,年,種類,日付,備考,\r\n" + line);
        GreetingImport outcome;
        QString error;
        QVERIFY(ImportGreetingCsv(env.db(), path, outcome, error));
        QCOMPARE(outcome.stored, refusal.isEmpty() ? 1 : 0);
        QCOMPARE(outcome.refused.size(), refusal.isEmpty() ? 0 : 1);
        if (!refusal.isEmpty())
            QVERIFY2(outcome.refused.first().startsWith(refusal),
                     qPrintable(outcome.refused.first()));
    }

    // The インポート window takes a file of the greeting record without asking for a mapping.
    void theImportWindowRecognisesTheFile() {
        TestEnv env;
        TestContext context(env);
        AddCustomerAt(env, "青木", "ｱｵｷ", "100-0001");
        env.prompt().PushPath(WriteFile(env, "氏名,フリガナ,郵便番号,年,種類,日付,備考,\r\n"
                                             "青木,ｱｵｷ,100-0001,2027,2,,\r\n"
                                             "伊藤,ｲﾄｳ,,2027,2,,\r\n"));
        TFormImport window(context);
        window.RunImport();
        QVERIFY(!window.isVisible());
        QCOMPARE(env.prompt().Texts("message"),
                 QStringList{"挨拶状の記録 1件を取り込みました。\r\n次の 1 行は取り込んでいません。"
                             "\r\n3行目: 氏名・フリガナ・郵便番号の合う顧客がいません: 伊藤"});
    }
};

QTEST_MAIN(TestGreetingCsv)
#include "tst_greetingcsv.moc"
