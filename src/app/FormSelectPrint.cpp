#include "app/FormSelectPrint.h"

#include "widgets/ImageButton.h"

#include <QPushButton>
#include <QVBoxLayout>

TFormSelectPrint::TFormSelectPrint(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormSelectPrint"));
    setWindowTitle(QStringLiteral("印刷選択"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);
    const auto button = [this, layout](const char *name, const QString &caption, Choice choice) {
        QPushButton *b = NewWindowButton(this, name, caption);
        b->setMinimumSize(200, 34);
        connect(b, &QPushButton::clicked, this, [this, choice] {
            choice_ = choice;
            choice == Choice::Cancel ? reject() : accept();
        });
        layout->addWidget(b);
        return b;
    };
    Button1 = button("Button1", QStringLiteral("宛名印刷"), Choice::AddressPrint);
    Button2 = button("Button2", QStringLiteral("カルテ印刷"), Choice::CustomerCards);
    Button4 = button("Button4", QStringLiteral("電話番号一覧印刷"), Choice::PhoneList);
    layout->addSpacing(6);
    Button3 = button("Button3", QStringLiteral("キャンセル"), Choice::Cancel);
    // The list prints stay off until the windows that print them are connected.
    Button2->setEnabled(false);
    Button4->setEnabled(false);
    setFixedSize(sizeHint());
}

TFormSelectPrint::Choice TFormSelectPrint::Choose() {
    choice_ = Choice::Cancel;
    exec();
    return choice_;
}
