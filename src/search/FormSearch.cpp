#include "search/FormSearch.h"

#include "core/Clock.h"
#include "platform/Prompt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

struct RangeButton {
    const char *name;
    const char16_t *caption;
};

// In KanaClause index order, 1 to 12.
constexpr RangeButton RangeButtons[] = {
    {"RB_A", u"あ行"},  {"RB_KA", u"か行"}, {"RB_SA", u"さ行"}, {"RB_TA", u"た行"},
    {"RB_NA", u"な行"}, {"RB_HA", u"は行"}, {"RB_MA", u"ま行"}, {"RB_YA", u"や行"},
    {"RB_RA", u"ら行"}, {"RB_WA", u"わ行"}, {"RB_N", u"ん行"},  {"RB_ABC", u"ABC"},
};

constexpr const char *RowGroupNames[] = {"GroupBox1", "GroupBox3", "GroupBox4", "GroupBox5",
                                         "GroupBox6"};

// Linux input methods cannot be put into a kana mode by the program; the box only accepts or
// refuses the input method.
void ApplyInputMode(QComboBox *box, SearchInputMode mode) {
    if (mode == SearchInputMode::Unchanged)
        return;
    box->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, mode != SearchInputMode::Off);
}

QComboBox *MakeBox(const QString &name, bool editable, int width, QWidget *parent) {
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(editable);
    box->setFixedWidth(width);
    box->setMaxVisibleItems(20);
    if (editable) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
    }
    return box;
}

} // namespace

TFormSearch::TFormSearch(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      GroupBox2(new QGroupBox(QStringLiteral("検索範囲"), this)),
      RBAll(new QRadioButton(QStringLiteral("全て"), GroupBox2)),
      GroupGreeting(new QGroupBox(QStringLiteral("挨拶状"), this)),
      SpinGreetingSeason(new QSpinBox(GroupGreeting)), CBGreetingKind(new QComboBox(GroupGreeting)),
      CBGreetingPresence(new QComboBox(GroupGreeting)),
      BtnStart(new QPushButton(QStringLiteral("検索開始"), this)),
      BtnCancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormSearch"));
    setWindowTitle(QStringLiteral("検索"));
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    RBAll->setObjectName(QStringLiteral("RBAll"));
    RBAll->setChecked(true);
    BtnStart->setObjectName(QStringLiteral("BtnStart"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnStart->setAutoDefault(false);
    BtnCancel->setAutoDefault(false);

    auto *rangeLayout = new QGridLayout(GroupBox2);
    rangeLayout->addWidget(RBAll, 0, 0);
    for (int i = 0; i < 12; ++i) {
        auto *button = new QRadioButton(QString::fromUtf16(RangeButtons[i].caption), GroupBox2);
        button->setObjectName(QString::fromLatin1(RangeButtons[i].name));
        rangeButtons_[i] = button;
        rangeLayout->addWidget(button, (i + 1) / 7, (i + 1) % 7);
    }

    QStringList fieldEntries;
    for (const SearchField &field : SearchFields())
        fieldEntries << field.entry;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox2);
    for (int i = 0; i < SearchRowCount; ++i) {
        const int row = i + 1;
        auto *group = new QGroupBox(QStringLiteral("検索条件 %1").arg(row), this);
        group->setObjectName(QString::fromLatin1(RowGroupNames[i]));
        const QString prefix = QStringLiteral("CB_%1_Topic").arg(row);
        fieldBoxes_[i] = MakeBox(prefix + u'1', false, 150, group);
        valueBoxes_[i] = MakeBox(prefix + u'2', true, 210, group);
        operatorBoxes_[i] = MakeBox(prefix + u'3', false, 150, group);
        fieldBoxes_[i]->addItems(fieldEntries);
        operatorBoxes_[i]->addItems(SearchFields().first().operators);
        useChecks_[i] = nullptr;
        if (row > 1) {
            useChecks_[i] = new QCheckBox(QStringLiteral("使用する"), group);
            useChecks_[i]->setObjectName(QStringLiteral("ChB%1").arg(row));
            useChecks_[i]->hide();
        }
        auto *rowLayout = new QHBoxLayout(group);
        rowLayout->addWidget(fieldBoxes_[i]);
        rowLayout->addWidget(new QLabel(QStringLiteral("が"), group));
        rowLayout->addWidget(valueBoxes_[i]);
        rowLayout->addWidget(operatorBoxes_[i]);
        layout->addWidget(group);

        connect(fieldBoxes_[i], &QComboBox::currentIndexChanged, this,
                [this, row] { CB_1_Topic1Change(row); });
        connect(valueBoxes_[i], &QComboBox::editTextChanged, this,
                [this, row] { Topic2Change(row); });
    }
    GroupGreeting->setObjectName(QStringLiteral("GroupGreeting"));
    GroupGreeting->setCheckable(true);
    GroupGreeting->setChecked(false);
    SpinGreetingSeason->setObjectName(QStringLiteral("SpinGreetingSeason"));
    SpinGreetingSeason->setRange(1900, 9999);
    SpinGreetingSeason->setSuffix(QStringLiteral("年"));
    CBGreetingKind->setObjectName(QStringLiteral("CBGreetingKind"));
    for (const GreetingKind kind : GreetingKinds())
        CBGreetingKind->addItem(GreetingKindCaption(kind), CodeOf(kind));
    CBGreetingPresence->setObjectName(QStringLiteral("CBGreetingPresence"));
    CBGreetingPresence->addItems({QStringLiteral("あり"), QStringLiteral("なし")});
    auto *greetingLayout = new QHBoxLayout(GroupGreeting);
    greetingLayout->addWidget(SpinGreetingSeason);
    greetingLayout->addWidget(new QLabel(QStringLiteral("の"), GroupGreeting));
    greetingLayout->addWidget(CBGreetingKind);
    greetingLayout->addWidget(new QLabel(QStringLiteral("が"), GroupGreeting));
    greetingLayout->addWidget(CBGreetingPresence);
    greetingLayout->addStretch();
    layout->addWidget(GroupGreeting);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnStart);
    buttons->addWidget(BtnCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnStart, &QPushButton::clicked, this, &TFormSearch::BtnStartClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFormSearch::BtnCancelClick);
}

void TFormSearch::SetClassNames(const QStringList &classNames1, const QStringList &classNames2) {
    classNames1_ = classNames1;
    classNames2_ = classNames2;
}

int TFormSearch::ReadingRangeIndex() const {
    for (int i = 0; i < 12; ++i)
        if (rangeButtons_[i]->isChecked())
            return i + 1;
    return 0;
}

bool TFormSearch::HasConditions() const {
    return !valueBoxes_[0]->currentText().trimmed().isEmpty() || GroupGreeting->isChecked();
}

std::optional<GreetingCondition> TFormSearch::CurrentGreetingCondition() const {
    if (!GroupGreeting->isChecked())
        return std::nullopt;
    return GreetingCondition{SpinGreetingSeason->value(),
                             GreetingKindOfCode(CBGreetingKind->currentData().toInt())
                                 .value_or(GreetingKind::NewYearSent),
                             CBGreetingPresence->currentIndex() == 0};
}

SearchRows TFormSearch::CurrentRows() const {
    SearchRows rows;
    for (int i = 0; i < SearchRowCount; ++i) {
        const QComboBox *values = valueBoxes_[i];
        rows[i].field = fieldBoxes_[i]->currentIndex();
        rows[i].value = values->currentText();
        const int picked = values->currentIndex();
        rows[i].valueIndex = picked >= 0 && values->itemText(picked) == rows[i].value ? picked : -1;
        rows[i].operatorIndex = operatorBoxes_[i]->currentIndex();
        rows[i].inUse = i == 0 || useChecks_[i]->isChecked();
    }
    return rows;
}

std::optional<SearchProducts> TFormSearch::BuildSearchClause() {
    try {
        // The greeting condition alone is a search too.
        SearchProducts products = valueBoxes_[0]->currentText().trimmed().isEmpty()
                                      ? SearchProducts{}
                                      : ::BuildSearchClause(CurrentRows());
        if (const std::optional<GreetingCondition> greeting = CurrentGreetingCondition())
            AddGreetingCondition(products, *greeting);
        return products;
    } catch (const SearchInputError &error) {
        prompt().Message(error.message());
        return std::nullopt;
    }
}

void TFormSearch::SetupRow(int row) {
    const int i = row - 1;
    QComboBox *values = valueBoxes_[i];
    QComboBox *operators = operatorBoxes_[i];
    const QSignalBlocker blockValues(values);
    values->clear();
    operators->clear();
    if (useChecks_[i])
        useChecks_[i]->setChecked(false);
    const int position = fieldBoxes_[i]->currentIndex();
    const SearchField &field = SearchFields().at(position);
    ApplyInputMode(values, field.inputMode);
    operators->addItems(field.operators);
    operators->setCurrentIndex(0);
    values->addItems(SearchValueChoices(position, classNames1_, classNames2_));
    values->setCurrentIndex(values->count() > 0 ? 0 : -1);
}

void TFormSearch::ApplyUnenteredChoice(int row) {
    const int i = row - 1;
    if (valueBoxes_[i]->currentText() == UnenteredValue)
        operatorBoxes_[i]->setCurrentIndex(operatorBoxes_[i]->findText(SameOperator));
}

void TFormSearch::CB_1_Topic1Change(int row) {
    SetupRow(row);
}

void TFormSearch::Topic2Change(int row) {
    const int i = row - 1;
    if (useChecks_[i])
        useChecks_[i]->setChecked(!valueBoxes_[i]->currentText().isEmpty());
    ApplyUnenteredChoice(row);
}

void TFormSearch::BtnStartClick() {
    allowClose_ = false;
    if (!HasConditions())
        prompt().Message(QStringLiteral("検索条件１の検索条件が未入力です"));
    else
        allowClose_ = BuildSearchClause().has_value();
    done(QDialog::Accepted);
}

void TFormSearch::BtnCancelClick() {
    allowClose_ = true;
    done(QDialog::Rejected);
}

// Escape and the window's close button cancel.
void TFormSearch::reject() {
    BtnCancelClick();
}

// The close query: the window closes only when the last button allowed it.
void TFormSearch::done(int result) {
    if (allowClose_)
        QDialog::done(result);
}

void TFormSearch::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFormSearch::FormShow() {
    for (int row = 1; row <= SearchRowCount; ++row)
        SetupRow(row);
    GroupGreeting->setChecked(false);
    SpinGreetingSeason->setValue(GreetingSeasonOf(Clock::Today()));
    if (const QScreen *shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}
