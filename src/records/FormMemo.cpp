#include "records/FormMemo.h"

#include "core/DomainWords.h"
#include "records/EntryGuard.h"
#include "widgets/ShiftJisInput.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormMemo::TFormMemo(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormMemo"));
    setWindowTitle(QStringLiteral("備考"));
    resize(792, 566);
    setMinimumSize(300, 140);
    Memo1 = new GuardedPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font = Memo1->font();
    font.setFamilies({kDefaultFontName, QStringLiteral("IPAPGothic")});
    font.setPixelSize(15);
    Memo1->setFont(font);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->SetMaxLength(MemoMaxLength);
    GuardEntry(Memo1);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("BtnClose"));
    // Enter makes a new line in the note, not a click on the button.
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addWidget(Memo1);
    layout->addWidget(buttons);
}

void TFormMemo::EditMemo(QPlainTextEdit *memo) {
    target_ = memo;
    exec();
    target_ = nullptr;
}

void TFormMemo::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormMemo::FormShow() {
    if (target_)
        Memo1->setPlainText(target_->toPlainText());
    Memo1->setFocus();
}

void TFormMemo::done(int result) {
    FormCloseQuery();
    QDialog::done(result);
}

void TFormMemo::FormCloseQuery() {
    if (target_ && target_->toPlainText() != Memo1->toPlainText())
        target_->setPlainText(Memo1->toPlainText());
}
