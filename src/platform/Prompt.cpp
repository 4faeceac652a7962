#include "platform/Prompt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {
std::unique_ptr<Prompt> installed;
QPointer<QWidget> parentWindow;

QString TitleOr(const QString &title) {
    return title.isEmpty() ? QStringLiteral("Brisko Pellor3") : title;
}
} // namespace

Prompt &Prompt::Instance() {
    if (!installed)
        installed = std::make_unique<QtPrompt>();
    return *installed;
}

void Prompt::Install(std::unique_ptr<Prompt> prompt) {
    installed = std::move(prompt);
}

void Prompt::SetParentWindow(QWidget *window) {
    parentWindow = window;
}

QWidget *Prompt::ParentWindow() {
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return parentWindow;
}

Prompt &prompt() {
    return Prompt::Instance();
}

void WarnAfterInput(QObject *context, const QString &text) {
    QMetaObject::invokeMethod(
        context, [text] { prompt().Warning(text); }, Qt::QueuedConnection);
}

void QtPrompt::Message(const QString &text, const QString &title) {
    QMessageBox::information(ParentWindow(), TitleOr(title), text);
}

void QtPrompt::Error(const QString &text, const QString &title) {
    QMessageBox::critical(ParentWindow(), TitleOr(title), text);
}

void QtPrompt::Warning(const QString &text, const QString &title) {
    QMessageBox::warning(ParentWindow(), TitleOr(title), text);
}

bool QtPrompt::Confirm(const QString &text, const QString &title, Answer defaultAnswer) {
    return QMessageBox::question(
               ParentWindow(), TitleOr(title), text, QMessageBox::Yes | QMessageBox::No,
               defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes) ==
           QMessageBox::Yes;
}

Prompt::Answer QtPrompt::Ask(const QString &text, const QString &title) {
    switch (QMessageBox::question(ParentWindow(), TitleOr(title), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

int QtPrompt::Choose(const QString &text, const QString &title, const QStringList &choices,
                     int defaultChoice) {
    QMessageBox box(QMessageBox::Question, TitleOr(title), text, QMessageBox::NoButton,
                    ParentWindow());
    QList<QAbstractButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::AcceptRole);
    if (defaultChoice >= 0 && defaultChoice < buttons.size())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.at(defaultChoice)));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

QString QtPrompt::AskPassword(const QString &text, const QString &title) {
    return QInputDialog::getText(ParentWindow(), TitleOr(title), text, QLineEdit::Password);
}

QString QtPrompt::OpenFile(const QString &caption, const QString &folder, const QString &filter) {
    return QFileDialog::getOpenFileName(ParentWindow(), caption, folder, filter);
}

QString QtPrompt::SaveFile(const QString &caption, const QString &proposedPath,
                           const QString &filter) {
    return QFileDialog::getSaveFileName(ParentWindow(), caption, proposedPath, filter);
}

QString QtPrompt::ChooseFolder(const QString &caption, const QString &folder) {
    return QFileDialog::getExistingDirectory(ParentWindow(), caption, folder);
}

bool QtPrompt::SetupPrinter(QPrinter &printer) {
    QPrintDialog dialog(&printer, ParentWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompt::ChoosePrinter(QPrinter &printer) {
    QPrintDialog dialog(&printer, ParentWindow());
    dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
    // The dialog's accept button says 印刷; here it only keeps the choice.
    for (QDialogButtonBox *buttons : dialog.findChildren<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

QStringList ScriptedPrompt::Texts(const QString &kind) const {
    QStringList texts;
    for (const Call &call : calls_)
        if (kind.isEmpty() || call.kind == kind)
            texts << call.text;
    return texts;
}

Prompt::Answer ScriptedPrompt::NextAnswer(Answer defaultAnswer) {
    if (answers_.empty())
        return Answer::Yes;
    const std::optional<Answer> answer = answers_.front();
    answers_.pop_front();
    return answer.value_or(defaultAnswer);
}

QString ScriptedPrompt::NextPath() {
    if (paths_.empty())
        return {};
    const QString path = paths_.front();
    paths_.pop_front();
    return path;
}

void ScriptedPrompt::Message(const QString &text, const QString &title) {
    calls_.push_back({QStringLiteral("message"), text, title, Answer::Yes});
}

void ScriptedPrompt::Error(const QString &text, const QString &title) {
    calls_.push_back({QStringLiteral("error"), text, title, Answer::Yes});
}

void ScriptedPrompt::Warning(const QString &text, const QString &title) {
    calls_.push_back({QStringLiteral("warning"), text, title, Answer::Yes});
}

bool ScriptedPrompt::Confirm(const QString &text, const QString &title, Answer defaultAnswer) {
    calls_.push_back({QStringLiteral("confirm"), text, title, defaultAnswer});
    return NextAnswer(defaultAnswer) == Answer::Yes;
}

Prompt::Answer ScriptedPrompt::Ask(const QString &text, const QString &title) {
    calls_.push_back({QStringLiteral("ask"), text, title, Answer::Yes});
    return NextAnswer();
}

int ScriptedPrompt::Choose(const QString &text, const QString &title, const QStringList &,
                           int defaultChoice) {
    calls_.push_back({QStringLiteral("choose"), text, title, Answer::Yes});
    if (choices_.empty())
        return defaultChoice;
    const int choice = choices_.front();
    choices_.pop_front();
    return choice;
}

QString ScriptedPrompt::AskPassword(const QString &text, const QString &title) {
    calls_.push_back({QStringLiteral("password"), text, title, Answer::Yes});
    if (passwords_.empty())
        return {};
    const QString password = passwords_.front();
    passwords_.pop_front();
    return password;
}

QString ScriptedPrompt::OpenFile(const QString &caption, const QString &, const QString &) {
    calls_.push_back({QStringLiteral("open"), caption, {}, Answer::Yes});
    return NextPath();
}

QString ScriptedPrompt::SaveFile(const QString &caption, const QString &proposedPath,
                                 const QString &) {
    calls_.push_back({QStringLiteral("save"), proposedPath, caption, Answer::Yes});
    return NextPath();
}

QString ScriptedPrompt::ChooseFolder(const QString &caption, const QString &) {
    calls_.push_back({QStringLiteral("folder"), caption, {}, Answer::Yes});
    return NextPath();
}

bool ScriptedPrompt::SetupPrinter(QPrinter &) {
    calls_.push_back({QStringLiteral("printer"), {}, {}, Answer::Yes});
    if (printerAnswers_.empty())
        return true;
    const bool accepted = printerAnswers_.front();
    printerAnswers_.pop_front();
    return accepted;
}

QString AskSavePath(Prompt &prompt, const QString &caption, const QString &proposedPath,
                    const QString &filter, const QString &extension) {
    QString path = prompt.SaveFile(caption, proposedPath, filter);
    if (path.isEmpty())
        return path;
    if (!path.endsWith(extension, Qt::CaseInsensitive)) {
        // The dialog asked about the name as typed; the name with the extension may exist.
        path += extension;
        if (QFileInfo::exists(path) &&
            !prompt.Confirm(QDir::toNativeSeparators(path) +
                                QStringLiteral("は既に存在します。\r\n上書きしますか？"),
                            QStringLiteral("確認"), Prompt::Answer::No))
            return {};
    }
    // The file is replaced through a rename, which a read-only mark would not stop.
    if (const QFileInfo target(path); target.exists() && !target.permission(QFile::WriteOwner)) {
        prompt.Error(QDir::toNativeSeparators(path) +
                     QStringLiteral("は読み取り専用のため、書き込めません。"));
        return {};
    }
    return path;
}
