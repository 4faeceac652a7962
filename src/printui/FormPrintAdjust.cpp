#include "printui/FormPrintAdjust.h"

#include "core/TextHelpers.h"
#include "print/PrintSettings.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDoubleSpinBox *MillimetreSpin(const char *objectName, QWidget *parent) {
    auto *spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QLatin1String(objectName));
    spin->setDecimals(1);
    spin->setSingleStep(0.1);
    spin->setRange(-kMaxOffsetTenths / 10.0, kMaxOffsetTenths / 10.0);
    spin->setSuffix(QStringLiteral(" mm"));
    return spin;
}

} // namespace

TFormPrintAdjust::TFormPrintAdjust(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      LabelPaper(new QLabel(this)), LabelPrinter(new QLabel(this)), LabelHint(new QLabel(this)),
      SpinAdjustDown(MillimetreSpin("SpinAdjustDown", this)),
      SpinAdjustRight(MillimetreSpin("SpinAdjustRight", this)),
      ButtonTestPrint(new QPushButton(QStringLiteral("テスト印刷"), this)),
      ButtonAdjustClose(new QPushButton(QStringLiteral("閉じる"), this)) {
    setObjectName(QStringLiteral("FormPrintAdjust"));
    setWindowTitle(QStringLiteral("プリンタ調整"));
    LabelPaper->setObjectName(QStringLiteral("LabelPaper"));
    LabelPrinter->setObjectName(QStringLiteral("LabelPrinter"));
    ButtonTestPrint->setObjectName(QStringLiteral("ButtonTestPrint"));
    ButtonAdjustClose->setObjectName(QStringLiteral("ButtonAdjustClose"));
    // Enter after typing an offset closes the window; a test page is printed only on request.
    ButtonTestPrint->setAutoDefault(false);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用紙"), LabelPaper);
    form->addRow(QStringLiteral("プリンタ"), LabelPrinter);
    form->addRow(QStringLiteral("上下 (＋で下へ)"), SpinAdjustDown);
    form->addRow(QStringLiteral("左右 (＋で右へ)"), SpinAdjustRight);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonTestPrint);
    buttons->addWidget(ButtonAdjustClose);
    auto *layout = new QVBoxLayout(this);
    LabelHint->setObjectName(QStringLiteral("LabelHint"));
    LabelHint->setWordWrap(true);
    layout->addWidget(LabelHint);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ButtonTestPrint, &QPushButton::clicked, this, &TFormPrintAdjust::TestPrintClicked);
    connect(ButtonAdjustClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormPrintAdjust::SetOffsetTenths(const QString &paperName, const QString &printerName,
                                       const QPoint &tenths) {
    LabelPaper->setText(paperName);
    LabelPrinter->setText(printerName.isEmpty()
                              ? QStringLiteral("（プリンタを選んでいないときの共通の調整）")
                              : printerName);
    LabelHint->setText(
        QStringLiteral("テスト印刷は普通紙に枠と郵便番号枠を印刷します。%1に重ねて確かめて下さい。")
            .arg(paperName));
    SpinAdjustRight->setValue(tenths.x() / 10.0);
    SpinAdjustDown->setValue(tenths.y() / 10.0);
}

QPoint TFormPrintAdjust::OffsetTenths() const {
    return QPoint(Rnd(SpinAdjustRight->value() * 10), Rnd(SpinAdjustDown->value() * 10));
}
