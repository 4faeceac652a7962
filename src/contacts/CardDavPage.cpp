#include "contacts/CardDavPage.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/EngineError.h"
#include "widgets/ProgressWindow.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TCardDavPage::TCardDavPage(AppContext &context, QWidget *parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("TabCardDav"));
    EditCardDavUrl = new QLineEdit(this);
    EditCardDavUrl->setObjectName(QStringLiteral("EditCardDavUrl"));
    EditCardDavUrl->setPlaceholderText(QStringLiteral("https://サーバー名/"));
    EditCardDavUserID = new QLineEdit(this);
    EditCardDavUserID->setObjectName(QStringLiteral("EditCardDavUserID"));
    EditCardDavPassword = new QLineEdit(this);
    EditCardDavPassword->setObjectName(QStringLiteral("EditCardDavPassword"));
    EditCardDavPassword->setEchoMode(QLineEdit::Password);
    CBAllowHttp = new QCheckBox(QStringLiteral("暗号化しない接続を許可する（http://）"), this);
    CBAllowHttp->setObjectName(QStringLiteral("CBAllowHttp"));
    BtnSyncContacts = new QPushButton(QStringLiteral("今すぐ同期"), this);
    BtnSyncContacts->setObjectName(QStringLiteral("BtnSyncContacts"));
    // Config.ini is Shift-JIS: what it cannot hold is refused as it is typed.
    for (QLineEdit *edit : {EditCardDavUrl, EditCardDavUserID, EditCardDavPassword})
        GuardShiftJis(edit);
    LblSyncResult = new QLabel(this);
    LblSyncResult->setObjectName(QStringLiteral("LblSyncResult"));
    LblSyncResult->setWordWrap(true);
    auto *layout = new QFormLayout(this);
    layout->setRowWrapPolicy(QFormLayout::WrapAllRows);
    layout->addRow(QStringLiteral("■アドレス帳サーバーのURL（CardDAV）"), EditCardDavUrl);
    layout->addRow(QStringLiteral("■ユーザID（ログインしないサーバーでは空欄）"),
                   EditCardDavUserID);
    layout->addRow(QStringLiteral("■パスワード"), EditCardDavPassword);
    layout->addRow(CBAllowHttp);
    auto *syncRow = new QHBoxLayout;
    syncRow->addWidget(BtnSyncContacts);
    syncRow->addStretch();
    layout->addRow(syncRow);
    layout->addRow(LblSyncResult);
    connect(BtnSyncContacts, &QPushButton::clicked, this, &TCardDavPage::BtnSyncContactsClick);
}

CardDavSettings TCardDavPage::Typed() const {
    return {EditCardDavUrl->text().trimmed(), EditCardDavUserID->text(),
            EditCardDavPassword->text(), CBAllowHttp->isChecked()};
}

void TCardDavPage::Load() {
    const CardDavSettings settings = LoadCardDavSettings(context_.GetDataPath());
    EditCardDavUrl->setText(settings.url);
    EditCardDavUserID->setText(settings.userId);
    EditCardDavPassword->setText(settings.password);
    CBAllowHttp->setChecked(settings.allowHttp);
}

void TCardDavPage::Save() {
    QString error;
    if (!SaveCardDavSettings(context_.GetDataPath(), Typed(), &error))
        prompt().Error(QStringLiteral("設定を保存できませんでした。\r\n%1").arg(error));
}

void TCardDavPage::BtnSyncContactsClick() {
    const CardDavSettings settings = Typed();
    if (const QString problem = CardDavAddressProblem(QUrl(settings.url), settings.allowHttp);
        !problem.isEmpty()) {
        prompt().Error(problem);
        return;
    }
    auto progress = std::make_unique<ProgressWindow>(QStringLiteral("アドレス帳と同期しています"),
                                                     QStringLiteral("アドレス帳同期"), this,
                                                     ProgressWindow::AfterAMoment);
    ContactSync sync(context_.GetDatabase(), context_.GetDataPath(), settings,
                     [&progress](const QString &, int done, int total) {
                         return !progress || progress->Report(done, total);
                     });
    BtnSyncContacts->setEnabled(false);
    try {
        ContactSync::Outcome outcome = sync.Run(false);
        progress.reset(); // the questions below are the user's, not the sync's
        int resolved = 0;
        for (const ContactSync::Conflict &conflict : outcome.conflicts) {
            TFormSyncConflict form(conflict, this);
            form.exec();
            if ((form.Chosen() == TFormSyncConflict::Choice::Book && sync.KeepBook(conflict)) ||
                (form.Chosen() == TFormSyncConflict::Choice::Server && sync.KeepServer(conflict)))
                ++resolved;
        }
        QStringList names;
        for (const ContactSync::Deletion &deletion : outcome.deletions)
            names << deletion.name;
        if (!names.isEmpty() &&
            prompt().Confirm(QStringLiteral("サーバーで次のカードが削除されました。"
                                            "顧客台帳からも削除しますか？\r\n\r\n%1")
                                 .arg(names.join(QStringLiteral("\r\n"))),
                             QStringLiteral("確認"), Prompt::Answer::No)) {
            for (const ContactSync::Deletion &deletion : outcome.deletions)
                sync.AcceptDeletion(deletion);
            outcome.deletedInBook += int(outcome.deletions.size());
            outcome.deletions.clear();
        }
        LblSyncResult->setText(
            outcome.Summary() +
            (resolved > 0 ? QStringLiteral("（競合 %1件を解決）").arg(resolved) : QString()));
    } catch (const HttpError &error) {
        prompt().Error(error.Text());
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
    BtnSyncContacts->setEnabled(true);
    context_.RefreshList();
}

TFormSyncConflict::TFormSyncConflict(const ContactSync::Conflict &conflict, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormSyncConflict"));
    setWindowTitle(QStringLiteral("同期の競合: %1").arg(conflict.Name()));
    auto *table = new QTableWidget(this);
    table->setObjectName(QStringLiteral("GridConflictFields"));
    table->setColumnCount(3);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("項目"), QStringLiteral("この顧客台帳"), QStringLiteral("サーバー")});
    const QString gone = QStringLiteral("（削除されました）");
    const auto fields = [](const std::optional<VCard::Card> &card) {
        return card ? VCard::CardFields(*card) : std::vector<std::pair<QString, QString>>{};
    };
    const auto local = fields(conflict.local);
    const auto server = fields(conflict.server);
    const auto &captions = local.empty() ? server : local;
    for (size_t i = 0; i < captions.size(); ++i) {
        const QString book = conflict.local ? local[i].second : gone;
        const QString there = conflict.server ? server[i].second : gone;
        if (book.isEmpty() && there.isEmpty())
            continue;
        const int row = table->rowCount();
        table->insertRow(row);
        const QStringList texts = {captions[i].first, book, there};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(texts[column]);
            if (book != there)
                item->setFont([item] {
                    QFont font = item->font();
                    font.setBold(true);
                    return font;
                }());
            table->setItem(row, column, item);
        }
    }
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *keepBook = buttons->addButton(QStringLiteral("この顧客台帳の内容にする"),
                                               QDialogButtonBox::AcceptRole);
    keepBook->setObjectName(QStringLiteral("BtnKeepBook"));
    QPushButton *keepServer =
        buttons->addButton(QStringLiteral("サーバーの内容にする"), QDialogButtonBox::AcceptRole);
    keepServer->setObjectName(QStringLiteral("BtnKeepServer"));
    QPushButton *later =
        buttons->addButton(QStringLiteral("あとで決める"), QDialogButtonBox::RejectRole);
    later->setObjectName(QStringLiteral("BtnLater"));
    later->setDefault(true);
    connect(keepBook, &QPushButton::clicked, this, [this] {
        chosen_ = Choice::Book;
        accept();
    });
    connect(keepServer, &QPushButton::clicked, this, [this] {
        chosen_ = Choice::Server;
        accept();
    });
    connect(later, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("この顧客は顧客台帳とサーバーの両方で変更されました。"
                                  "残す方を選んで下さい。"),
                   this));
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(640, 520);
}
