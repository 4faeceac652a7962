#include "mail/FormSendResult.h"

#include "core/TextFile.h"
#include "platform/Prompt.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

TFormSendResult::TFormSendResult(SendLog log, const QString &summary, QWidget *parent)
    : QDialog(parent), log_(std::move(log)) {
    setObjectName(QStringLiteral("FormSendResult"));
    setWindowTitle(QStringLiteral("送信結果"));
    auto *label =
        new QLabel(QString(summary).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), this);
    label->setObjectName(QStringLiteral("LblSummary"));
    label->setWordWrap(true);
    LVResult = new QTreeWidget(this);
    LVResult->setObjectName(QStringLiteral("LVResult"));
    LVResult->setRootIsDecorated(false);
    LVResult->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("メールアドレス"),
                               QStringLiteral("結果"), QStringLiteral("理由")});
    for (const SendLogEntry &entry : log_.entries)
        new QTreeWidgetItem(LVResult,
                            {entry.name, entry.address, OutcomeText(entry.outcome), entry.reason});
    LVResult->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *BtnSave = new QPushButton(QStringLiteral("CSVに保存"), this);
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    auto *BtnResend = new QPushButton(QStringLiteral("届かなかった宛先に再送"), this);
    BtnResend->setObjectName(QStringLiteral("BtnResend"));
    BtnResend->setEnabled(std::any_of(log_.entries.begin(), log_.entries.end(), [](const auto &e) {
        return e.outcome == SendLogEntry::Outcome::Refused ||
               e.outcome == SendLogEntry::Outcome::NotAttempted;
    }));
    auto *BtnClose = new QPushButton(QStringLiteral("閉じる"), this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setDefault(true);
    connect(BtnSave, &QPushButton::clicked, this, &TFormSendResult::BtnSaveClick);
    connect(BtnResend, &QPushButton::clicked, this, [this] {
        emit ResendRequested();
        accept();
    });
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtnSave);
    buttons->addWidget(BtnResend);
    buttons->addStretch();
    buttons->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(LVResult, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

std::vector<MailRecipient>
TFormSendResult::NotReached(const std::vector<MailRecipient> &rows) const {
    std::vector<MailRecipient> notReached;
    for (size_t i = 0; i < rows.size() && i < log_.entries.size(); ++i)
        if (log_.entries[i].outcome == SendLogEntry::Outcome::Refused ||
            log_.entries[i].outcome == SendLogEntry::Outcome::NotAttempted)
            notReached.push_back(rows[i]);
    return notReached;
}

void TFormSendResult::BtnSaveClick() {
    const QString path = AskCsvSavePath(
        prompt(), QStringLiteral("送信結果の保存"),
        log_.time.toString(QStringLiteral("送信結果yyyyMMdd-hhmmss")) + QStringLiteral(".csv"),
        QStringLiteral("CSVファイル(*.csv *.CSV)"));
    QString error;
    if (!path.isEmpty() && !TextFile::WriteFileAtomically(path, SendLogCsv(log_), &error))
        prompt().Error(QStringLiteral("送信結果を保存できません\r\n%1").arg(error));
}
