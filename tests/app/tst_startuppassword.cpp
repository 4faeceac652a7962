#include "../common/TestEnv.h"

#include "admin/StartupPassword.h"
#include "app/FormMain.h"
#include "core/TextFile.h"
#include "platform/BookServer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestStartupPassword : public QObject {
    Q_OBJECT
private slots:
    void passwordMarker_data() {
        QTest::addColumn<QString>("line12");
        QTest::addColumn<PasswordMarker>("marker");
        QTest::newRow("digit zero") << "abcdefg0xyz" << PasswordMarker::On;
        QTest::newRow("capital O") << "abcdefgOxyz" << PasswordMarker::Off;
        QTest::newRow("too short") << "abc" << PasswordMarker::Unknown;
    }
    void passwordMarker() {
        QFETCH(QString, line12);
        QFETCH(PasswordMarker, marker);
        QStringList lines(11, "x");
        lines << line12;
        QCOMPARE(MarkerOf(lines), marker);
        QCOMPARE(MarkerOf(lines.mid(0, 11)), PasswordMarker::Unknown);
    }

    void startAsksUntilTheRightPassword_data() {
        QTest::addColumn<bool>("markerOn");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<QStringList>("messages");
        const QString wrong = "パスワードが正しくありません。";
        QTest::newRow("right password, Enter")
            << true << "pw" << QStringList{"type:pw", "enter"} << 1 << false << QStringList{};
        // Stored as the settings page takes it; pasted at the prompt in the other form.
        QTest::newRow("wave dash, other form")
            << true << u"a\uFF5Eb"_qs << QStringList{u"type:a\u301Cb"_qs, "enter"} << 1 << false
            << QStringList{};
        QTest::newRow("wrong, wrong, right")
            << true << "pw" << QStringList{"type:x", "auth", "type:PW", "enter", "type:pw", "auth"}
            << 1 << false << QStringList{wrong, wrong};
        QTest::newRow("wrong, then closed")
            << true << "pw" << QStringList{"type:x", "auth", "close"} << 1 << true
            << QStringList{wrong};
        QTest::newRow("Escape") << true << "pw" << QStringList{"escape"} << 1 << true
                                << QStringList{};
        QTest::newRow("終了 with the right text")
            << true << "pw" << QStringList{"type:pw", "exit"} << 1 << true << QStringList{};
        QTest::newRow("tampered: marker on, no password")
            << true << "" << QStringList{} << 0 << true
            << QStringList{"住所録に対して不正な改ざんが検出されました。（パスワードの無効化を試"
                           "みる、等）\r\n\r\nAdrovaを完全アンインストールして、\r\n再度インス"
                           "トールしてください。\r\n※完全アンインストールすると、入力されてい"
                           "た内容はすべて失われます。\r\n（完全アンインストールの手順は取扱説"
                           "明書をご参照下さい）"};
        QTest::newRow("password off")
            << false << "pw" << QStringList{} << 0 << false << QStringList{};
    }
    void startAsksUntilTheRightPassword() {
        QFETCH(bool, markerOn);
        QFETCH(QString, stored);
        QFETCH(QStringList, steps);
        QFETCH(bool, ends);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        QStringList lines;
        QVERIFY(ReadMarkerLines(env.dbPath(), lines, nullptr));
        QVERIFY(WriteMarker(env.dbPath(), lines, markerOn, nullptr));
        QVERIFY(WriteStoredPassword(stored));

        int prompts = 0;
        if (!steps.isEmpty())
            QTimer::singleShot(0, [&prompts, steps] {
                QWidget *dialog = QApplication::activeModalWidget();
                QVERIFY(dialog);
                QCOMPARE(dialog->objectName(), QString("Pass_Input"));
                ++prompts;
                auto *edit = dialog->findChild<QLineEdit *>("Edt_Pass");
                for (const QString &step : steps) {
                    if (step.startsWith("type:"))
                        edit->setText(step.mid(5));
                    else if (step == "enter")
                        QTest::keyClick(edit, Qt::Key_Return);
                    else if (step == "escape")
                        QTest::keyClick(edit, Qt::Key_Escape);
                    else if (step == "auth")
                        dialog->findChild<QPushButton *>("Btn_Auth")->click();
                    else if (step == "exit")
                        dialog->findChild<QPushButton *>("Btn_Exit")->click();
                    else if (step == "close")
                        dialog->close();
                }
            });
        TFormMain w;
        w.show();
        QTEST(prompts, "prompts");
        QCOMPARE(w.findChild<QWidget *>("PanelMainListView")->isHidden(), ends);
        QCOMPARE(int(w.ListedUserIds().size()), ends ? 0 : 1);
        QStringList shown = env.prompt().Texts("message") + env.prompt().Texts("error");
        QTEST(shown, "messages");
    }

    // Deleting or cutting short the marker file must not open a book that has a password.
    void brokenMarkerStillAsks_data() {
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("listed");
        QTest::newRow("deleted, password stored") << true << "pw" << 1 << 0;
        QTest::newRow("cut short, password stored") << false << "pw" << 1 << 0;
        QTest::newRow("deleted, no password") << true << "" << 0 << 0;
    }
    void brokenMarkerStillAsks() {
        QFETCH(bool, deleted);
        QFETCH(QString, stored);
        TestEnv env;
        env.AddCustomer("青木", "ｱｵｷ");
        QVERIFY(WriteStoredPassword(stored));
        const QString marker = PasswordMarkerPath(env.dbPath());
        QVERIFY(deleted ? QFile::remove(marker) : QFile::resize(marker, 10));
        int prompts = 0;
        QTimer::singleShot(0, [&prompts] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                ++prompts;
                dialog->close();
            }
        });
        TFormMain w;
        w.show();
        QTEST(prompts, "prompts");
        QCOMPARE(env.prompt().Texts("error").size(), 1);
        QTEST(int(w.ListedUserIds().size()), "listed");
    }

    // 終了 at the question about a server that cannot be reached ends the program there: the
    // start-up password is not asked first.
    void endingAtAnUnreachableServerAsksNothingMore() {
        TestEnv env;
        QStringList lines;
        QVERIFY(ReadMarkerLines(env.dbPath(), lines, nullptr));
        QVERIFY(WriteMarker(env.dbPath(), lines, true, nullptr));
        QVERIFY(WriteStoredPassword("pw"));
        QVERIFY(BookServer::StoreUri("postgresql://office@127.0.0.1:1/book", nullptr));
        env.prompt().PushChoice(2);
        int prompts = 0;
        QTimer closer;
        closer.setSingleShot(true);
        connect(&closer, &QTimer::timeout, [&prompts] {
            if (QWidget *dialog = QApplication::activeModalWidget()) {
                ++prompts;
                dialog->close();
            }
        });
        closer.start(0);
        TFormMain w;
        w.show();
        QCOMPARE(prompts, 0);
        QCOMPARE(env.prompt().Texts("choose").size(), 1);
        QVERIFY(env.prompt().Texts("error").isEmpty());
        QVERIFY(w.findChild<QWidget *>("PanelMainListView")->isHidden());
    }
};

QTEST_MAIN(TestStartupPassword)
#include "tst_startuppassword.moc"
