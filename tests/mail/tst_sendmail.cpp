#include "../common/MailTestServers.h"
#include "core/ShiftJis.h"
#include "mail/FormSendStatus.h"
#include "mail/SendLog.h"
#include "mail/SendMailThread.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

MailRecipient Row(const QString &name, const QString &address, const QString &extra = {}) {
    return {name, QStringLiteral("様"), address, {extra, {}, {}, {}}, 0};
}

SendJob Job(MailTestServers &servers, std::vector<MailRecipient> rows, bool popBefore = false) {
    SendJob job;
    job.rows = std::move(rows);
    job.subject = QStringLiteral("[name]様へのご案内");
    job.body = QStringLiteral("[NAME] [Name_Title]\n.ｶﾞｲﾄﾞ [sashikomi1]\n以上");
    job.settings.SenderName = QStringLiteral("販売部");
    job.settings.SenderMail = QStringLiteral("shop@example.jp");
    job.settings.SmtpServer = QStringLiteral("127.0.0.1");
    job.settings.SmtpPort = servers.SmtpPort();
    job.settings.UsePopBeforeSmtp = popBefore;
    job.settings.PopServer = QStringLiteral("127.0.0.1");
    job.settings.PopPort = servers.PopPort();
    job.settings.PopUserId = QStringLiteral("popuser");
    job.settings.PopPassword = QStringLiteral("poppass");
    job.transport = servers.Options();
    return job;
}

// Runs the worker to its end while the test's event loop delivers its signals.
void Run(TSendMailThread &worker) {
    QSignalSpy finished(&worker, &QThread::finished);
    worker.start();
    QVERIFY(finished.wait(20000));
    QCoreApplication::processEvents();
}

} // namespace

class TestSendMail : public QObject {
    Q_OBJECT

private slots:
    void SendsPersonalisedMessagesAndReportsRefusals();
    void HalfWidthKanaHeadersArriveReadable();
    void LongParagraphIsCarriedOverShortLines();
    void HeadersAndBodyArriveWhole_data();
    void HeadersAndBodyArriveWhole();
    void GaugeFollowsMessages_data();
    void GaugeFollowsMessages();
    void ConnectFailureEndsRun_data();
    void ConnectFailureEndsRun();
    void CancelDuringConnectClosesConnection();
    void EscapeOnStatusWindowCancels();
};

void TestSendMail::SendsPersonalisedMessagesAndReportsRefusals() {
    MailTestServers servers({"--pop", "popuser:poppass", "--refuse", "nobody@example.jp"});
    QVERIFY(servers.Ready());
    TSendMailThread worker(
        Job(servers,
            {Row("山田 太郎", "a@example.jp", "春"), Row("佐藤 花子", "nobody@example.jp"),
             Row("空欄", ""), Row("Smith", "c@example.jp,d@example.jp", "ｶﾞ")},
            true));
    Run(worker);

    const auto messages = servers.Events("message", 1);
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].value("subject").toString(), QString("山田 太郎様へのご案内"));
    QCOMPARE(messages[0].value("body").toString(),
             QString("山田 太郎 様\r\n.ガイド 春\r\n以上\r\n"));
    QCOMPARE(messages[0].value("sender_name").toString(), QString("販売部 <shop@example.jp>"));
    QVERIFY(QByteArray::fromBase64(messages[0].value("raw").toString().toLatin1())
                .contains("Subject: =?ISO-2022-JP?B?"));

    const QStringList commands = servers.Commands();
    QCOMPARE(commands.count("pop PASS poppass"), 1);
    QVERIFY(commands.indexOf("pop QUIT") < commands.indexOf("smtp EHLO"));
    QCOMPARE(commands.last(), QString("smtp QUIT"));
    QCOMPARE(worker.SentCount, 4);
    QCOMPARE(SendOutcomeText(worker),
             QString("送信処理が完了しました\r\n\r\n送信できなかったメール：2件\r\n"
                     "佐藤 花子 <nobody@example.jp>\r\n"
                     "Smith <c@example.jp,d@example.jp>\r\n\r\n"
                     "メールアドレスがないため送らなかった顧客：1件"));

    // The record of the run tells each recipient's outcome, the refusal's reply too.
    const SendLog log =
        SendLogOf(worker, worker.Rows(), "件名", QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    QStringList outcomes;
    for (const SendLogEntry &entry : log.entries)
        outcomes << OutcomeText(entry.outcome);
    QCOMPARE(outcomes, QStringList({"送信", "拒否", "送信しない（アドレスなし）", "拒否"}));
    QVERIFY(log.entries[1].reason.contains("550"));
    const QStringList csv = ShiftJis::Decode(SendLogCsv(log)).split("\r\n");
    QCOMPARE(csv.value(0), QString("2026/12/09 10:00:00,件名"));
    QVERIFY(csv.value(5).startsWith("Smith,\"c@example.jp,d@example.jp\",拒否,\"メールアドレスの"));
}

void TestSendMail::HalfWidthKanaHeadersArriveReadable() {
    MailTestServers servers;
    QVERIFY(servers.Ready());
    SendJob job = Job(servers, {Row("Smith", "a@example.jp")});
    job.subject = QStringLiteral("ｾｰﾙ [NAME]");
    job.settings.SenderName = QStringLiteral("ｼｮｯﾌﾟ");
    TSendMailThread worker(job);
    Run(worker);
    const auto messages = servers.Events("message", 1);
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].value("subject").toString(), QString("セール Smith"));
    QCOMPARE(messages[0].value("sender_name").toString(), QString("ショップ <shop@example.jp>"));
    const QByteArray raw = QByteArray::fromBase64(messages[0].value("raw").toString().toLatin1());
    QVERIFY(std::all_of(raw.begin(), raw.end(), [](char b) { return b >= 0; }));
}

void TestSendMail::HeadersAndBodyArriveWhole_data() {
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("charset");
    QTest::newRow("long japanese subject")
        << QString(QStringLiteral("春の感謝セールのご案内")).repeated(36) << "本文です"
        << "iso-2022-jp";
    QTest::newRow("long ascii subject")
        << QString(QStringLiteral("Spring sale ")).repeated(30) << "Hello"
        << "iso-2022-jp";
    QTest::newRow("extension characters")
        << QStringLiteral("①髙橋様 ㈱ご案内 №5") << QStringLiteral("Ⅰ期 ㍻ 﨑\n二行目") << "utf-8";
    QTest::newRow("extension character in a long subject")
        << QStringLiteral("①") + QString(QStringLiteral("ご案内")).repeated(60) << "本文"
        << "utf-8";
}

// Strict readers get the texts back unchanged, from lines servers accept (RFC 5322, 2047).
void TestSendMail::HeadersAndBodyArriveWhole() {
    QFETCH(QString, subject);
    QFETCH(QString, body);
    QFETCH(QString, charset);
    MailTestServers servers;
    QVERIFY(servers.Ready());
    SendJob job = Job(servers, {Row("A", "a@example.jp")});
    job.subject = subject;
    job.body = body;
    TSendMailThread worker(job);
    Run(worker);
    const auto messages = servers.Events("message", 1);
    QCOMPARE(messages.size(), size_t(1));
    static const QRegularExpression blanks(QStringLiteral("\\s"));
    QCOMPARE(messages[0].value("subject").toString().remove(blanks),
             QString(subject).remove(blanks));
    QCOMPARE(messages[0].value("body").toString().remove(u'\r'), body + u'\n');
    QCOMPARE(messages[0].value("charset").toString(), charset);
    const QByteArray raw = QByteArray::fromBase64(messages[0].value("raw").toString().toLatin1());
    QVERIFY(std::all_of(raw.begin(), raw.end(), [](char b) { return b >= 0; }));
    for (const QByteArray &line : raw.left(raw.indexOf("\r\n\r\n")).split('\n'))
        QVERIFY2(line.size() <= 79, line.constData());
    for (const QByteArray &word : QByteArray(raw).replace('\r', ' ').replace('\n', ' ').split(' '))
        QVERIFY2(!word.startsWith("=?") || word.size() <= 75, word.constData());
}

void TestSendMail::LongParagraphIsCarriedOverShortLines() {
    MailTestServers servers;
    QVERIFY(servers.Ready());
    SendJob job = Job(servers, {Row("A", "a@example.jp")});
    const QString paragraph =
        QString(QStringLiteral("ご来店ありがとうございます。Thanks! ")).repeated(40);
    job.body = paragraph + QStringLiteral("\n以上");
    TSendMailThread worker(job);
    Run(worker);
    QVERIFY(worker.Failed.empty());
    const auto messages = servers.Events("message", 1);
    QCOMPARE(messages.size(), size_t(1));
    QCOMPARE(messages[0].value("body").toString().remove(QStringLiteral("\r\n")),
             paragraph + QStringLiteral("以上"));
    const QByteArray raw = QByteArray::fromBase64(messages[0].value("raw").toString().toLatin1());
    for (const QByteArray &line : raw.split('\n'))
        QVERIFY(line.size() <= 999);
}

void TestSendMail::GaugeFollowsMessages_data() {
    QTest::addColumn<int>("recipients");
    QTest::addColumn<QList<int>>("percentages");
    QTest::newRow("one") << 1 << QList<int>{0};
    QTest::newRow("three") << 3 << QList<int>{50, 100, 100};
}

void TestSendMail::GaugeFollowsMessages() {
    QFETCH(int, recipients);
    QFETCH(QList<int>, percentages);
    MailTestServers servers;
    QVERIFY(servers.Ready());
    std::vector<MailRecipient> rows(static_cast<size_t>(recipients), Row("A", "a@example.jp"));
    TSendMailThread worker(Job(servers, rows));
    TFormSendStatus status;
    QList<int> seen;
    connect(&worker, &TSendMailThread::RangeChanged, &status, &TFormSendStatus::SetRange);
    connect(&worker, &TSendMailThread::ProgressChanged, &status, &TFormSendStatus::SetProgress);
    connect(&worker, &TSendMailThread::ProgressChanged, &status, [&] { seen << status.Percent(); });
    connect(&worker, &TSendMailThread::StatusChanged, &status, &TFormSendStatus::SetStatus);
    Run(worker);
    QCOMPARE(seen, percentages);
    QCOMPARE(status.Status(), QString("切断中････"));
    QCOMPARE(SendOutcomeText(worker), QString("送信処理が完了しました"));
}

void TestSendMail::ConnectFailureEndsRun_data() {
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("reason");
    QTest::newRow("server never answers") << "silent"
                                          << "サーバーが応答しません";
    QTest::newRow("nothing listening") << "none"
                                       << "接続できません";
    QTest::newRow("login refused") << "auth"
                                   << "ログインを拒否しました: 535";
}

// The run ends before any message, and the user reads why.
void TestSendMail::ConnectFailureEndsRun() {
    QFETCH(QString, server);
    QFETCH(QString, reason);
    MailTestServers servers(server == "auth" ? QStringList{"--auth", "user:secret"}
                                             : QStringList{});
    QVERIFY(servers.Ready());
    SendJob job = Job(servers, {Row("A", "a@example.jp"), Row("B", "b@example.jp")});
    if (server == "auth") {
        job.settings.SmtpUserId = QStringLiteral("user");
        job.settings.SmtpPassword = QStringLiteral("wrong");
    } else {
        job.settings.SmtpPort = server == "silent" ? servers.SilentPort() : 1;
        job.transport.timeoutMs = 300;
    }
    TSendMailThread worker(job);
    Run(worker);
    const QString outcome = SendOutcomeText(worker);
    QVERIFY2(outcome.startsWith(QStringLiteral("接続中にエラーが発生しました\r\n")) &&
                 outcome.contains(reason),
             qPrintable(outcome));
    QCOMPARE(worker.SentCount, 0);
    QVERIFY(!servers.Commands().contains("smtp MAIL"));
    for (const SendLogEntry &entry : SendLogOf(worker, worker.Rows(), {}, {}).entries)
        QCOMPARE(entry.outcome, SendLogEntry::Outcome::NotAttempted);
}

void TestSendMail::CancelDuringConnectClosesConnection() {
    MailTestServers servers({"--pop", "popuser:poppass"});
    QVERIFY(servers.Ready());
    TSendMailThread worker(
        Job(servers, {Row("A", "a@example.jp"), Row("B", "b@example.jp")}, true));
    // The POP login's pause keeps the run in "接続中" long enough for the press to land there.
    connect(&worker, &TSendMailThread::StatusChanged, this, [&](const QString &text) {
        if (text == QStringLiteral("接続中････"))
            worker.requestInterruption();
    });
    Run(worker);
    QCOMPARE(SendOutcomeText(worker), QString("送信処理をキャンセルしました"));
    servers.Events("smtp", 2);
    const QStringList commands = servers.Commands();
    QVERIFY(commands.contains("smtp EHLO"));
    QVERIFY(!commands.contains("smtp MAIL"));
    QCOMPARE(commands.last(), QString("smtp QUIT"));
}

void TestSendMail::EscapeOnStatusWindowCancels() {
    TFormSendStatus status;
    status.show();
    QSignalSpy cancel(&status, &TFormSendStatus::CancelRequested);
    QTest::keyClick(&status, Qt::Key_Escape);
    QCOMPARE(cancel.count(), 1);
    QVERIFY(status.isVisible());
}

QTEST_MAIN(TestSendMail)
#include "tst_sendmail.moc"
