#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class QObject;
class QPrinter;
class QWidget;

// Every message box and file or folder dialog of the program goes through this service, so
// tests can answer them and see what was asked.
class Prompt {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompt() = default;

    virtual void Message(const QString &text, const QString &title = {}) = 0;
    virtual void Error(const QString &text, const QString &title = {}) = 0;
    virtual void Warning(const QString &text, const QString &title = {}) = 0;
    // Yes/No question; titles are "確認" unless the caller says otherwise. `defaultAnswer` is what
    // Enter gives: No for every question whose yes deletes or overwrites something.
    virtual bool Confirm(const QString &text, const QString &title = QStringLiteral("確認"),
                         Answer defaultAnswer = Answer::Yes) = 0;
    // Yes/No/Cancel question.
    virtual Answer Ask(const QString &text, const QString &title = QStringLiteral("確認")) = 0;
    // A question answered by one of `choices` (the button texts); the index chosen, or -1 when
    // the box was closed. Enter gives `defaultChoice`.
    virtual int Choose(const QString &text, const QString &title, const QStringList &choices,
                       int defaultChoice) = 0;
    // A password typed into a masked field; empty text when the user cancels.
    virtual QString AskPassword(const QString &text, const QString &title) = 0;
    // Empty text when the user cancels.
    virtual QString OpenFile(const QString &caption, const QString &folder,
                             const QString &filter) = 0;
    virtual QString SaveFile(const QString &caption, const QString &proposedPath,
                             const QString &filter) = 0;
    virtual QString ChooseFolder(const QString &caption, const QString &folder) = 0;
    // The printer setup dialog; false when cancelled.
    virtual bool SetupPrinter(QPrinter &printer) = 0;

    // One field of a record as this PC and another hold it.
    struct FieldVersions {
        QString caption;
        QString mine;
        QString theirs;
    };
    // Both versions of each field side by side: the user keeps this PC's, takes the other's, or
    // chooses per field. True per field whose other value is taken; closing the window takes
    // the other's, so nothing stored is overwritten without a choice.
    virtual std::vector<bool> ChooseVersions(const QString &text,
                                             const std::vector<FieldVersions> &fields) = 0;
    // The same dialog to choose and set up the printer without printing now.
    virtual bool ChoosePrinter(QPrinter &printer) { return SetupPrinter(printer); }

    // The service in use; a Qt implementation unless one was installed.
    static Prompt &Instance();
    static void Install(std::unique_ptr<Prompt> prompt);
    // Windows that open dialogs pass themselves so boxes are centred over them.
    static void SetParentWindow(QWidget *window);
    static QWidget *ParentWindow();
};

Prompt &prompt();

// A warning about input that a field refused while Qt was still handling that input (a box
// shown there would run inside the key or paste event); it comes once the event is done.
void WarnAfterInput(QObject *context, const QString &text);

// The save dialog of a file of one kind. `extension` (".csv") is added to a name without it (a
// dot alone is no extension), and the file that name then points at is replaced only when the
// user agrees; a file marked read-only is refused. Empty when nothing is to be written.
QString AskSavePath(Prompt &prompt, const QString &caption, const QString &proposedPath,
                    const QString &filter, const QString &extension);
inline QString AskCsvSavePath(Prompt &prompt, const QString &caption, const QString &proposedPath,
                              const QString &filter) {
    return AskSavePath(prompt, caption, proposedPath, filter, QStringLiteral(".csv"));
}

// Message boxes and dialogs shown with Qt.
class QtPrompt : public Prompt {
public:
    void Message(const QString &text, const QString &title) override;
    void Error(const QString &text, const QString &title) override;
    void Warning(const QString &text, const QString &title) override;
    bool Confirm(const QString &text, const QString &title, Answer defaultAnswer) override;
    Answer Ask(const QString &text, const QString &title) override;
    int Choose(const QString &text, const QString &title, const QStringList &choices,
               int defaultChoice) override;
    QString AskPassword(const QString &text, const QString &title) override;
    QString OpenFile(const QString &caption, const QString &folder, const QString &filter) override;
    QString SaveFile(const QString &caption, const QString &proposedPath,
                     const QString &filter) override;
    QString ChooseFolder(const QString &caption, const QString &folder) override;
    bool SetupPrinter(QPrinter &printer) override;
    bool ChoosePrinter(QPrinter &printer) override;
    std::vector<bool> ChooseVersions(const QString &text,
                                     const std::vector<FieldVersions> &fields) override;
};

// Answers from a queue and records every call; for tests. With an empty queue, questions are
// answered "yes", file dialogs are cancelled.
class ScriptedPrompt : public Prompt {
public:
    struct Call {
        QString kind; // "message", "error", "warning", "confirm", "ask", "choose", "password",
                      // "open", "save", "folder", "printer", "versions" (text: the fields as
                      // "caption: mine / theirs" lines after the question)
        QString text;
        QString title;
        Answer defaultAnswer;
    };

    void PushAnswer(Answer answer) { answers_.push_back(answer); }
    // The next question is answered with Enter: its default answer.
    void PushEnter() { answers_.push_back(std::nullopt); }
    void PushPath(const QString &path) { paths_.push_back(path); }
    void PushPassword(const QString &password) { passwords_.push_back(password); }
    void PushPrinterSetup(bool accepted) { printerAnswers_.push_back(accepted); }
    // The next Choose gives this index (without one: its default).
    void PushChoice(int choice) { choices_.push_back(choice); }
    // The next version choice; without one every field takes the other's value.
    void PushVersionChoice(std::vector<bool> takeTheirs) {
        versionChoices_.push_back(std::move(takeTheirs));
    }

    const std::deque<Call> &calls() const { return calls_; }
    QStringList Texts(const QString &kind = {}) const;
    void Clear() { calls_.clear(); }

    void Message(const QString &text, const QString &title) override;
    void Error(const QString &text, const QString &title) override;
    void Warning(const QString &text, const QString &title) override;
    bool Confirm(const QString &text, const QString &title, Answer defaultAnswer) override;
    Answer Ask(const QString &text, const QString &title) override;
    int Choose(const QString &text, const QString &title, const QStringList &choices,
               int defaultChoice) override;
    QString AskPassword(const QString &text, const QString &title) override;
    QString OpenFile(const QString &caption, const QString &folder, const QString &filter) override;
    QString SaveFile(const QString &caption, const QString &proposedPath,
                     const QString &filter) override;
    QString ChooseFolder(const QString &caption, const QString &folder) override;
    bool SetupPrinter(QPrinter &printer) override;
    std::vector<bool> ChooseVersions(const QString &text,
                                     const std::vector<FieldVersions> &fields) override;

private:
    Answer NextAnswer(Answer defaultAnswer = Answer::Yes);
    QString NextPath();

    std::deque<std::optional<Answer>> answers_;
    std::deque<QString> paths_;
    std::deque<QString> passwords_;
    std::deque<bool> printerAnswers_;
    std::deque<int> choices_;
    std::deque<std::vector<bool>> versionChoices_;
    std::deque<Call> calls_;
};
