#include "exchange/FormExport.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/ExchangeColumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TFormExport::TFormExport(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), GroupBox1(new QGroupBox(QStringLiteral("個人"), this)),
      GroupBox2(new QGroupBox(QStringLiteral("会社"), this)),
      ChbMidashi(new QCheckBox(QStringLiteral("1行目に見出しをつける"), this)),
      ChbAllItems(new QCheckBox(QStringLiteral("すべての項目"), this)),
      ChbNoFormula(new QCheckBox(QStringLiteral("表計算ソフトで数式として扱わない"), this)),
      BtnSelectAll(new QPushButton(QStringLiteral("全選択"), this)),
      BtnClearAll(new QPushButton(QStringLiteral("全解除"), this)), CBEncoding(new QComboBox(this)),
      BtnExport(new QPushButton(QStringLiteral("エクスポート"), this)),
      BtnCancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormExport"));
    setWindowTitle(QStringLiteral("エクスポート"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    ChbMidashi->setObjectName(QStringLiteral("ChbMidashi"));
    ChbMidashi->setChecked(true);
    ChbAllItems->setObjectName(QStringLiteral("ChbAllItems"));
    ChbAllItems->setToolTip(QStringLiteral("使用区分、分類の番号、印刷の指定、連名の印刷、登録日も"
                                           "書き出し、インポートで元どおりに戻せるようにします"));
    ChbNoFormula->setObjectName(QStringLiteral("ChbNoFormula"));
    ChbNoFormula->setChecked(true);
    BtnSelectAll->setObjectName(QStringLiteral("BtnSelectAll"));
    BtnClearAll->setObjectName(QStringLiteral("BtnClearAll"));
    CBEncoding->setObjectName(QStringLiteral("CBEncoding"));
    CBEncoding->addItems({QStringLiteral("Shift-JIS"), QStringLiteral("UTF-8 (BOM付き)")});
    BtnExport->setObjectName(QStringLiteral("BtnExport"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    auto *plain = new QGridLayout;
    auto *personal = new QGridLayout(GroupBox1);
    auto *company = new QGridLayout(GroupBox2);
    int plainCount = 0, personalCount = 0, companyCount = 0;
    for (const ExportColumn &column : ExportColumns()) {
        QWidget *owner = column.group == ExportGroup::Personal  ? GroupBox1
                         : column.group == ExportGroup::Company ? GroupBox2
                                                                : static_cast<QWidget *>(this);
        auto *check = new QCheckBox(column.Caption(), owner);
        check->setObjectName(QLatin1String(column.checkBox));
        check->setChecked(true);
        columnChecks_.push_back(check);
        switch (column.group) {
        case ExportGroup::Personal:
            personal->addWidget(check, personalCount / 2, personalCount % 2);
            ++personalCount;
            break;
        case ExportGroup::Company:
            company->addWidget(check, companyCount / 2, companyCount % 2);
            ++companyCount;
            break;
        case ExportGroup::None:
            plain->addWidget(check, plainCount / 4, plainCount % 4);
            ++plainCount;
            break;
        }
    }

    auto *selection = new QHBoxLayout;
    selection->addWidget(BtnSelectAll);
    selection->addWidget(BtnClearAll);
    selection->addStretch(1);
    auto *encodingRow = new QHBoxLayout;
    encodingRow->addWidget(new QLabel(QStringLiteral("文字コード"), this));
    encodingRow->addWidget(CBEncoding);
    encodingRow->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnExport);
    buttons->addWidget(BtnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("■エクスポートする項目を選択してください。"), this));
    layout->addLayout(plain);
    auto *groups = new QHBoxLayout;
    groups->addWidget(GroupBox1);
    groups->addWidget(GroupBox2);
    layout->addLayout(groups);
    layout->addLayout(selection);
    layout->addWidget(ChbMidashi);
    layout->addWidget(ChbAllItems);
    layout->addWidget(ChbNoFormula);
    layout->addLayout(encodingRow);
    layout->addLayout(buttons);

    connect(BtnSelectAll, &QPushButton::clicked, this, [this] { TickAllColumns(true); });
    connect(BtnClearAll, &QPushButton::clicked, this, [this] { TickAllColumns(false); });
    connect(BtnExport, &QPushButton::clicked, this, &TFormExport::BtnExportClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormExport::BtnCancelClick);
}

ExportOptions TFormExport::Options() const {
    ExportOptions options;
    for (const QCheckBox *check : columnChecks_)
        options.ticked.push_back(check->isChecked());
    options.header = ChbMidashi->isChecked();
    options.lossless = ChbAllItems->isChecked();
    options.guardFormulas = ChbNoFormula->isChecked();
    options.encoding = CBEncoding->currentIndex() == 1 ? TextFile::TextEncoding::Utf8
                                                       : TextFile::TextEncoding::ShiftJis;
    return options;
}

void TFormExport::TickAllColumns(bool ticked) {
    for (QCheckBox *check : columnChecks_)
        check->setChecked(ticked);
}

void TFormExport::BtnExportClick() {
    allowClose_ = std::any_of(columnChecks_.begin(), columnChecks_.end(),
                              [](const QCheckBox *check) { return check->isChecked(); });
    if (!allowClose_) {
        prompt().Message(QStringLiteral("エクスポートする項目を１つ以上選択して下さい"));
        return;
    }
    accept();
}

void TFormExport::BtnCancelClick() {
    allowClose_ = true;
    QDialog::reject();
}

void TFormExport::reject() {
    BtnCancelClick();
}

// The close query: the window closes only when the last button allowed it.
void TFormExport::done(int result) {
    if (allowClose_)
        QDialog::done(result);
}
