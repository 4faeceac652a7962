#include "records/FormEditClass.h"

#include "records/EntryGuard.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

namespace {

constexpr int ClassNameMaxLength = 30;

QString FullWidthNumber(int n) {
    QString text;
    for (QChar digit : QString::number(n))
        text += QChar(char16_t(digit.unicode() - u'0' + 0xFF10));
    return text;
}

QGroupBox *ClassGroup(QWidget *parent, const char *groupName, const QString &caption, int axis,
                      std::array<QLineEdit *, 12> &edits) {
    auto *group = new QGroupBox(caption, parent);
    group->setObjectName(QLatin1String(groupName));
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < 12; ++i) {
        auto *edit = new QLineEdit(group);
        edit->setObjectName(QStringLiteral("EditCass%1_%2").arg(axis).arg(i + 1));
        edit->setMaxLength(ClassNameMaxLength);
        GuardEntry(edit);
        edits[i] = edit;
        grid->addWidget(new QLabel(QStringLiteral("■項目") + FullWidthNumber(i + 1), group), i, 0);
        grid->addWidget(edit, i, 1);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

} // namespace

TFormEditClass::TFormEditClass(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormEditClass"));
    setWindowTitle(QStringLiteral("分類名編集"));
    setFixedSize(501, 541);
    GroupBox1 = ClassGroup(this, "GroupBox1", QStringLiteral("分類１"), 1, EditCass1);
    GroupBox2 = ClassGroup(this, "GroupBox2", QStringLiteral("分類２"), 2, EditCass2);
    BtnOk = new QPushButton(QStringLiteral("更新"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setAutoDefault(false);
    BtnCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setAutoDefault(false);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Enter moves to the next name, as in every other window; after the last one to 更新.
    std::vector<QWidget *> order(EditCass1.begin(), EditCass1.end());
    order.insert(order.end(), EditCass2.begin(), EditCass2.end());
    order.push_back(BtnOk);
    for (size_t i = 0; i + 1 < order.size(); ++i)
        connect(static_cast<QLineEdit *>(order[i]), &QLineEdit::returnPressed, order[i + 1],
                [next = order[i + 1]] { next->setFocus(Qt::TabFocusReason); });

    auto *groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups, 1);
    layout->addLayout(buttons);
}

void TFormEditClass::SetNames(const QStringList &names1, const QStringList &names2) {
    for (int i = 0; i < 12; ++i) {
        EditCass1[i]->setText(names1.value(i));
        EditCass2[i]->setText(names2.value(i));
    }
    EditCass1[0]->setFocus();
}

QStringList TFormEditClass::Names(int axis) const {
    QStringList names;
    for (QLineEdit *edit : axis == 1 ? EditCass1 : EditCass2)
        names << edit->text();
    return names;
}
