#include "records/FormAddData.h"

#include "core/TextHelpers.h"
#include "platform/InputReading.h"
#include "platform/Prompt.h"
#include "records/CustomerActions.h"
#include "records/EntryGuard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The editor's limits, so the new customer stays editable there.
constexpr int NameMaxLength = 40;
constexpr int KanaMaxLength = 40;
} // namespace

TFormAddData::TFormAddData(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(QStringLiteral("名前"), this)),
      Label2(new QLabel(QStringLiteral("フリガナ"), this)),
      Label3(new QLabel(QStringLiteral("名字と名前の間にはスペースを入れてください。"), this)),
      EditName(new QLineEdit(this)), EditKana(new QLineEdit(this)),
      BtnAdd(new QPushButton(QStringLiteral("登録"), this)),
      BtnCancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormAddData"));
    setWindowTitle(QStringLiteral("新規データ登録"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    EditName->setObjectName(QStringLiteral("EditName"));
    EditKana->setObjectName(QStringLiteral("EditKana"));
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    EditName->setMinimumWidth(280);
    EditName->setMaxLength(NameMaxLength);
    EditKana->setMaxLength(KanaMaxLength);
    GuardEntry(EditName, true);
    GuardReading(EditKana, true);
    // Enter in either edit presses BtnAdd, the default button.
    BtnAdd->setDefault(true);
    reading_ = new InputReading(EditName, EditKana);

    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(EditName, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(EditKana, 1, 1);
    fields->addWidget(Label3, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnAdd);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnAdd, &QPushButton::clicked, this, &TFormAddData::BtnAddClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormAddData::BtnCancelClick);
}

TFormAddData::~TFormAddData() {
    delete reading_;
}

QString TFormAddData::Name() const {
    return EditName->text();
}

QString TFormAddData::Kana() const {
    return EditKana->text();
}

int TFormAddData::AddCustomer(Query &userQuery) {
    if (exec() != QDialog::Accepted)
        return 0;
    return InsertNewCustomer(userQuery, Name(), Kana());
}

void TFormAddData::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormAddData::FormShow() {
    AllowClose = false;
    EditName->clear();
    EditKana->clear();
    EditName->setFocus();
}

void TFormAddData::BtnAddClick() {
    AllowClose = false;
    if (Kana().trimmed().isEmpty()) {
        prompt().Message(QStringLiteral("フリガナが未入力です"));
        EditKana->setFocus();
    } else if (Name().trimmed().isEmpty()) {
        prompt().Message(QStringLiteral("名前が未入力です"));
        EditName->setFocus();
    } else {
        AllowClose = true;
        accept();
    }
}

void TFormAddData::BtnCancelClick() {
    AllowClose = true;
    QDialog::reject();
}

// Escape and the window's close act as キャンセル.
void TFormAddData::reject() {
    BtnCancelClick();
}

void TFormAddData::done(int result) {
    if (AllowClose)
        QDialog::done(result);
}
