#include "widgets/KeyFilter.h"
#include "widgets/ShiftJisInput.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

class TestEntryGuards : public QObject {
    Q_OBJECT
private slots:
    void filterKeyCharactersCannotBeTyped() {
        QLineEdit edit;
        InstallFilterKey(&edit);
        QTest::keyClicks(&edit, "a'b\"c`d,e");
        QCOMPARE(edit.text(), QString("abcde"));
    }

    void filterKeyCharactersLeaveInputMethodCommits() {
        QLineEdit edit;
        InstallFilterKey(&edit);
        QInputMethodEvent commit;
        commit.setCommitString("x'y,z");
        QApplication::sendEvent(&edit, &commit);
        QCOMPARE(edit.text(), QString("xyz"));
    }

    void lineEditInput_data() {
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("refused");
        QTest::newRow("kana and kanji") << ""
                                        << "山田ｱｲ①"
                                        << "山田ｱｲ①"
                                        << "";
        QTest::newRow("outside code page 932") << "ab"
                                               << "𠮷野"
                                               << "ab"
                                               << "𠮷";
        QTest::newRow("emoji") << ""
                               << "😀"
                               << ""
                               << "😀";
        QTest::newRow("wave dash becomes the full-width tilde") << ""
                                                                << "1〜2"
                                                                << "1～2"
                                                                << "";
        QTest::newRow("minus sign becomes the full-width hyphen-minus") << ""
                                                                        << "−"
                                                                        << "－"
                                                                        << "";
        QTest::newRow("pasted lines are joined") << "名前："
                                                 << "山田 太郎\r\n[PRINT_CONF]\nTYPE=1"
                                                 << "名前：山田 太郎[PRINT_CONF]TYPE=1"
                                                 << "";
        QTest::newRow("a held character keeps the field editable") << "a😀"
                                                                   << "b"
                                                                   << "a😀b"
                                                                   << "";
        QTest::newRow("only new characters are refused") << "a😀"
                                                         << "😀♥"
                                                         << "a😀"
                                                         << "♥";
        QTest::newRow("a NUL is refused") << "ab" << QString("c") + QChar(0) + "d"
                                          << "ab" << QString(QChar(0));
    }
    void lineEditInput() {
        QFETCH(QString, held);
        QFETCH(QString, inserted);
        QFETCH(QString, result);
        QFETCH(QString, refused);
        QLineEdit edit;
        edit.setText(held);
        auto *validator = new ShiftJisValidator(&edit);
        edit.setValidator(validator);
        QSignalSpy refusals(validator, &ShiftJisValidator::Refused);
        edit.end(false);
        edit.insert(inserted);
        QCOMPARE(edit.text(), result);
        QCOMPARE(refusals.isEmpty() ? QString() : refusals.first().first().toString(), refused);
    }

    void theMessageNamesEachCharacterByItsCode() {
        const QString message = UnrepresentableInputMessage(QString("😀𠮷") + QChar(0));
        QVERIFY(message.endsWith("😀 (U+1F600)、𠮷 (U+20BB7)、U+0000"));
    }

    void memoRefusesPastedAndCommittedText() {
        GuardedPlainTextEdit memo;
        QSignalSpy refusals(&memo, &GuardedPlainTextEdit::Refused);
        memo.setPlainText("メモ");
        memo.moveCursor(QTextCursor::End);
        QApplication::clipboard()->setText("𠮷");
        memo.paste();
        QCOMPARE(memo.toPlainText(), QString("メモ"));
        QInputMethodEvent commit;
        commit.setCommitString("😀");
        QApplication::sendEvent(&memo, &commit);
        QCOMPARE(memo.toPlainText(), QString("メモ"));
        QCOMPARE(refusals.size(), 2);
        QApplication::clipboard()->setText("〜です");
        memo.paste();
        QCOMPARE(memo.toPlainText(), QString("メモ～です"));
    }

    void memoKeepsItsLimit() {
        GuardedPlainTextEdit memo;
        memo.SetMaxLength(5);
        QTest::keyClicks(&memo, "abcdefg");
        QCOMPARE(memo.toPlainText(), QString("abcde"));
        QTest::keyClick(&memo, Qt::Key_Return);
        QCOMPARE(memo.toPlainText(), QString("abcde"));
        memo.selectAll();
        QApplication::clipboard()->setText("1234567");
        memo.paste();
        QCOMPARE(memo.toPlainText(), QString("12345"));
    }
};

QTEST_MAIN(TestEntryGuards)
#include "tst_entryguards.moc"
