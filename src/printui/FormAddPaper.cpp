#include "printui/FormAddPaper.h"

#include "platform/Prompt.h"
#include "print/PaperSheets.h"
#include "widgets/KeyFilter.h"
#include "widgets/ShiftJisInput.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFormAddPaper::TFormAddPaper(const QString &dataPath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      dataPath_(dataPath), RadioButtonPaperA4(new QRadioButton(QStringLiteral("A4縦"), this)),
      RadioButtonPaperA4T(new QRadioButton(QStringLiteral("A4横"), this)),
      EditTitle(AddEdit("EditTitle", false)), EditLabelHor(AddEdit("EditLabelHor", true)),
      EditLabelVer(AddEdit("EditLabelVer", true)),
      EditOffsetUpper(AddEdit("EditOffsetUpper", true)),
      EditOffsetLower(AddEdit("EditOffsetLower", true)),
      EditOffsetLeft(AddEdit("EditOffsetLeft", true)),
      EditOffsetRight(AddEdit("EditOffsetRight", true)), EditLow(AddEdit("EditLow", true)),
      EditColumn(AddEdit("EditColumn", true)),
      Button1(new QPushButton(QStringLiteral("登録"), this)),
      Button2(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormAddPaper"));
    setWindowTitle(QStringLiteral("オリジナルサイズ入力"));
    RadioButtonPaperA4->setObjectName(QStringLiteral("RadioButtonPaperA4"));
    RadioButtonPaperA4T->setObjectName(QStringLiteral("RadioButtonPaperA4T"));
    RadioButtonPaperA4->setChecked(true);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *validator = new ShiftJisValidator(EditTitle);
    EditTitle->setValidator(validator);
    connect(validator, &ShiftJisValidator::Refused, this,
            [](const QString &chars) { prompt().Error(UnrepresentableInputMessage(chars)); });

    auto *paper = new QGroupBox(QStringLiteral("用紙のサイズ"), this);
    auto *paperLayout = new QHBoxLayout(paper);
    paperLayout->addWidget(RadioButtonPaperA4);
    paperLayout->addWidget(RadioButtonPaperA4T);
    paperLayout->addStretch();

    auto *title = new QGroupBox(QStringLiteral("ラベルのタイトル"), this);
    (new QVBoxLayout(title))->addWidget(EditTitle);

    auto *size = new QGroupBox(QStringLiteral("ラベルのサイズ"), this);
    auto *grid = new QGridLayout(size);
    const struct {
        const char *caption;
        QLineEdit *edit;
        const char *unit;
    } rows[] = {{"ラベル幅", EditLabelHor, "mm"},  {"ラベル高さ", EditLabelVer, "mm"},
                {"上余白", EditOffsetUpper, "mm"}, {"下余白", EditOffsetLower, "mm"},
                {"左余白", EditOffsetLeft, "mm"},  {"右余白", EditOffsetRight, "mm"},
                {"列数", EditLow, "列"},           {"段数", EditColumn, "段"}};
    int index = 0;
    for (const auto &row : rows) {
        const int r = index / 2;
        const int c = (index % 2) * 3;
        grid->addWidget(new QLabel(QString::fromUtf8(row.caption), size), r, c);
        grid->addWidget(row.edit, r, c + 1);
        grid->addWidget(new QLabel(QString::fromUtf8(row.unit), size), r, c + 2);
        ++index;
    }
    grid->addWidget(new QLabel(QStringLiteral("ラベル間隔は自動的に計算されます"), size), 4, 0, 1,
                    6);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(paper);
    layout->addWidget(title);
    layout->addWidget(size);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TFormAddPaper::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormAddPaper::Button2Click);
}

QLineEdit *TFormAddPaper::AddEdit(const char *objectName, bool number) {
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(objectName));
    InstallFilterKey(edit);
    if (number) {
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
        edit->setMaxLength(10);
    } else {
        edit->setMaxLength(60);
    }
    return edit;
}

void TFormAddPaper::showEvent(QShowEvent *event) {
    for (QLineEdit *edit : {EditTitle, EditLabelHor, EditLabelVer, EditOffsetUpper, EditOffsetLower,
                            EditOffsetLeft, EditOffsetRight, EditLow, EditColumn})
        edit->clear();
    EditTitle->setFocus();
    QDialog::showEvent(event);
}

NewSheetInput TFormAddPaper::Input() const {
    NewSheetInput input;
    input.Title = EditTitle->text();
    input.Landscape = RadioButtonPaperA4T->isChecked();
    input.LabelWidth = EditLabelHor->text();
    input.LabelHeight = EditLabelVer->text();
    input.TopMargin = EditOffsetUpper->text();
    input.BottomMargin = EditOffsetLower->text();
    input.LeftMargin = EditOffsetLeft->text();
    input.RightMargin = EditOffsetRight->text();
    input.Columns = EditLow->text();
    input.Rows = EditColumn->text();
    return input;
}

void TFormAddPaper::Button1Click() {
    const NewSheetInput input = Input();
    if (const QString problem = CheckNewSheet(input); !problem.isEmpty()) {
        prompt().Error(problem);
        return;
    }
    QString error;
    switch (AddOriginalSheet(dataPath_ + kPaperFileName, input, &error)) {
    case AddSheetResult::Duplicate:
        prompt().Error(
            QStringLiteral("同名のラベルが存在します、ラベルタイトルを別のものにしてください"));
        return;
    case AddSheetResult::Failed:
        prompt().Error(error);
        return;
    case AddSheetResult::Added:
        break;
    }
    prompt().Message(input.Title.trimmed() + QStringLiteral("を追加しました"));
    accept();
}

void TFormAddPaper::Button2Click() {
    reject();
}
