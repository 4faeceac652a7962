#include "platform/InputReading.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

namespace {

// One step of the input method: the text being composed, and the text committed with it.
struct Step {
    QString preedit;
    QString commit;
};

void Send(QLineEdit &edit, const Step &step) {
    QInputMethodEvent event(step.preedit, {});
    if (!step.commit.isEmpty())
        event.setCommitString(step.commit);
    QCoreApplication::sendEvent(&edit, &event);
}

Step Pre(const QString &text) {
    return {text, {}};
}
Step Commit(const QString &text, const QString &preeditLeft = {}) {
    return {preeditLeft, text};
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestInputReading : public QObject {
    Q_OBJECT
private slots:
    void readingOfCommits_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reading");
        QTest::newRow("one conversion")
            << QList<Step>{Pre("や"), Pre("やま"), Pre("やまだ"), Pre("山田"), Commit("山田")}
            << "山田"
            << "ﾔﾏﾀﾞ";
        QTest::newRow("romaji on the way is not a reading")
            << QList<Step>{Pre("ｙ"),   Pre("や"),   Pre("やｍ"),
                           Pre("やま"), Pre("山間"), Commit("山間")}
            << "山間"
            << "ﾔﾏ";
        QTest::newRow("name and blank and given name")
            << QList<Step>{Pre("やまだ"), Pre("山田"), Commit("山田"), Commit("　"),
                           Pre("たろう"), Pre("太郎"), Commit("太郎")}
            << "山田　太郎"
            << "ﾔﾏﾀﾞ ﾀﾛｳ";
        QTest::newRow("kana committed as typed")
            << QList<Step>{Pre("がっこう"), Commit("がっこう")} << "がっこう"
            << "ｶﾞｯｺｳ";
        QTest::newRow("first part committed, rest still composing")
            << QList<Step>{Pre("わたしは"), Commit("私", "は"), Commit("は")} << "私は"
            << "ﾜﾀｼﾊ";
        QTest::newRow("cancelled composition leaves no reading")
            << QList<Step>{Pre("あ"), Pre(""), Commit("亜")} << "亜"
            << "";
        QTest::newRow("quote of letters becomes a typographic one")
            << QList<Step>{Commit("O'Neil")} << "O'Neil"
            << "O’Neil";
    }
    void readingOfCommits() {
        QFETCH(QList<Step>, steps);
        QFETCH(QString, name);
        QFETCH(QString, reading);
        QLineEdit nameEdit, readingEdit;
        InputReading capture(&nameEdit, &readingEdit);
        for (const Step &step : steps)
            Send(nameEdit, step);
        QCOMPARE(nameEdit.text(), name);
        QCOMPARE(readingEdit.text(), reading);
    }

    void appendsToWhatIsThereAndStopsWhenRemoved() {
        QLineEdit nameEdit, readingEdit;
        readingEdit.setText("ｱ");
        auto *capture = new InputReading(&nameEdit, &readingEdit);
        Send(nameEdit, Pre("いし"));
        Send(nameEdit, Commit("石"));
        QCOMPARE(readingEdit.text(), QString("ｱｲｼ"));
        delete capture;
        Send(nameEdit, Pre("かわ"));
        Send(nameEdit, Commit("川"));
        QCOMPARE(nameEdit.text(), QString("石川"));
        QCOMPARE(readingEdit.text(), QString("ｱｲｼ"));
    }
};

QTEST_MAIN(TestInputReading)
#include "tst_inputreading.moc"
