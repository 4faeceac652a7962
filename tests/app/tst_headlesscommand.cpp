#include "../common/MailTestServers.h"
#include "../common/TestEnv.h"
#include "../print/PdfPages.h"

#include "admin/BookPlace.h"
#include "admin/StartupPassword.h"
#include "app/CommandManual.h"
#include "app/HeadlessCommand.h"
#include "core/Clock.h"
#include "mail/MailComposition.h"
#include "mail/MailSettings.h"
#include "platform/BookServer.h"
#include "store/GreetingTable.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

class TestHeadlessCommand : public QObject {
    Q_OBJECT
private slots:
    // Status -1: a command that would run; only the parse is checked.
    void readsTheCommandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Command>("command");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("mentions");
        const auto row = [](const char *name, QStringList arguments, Command command,
                            const QString &value, int status, const QString &mentions) {
            QTest::newRow(name) << (QStringList{"pellor3"} + arguments) << command << value
                                << status << mentions;
        };
        row("none", {}, Command::OpenWindow, "", -1, "");
        row("with file", {"--print-addresses", "a.pdf"}, Command::PrintAddresses, "a.pdf", -1, "");
        row("file after =", {"--print-addresses=a.pdf"}, Command::PrintAddresses, "a.pdf", -1, "");
        row("file missing", {"--print-addresses"}, Command::UsageError, "", 2, "FILE.pdf");
        row("file empty", {"--print-addresses="}, Command::UsageError, "", 2, "FILE.pdf");
        row("option for the file", {"--print-addresses", "--check-addresses"}, Command::UsageError,
            "", 2, "FILE.pdf");
        row("check", {"--check-addresses"}, Command::CheckAddresses, "", -1, "");
        row("phone list", {"--print-phone-list", "p.pdf"}, Command::PrintPhoneList, "p.pdf", -1,
            "");
        row("cards", {"--print-cards", "c.pdf"}, Command::PrintCards, "c.pdf", -1, "");
        row("postal data", {"--update-postal-data"}, Command::UpdatePostalData, "", -1, "");
        row("misspelt", {"--print-adresses", "a.pdf"}, Command::UsageError, "", 2,
            "--print-adresses");
        row("stray argument", {"a.pdf"}, Command::UsageError, "", 2, "a.pdf");
        row("stray after a command", {"--check-addresses", "x"}, Command::UsageError, "", 2, "x");
        row("value to a flag", {"--check-addresses=yes"}, Command::UsageError, "", 2,
            "--check-addresses");
        row("two commands", {"--check-addresses", "--update-postal-data"}, Command::UsageError, "",
            2, "--update-postal-data");
        row("mail", {"--send-mail", "t.mtl", "--marked", "--dry-run"}, Command::SendMail, "t.mtl",
            -1, "");
        row("switch without its command", {"--dry-run"}, Command::UsageError, "", 2, "--dry-run");
        row("switch of another command", {"--check-addresses", "--marked"}, Command::UsageError, "",
            2, "--marked");
        row("duplicates", {"--find-duplicates"}, Command::FindDuplicates, "", -1, "");
        row("copy to a server", {"--copy-book-to", "postgresql://a@h/d"}, Command::CopyBookTo,
            "postgresql://a@h/d", -1, "");
        row("copy from no server", {"--copy-book-from", "/tmp/book"}, Command::CopyBookFrom,
            "/tmp/book", -1, "");
        row("help", {"--help"}, Command::ShowHelp, "", 0, "--print-cards FILE.pdf");
        row("short help", {"-h"}, Command::ShowHelp, "", 0, "--update-postal-data");
        row("version", {"--version"}, Command::ShowVersion, "", 0, "pellor3 3.");
    }
    void readsTheCommandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        QFETCH(int, status);
        const CommandLine line = ParseCommandLine(arguments);
        QTEST(line.command, "command");
        QTEST(line.value, "value");
        QVERIFY2(line.message.contains(mentions), qPrintable(line.message));
        if (status >= 0) {
            int argc = 1;
            char name[] = "pellor3";
            char *argv[] = {name, nullptr};
            QCOMPARE(RunCommand(line, argc, argv), status);
        }
    }

    void helpGivesEveryCommandOneLine() {
        const QStringList lines = ParseCommandLine({"pellor3", "--help"}).message.split('\n');
        for (const char *command :
             {"--print-addresses FILE.pdf", "--check-addresses", "--print-phone-list FILE.pdf",
              "--print-cards FILE.pdf", "--update-postal-data", "--send-mail TEMPLATE.mtl",
              "--marked", "--dry-run", "--find-duplicates", "--help", "--version"})
            QCOMPARE(lines
                         .filter(QRegularExpression("^  (-\\w, )?" +
                                                    QRegularExpression::escape(command) + " "))
                         .size(),
                     1);
    }

    // --help, the manual page, the shell completion and the README come from, or must follow,
    // the one command table.
    void everyCommandIsInTheManualTheCompletionAndTheReadme_data() {
        QTest::addColumn<QString>("dashed");
        QTest::addColumn<QString>("valueName");
        for (const CommandDescription &command : DescribedCommands())
            QTest::newRow(qPrintable(command.names.last()))
                << command.names.last() << command.valueName;
    }
    void everyCommandIsInTheManualTheCompletionAndTheReadme() {
        QFETCH(QString, dashed);
        QFETCH(QString, valueName);
        QString roff = dashed;
        QVERIFY(ManualPage("3.0").contains("\\fB" + roff.replace("-", "\\-") + "\\fR"));
        QFile readme(PELLOR3_SOURCE_DIR "/README.md");
        QVERIFY(readme.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(readme.readAll())
                     .contains(QRegularExpression(QRegularExpression::escape(dashed) + "\\b")),
                 qPrintable(dashed + " is not in the README"));
        // What bash offers for the name's first letters, and for the value after it.
        const QString script =
            BashCompletion() +
            QString(
                "COMP_WORDS=(pellor3 %1); COMP_CWORD=1; _pellor3; echo \"${COMPREPLY[*]}\"\n"
                "COMP_WORDS=(pellor3 %2 ''); COMP_CWORD=2; _pellor3; echo \"${COMPREPLY[*]}\"\n")
                .arg(dashed.left(dashed.size() - 1), dashed);
        QTemporaryDir folder;
        for (const char *file : {"book.pdf", "book.csv", "book.mtl", "book.vcf"}) {
            QFile made(folder.filePath(file));
            QVERIFY(made.open(QIODevice::WriteOnly));
        }
        QProcess bash;
        bash.setWorkingDirectory(folder.path());
        bash.start("bash", {"-c", script});
        QVERIFY(bash.waitForFinished(10'000));
        const QStringList offered = QString::fromUtf8(bash.readAllStandardOutput()).split('\n');
        QVERIFY2(offered.value(0).split(' ').contains(dashed), qPrintable(offered.value(0)));
        if (valueName.contains('.'))
            QCOMPARE(offered.value(1), "book." + valueName.section('.', -1));
        else if (!valueName.isEmpty())
            QCOMPARE(offered.value(1), QString());
    }

    void printsTheMarkedCustomersOfTheInstallation() {
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        env.AddCustomer("青木", "ｱｵｷ", false);
        env.AddCustomer("田中", "ﾀﾅｶ", true);
        const QString pdf = env.root() + "faces.pdf";
        QCOMPARE(RunPrintAddressesCommand(pdf), 0);
        QCOMPARE(PdfPageCount(pdf), 2);
    }

    // The book goes to an empty server database and comes back into an empty local book; a
    // target already holding it is refused, and the window's start then opens the server's book.
    void copiesTheBookToAServerAndBack() {
        QCOMPARE(RunCopyBookCommand("/tmp/book", false), 2);
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        env.AddCustomer("青木", "ｱｵｷ", false);
        TestServerDatabase server;
        const QString uri = BookServer::UriOf(*BookServer::Parse(server.uri()));
        QCOMPARE(RunCopyBookCommand(uri, true), 0);
        QCOMPARE(RunCopyBookCommand(uri, true), 1);
        QCOMPARE(RunCopyBookCommand(uri, false), 1);
        env.Run("delete from Usertbl");
        QCOMPARE(RunCopyBookCommand(uri, false), 0);
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("2"));
        QVERIFY(BookServer::StoreUri(uri, nullptr));
        QCOMPARE(RunFindDuplicatesCommand(), 0);
        Database book;
        OpenNamedBook(book, env.dbPath());
        QVERIFY(book.IsOnServer());
    }

    // What the server received: the customers with an address for their use type, or only the
    // marked ones; a refusal gives status 3, a dry run sends nothing.
    void mailsTheTemplateToTheBook() {
        TestEnv env;
        MailTestServers servers({"--refuse", "nobody@example.jp"});
        QVERIFY(servers.Ready());
        const int sato = env.AddCustomer("佐藤", "ｻﾄｳ", true);
        env.AddCustomer("青木", "ｱｵｷ", true);
        const int tanaka = env.AddCustomer("田中", "ﾀﾅｶ", false);
        env.Run(
            QString("update Usertbl set Mail_1 = 'sato@example.jp' where UserID = %1").arg(sato));
        env.Run(QString("update Usertbl set Mail_1 = 'nobody@example.jp' where UserID = %1")
                    .arg(tanaka));
        MailPageValues values;
        values.mail = "shop@example.jp";
        values.smtpServer = "127.0.0.1";
        values.smtpPort = QString::number(servers.SmtpPort());
        QVERIFY(SaveMailPageValues(env.dataPath(), values));
        const QString path = env.root() + "t.mtl";
        QString error;
        QVERIFY(WriteMailTemplate(path, "[NAME]様へのご案内", "本文", &error));

        QCOMPARE(RunSendMailCommand(path, false, true), 0);
        QCOMPARE(RunSendMailCommand(path, true, false), 0);
        QCOMPARE(RunSendMailCommand(path, false, false), 3);
        const auto messages = servers.Events("message", 2);
        QCOMPARE(messages.size(), size_t(2));
        for (const QJsonObject &message : messages) {
            QCOMPARE(message.value("recipients").toArray(), QJsonArray({"sato@example.jp"}));
            QCOMPARE(message.value("subject").toString(), QString("佐藤様へのご案内"));
        }
        QCOMPARE(servers.Commands().count("smtp RCPT"), 3);
        QCOMPARE(RunSendMailCommand(env.root() + "none.mtl", false, false), 1);
    }

    void asksForTheStartupPassword_data() {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<bool>("printed");
        QTest::newRow("right") << QByteArray("秘密 1\n") << true;
        QTest::newRow("wrong") << QByteArray("himitsu\n") << false;
        QTest::newRow("none given") << QByteArray() << false;
    }
    void asksForTheStartupPassword() {
        QFETCH(QByteArray, typed);
        QFETCH(bool, printed);
        TestEnv env;
        env.AddCustomer("佐藤", "ｻﾄｳ", true);
        QStringList marker;
        QVERIFY(ReadMarkerLines(env.dbPath(), marker, nullptr));
        QVERIFY(WriteStoredPassword("秘密 1"));
        QVERIFY(WriteMarker(env.dbPath(), marker, true, nullptr));
        const QString input = env.root() + "typed.txt";
        QFile file(input);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(typed);
        file.close();
        QVERIFY(std::freopen(QFile::encodeName(input).constData(), "r", stdin));
        const QString pdf = env.root() + "faces.pdf";
        QCOMPARE(RunPrintAddressesCommand(pdf) == 0, printed);
        QCOMPARE(QFile::exists(pdf), printed);
    }

    // A New Year card run in November: the household in mourning is neither marked nor printed,
    // and once marked by hand the check names it.
    void aNewYearRunLeavesOutTheMourners() {
        TestEnv env;
        Clock::SetFixed(QDateTime(QDate(2026, 11, 20), QTime(10, 0)));
        const int sato = env.AddCustomer("佐藤", "ｻﾄｳ");
        const int aoki = env.AddCustomer("青木", "ｱｵｷ");
        env.AddCustomer("田中", "ﾀﾅｶ", true);
        GreetingTable greetings(env.db());
        greetings.Set({sato, 2026, GreetingKind::NewYearSent, {}, {}});
        greetings.Set({aoki, 2026, GreetingKind::NewYearReceived, {}, {}});
        greetings.Set({aoki, 2027, GreetingKind::MourningReceived, {}, "祖母"});

        QCOMPARE(RunMarkGreetingCardsCommand("2027"), 0);
        QCOMPARE(RunMarkGreetingCardsCommand("来年"), 2);
        const QString pdf = env.root() + "cards.pdf";
        QCOMPARE(RunPrintAddressesCommand(pdf), 0);
        QCOMPARE(PdfPageCount(pdf), 1);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY2(text.contains("佐") && !text.contains("青") && !text.contains("田"),
                 qPrintable(text));

        env.Run(QString("update Usertbl set Print = '1' where UserId = %1").arg(aoki));
        const QString output = env.root() + "check.txt";
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        const int file = open(QFile::encodeName(output).constData(), O_WRONLY | O_CREAT, 0600);
        dup2(file, STDOUT_FILENO);
        const int status = RunCheckAddressesCommand();
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(file);
        close(saved);
        QFile lines(output);
        QVERIFY(lines.open(QIODevice::ReadOnly));
        const QString problems = QString::fromLocal8Bit(lines.readAll());
        QCOMPARE(status, 3);
        QVERIFY2(problems.contains("青木: 喪中") && !problems.contains("佐藤: 喪中"),
                 qPrintable(problems));
        Clock::Reset();
    }

    // What a script reads: the pairs by UserId, the names as entered, the reasons.
    void listsTheCustomersEnteredTwice() {
        TestEnv env;
        const int first = env.AddCustomer("髙橋 一郎", "ﾀｶﾊｼ ｲﾁﾛｳ");
        env.AddCustomer("山田 花子", "ﾔﾏﾀﾞ ﾊﾅｺ");
        const int second = env.AddCustomer("高橋一郎", "");
        const int third = env.AddCustomer("高橋 商店", "");
        env.Run(QString("update Usertbl set Address1 = '東京都新宿区西新宿1丁目2番3号', Mail_1 = "
                        "'Ichiro@Example.JP' where UserId = %1")
                    .arg(first));
        env.Run(QString("update Usertbl set Address1 = '東京都新宿区西新宿１－２－３' where "
                        "UserId = %1")
                    .arg(second));
        env.Run(QString("update Usertbl set OfficeMail_1 = 'ichiro@example.jp' where UserId = %1")
                    .arg(third));
        const QString output = env.root() + "pairs.txt";
        std::fflush(stdout);
        const int saved = dup(STDOUT_FILENO);
        QVERIFY(std::freopen(QFile::encodeName(output).constData(), "w", stdout));
        const int status = RunFindDuplicatesCommand();
        std::fflush(stdout);
        dup2(saved, STDOUT_FILENO);
        close(saved);
        QCOMPARE(status, 0);
        QFile file(output);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(file.readAll()),
                 QString("%1\t%2\t髙橋 一郎\t高橋一郎\t氏名と住所\n"
                         "%1\t%3\t髙橋 一郎\t高橋 商店\tメールアドレス\n")
                     .arg(first)
                     .arg(second)
                     .arg(third));
    }

    void refusesWhenNothingIsMarked() {
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ", false);
        const QString pdf = env.root() + "faces.pdf";
        QVERIFY(RunPrintAddressesCommand(pdf) != 0);
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(TestHeadlessCommand)
#include "tst_headlesscommand.moc"
