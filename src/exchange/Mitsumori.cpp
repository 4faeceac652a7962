#include "exchange/Mitsumori.h"

#include "core/ShiftJis.h"
#include "exchange/CsvExport.h"
#include "exchange/EstimateExport.h"
#include "platform/AppContext.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "store/CustomerExport.h"
#include "store/EngineError.h"
#include "widgets/ProgressWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ChoiceBox {
    const char *name;
    const char16_t *label;
    int initial; // index into the box's entries
};

constexpr ChoiceBox ChoiceBoxes[] = {
    {"CB_Company", u"会社名", 2},  {"CB_Zip", u"郵便番号", 1}, {"CB_Address1", u"住所１", 1},
    {"CB_Address2", u"住所２", 1}, {"CB_Tel", u"電話番号", 1}, {"CB_Fax", u"FAX", 1},
};

} // namespace

Tmitsumori::Tmitsumori(AppContext &context, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), desktopFolder_(GetSpecialFolder(DesktopFolderId)),
      Button1(new QPushButton(QStringLiteral("エクスポートする"), this)),
      Btn_Cancel(new QPushButton(QStringLiteral("閉じる"), this)) {
    setObjectName(QStringLiteral("mitsumori"));
    setWindowTitle(QStringLiteral("Quillet2用にエクスポート"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));

    auto *layout = new QVBoxLayout(this);
    const std::pair<const char *, QString> labels[] = {
        {"Label1", QStringLiteral("Brisko Quillet2　のお客様情報に")},
        {"Label2", QStringLiteral("インポートしやすい形式でデータをエクスポートします。")},
        {"Label3", QStringLiteral("割り当てる項目を選択してください。")},
    };
    for (const auto &[name, text] : labels) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        layout->addWidget(label);
    }
    auto *form = new QFormLayout;
    for (size_t i = 0; i < choiceBoxes_.size(); ++i) {
        auto *box = new QComboBox(this);
        box->setObjectName(QLatin1String(ChoiceBoxes[i].name));
        box->addItems(EstimateChoices().at(qsizetype(i)));
        box->setCurrentIndex(ChoiceBoxes[i].initial);
        choiceBoxes_[i] = box;
        form->addRow(QString::fromUtf16(ChoiceBoxes[i].label), box);
    }
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Btn_Cancel);
    layout->addLayout(buttons);
    // The buttons were made first; the window still opens on the first choice.
    choiceBoxes_.front()->setFocus();

    connect(Button1, &QPushButton::clicked, this, &Tmitsumori::Button1Click);
    connect(Btn_Cancel, &QPushButton::clicked, this, &Tmitsumori::Btn_CancelClick);
}

QStringList Tmitsumori::Choices() const {
    QStringList choices;
    for (const QComboBox *box : choiceBoxes_)
        choices << box->currentText();
    return choices;
}

void Tmitsumori::Button1Click() {
    const QString path =
        AskCsvSavePath(prompt(), QStringLiteral("Quillet2用にエクスポート"),
                       QDir(desktopFolder_).filePath(QStringLiteral("エクスポート.CSV")),
                       QStringLiteral("CSVファイル(*.csv *.CSV)"));
    if (path.isEmpty())
        return;
    std::optional<std::vector<QStringList>> customers;
    try {
        ProgressWindow progress(QStringLiteral("エクスポートしています…"), QStringLiteral("処理中"),
                                this, ProgressWindow::AtOnce);
        customers = ReadListedCustomers(context_.GetDatabase(), context_.ListedUserIds(),
                                        EstimateColumns(), progress.Reporter());
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    if (!customers) {
        prompt().Message(QStringLiteral("エクスポートを中止しました。"));
        return;
    }
    if (customers->empty()) {
        prompt().Message(QStringLiteral("エクスポートするデータがありません。"));
        return;
    }
    const QStringList choices = Choices();
    QString text;
    int written = 0;
    for (const QStringList &customer : *customers)
        if (const QString line = EstimateLine(choices, customer); !line.isEmpty()) {
            text += line + QStringLiteral("\r\n");
            ++written;
        }
    if (!WriteExportFile(path, ShiftJis::Encode(text)))
        return;
    prompt().Message(ExportedMessage(written, path));
    accept();
}

void Tmitsumori::Btn_CancelClick() {
    reject();
}
