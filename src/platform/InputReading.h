#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;

// The reading of a name typed through the input method (fcitx or IBus through Qt). Qt shows
// the text being composed (the pre-edit) and then the committed text; the last pre-edit made
// only of kana before a commit is what the user typed, so it is the reading of the committed
// conversion. A commit that is itself kana (or letters and digits) is its own reading.
//
// Installed on a name edit, it appends the reading of every commit to the reading edit as
// half-width katakana, with every ' replaced by ’. It never changes what the name edit gets.
class InputReading : public QObject {
    Q_OBJECT

public:
    InputReading(QLineEdit *nameEdit, QLineEdit *readingEdit);
    ~InputReading() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Observe(const QString &preedit, const QString &commit);

    QPointer<QLineEdit> nameEdit_;
    QPointer<QLineEdit> readingEdit_;
    QString lastKana_;
};
