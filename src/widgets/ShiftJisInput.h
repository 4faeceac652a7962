#pragma once

#include <QPlainTextEdit>
#include <QValidator>

class QLineEdit;

// The Japanese message shown when text that code page 932 cannot hold was typed or pasted; each
// character is named by its code too.
QString UnrepresentableInputMessage(const QString &chars);

// The characters of `text` a field refuses, each once: those code page 932 cannot hold, and
// control characters (a NUL would cut every statement the field goes into); a multi-line field
// takes line breaks and tabs.
QString RefusedInputChars(const QString &text, bool multiLine);

// Refuses an edit that would bring in characters code page 932 cannot hold, so every file the
// program writes keeps the text; cross-mapped characters are taken in their code page 932 form.
// Characters the field already held are let be, so such a field stays editable.
class ShiftJisValidator : public QValidator {
    Q_OBJECT

public:
    explicit ShiftJisValidator(QLineEdit *edit);

    State validate(QString &input, int &pos) const override;

    // Takes over the edit's length limit, so text pasted beyond it is cut here and reported
    // (QLineEdit would cut it silently).
    void TakeOverMaxLength();
    // FilterKey's characters taken out of pasted text, for fields that store without them, so
    // the field shows what will be stored.
    void DropFilteredKeys() { dropFilteredKeys_ = true; }
    // A reading field: kana however typed, pasted or committed is held as half-width katakana,
    // as the reading index and the sort expect.
    void HoldHalfWidthKatakana() { halfWidthKatakana_ = true; }
    // Sets the edit to a text the book holds. It is shown whole even when an import stored it
    // longer than the limit taken over; typing may then not make it longer still.
    void ShowStoredText(const QString &text);

signals:
    // The refused characters, each once; emitted while the edit is being refused.
    void Refused(const QString &chars);
    // Text that came in at once (a paste or a drop) was cut at the limit.
    void Cut(int maxLength);
    // FilterKey's characters were taken out of text that came in at once.
    void Dropped(const QString &chars);

private:
    QLineEdit *edit_;
    QString held_;
    bool dropFilteredKeys_ = false;
    bool halfWidthKatakana_ = false;
    bool showingStored_ = false;
    int maxLength_ = 0;
};

// Puts a ShiftJisValidator on the edit; what it refuses is warned about once the input is done.
ShiftJisValidator *GuardShiftJis(QLineEdit *edit);

// A multi-line text field with the same guard for typing, pasting, dropping and input methods.
class GuardedPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit GuardedPlainTextEdit(QWidget *parent = nullptr);

    // The longest text (in characters) typing, pasting or an input method may make; 0: no limit.
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }

signals:
    void Refused(const QString &chars);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    // True when the text may go in; otherwise tells about the characters it would bring.
    bool Accepts(const QString &text);
    // How many characters may still go in, replacing the selection.
    qsizetype Room() const;

    int maxLength_ = 0;
};
