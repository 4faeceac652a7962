#include "../common/TestEnv.h"

#include "records/FormAddData.h"

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void Compose(QLineEdit *edit, const QString &preedit, const QString &commit = {}) {
    QInputMethodEvent event(preedit, {});
    if (!commit.isEmpty())
        event.setCommitString(commit);
    QCoreApplication::sendEvent(edit, &event);
}

} // namespace

class TestFormAddData : public QObject {
    Q_OBJECT
private slots:
    void window() {
        TFormAddData form;
        QCOMPARE(form.windowTitle(), QString("新規データ登録"));
        QCOMPARE(form.findChild<QLabel *>("Label3")->text(),
                 QString("名字と名前の間にはスペースを入れてください。"));
        QCOMPARE(form.findChild<QPushButton *>("BtnAdd")->text(), QString("登録"));
        QCOMPARE(form.findChild<QPushButton *>("BtnCancel")->text(), QString("キャンセル"));
    }

    void validation_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kana");
        QTest::addColumn<QString>("message");
        QTest::newRow("both empty") << ""
                                    << ""
                                    << "フリガナが未入力です";
        QTest::newRow("blank reading") << "山田"
                                       << "  "
                                       << "フリガナが未入力です";
        QTest::newRow("blank name") << "　 "
                                    << "ﾔﾏﾀﾞ"
                                    << "名前が未入力です";
        QTest::newRow("complete") << " 山田 太郎"
                                  << "ﾔﾏﾀﾞ ﾀﾛｳ "
                                  << "";
    }
    void validation() {
        QFETCH(QString, name);
        QFETCH(QString, kana);
        QFETCH(QString, message);
        TestEnv env;
        TFormAddData form;
        Query query(env.db());
        QTimer::singleShot(0, &form, [&] {
            form.findChild<QLineEdit *>("EditName")->setText(name);
            form.findChild<QLineEdit *>("EditKana")->setText(kana);
            form.findChild<QPushButton *>("BtnAdd")->click();
            if (form.isVisible()) {
                QVERIFY(!form.AllowClose);
                QCOMPARE(form.findChild<QLineEdit *>("EditName")->text(), name);
                form.findChild<QPushButton *>("BtnCancel")->click();
            }
        });
        const int id = form.AddCustomer(query);
        QCOMPARE(env.prompt().Texts("message"),
                 message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(id > 0, message.isEmpty());
        if (id > 0) {
            QCOMPARE(env.Scalar(QString("select Name from Usertbl where UserId = %1").arg(id)),
                     name);
            QCOMPARE(env.Scalar(QString("select Kana from Usertbl where UserId = %1").arg(id)),
                     kana);
            QCOMPARE(form.Kana(), kana);
        }
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString(id > 0 ? "1" : "0"));
    }

    void enterInNameWithoutReadingStaysOpen() {
        TestEnv env;
        TFormAddData form;
        Query query(env.db());
        QTimer::singleShot(0, &form, [&] {
            QTest::keyClicks(form.findChild<QLineEdit *>("EditName"), "abc");
            QTest::keyClick(form.findChild<QLineEdit *>("EditName"), Qt::Key_Return);
            QVERIFY(form.isVisible());
            QCOMPARE(env.prompt().Texts("message"), QStringList{"フリガナが未入力です"});
            // Escape still cancels after a refused attempt.
            QTest::keyClick(form.findChild<QLineEdit *>("EditName"), Qt::Key_Escape);
        });
        QCOMPARE(form.AddCustomer(query), 0);
        QCOMPARE(env.Scalar("select count(*) from Usertbl"), QString("0"));
    }

    void readingFollowsTheInputMethodAndShowEmpties() {
        TestEnv env;
        TFormAddData form;
        Query query(env.db());
        form.findChild<QLineEdit *>("EditName")->setText("前回");
        form.findChild<QLineEdit *>("EditKana")->setText("ｾﾞﾝｶｲ");
        QTimer::singleShot(0, &form, [&] {
            QVERIFY(form.findChild<QLineEdit *>("EditName")->text().isEmpty());
            QVERIFY(form.findChild<QLineEdit *>("EditKana")->text().isEmpty());
            Compose(form.findChild<QLineEdit *>("EditName"), "がっこう");
            Compose(form.findChild<QLineEdit *>("EditName"), "学校");
            Compose(form.findChild<QLineEdit *>("EditName"), {}, "学校");
            QCOMPARE(form.findChild<QLineEdit *>("EditKana")->text(), QString("ｶﾞｯｺｳ"));
            QTest::keyClick(form.findChild<QLineEdit *>("EditKana"), Qt::Key_Return);
        });
        const int id = form.AddCustomer(query);
        QVERIFY(id > 0);
        QCOMPARE(env.Scalar(QString("select Name || Kana from Usertbl where UserId = %1").arg(id)),
                 QString("学校ｶﾞｯｺｳ"));
    }

    void pastedTextShowsWhatIsStoredAndTheUserIsTold() {
        TestEnv env;
        TFormAddData form;
        Query query(env.db());
        QString shownName;
        QTimer::singleShot(0, &form, [&] {
            form.findChild<QLineEdit *>("EditName")->insert("O'Brien, \"株\"");
            form.findChild<QLineEdit *>("EditKana")->insert(QString(60, u'ｱ'));
            shownName = form.findChild<QLineEdit *>("EditName")->text();
            form.findChild<QPushButton *>("BtnAdd")->click();
        });
        const int id = form.AddCustomer(query);
        QCoreApplication::processEvents();
        QCOMPARE(shownName, QString("OBrien 株"));
        QCOMPARE(env.Scalar(QString("select Name from Usertbl where UserId = %1").arg(id)),
                 QString("OBrien 株"));
        QCOMPARE(env.Scalar(QString("select Kana from Usertbl where UserId = %1").arg(id)).size(),
                 40);
        const QStringList told = env.prompt().Texts("message");
        QCOMPARE(told.size(), 2);
        QVERIFY(told[0].contains("取り除きました"));
        QVERIFY(told[1].contains("切り捨てました"));
    }
};

QTEST_MAIN(TestFormAddData)
#include "tst_formadddata.moc"
