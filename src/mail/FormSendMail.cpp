#include "mail/FormSendMail.h"

#include "core/Clock.h"
#include "mail/FormSendResult.h"
#include "mail/FormSendStatus.h"
#include "mail/PzConv.h"
#include "mail/SendLog.h"
#include "mail/SendMailThread.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "widgets/ShiftJisInput.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

const QString TemplateFilter = QStringLiteral("メールテンプレートファイル (*.mtl)");

QLabel *NewLabel(const QString &name, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *NewButton(const QString &name, const QString &text, QWidget *parent) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TFormSendMail::TFormSendMail(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context), conv_(new TPzConv(this)) {
    setObjectName(QStringLiteral("FormSendMail"));
    setWindowTitle(QStringLiteral("同報メール送信"));

    LVAddress = new QTreeWidget(this);
    LVAddress->setObjectName(QStringLiteral("LVAddress"));
    LVAddress->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("敬称"),
                                QStringLiteral("ﾒｰﾙｱﾄﾞﾚｽ"), QStringLiteral("差込1"),
                                QStringLiteral("差込2"), QStringLiteral("差込3"),
                                QStringLiteral("差込4")});
    const int widths[] = {100, 40, 150, 50, 50, 50, 50};
    for (int column = 0; column < 7; ++column)
        LVAddress->setColumnWidth(column, widths[column]);
    LVAddress->setRootIsDecorated(false);
    LVAddress->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVAddress->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVAddress->setContextMenuPolicy(Qt::CustomContextMenu);

    EditSubject = new QLineEdit(this);
    EditSubject->setObjectName(QStringLiteral("EditSubject"));
    GuardShiftJis(EditSubject);
    auto *body = new GuardedPlainTextEdit(this);
    MemoBody = body;
    connect(body, &GuardedPlainTextEdit::Refused, this, [this](const QString &chars) {
        WarnAfterInput(this, UnrepresentableInputMessage(chars));
    });
    MemoBody->setObjectName(QStringLiteral("MemoBody"));
    MemoBody->setLineWrapMode(QPlainTextEdit::NoWrap);
    EditSubject->installEventFilter(this);
    MemoBody->installEventFilter(this);

    GroupBox1 = new QGroupBox(QStringLiteral("送信イメージ"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    EditPrevSubject = new QLineEdit(GroupBox1);
    EditPrevSubject->setObjectName(QStringLiteral("EditPrevSubject"));
    EditPrevSubject->setReadOnly(true);
    MemoPrevBody = new QPlainTextEdit(GroupBox1);
    MemoPrevBody->setObjectName(QStringLiteral("MemoPrevBody"));
    MemoPrevBody->setReadOnly(true);
    auto *previewLayout = new QGridLayout(GroupBox1);
    previewLayout->addWidget(NewLabel(QStringLiteral("Label4"), QStringLiteral("件名"), GroupBox1),
                             0, 0);
    previewLayout->addWidget(EditPrevSubject, 0, 1);
    previewLayout->addWidget(NewLabel(QStringLiteral("Label5"), QStringLiteral("本文"), GroupBox1),
                             1, 0, Qt::AlignTop);
    previewLayout->addWidget(MemoPrevBody, 1, 1);

    const std::pair<QString, QString> inserts[] = {
        {QStringLiteral("BtnInsertName"), QStringLiteral("差込[名前]")},
        {QStringLiteral("BtnInsertNameTitle"), QStringLiteral("差込[敬称]")},
        {QStringLiteral("BtnSashikomi1"), QStringLiteral("差込１")},
        {QStringLiteral("BtnSashikomi2"), QStringLiteral("差込２")},
        {QStringLiteral("BtnSashikomi3"), QStringLiteral("差込３")},
        {QStringLiteral("BtnSashikomi4"), QStringLiteral("差込４")},
    };
    const QString placeholders[] = {
        QStringLiteral("[NAME]"),       QStringLiteral("[NAME_TITLE]"),
        QStringLiteral("[SASHIKOMI1]"), QStringLiteral("[SASHIKOMI2]"),
        QStringLiteral("[SASHIKOMI3]"), QStringLiteral("[SASHIKOMI4]"),
    };
    auto *insertRow = new QHBoxLayout;
    for (int i = 0; i < 6; ++i) {
        QPushButton *button = NewButton(inserts[i].first, inserts[i].second, this);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this,
                [this, placeholder = placeholders[i]] { InsertPlaceholder(placeholder); });
        insertRow->addWidget(button);
    }
    insertRow->addStretch();

    QPushButton *BtnOpen =
        NewButton(QStringLiteral("BtnOpen"), QStringLiteral("テンプレートを開く"), this);
    QPushButton *BtnSave =
        NewButton(QStringLiteral("BtnSave"), QStringLiteral("テンプレートとして保存"), this);
    BtnSend = NewButton(QStringLiteral("BtnSend"), QStringLiteral("送信"), this);
    BtnCancel = NewButton(QStringLiteral("BtnCancel"), QStringLiteral("閉じる"), this);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(BtnOpen);
    buttonRow->addWidget(BtnSave);
    buttonRow->addStretch();
    buttonRow->addWidget(BtnSend);
    buttonRow->addWidget(BtnCancel);

    auto *layout = new QGridLayout(this);
    layout->addWidget(NewLabel(QStringLiteral("Label1"), QStringLiteral("送信先一覧"), this), 0, 0,
                      1, 2);
    layout->addWidget(LVAddress, 1, 0, 1, 2);
    layout->addWidget(NewLabel(QStringLiteral("Label3"), QStringLiteral("件名"), this), 2, 0);
    layout->addWidget(EditSubject, 2, 1);
    layout->addWidget(NewLabel(QStringLiteral("Label2"), QStringLiteral("本文"), this), 3, 0,
                      Qt::AlignTop);
    layout->addWidget(MemoBody, 3, 1);
    layout->addLayout(insertRow, 4, 1);
    layout->addWidget(GroupBox1, 5, 0, 1, 2);
    layout->addLayout(buttonRow, 6, 0, 1, 2);
    resize(640, 720);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const std::tuple<QString, QString, int> changes[] = {
        {QStringLiteral("N1"), QStringLiteral("個人用メール１に変更する(&1)"), 1},
        {QStringLiteral("N21"), QStringLiteral("個人用メール２に変更する(&2)"), 2},
        {QStringLiteral("A1"), QStringLiteral("会社用メール１に変更する(&A)"), 3},
        {QStringLiteral("B1"), QStringLiteral("会社用メール２に変更する(&B)"), 4},
    };
    for (const auto &[name, caption, tag] : changes) {
        if (tag == 3)
            PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N2"));
        QAction *action = PopupMenu1->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, tag = tag] { N1Click(tag); });
    }
    PopupMenu1->addSeparator()->setObjectName(QStringLiteral("N3"));
    QAction *remove = PopupMenu1->addAction(QStringLiteral("送信先一覧から除外する(&D)"));
    remove->setObjectName(QStringLiteral("N4"));
    connect(remove, &QAction::triggered, this, &TFormSendMail::N4Click);

    connect(LVAddress, &QTreeWidget::itemSelectionChanged, this, &TFormSendMail::UpdatePreview);
    connect(LVAddress, &QWidget::customContextMenuRequested, this,
            &TFormSendMail::LVAddressContextPopup);
    connect(EditSubject, &QLineEdit::textChanged, this, &TFormSendMail::UpdatePreview);
    connect(MemoBody, &QPlainTextEdit::textChanged, this, &TFormSendMail::UpdatePreview);
    connect(BtnOpen, &QPushButton::clicked, this, &TFormSendMail::BtnOpenClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFormSendMail::BtnSaveClick);
    connect(BtnSend, &QPushButton::clicked, this, &TFormSendMail::BtnSendClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormSendMail::~TFormSendMail() {
    if (worker_) {
        worker_->requestInterruption();
        worker_->wait();
    }
}

void TFormSendMail::SetListedCustomers(std::vector<MailCustomer> customers) {
    customers_ = std::move(customers);
}

void TFormSendMail::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormSendMail::FormShow() {
    BuildRecipientList();
    EditSubject->clear();
    MemoBody->clear();
    EditPrevSubject->clear();
    MemoPrevBody->clear();
    settings_ = ReadMailSettings(context_.GetDataPath());
    insertIntoSubject_ = true;
}

void TFormSendMail::BuildRecipientList() {
    rows_ = ::BuildRecipientList(customers_);
    ShowRows();
}

void TFormSendMail::ShowRows() {
    LVAddress->clear();
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        new QTreeWidgetItem(LVAddress);
        ShowRow(i);
    }
}

void TFormSendMail::ShowRow(int index) {
    const MailRecipient &row = rows_[static_cast<size_t>(index)];
    QTreeWidgetItem *item = LVAddress->topLevelItem(index);
    const QString texts[] = {row.name,         row.nameTitle,    row.address,     row.sashikomi[0],
                             row.sashikomi[1], row.sashikomi[2], row.sashikomi[3]};
    for (int column = 0; column < 7; ++column)
        item->setText(column, texts[column]);
}

std::vector<int> TFormSendMail::SelectedRows() const {
    std::vector<int> selected;
    for (QTreeWidgetItem *item : LVAddress->selectedItems())
        selected.push_back(LVAddress->indexOfTopLevelItem(item));
    std::sort(selected.begin(), selected.end());
    return selected;
}

QString TFormSendMail::PersonalizeSubject(const MailRecipient &row) const {
    return Personalize(EditSubject->text(), row);
}

QString TFormSendMail::PersonalizeBody(const MailRecipient &row) const {
    return Personalize(MemoBody->toPlainText(), row);
}

void TFormSendMail::UpdatePreview() {
    const std::vector<int> selected = SelectedRows();
    if (selected.size() == 1) {
        const MailRecipient &row = rows_[static_cast<size_t>(selected.front())];
        EditPrevSubject->setText(PersonalizeSubject(row));
        MemoPrevBody->setPlainText(PersonalizeBody(row));
    } else {
        EditPrevSubject->setText(EditSubject->text());
        MemoPrevBody->setPlainText(MemoBody->toPlainText());
    }
}

bool TFormSendMail::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn)
        insertIntoSubject_ = watched == EditSubject;
    return QDialog::eventFilter(watched, event);
}

void TFormSendMail::InsertPlaceholder(const QString &placeholder) {
    if (insertIntoSubject_) {
        EditSubject->insert(placeholder);
        EditSubject->setFocus();
    } else {
        MemoBody->insertPlainText(placeholder);
        MemoBody->setFocus();
    }
}

void TFormSendMail::LVAddressContextPopup(const QPoint &position) {
    if (!LVAddress->selectedItems().isEmpty())
        PopupMenu1->popup(LVAddress->viewport()->mapToGlobal(position));
}

void TFormSendMail::N1Click(int tag) {
    const auto kind = static_cast<MailAddressKind>(tag);
    if (!prompt().Confirm(
            QStringLiteral("選択中の送信先のメールアドレスを %1 に変更します。よろしいですか？")
                .arg(AddressKindLabel(kind))))
        return;
    for (int index : SelectedRows()) {
        MailRecipient &row = rows_[static_cast<size_t>(index)];
        const auto customer =
            std::find_if(customers_.begin(), customers_.end(),
                         [&](const MailCustomer &c) { return c.userId == row.userId; });
        row.address =
            customer == customers_.end() ? QStringLiteral("#error") : AddressOf(*customer, kind);
        ShowRow(index);
    }
    UpdatePreview();
}

void TFormSendMail::N4Click() {
    if (!prompt().Confirm(QStringLiteral("選択中の送信先を除外します。よろしいですか？")))
        return;
    const std::vector<int> selected = SelectedRows();
    for (auto index = selected.rbegin(); index != selected.rend(); ++index) {
        delete LVAddress->takeTopLevelItem(*index);
        rows_.erase(rows_.begin() + *index);
    }
    if (rows_.empty()) {
        prompt().Message(QStringLiteral("送信先がありません。\r\nメイン画面に戻ります。"));
        reject();
    }
}

void TFormSendMail::BtnSaveClick() {
    const QString path =
        AskSavePath(prompt(), QStringLiteral("テンプレートとして保存"), context_.GetDataPath(),
                    TemplateFilter, QStringLiteral(".mtl"));
    if (path.isEmpty())
        return;
    QString error;
    if (!WriteMailTemplate(path, EditSubject->text(), MemoBody->toPlainText(), &error))
        prompt().Error(QStringLiteral("テンプレートを保存できません\r\n%1").arg(error));
}

void TFormSendMail::BtnOpenClick() {
    const QString path = prompt().OpenFile(QStringLiteral("テンプレートを開く"),
                                           context_.GetDataPath(), TemplateFilter);
    if (path.isEmpty())
        return;
    QString subject;
    QString body;
    QString error;
    if (!ReadMailTemplate(path, subject, body, &error)) {
        prompt().Error(QStringLiteral("テンプレートを読み込めません\r\n%1").arg(error));
        return;
    }
    EditSubject->setText(subject);
    MemoBody->setPlainText(body);
}

void TFormSendMail::BtnSendClick() {
    if (worker_)
        return;
    if (EditSubject->text().isEmpty() && MemoBody->toPlainText().isEmpty() &&
        !prompt().Confirm(
            QStringLiteral("件名と本文が入力されていません。\r\n送信してよろしいですか？")))
        return;
    const auto withAddress = std::count_if(rows_.begin(), rows_.end(), [](const MailRecipient &r) {
        return !r.address.trimmed().remove(u',').isEmpty();
    });
    QString question = QStringLiteral("%1件のメールを送信します。").arg(withAddress);
    if (withAddress < static_cast<qsizetype>(rows_.size()))
        question += QStringLiteral("（メールアドレスのない%1件には送りません）")
                        .arg(static_cast<qsizetype>(rows_.size()) - withAddress);
    if (!prompt().Confirm(question + QStringLiteral("\r\nよろしいですか？")))
        return;
    // Modal over this window, which is itself modal: a window beside it would be blocked and its
    // キャンセル could not be pressed.
    status_ = new TFormSendStatus(this);
    status_->setWindowModality(Qt::WindowModal);
    status_->show();
    TransportOptions transport;
    transport.trustedFingerprints = settings_.TrustedFingerprints;
    worker_ = new TSendMailThread(
        {rows_, EditSubject->text(), MemoBody->toPlainText(), settings_, transport});
    connect(worker_, &TSendMailThread::StatusChanged, status_, &TFormSendStatus::SetStatus);
    connect(worker_, &TSendMailThread::RangeChanged, status_, &TFormSendStatus::SetRange);
    connect(worker_, &TSendMailThread::ProgressChanged, status_, &TFormSendStatus::SetProgress);
    connect(status_, &TFormSendStatus::CancelRequested, worker_,
            [worker = worker_] { worker->requestInterruption(); });
    connect(worker_, &QThread::finished, this, &TFormSendMail::SendProcessDone);
    worker_->start();
}

// As mail programs do: the user may trust a server's own certificate after comparing its print
// with the one the server's keeper gave; the next run then connects.
void TFormSendMail::OfferToTrust(const std::pair<QString, int> &server,
                                 const QSslCertificate &certificate) {
    const QString question =
        QStringLiteral("サーバー %1:%2 の証明書は、このコンピューターが信頼する発行者のものでは"
                       "ありません。\r\n\r\n発行先：%3\r\n発行者：%4\r\nSHA-256：%5\r\n\r\n"
                       "サーバーの管理者に確かめた証明書と同じであれば、このサーバーについて"
                       "信頼できます。\r\nこの証明書を信頼しますか？")
            .arg(server.first)
            .arg(server.second)
            .arg(certificate.subjectDisplayName(), certificate.issuerDisplayName(),
                 CertificateFingerprint(certificate));
    if (!prompt().Confirm(question, QStringLiteral("証明書の確認")))
        return;
    QString error;
    if (!TrustCertificate(context_.GetDataPath(), server.first, server.second,
                          CertificateFingerprint(certificate), &error)) {
        prompt().Error(QStringLiteral("設定を保存できません\r\n%1").arg(error));
        return;
    }
    settings_ = ReadMailSettings(context_.GetDataPath());
    prompt().Message(
        QStringLiteral("証明書を信頼するように設定しました。もう一度「送信」を押して下さい。"));
}

// Every recipient with what became of the message, instead of a box that names ten; the ones
// not reached can be sent again from this window.
void TFormSendMail::ShowResult(const SendLog &log, const QString &summary) {
    auto *result = new TFormSendResult(log, summary, this);
    result->setAttribute(Qt::WA_DeleteOnClose);
    const std::vector<MailRecipient> sentRows = worker_->Rows();
    connect(result, &TFormSendResult::ResendRequested, this, [this, result, sentRows] {
        rows_ = result->NotReached(sentRows);
        ShowRows();
    });
    result->open();
}

void TFormSendMail::SendProcessDone() {
    status_->close();
    status_->deleteLater();
    status_ = nullptr;
    QString outcome = SendOutcomeText(*worker_);
    QString logError;
    const SendLog log = SendLogOf(*worker_, worker_->Rows(), EditSubject->text(), Clock::Now());
    const QString kept = KeepSendLog(context_.GetDataPath(), log, &logError);
    outcome += kept.isEmpty()
                   ? QStringLiteral("\r\n\r\n送信の記録を保存できません\r\n") + logError
                   : QStringLiteral("\r\n\r\n宛先ごとの結果：") + QDir::toNativeSeparators(kept);
    const bool allSent = std::all_of(log.entries.begin(), log.entries.end(), [](const auto &e) {
        return e.outcome == SendLogEntry::Outcome::Sent;
    });
    if (!worker_->ErrorText.isEmpty())
        prompt().Error(outcome);
    else if (allSent)
        prompt().Message(outcome);
    else
        ShowResult(log, outcome.section(QStringLiteral("\r\n\r\n"), 0, 0) + QStringLiteral("\r\n") +
                            outcome.section(QStringLiteral("\r\n\r\n"), -1));
    if (!worker_->UntrustedCertificate.isNull())
        OfferToTrust(worker_->LastServer, worker_->UntrustedCertificate);
    worker_->deleteLater();
    worker_ = nullptr;
}
