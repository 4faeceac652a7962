#pragma once

#include <QPlainTextEdit>
#include <QValidator>

class QLineEdit;

// The Japanese message shown when text that code page 932 cannot hold was typed or pasted.
QString UnrepresentableInputMessage(const QString &chars);

// Refuses an edit that would bring in characters code page 932 cannot hold, so every file the
// program writes keeps the text; cross-mapped characters are taken in their code page 932 form.
// Characters the field already held are let be, so such a field stays editable.
class ShiftJisValidator : public QValidator {
    Q_OBJECT

public:
    explicit ShiftJisValidator(QLineEdit *edit);

    State validate(QString &input, int &pos) const override;

signals:
    // The refused characters, each once; emitted while the edit is being refused.
    void Refused(const QString &chars);

private:
    QString held_;
};

// A multi-line text field with the same guard for typing, pasting, dropping and input methods.
class GuardedPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit GuardedPlainTextEdit(QWidget *parent = nullptr);

    // The longest text (in characters) typing, pasting or an input method may make; 0: no limit.
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    int MaxLength() const { return maxLength_; }

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
