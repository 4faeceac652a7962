#include "exchange/Export_Select.h"

#include "exchange/CsvExport.h"
#include "exchange/ExchangeProgress.h"
#include "exchange/FormExport.h"
#include "exchange/Mitsumori.h"
#include "platform/AppContext.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "store/EngineError.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TExport_Select::TExport_Select(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), formExport_(new TFormExport(context, this)),
      mitsumori_(new Tmitsumori(context, this)),
      PNGButtonCSV(new QPushButton(QStringLiteral("CSV形式でエクスポート"), this)),
      PNGButtonMitsu(new QPushButton(QStringLiteral("Quillet2用にエクスポート"), this)),
      Btn_Cancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("Export_Select"));
    setWindowTitle(QStringLiteral("エクスポート方法の選択"));
    PNGButtonCSV->setObjectName(QStringLiteral("PNGButtonCSV"));
    PNGButtonMitsu->setObjectName(QStringLiteral("PNGButtonMitsu"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    for (QPushButton *button : {PNGButtonCSV, PNGButtonMitsu}) {
        button->setMinimumSize(200, 60);
        button->setCursor(Qt::PointingHandCursor);
    }
    auto *choices = new QHBoxLayout;
    choices->addWidget(PNGButtonCSV);
    choices->addWidget(PNGButtonMitsu);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(Btn_Cancel, 0, Qt::AlignRight);

    connect(PNGButtonCSV, &QPushButton::clicked, this, &TExport_Select::Btn_NormalClick);
    connect(PNGButtonMitsu, &QPushButton::clicked, this, &TExport_Select::Btn_MitsumoriClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TExport_Select::Btn_CancelClick);
}

void TExport_Select::Btn_NormalClick() {
    hide();
    reject();
    RunCsvExport();
}

void TExport_Select::Btn_MitsumoriClick() {
    hide();
    reject();
    mitsumori_->exec();
}

void TExport_Select::Btn_CancelClick() {
    reject();
}

void TExport_Select::RunCsvExport() {
    Prompt &prompt = context_.GetPrompt();
    if (context_.ListedUserIds().empty()) {
        prompt.Message(QStringLiteral("エクスポートするデータが存在しません"));
        return;
    }
    if (formExport_->exec() != QDialog::Accepted)
        return;
    std::optional<QByteArray> bytes;
    try {
        ExchangeProgress progress(QStringLiteral("エクスポートしています…"), parentWidget());
        bytes = BuildCsvExport(context_, formExport_->Options(),
                               [&](int done, int total) { return progress.Report(done, total); });
    } catch (const EngineError &error) {
        prompt.Error(error.message());
        return;
    }
    if (!bytes) {
        prompt.Message(QStringLiteral("エクスポートを中止しました。"));
        return;
    }
    const QString path = AskExportPath(
        context_, QStringLiteral("エクスポート"),
        QDir(GetSpecialFolder(DesktopFolderId)).filePath(QStringLiteral("エクスポート.csv")),
        QStringLiteral("CSVファイル(*.csv *.CSV)"));
    if (!path.isEmpty())
        WriteExportFile(context_, path, *bytes);
}
