#include "../common/TestContext.h"

#include "admin/Backup.h"
#include "admin/FormBackup.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Names(TestEnv &env) {
    QStringList names;
    Query query(env.db(), "select Name from Usertbl order by UserId");
    for (query.Open(); !query.AtEnd(); query.Next())
        names << query.AsString("Name");
    return names;
}

QStringList EntryNames(const QString &root) {
    QStringList names;
    for (const Backup::Entry &entry : Backup::Entries(root))
        names << entry.name;
    return names;
}

QString FirstClassName(TestEnv &env) {
    return env.Scalar("select Name from Classtbl where ClassId = 0");
}

int Mode(const QString &path) {
    return int(QFile::permissions(path) & 0x7700);
}

// Runs `action` on the next modal dialog that opens.
void OnNextModal(std::function<void(QWidget *)> action) {
    QTimer::singleShot(0, [action] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        action(dialog);
    });
}

// Reads each message for a moment, as a user does, and notes the progress windows still up.
class ReadingPrompt : public ScriptedPrompt {
public:
    void Message(const QString &text, const QString &title) override {
        QTest::qWait(800);
        for (QWidget *window : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog *>(window) && window->isVisible())
                progressShownWith << text;
        ScriptedPrompt::Message(text, title);
    }
    QStringList progressShownWith;
};

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void restoreBringsBackTheBackedUpBook() {
        TestEnv env;
        const QString backup = Backup::Root(env.dataPath()) + "20240515/";
        env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        env.Run("Update Classtbl set Name='得意先' where ClassId = 0");
        WriteFile(env.dbPath() + "img/old.jpg", "old picture");
        QString error;
        QVERIFY2(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), backup, nullptr, &error),
            qPrintable(error));

        QVERIFY(!QFile::exists(backup + "usertbl.DM"));
        QCOMPARE(ReadFile(backup + "img/old.jpg"), QByteArray("old picture"));
        QVERIFY(QFile::exists(backup + "DBDWORK.INI"));
        for (const QString &folder : {backup, backup + "img"})
            QCOMPARE(Mode(folder), 0x7700);
        for (const QString &file : {backup + "pellor3.db", backup + "img/old.jpg"})
            QCOMPARE(Mode(file), 0x6600);

        env.Run("Delete from Usertbl where Name = '佐藤'");
        env.AddCustomer("田中", "ﾀﾅｶ");
        env.Run("Update Classtbl set Name='仕入先' where ClassId = 0");
        QFile::remove(env.dbPath() + "img/old.jpg");
        WriteFile(env.dbPath() + "img/new.jpg", "new picture");
        QStringList marker;
        QVERIFY(TextFile::ReadLines(env.dbPath() + "usertbl.DM", marker));
        marker[11][7] = '0';
        QVERIFY(TextFile::WriteLines(env.dbPath() + "usertbl.DM", marker));
        // Folders the backup does not hold, such as a backup saved into the table folder.
        for (const char *folder : {"Backup/20240101/", "img/album/"}) {
            QVERIFY(QDir().mkpath(env.dbPath() + folder));
            WriteFile(env.dbPath() + folder + "kept.txt", "kept");
        }

        QVERIFY2(Backup::RestoreFromBackup(env.db(), backup, env.dbPath(), &error),
                 qPrintable(error));
        QVERIFY(env.db().IsOpen());
        QCOMPARE(Names(env), QStringList({"青木", "佐藤"}));
        QCOMPARE(FirstClassName(env), QString("得意先"));
        QCOMPARE(ReadFile(env.dbPath() + "img/old.jpg"), QByteArray("old picture"));
        QCOMPARE(ReadFile(env.dbPath() + "img/new.jpg"), QByteArray("new picture"));
        for (const char *folder : {"Backup/20240101/", "img/album/"})
            QCOMPARE(ReadFile(env.dbPath() + folder + "kept.txt"), QByteArray("kept"));
        QStringList kept;
        QVERIFY(TextFile::ReadLines(env.dbPath() + "usertbl.DM", kept));
        QCOMPARE(kept, marker);
        QVERIFY(QDir(env.dataPath())
                    .entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot)
                    .filter("DB.")
                    .isEmpty());
    }

    void secondBackupOfTheDayKeepsTheFirst() {
        TestEnv env;
        TestContext context(env);
        env.AddCustomer("青木", "ｱｵｷ");
        TFormBackup window;
        for (int made = 0; made < 2; ++made) {
            OnNextModal(
                [](QWidget *dialog) { dialog->findChild<QPushButton *>("BtnMake")->click(); });
            window.BtnBackupClick(context);
            env.AddCustomer("佐藤", "ｻﾄｳ");
        }
        const QList<Backup::Entry> entries = Backup::Entries(Backup::Root(env.dataPath()));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].name, QString("20240515-100000-2"));
        QCOMPARE(entries[0].customers, 2);
        QCOMPARE(entries[1].customers, 1);
        QVERIFY(entries[1].timeKnown);
        QCOMPARE(Backup::KindText(entries[1].kind), QString("手動"));
    }

    // A file that cannot be read stands for any copy that fails half-way (a full disk too).
    void failedCopiesChangeNothing() {
        TestEnv env;
        const QString backup = Backup::Root(env.dataPath()) + "20240515/";
        env.AddCustomer("青木", "ｱｵｷ");
        QString error;
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), backup, nullptr, &error));
        const QByteArray before = ReadFile(backup + "pellor3.db");
        env.AddCustomer("佐藤", "ｻﾄｳ");
        QVERIFY(QFile::link(env.root() + "gone.jpg", env.dbPath() + "img/broken.jpg"));

        // An unreadable file is left out and named; the rest is backed up.
        QStringList leftOut;
        const QString second = Backup::Root(env.dataPath()) + "20240515-2/";
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), second, &leftOut, &error));
        QCOMPARE(leftOut, QStringList{"img/broken.jpg"});
        QVERIFY(ReadFile(second + "pellor3.db") != before);

        QFile::remove(env.dbPath() + "img/broken.jpg");
        QVERIFY(QFile::link(env.root() + "gone.jpg", backup + "img/broken.jpg"));
        QVERIFY(!Backup::RestoreFromBackup(env.db(), backup, env.dbPath(), &error));
        QVERIFY(env.db().IsOpen());
        QCOMPARE(Names(env), QStringList({"青木", "佐藤"}));
    }

    void badBackupFoldersAreRefused_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"empty file", "foreign book", "missing table", "missing column", "half folder"})
            QTest::newRow(kind) << QString(kind);
    }
    void badBackupFoldersAreRefused() {
        QFETCH(QString, kind);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        const QString backup = env.root() + "bad/";
        QString error;
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), backup, nullptr, &error));
        env.AddCustomer("佐藤", "ｻﾄｳ");
        const QString book = backup + "pellor3.db";
        if (kind == "empty file")
            WriteFile(book, "");
        if (kind == "half folder" || kind == "foreign book")
            QFile::remove(book);
        if (kind != "empty file" && kind != "half folder") {
            Database other;
            other.Open(backup, true);
            const char *statement = kind == "foreign book" ? "create table notes (x)"
                                    : kind == "missing table"
                                        ? "drop table Classtbl2"
                                        : "alter table Historytbl drop column Title";
            other.GetEngine().Prepare(statement)->Step();
        }
        QVERIFY(!Backup::RestoreFromBackup(env.db(), backup, env.dbPath(), &error));
        QVERIFY2(error.contains("バックアップではありません"), qPrintable(error));
        QVERIFY(env.db().IsOpen());
        QCOMPARE(Names(env), QStringList({"青木", "佐藤"}));
    }

    // Another program in the middle of a change to the book: backup and restore say so and
    // change nothing, and the other program's change is stored in the book.
    void bookInUseByAnotherProgram_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }
    void bookInUseByAnotherProgram() {
        QFETCH(bool, restore);
        TestEnv env;
        const QString root = Backup::Root(env.dataPath());
        env.AddCustomer("青木", "ｱｵｷ");
        QString error;
        QVERIFY(Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), root + "20240514/",
                                     nullptr, &error));
        Database other;
        other.Open(env.dbPath());
        Query change(other);
        change.Execute("begin exclusive");
        change.Execute("insert into Usertbl (Name) values ('佐藤')");

        QVERIFY(!(
            restore ? Backup::RestoreFromBackup(env.db(), root + "20240514/", env.dbPath(), &error)
                    : Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(),
                                           root + "20240515/", nullptr, &error)));
        QVERIFY2(error.contains("ほかのプログラムが使用中"), qPrintable(error));
        change.Execute("commit");
        other.Close();
        QVERIFY(env.db().IsOpen());
        QCOMPARE(Names(env), QStringList({"青木", "佐藤"}));
        QCOMPARE(EntryNames(root), QStringList{"20240514"});
    }

    // A restore cut off by a power loss: before its renames the table folder's own folders
    // wait in the working copy, between them the book stands beside its folder. The start and
    // the next restore put both back, so no folder and no customer is lost.
    void cutOffRestoreIsPutRight_data() {
        QTest::addColumn<bool>("betweenRenames");
        QTest::addColumn<bool>("byNextRestore");
        QTest::newRow("before renames, at start") << false << false;
        QTest::newRow("before renames, next restore") << false << true;
        QTest::newRow("between renames, at start") << true << false;
    }
    void cutOffRestoreIsPutRight() {
        QFETCH(bool, betweenRenames);
        QFETCH(bool, byNextRestore);
        TestEnv env;
        const QString backup = Backup::Root(env.dataPath()) + "20240514/";
        env.AddCustomer("青木", "ｱｵｷ");
        QString error;
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), backup, nullptr, &error));
        env.db().Close();
        const QString work = env.dataPath() + ".DB.restore/";
        QVERIFY(QDir().mkpath(work + "img/album"));
        WriteFile(work + "img/album/kept.txt", "kept");
        if (betweenRenames)
            QVERIFY(QDir().rename(env.dbPath(), env.dataPath() + ".DB.previous"));

        if (byNextRestore) {
            env.db().Open(env.dbPath());
            QVERIFY2(Backup::RestoreFromBackup(env.db(), backup, env.dbPath(), &error),
                     qPrintable(error));
        } else {
            QVERIFY2(Backup::FinishCutOffRestore(env.dbPath(), &error), qPrintable(error));
            env.db().Open(env.dbPath());
        }
        QCOMPARE(Names(env), QStringList{"青木"});
        QCOMPARE(ReadFile(env.dbPath() + "img/album/kept.txt"), QByteArray("kept"));
        QVERIFY(QDir(env.dataPath())
                    .entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot)
                    .filter("DB.")
                    .isEmpty());
    }

    void windowHandlesChosenFolders_data() {
        QTest::addColumn<QString>("folderKind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("not a backup") << "empty"
                                      << "Brisko Pellor3 のバックアップフォルダではありません。"
                                      << QStringList({"青木", "佐藤"});
        QTest::newRow("database is not one")
            << "bad database"
            << "バックアップの読み込みに失敗しました" << QStringList({"青木", "佐藤"});
        QTest::newRow("damaged database")
            << "damaged database"
            << "バックアップの読み込みに失敗しました" << QStringList({"青木", "佐藤"});
        for (const char *kind : {"empty file", "foreign database", "missing table"})
            QTest::newRow(kind) << kind << "バックアップの読み込みに失敗しました"
                                << QStringList({"青木", "佐藤"});
        QTest::newRow("older book") << "older book"
                                    << "バックアップを読み込みました" << QStringList({"青木"});
        QTest::newRow("backup without img")
            << "no img"
            << "バックアップを読み込みました" << QStringList({"青木"});
    }
    void windowHandlesChosenFolders() {
        QFETCH(QString, folderKind);
        QFETCH(QString, message);
        QFETCH(QStringList, names);
        QApplication::setApplicationDisplayName("Brisko Pellor3");
        TestEnv env;
        TestContext context(env);
        env.AddCustomer("青木", "ｱｵｷ");
        const QString chosen = env.root() + "chosen/";
        QString error;
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), chosen, nullptr, &error));
        env.AddCustomer("佐藤", "ｻﾄｳ");
        if (folderKind == "empty")
            QFile::remove(chosen + "DBDWORK.INI");
        if (folderKind == "bad database")
            WriteFile(chosen + "pellor3.db", "not a database at all");
        if (folderKind == "empty file")
            WriteFile(chosen + "pellor3.db", "");
        if (folderKind == "foreign database" || folderKind == "missing table") {
            Database other;
            other.Open(chosen);
            const QStringList statements =
                folderKind == "missing table"
                    ? QStringList{"drop table historytbl"}
                    : QStringList{"drop table historytbl", "drop table classtbl",
                                  "drop table usertbl", "create table notes(id integer, text)"};
            for (const QString &statement : statements)
                other.GetEngine().Prepare(statement)->Step();
        }
        if (folderKind == "damaged database") {
            // The page of the customer rows lost, as on a failing stick: the schema still reads.
            const int page = env.Scalar("select rootpage from sqlite_master "
                                        "where lower(name) = 'usertbl'")
                                 .toInt();
            QFile file(chosen + "pellor3.db");
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(qint64(page - 1) * 4096));
            file.write(QByteArray(4096, '\xff'));
        }
        if (folderKind == "older book") {
            // As an earlier version kept it: no insert fields yet, readings as typed.
            Database older;
            older.Open(chosen);
            for (const char *statement :
                 {"alter table Usertbl drop column Sashikomi4",
                  "update Usertbl set Kana = 'あおき'", "pragma user_version = 0"})
                older.GetEngine().Prepare(statement)->Step();
        }
        QDir(chosen + "img").removeRecursively();

        TFormBackup window;
        env.prompt().PushPath("  " + chosen + "  ");
        OnNextModal([](QWidget *dialog) { dialog->findChild<QPushButton *>("Button1")->click(); });
        const bool restored = window.BtnBackupClick(context);
        QCOMPARE(restored, message == "バックアップを読み込みました");
        QVERIFY(env.prompt().Texts().last().startsWith(message));
        QCOMPARE(Names(env), names);
        if (folderKind == "older book") {
            QCOMPARE(env.Scalar("select Kana from Usertbl"), QString("ｱｵｷ"));
            QCOMPARE(env.Scalar("select count(Sashikomi4) from Usertbl"), QString("0"));
        }
    }

    // The settings files go into every backup; a restore puts them back only when asked to.
    void windowRestoreAsksFirst_data() {
        QTest::addColumn<QList<Prompt::Answer>>("answers");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("beforeGreetings"); // backed up before the greeting record
        using A = Prompt::Answer;
        QTest::newRow("no") << QList<A>{A::No} << QStringList({"青木", "佐藤"}) << QByteArray("new")
                            << false;
        QTest::newRow("tables only")
            << QList<A>{A::Yes, A::No} << QStringList{"青木"} << QByteArray("new") << false;
        QTest::newRow("with settings")
            << QList<A>{A::Yes, A::Yes} << QStringList{"青木"} << QByteArray("old") << false;
        QTest::newRow("older book")
            << QList<A>{A::Yes, A::No} << QStringList{"青木"} << QByteArray("new") << true;
    }
    void windowRestoreAsksFirst() {
        QFETCH(QList<Prompt::Answer>, answers);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, settings);
        QFETCH(bool, beforeGreetings);
        const QStringList settingsFiles{"conf.ini", "Config.ini", "paper.cfg", "label.mtl"};
        TestEnv env;
        TestContext context(env);
        env.AddCustomer("青木", "ｱｵｷ");
        if (beforeGreetings)
            env.Run("drop table greetingtbl");
        for (const QString &name : settingsFiles)
            WriteFile(env.dataPath() + name, "old");
        const QString backup = Backup::Root(env.dataPath()) + "20240514-090000/";
        QString error;
        QVERIFY(
            Backup::CopyToBackup(env.db(), env.dataPath(), env.dbPath(), backup, nullptr, &error));
        for (const QString &name : settingsFiles) {
            QCOMPARE(ReadFile(backup + "settings/" + name), QByteArray("old"));
            WriteFile(env.dataPath() + name, "new");
        }
        env.AddCustomer("佐藤", "ｻﾄｳ");

        for (const Prompt::Answer answer : answers)
            env.prompt().PushAnswer(answer);
        TFormBackup window;
        OnNextModal([](QWidget *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("ListViewFileList");
            list->setCurrentItem(list->topLevelItem(0));
            dialog->findChild<QPushButton *>("BtnOk")->click();
        });
        QCOMPARE(window.BtnBackupClick(context), answers.size() > 1);
        const ScriptedPrompt::Call &question = env.prompt().calls().front();
        QVERIFY2(question.text.startsWith("2024/05/14 09:00:00 のバックアップ（顧客 1件）で、"
                                          "現在のデータ（顧客 2件）を"),
                 qPrintable(question.text));
        QCOMPARE(question.defaultAnswer, Prompt::Answer::No);
        QCOMPARE(env.prompt().Texts("confirm").size(), answers.size());
        QVERIFY(env.prompt().Texts("error").isEmpty());
        QCOMPARE(Names(env), names);
        for (const QString &name : settingsFiles)
            QCOMPARE(ReadFile(env.dataPath() + name), settings);
        if (answers.size() == 1)
            QCOMPARE(EntryNames(Backup::Root(env.dataPath())), QStringList{"20240514-090000"});
        QVERIFY(env.db().GetEngine().HasTable("greetingtbl"));
    }

    void windowMakesListsAndDeletesBackups() {
        TestEnv env;
        TestContext context(env);
        TFormBackup window;
        OnNextModal([](QWidget *dialog) { dialog->findChild<QPushButton *>("BtnMake")->click(); });
        QVERIFY(!window.BtnBackupClick(context));
        QCOMPARE(env.prompt().Texts("message"), QStringList({"バックアップを作成しました"}));
        const QString backup = Backup::Root(env.dataPath()) + "20240515-100000/";
        QVERIFY(QFile::exists(backup + "pellor3.db"));
        // Removed by hand: the backup can still be deleted from the window.
        QDir(backup + "img").removeRecursively();

        OnNextModal([](QWidget *dialog) {
            auto *list = dialog->findChild<QTreeWidget *>("ListViewFileList");
            QCOMPARE(list->topLevelItemCount(), 1);
            dialog->findChild<QPushButton *>("BtnOk")->click();
            QVERIFY(dialog->isVisible());
            list->setCurrentItem(list->topLevelItem(0));
            dialog->findChild<QPushButton *>("BtnDel")->click();
            QCOMPARE(list->topLevelItemCount(), 0);
            dialog->findChild<QPushButton *>("BtnCancel")->click();
        });
        QVERIFY(!window.BtnBackupClick(context));
        QCOMPARE(env.prompt().Texts("message").mid(1),
                 QStringList({"復元する日付を選択して下さい"}));
        QCOMPARE(env.prompt().Texts("confirm"),
                 QStringList({"2024/05/15 10:00:00のバックアップを削除しますか？"}));
        QCOMPARE(env.prompt().calls().back().defaultAnswer, Prompt::Answer::No);
        QVERIFY(env.prompt().Texts("error").isEmpty());
        QVERIFY(!QFile::exists(backup));
    }

    void noProgressWindowStaysBesideTheOutcome() {
        TestEnv env;
        TestContext context(env);
        auto reading = std::make_unique<ReadingPrompt>();
        ReadingPrompt &prompt = *reading;
        Prompt::Install(std::move(reading));
        TFormBackup window;
        OnNextModal([](QWidget *dialog) { dialog->findChild<QPushButton *>("BtnMake")->click(); });
        window.BtnBackupClick(context);
        QCOMPARE(prompt.Texts("message"), QStringList({"バックアップを作成しました"}));
        QCOMPARE(prompt.progressShownWith, QStringList());
    }

    void automaticBackupOncePerDayKeepsSeven() {
        TestEnv env;
        QString error;
        const QDate first(2024, 5, 1);
        for (int day = 0; day < 9; ++day)
            QVERIFY(Backup::RunAutoBackup(env.db(), env.dataPath(), env.dbPath(),
                                          QDateTime(first.addDays(day), QTime(10, 0)), nullptr,
                                          &error));
        const QString root = Backup::Root(env.dataPath());
        QFile::remove(root + "auto-20240509-100000/DBDWORK.INI");
        QVERIFY(Backup::RunAutoBackup(env.db(), env.dataPath(), env.dbPath(),
                                      QDateTime(first.addDays(8), QTime(10, 0)), nullptr, &error));
        QVERIFY(!QFile::exists(root + "auto-20240509-100000/DBDWORK.INI"));
        QStringList expected;
        for (int day = 2; day < 9; ++day)
            expected.prepend("auto-" + first.addDays(day).toString("yyyyMMdd") + "-100000");
        QCOMPARE(EntryNames(root), expected);

        QVERIFY(Backup::SetAutoBackupEnabled(env.dataPath(), false, nullptr));
        QVERIFY(Backup::RunAutoBackup(env.db(), env.dataPath(), env.dbPath(),
                                      QDateTime(first.addDays(20), QTime(10, 0)), nullptr, &error));
        QCOMPARE(EntryNames(root), expected);
    }

    // A backup cut off by a power loss leaves a hidden copy of the book; it must not stay for
    // good, as the day's name of an automatic backup never comes again.
    void copyOfCutOffBackupIsRemoved() {
        TestEnv env;
        const QString root = Backup::Root(env.dataPath());
        for (const char *staging : {".auto-20240510.part/img", ".20240512.part/img"})
            QVERIFY(QDir().mkpath(root + staging));
        WriteFile(root + ".auto-20240510.part/pellor3.db", "half a copy");
        QString error;
        QVERIFY(Backup::RunAutoBackup(env.db(), env.dataPath(), env.dbPath(),
                                      QDateTime(QDate(2024, 5, 15), QTime(10, 0)), nullptr,
                                      &error));
        QCOMPARE(QDir(root).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"auto-20240515-100000"});
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
