#include "platform/Prompt.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

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

std::vector<bool> QtPrompt::ChooseVersions(const QString &text,
                                           const std::vector<FieldVersions> &fields) {
    QDialog dialog(ParentWindow());
    dialog.setWindowTitle(QStringLiteral("確認"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(text, &dialog));
    auto *grid = new QTableWidget(int(fields.size()), 3, &dialog);
    grid->setObjectName(QStringLiteral("GridVersions"));
    grid->setHorizontalHeaderLabels(
        {QStringLiteral("項目"), QStringLiteral("このパソコン"), QStringLiteral("他のパソコン")});
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < int(fields.size()); ++row) {
        const FieldVersions &field = fields[size_t(row)];
        grid->setItem(row, 0, new QTableWidgetItem(field.caption));
        grid->setItem(row, 1, new QTableWidgetItem(field.mine));
        auto *theirs = new QTableWidgetItem(field.theirs);
        theirs->setFlags(theirs->flags() | Qt::ItemIsUserCheckable);
        theirs->setCheckState(Qt::Checked);
        grid->setItem(row, 2, theirs);
    }
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->resizeColumnsToContents();
    layout->addWidget(grid);
    layout->addWidget(new QLabel(
        QStringLiteral("印を付けた項目は他のパソコンの内容に、外した項目はこのパソコンの内容に"
                       "なります。"),
        &dialog));
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *keepMine =
        buttons->addButton(QStringLiteral("このパソコンの内容を残す"), QDialogButtonBox::NoRole);
    QPushButton *takeTheirs =
        buttons->addButton(QStringLiteral("他のパソコンの内容にする"), QDialogButtonBox::NoRole);
    QPushButton *perField =
        buttons->addButton(QStringLiteral("選んだとおりにする"), QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    std::vector<bool> choice(fields.size(), true);
    const auto choose = [&](std::optional<bool> all) {
        for (int row = 0; row < int(fields.size()); ++row)
            choice[size_t(row)] = all.value_or(grid->item(row, 2)->checkState() == Qt::Checked);
        dialog.accept();
    };
    QObject::connect(keepMine, &QPushButton::clicked, &dialog, [&] { choose(false); });
    QObject::connect(takeTheirs, &QPushButton::clicked, &dialog, [&] { choose(true); });
    QObject::connect(perField, &QPushButton::clicked, &dialog, [&] { choose(std::nullopt); });
    dialog.resize(640, 360);
    dialog.exec();
    return choice;
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

std::vector<bool> ScriptedPrompt::ChooseVersions(const QString &text,
                                                 const std::vector<FieldVersions> &fields) {
    QString shown = text;
    for (const FieldVersions &field : fields)
        shown += QStringLiteral("\n%1: %2 / %3").arg(field.caption, field.mine, field.theirs);
    calls_.push_back({QStringLiteral("versions"), shown, {}, Answer::Yes});
    if (versionChoices_.empty())
        return std::vector<bool>(fields.size(), true);
    std::vector<bool> choice = versionChoices_.front();
    versionChoices_.pop_front();
    choice.resize(fields.size(), true);
    return choice;
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
