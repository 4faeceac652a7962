#include "exchange/Export_Select.h"

#include "exchange/CsvExport.h"
#include "exchange/FormExport.h"
#include "exchange/GreetingCsv.h"
#include "exchange/HeadlessExchange.h"
#include "exchange/Mitsumori.h"
#include "platform/AppContext.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "store/EngineError.h"
#include "store/PictureStorage.h"
#include "widgets/ImageButton.h"
#include "widgets/ProgressWindow.h"

#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A sheet ruled into cells, the plain CSV file.
void PaintSheetGlyph(QPainter &p, const QColor &hole) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5, 4, 22, 24), 2, 2);
    p.setPen(QPen(hole, 1.4));
    for (const double y : {10.0, 15.5, 21.0})
        p.drawLine(QPointF(7, y), QPointF(25, y));
    p.drawLine(QPointF(13, 5), QPointF(13, 27));
    p.drawLine(QPointF(19, 5), QPointF(19, 27));
}

// An estimate form with its yen sign.
void PaintEstimateGlyph(QPainter &p, const QColor &hole) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
    p.setPen(QPen(hole, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(11, 8), QPointF(16, 15), QPointF(21, 8)}));
    p.drawLine(QPointF(16, 15), QPointF(16, 24));
    p.drawLine(QPointF(12, 17), QPointF(20, 17));
    p.drawLine(QPointF(12, 20.5), QPointF(20, 20.5));
}

} // namespace

TExport_Select::TExport_Select(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), formExport_(new TFormExport(context, this)),
      mitsumori_(new Tmitsumori(context, this)),
      PNGButtonCSV(NewWindowTileButton(PaintSheetGlyph, QColor(0x2f, 0x8a, 0x4e),
                                       QStringLiteral("CSV形式でエクスポート"), "PNGButtonCSV",
                                       QSize(190, 66), this)),
      PNGButtonMitsu(NewWindowTileButton(PaintEstimateGlyph, QColor(0x8a, 0x4c, 0xc0),
                                         QStringLiteral("Quillet2用にエクスポート"),
                                         "PNGButtonMitsu", QSize(190, 66), this)),
      BtnGreetings(new QPushButton(QStringLiteral("挨拶状の記録をエクスポート"), this)),
      CBVCardVersion(new QComboBox(this)), CBVCardReading(new QComboBox(this)),
      BtnVCard(new QPushButton(QStringLiteral("携帯電話の連絡先（vCard）にエクスポート"), this)),
      Btn_Cancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("Export_Select"));
    setWindowTitle(QStringLiteral("エクスポート方法の選択"));
    BtnGreetings->setObjectName(QStringLiteral("BtnGreetings"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    CBVCardVersion->setObjectName(QStringLiteral("CBVCardVersion"));
    CBVCardVersion->addItems(
        {QStringLiteral("vCard 4.0"), QStringLiteral("vCard 3.0（古い携帯電話）")});
    CBVCardReading->setObjectName(QStringLiteral("CBVCardReading"));
    CBVCardReading->addItems(
        {QStringLiteral("フリガナをカタカナで"), QStringLiteral("フリガナをひらがなで")});
    BtnVCard->setObjectName(QStringLiteral("BtnVCard"));
    auto *choices = new QHBoxLayout;
    choices->addWidget(PNGButtonCSV);
    choices->addWidget(PNGButtonMitsu);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    auto *vcard = new QHBoxLayout;
    vcard->addWidget(BtnVCard);
    vcard->addWidget(CBVCardVersion);
    vcard->addWidget(CBVCardReading);
    layout->addLayout(vcard);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtnGreetings);
    buttons->addStretch();
    buttons->addWidget(Btn_Cancel);
    layout->addLayout(buttons);

    connect(PNGButtonCSV, &ImageButton::clicked, this, &TExport_Select::Btn_NormalClick);
    connect(PNGButtonMitsu, &ImageButton::clicked, this, &TExport_Select::Btn_MitsumoriClick);
    connect(BtnGreetings, &QPushButton::clicked, this, &TExport_Select::BtnGreetingsClick);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TExport_Select::Btn_CancelClick);
    connect(BtnVCard, &QPushButton::clicked, this, &TExport_Select::BtnVCardClick);
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

void TExport_Select::BtnGreetingsClick() {
    hide();
    reject();
    QByteArray bytes;
    int events = 0;
    try {
        bytes = BuildGreetingCsv(context_.GetDatabase(), &events);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    const QString path = AskCsvSavePath(
        prompt(), QStringLiteral("挨拶状の記録のエクスポート"),
        QDir(GetSpecialFolder(DesktopFolderId)).filePath(QStringLiteral("挨拶状.csv")),
        QStringLiteral("CSVファイル(*.csv *.CSV)"));
    if (!path.isEmpty() && WriteExportFile(path, bytes))
        prompt().Message(QStringLiteral("挨拶状の記録 %1件をエクスポートしました。\r\n%2")
                             .arg(events)
                             .arg(QDir::toNativeSeparators(path)));
}

void TExport_Select::RunCsvExport() {
    if (context_.ListedUserIds().empty()) {
        prompt().Message(QStringLiteral("エクスポートするデータが存在しません"));
        return;
    }
    if (formExport_->exec() != QDialog::Accepted)
        return;
    std::optional<QByteArray> bytes;
    int customers = 0;
    try {
        ProgressWindow progress(QStringLiteral("エクスポートしています…"), QStringLiteral("処理中"),
                                parentWidget(), ProgressWindow::AtOnce);
        bytes = BuildCsvExport(context_.GetDatabase(), context_.ListedUserIds(),
                               formExport_->Options(), progress.Reporter(), &customers);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    if (!bytes) {
        prompt().Message(QStringLiteral("エクスポートを中止しました。"));
        return;
    }
    const QString path = AskCsvSavePath(
        prompt(), QStringLiteral("エクスポート"),
        QDir(GetSpecialFolder(DesktopFolderId)).filePath(QStringLiteral("エクスポート.csv")),
        QStringLiteral("CSVファイル(*.csv *.CSV)"));
    if (!path.isEmpty() && WriteExportFile(path, *bytes))
        prompt().Message(ExportedMessage(customers, path));
}

VCard::WriteOptions TExport_Select::VCardChoice() const {
    return {CBVCardVersion->currentIndex() == 1 ? VCard::Version::V3 : VCard::Version::V4,
            CBVCardReading->currentIndex() == 1 ? VCard::ReadingScript::Hiragana
                                                : VCard::ReadingScript::Katakana,
            context_.GetDataPath()};
}

void TExport_Select::BtnVCardClick() {
    hide();
    reject();
    if (context_.ListedUserIds().empty()) {
        prompt().Message(QStringLiteral("エクスポートするデータが存在しません"));
        return;
    }
    const QString path =
        AskSavePath(prompt(), QStringLiteral("連絡先のエクスポート"),
                    QDir(GetSpecialFolder(DesktopFolderId)).filePath(QStringLiteral("連絡先.vcf")),
                    QStringLiteral("vCardファイル(*.vcf *.VCF)"), QStringLiteral(".vcf"));
    if (path.isEmpty())
        return;
    QByteArray bytes;
    int customers = 0;
    try {
        ProgressWindow progress(QStringLiteral("エクスポートしています…"), QStringLiteral("処理中"),
                                parentWidget(), ProgressWindow::AtOnce);
        bytes = BuildVCardExport(context_.GetDatabase(), context_.ListedUserIds(), VCardChoice(),
                                 PictureStorage(context_.GetDatabase(), context_.GetDbPath()),
                                 &customers);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    if (WriteExportFile(path, bytes))
        prompt().Message(ExportedMessage(customers, path));
}
