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
    };
    button("Button1", QStringLiteral("宛名印刷"), Choice::AddressPrint);
    button("Button2", QStringLiteral("カルテ印刷"), Choice::CustomerCards);
    button("Button4", QStringLiteral("電話番号一覧印刷"), Choice::PhoneList);
    button("Button5", QStringLiteral("挨拶状の選択"), Choice::SeasonCards);
    layout->addSpacing(6);
    button("Button3", QStringLiteral("キャンセル"), Choice::Cancel);
    setFixedSize(sizeHint());
}

TFormSelectPrint::Choice TFormSelectPrint::Choose() {
    choice_ = Choice::Cancel;
    exec();
    return choice_;
}
