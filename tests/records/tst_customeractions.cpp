#include "../common/TestEnv.h"

#include "records/CustomerActions.h"
#include "records/PictureStore.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTest>
#include <QtEndian>

namespace {

// Counts the statements the program runs that start with a given word, as its statement log
// shows them.
class StatementCounter {
public:
    explicit StatementCounter(QString prefix) : prefix_(std::move(prefix)) {
        counting = this;
        QLoggingCategory::setFilterRules("pellor3.sql.debug=true");
        previous_ = qInstallMessageHandler(&StatementCounter::Log);
    }
    ~StatementCounter() {
        qInstallMessageHandler(previous_);
        QLoggingCategory::setFilterRules(QString());
        counting = nullptr;
    }
    int count() const { return count_; }

private:
    static void Log(QtMsgType, const QMessageLogContext &context, const QString &message) {
        if (QByteArrayView(context.category) == "pellor3.sql" &&
            message.startsWith(counting->prefix_, Qt::CaseInsensitive))
            ++counting->count_;
    }
    static inline StatementCounter *counting = nullptr;
    QtMessageHandler previous_;
    QString prefix_;
    int count_ = 0;
};

// The stored transactions of a book file, which SQLite counts in the file's header.
quint32 StoredTransactions(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray header = file.read(28);
    return header.size() == 28 ? qFromBigEndian<quint32>(header.constData() + 24) : 0;
}

void MakePictureFiles(TestEnv &env, int userId) {
    for (int slot = 0; slot < 2; ++slot) {
        QFile file(PictureStore::PictureFolder(env.dataPath()) +
                   PictureStore::PictureFileName(userId, slot));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BM");
    }
}

QStringList PictureFiles(TestEnv &env) {
    return QDir(PictureStore::PictureFolder(env.dataPath())).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestCustomerActions : public QObject {
    Q_OBJECT
private slots:
    void newCustomerDefaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kana");
        QTest::newRow("half-width reading") << "山田 太郎"
                                            << "ﾔﾏﾀﾞ ﾀﾛｳ";
        QTest::newRow("voiced full-width reading kept as typed") << "学校 花子"
                                                                 << "ガッコウ ハナコ";
        QTest::newRow("quotes reach the table as typed") << "O'Brien \"株\""
                                                         << "ｵ'ﾌﾞﾗｲｴﾝ";
        QTest::newRow("blanks kept") << " 山田 "
                                     << " ﾔﾏﾀﾞ";
    }
    void newCustomerDefaults() {
        QFETCH(QString, name);
        QFETCH(QString, kana);
        TestEnv env;
        env.AddCustomer("先客", "ｱ");
        Query query(env.db());
        const int id = InsertNewCustomer(query, name, kana);
        QCOMPARE(id, 2);
        Query row(env.db(), QString("select * from Usertbl where UserId = %1").arg(id));
        row.Open();
        QVERIFY(!row.AtEnd());
        QCOMPARE(row.AsString("Name"), name);
        QCOMPARE(row.AsString("Kana"), kana);
        QCOMPARE(row.AsString("NameTitle"), QString("様"));
        QCOMPARE(row.AsString("Sex"), QString("不明"));
        QCOMPARE(row.AsInteger("UseType"), 0);
        QCOMPARE(row.AsDate("MakeDay"), QDate(2024, 5, 15));
        QVERIFY(row.IsNull("BirthDay"));
        // Stored, not NULL: the class filter finds only stored classes.
        QVERIFY(!row.IsNull("Print") && !row.IsNull("Class") && !row.IsNull("Class2"));
        QCOMPARE(row.AsInteger("Print"), 0);
        QCOMPARE(row.AsInteger("Class"), 0);
        QVERIFY(row.IsNull("img1"));
        QVERIFY(env.prompt().calls().empty());
    }

    void sameNameReadingAndDayGivesTheNewId() {
        TestEnv env;
        Query query(env.db());
        const int first = InsertNewCustomer(query, "山田", "ﾔﾏﾀﾞ");
        const int second = InsertNewCustomer(query, "山田", "ﾔﾏﾀﾞ");
        QVERIFY(first > 0);
        QCOMPARE(second, first + 1);
        QCOMPARE(env.Scalar("select count(*) from Usertbl where Name = '山田'"), QString("2"));
    }

    void deleteLoadedCustomer_data() {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("refresh");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("nothing selected") << false << true << false << false;
        QTest::newRow("answered no") << true << false << false << false;
        QTest::newRow("answered yes") << true << true << true << true;
    }
    void deleteLoadedCustomer() {
        QFETCH(bool, selected);
        QFETCH(bool, answer);
        QFETCH(bool, refresh);
        QFETCH(bool, deleted);
        TestEnv env;
        const int keep = env.AddCustomer("残る", "ﾉｺﾙ");
        const int id = env.AddCustomer("山田", "ﾔﾏﾀﾞ");
        MakePictureFiles(env, keep);
        MakePictureFiles(env, id);
        env.Run(QString("insert into "
                        "Historytbl(UserId,MakeDay,Title,Contents)values(%1,'2024/05/01','a','b')")
                    .arg(id));
        env.prompt().PushAnswer(answer ? Prompt::Answer::Yes : Prompt::Answer::No);
        Query query(env.db());
        const auto userId = selected ? std::optional<int>(id) : std::nullopt;
        QCOMPARE(DeleteLoadedCustomer(query, env.dataPath(), userId, "山田"), refresh);

        if (!selected) {
            QCOMPARE(env.prompt().Texts("message"), QStringList{"削除するデータを選択して下さい"});
        } else {
            QCOMPARE(env.prompt().Texts("confirm"), QStringList{"山田を削除しますか？"});
            QCOMPARE(env.prompt().calls().front().title, QString("確認"));
        }
        QCOMPARE(env.Scalar(QString("select count(*) from Usertbl where UserId = %1").arg(id)),
                 QString(deleted ? "0" : "1"));
        QCOMPARE(PictureFiles(env).size(), deleted ? 2 : 4);
        QVERIFY(PictureFiles(env).contains(PictureStore::PictureFileName(keep, 0)));
        QCOMPARE(env.Scalar("select count(*) from Historytbl"), QString("1"));
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString(deleted ? "1" : "2"));
    }

    void deleteSelectedRows() {
        TestEnv env;
        const int a = env.AddCustomer("a", "ｱ");
        const int b = env.AddCustomer("b", "ｲ");
        const int c = env.AddCustomer("c", "ｳ");
        MakePictureFiles(env, a);
        MakePictureFiles(env, c);
        Query query(env.db());

        QVERIFY(!DeleteCustomers(query, env.dataPath(), {}));
        QCOMPARE(env.prompt().Texts("message"), QStringList{"削除する項目を選択して下さい"});

        env.prompt().PushAnswer(Prompt::Answer::No);
        QVERIFY(!DeleteCustomers(query, env.dataPath(), {a, c}));
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("3"));

        env.prompt().PushAnswer(Prompt::Answer::Yes);
        QVERIFY(DeleteCustomers(query, env.dataPath(), {a, c}));
        QCOMPARE(env.prompt().Texts("confirm").last(), QString("選択したデータを削除しますか？"));
        QCOMPARE(env.Scalar("select group_concat(UserId) from Usertbl"), QString::number(b));
        QVERIFY(PictureFiles(env).isEmpty());
    }

    // Another program reading the book keeps a delete from being stored; the customer it
    // leaves must keep both pictures.
    void deleteNotStoredKeepsPictures_data() {
        QTest::addColumn<bool>("selectedRows");
        QTest::newRow("shown customer") << false;
        QTest::newRow("selected rows") << true;
    }
    void deleteNotStoredKeepsPictures() {
        QFETCH(bool, selectedRows);
        TestEnv env;
        const int id = env.AddCustomer("山田", "ﾔﾏﾀﾞ");
        MakePictureFiles(env, id);
        Query query(env.db());
        Database reader;
        reader.Open(env.dbPath());
        Query reading(reader, "select * from Usertbl");
        reading.Open();
        QVERIFY(!reading.AtEnd());

        env.prompt().PushAnswer(Prompt::Answer::Yes);
        QVERIFY(selectedRows ? DeleteCustomers(query, env.dataPath(), {id})
                             : DeleteLoadedCustomer(query, env.dataPath(), id, "山田"));
        reading.Close();

        QCOMPARE(env.prompt().Texts("error").size(), 1);
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("1"));
        QCOMPARE(PictureFiles(env).size(), 2);
    }

    void printFlagsOneUpdatePerRow_data() {
        QTest::addColumn<bool>("print");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }
    void printFlagsOneUpdatePerRow() {
        QFETCH(bool, print);
        TestEnv env;
        QList<int> ids;
        for (int i = 0; i < 4; ++i)
            ids << env.AddCustomer(QString::number(i), "ｱ", !print);
        const QString nameBefore = env.Scalar("select group_concat(Name) from Usertbl");
        Query query(env.db());
        {
            StatementCounter updates("update");
            QVERIFY(SetPrintFlags(query, ids.mid(0, 3), print));
            QCOMPARE(updates.count(), 3);
        }
        QCOMPARE(env.Scalar(QString("select count(*) from Usertbl where Print = %1").arg(print)),
                 QString("3"));
        QCOMPARE(env.Scalar(QString("select Print from Usertbl where UserId = %1").arg(ids[3])),
                 QString::number(!print));
        QCOMPARE(env.Scalar("select group_concat(Name) from Usertbl"), nameBefore);
    }

    // Each commit waits for the disk; a whole list marked or deleted at once must not pay that
    // once per row. A row the engine refuses ends the run with the rows before it kept.
    void manyRowsAreStoredInOneCommit_data() {
        QTest::addColumn<bool>("remove");
        QTest::newRow("print on") << false;
        QTest::newRow("delete") << true;
    }
    void manyRowsAreStoredInOneCommit() {
        QFETCH(bool, remove);
        TestEnv env;
        QList<int> ids;
        for (int i = 0; i < 5; ++i)
            ids << env.AddCustomer(QString::number(i), "ｱ", false);
        env.Run("create trigger refuse before update on Usertbl when new.UserId = 4 "
                "begin select raise(abort, 'refused'); end");
        env.Run("create trigger refuseDelete before delete on Usertbl when old.UserId = 4 "
                "begin select raise(abort, 'refused'); end");
        Query query(env.db());
        const QString book = env.dbPath() + Database::FileName;
        const quint32 storedBefore = StoredTransactions(book);
        env.prompt().PushAnswer(Prompt::Answer::Yes);
        QVERIFY(remove ? DeleteCustomers(query, env.dataPath(), ids)
                       : SetPrintFlags(query, ids, true));
        QCOMPARE(StoredTransactions(book) - storedBefore, 1u);
        QCOMPARE(env.prompt().Texts("error").size(), 1);
        QCOMPARE(env.Scalar(remove ? "select group_concat(UserId) from Usertbl"
                                   : "select group_concat(UserId) from Usertbl where Print = 0"),
                 QString("4,5"));
    }

    void printFlagsNeedASelection() {
        TestEnv env;
        Query query(env.db());
        QVERIFY(!SetPrintFlags(query, {}, true));
        QCOMPARE(env.prompt().Texts("message"),
                 QStringList{"印刷設定を変更する項目を選択して下さい"});
    }
};

QTEST_GUILESS_MAIN(TestCustomerActions)
#include "tst_customeractions.moc"
