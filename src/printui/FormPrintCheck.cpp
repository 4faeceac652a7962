#include "printui/FormPrintCheck.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormPrintCheck::TFormPrintCheck(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ListProblems(new QListWidget(this)),
      ButtonPrintAnyway(new QPushButton(QStringLiteral("このまま印刷"), this)),
      ButtonBack(new QPushButton(QStringLiteral("戻る"), this)) {
    setObjectName(QStringLiteral("FormPrintCheck"));
    setWindowTitle(QStringLiteral("印刷前チェック"));
    ListProblems->setObjectName(QStringLiteral("ListProblems"));
    ButtonPrintAnyway->setObjectName(QStringLiteral("ButtonPrintAnyway"));
    ButtonBack->setObjectName(QStringLiteral("ButtonBack"));
    ButtonBack->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonPrintAnyway);
    buttons->addWidget(ButtonBack);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("次の宛名は正しく印刷されない恐れがあります。"), this));
    layout->addWidget(ListProblems, 1);
    layout->addLayout(buttons);
    resize(560, 360);

    connect(ButtonPrintAnyway, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonBack, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormPrintCheck::ConfirmPrint(const QList<AddressProblem> &problems) {
    ListProblems->clear();
    ListProblems->addItems(ProblemLines(problems));
    return exec() == QDialog::Accepted;
}
