#include "greetings/FormSeasonCards.h"

#include "core/Clock.h"
#include "greetings/SeasonChart.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "print/PaperKinds.h"
#include "store/CustomerRecord.h"
#include "store/EngineError.h"
#include "widgets/ImageButton.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QString Counted(const QString &rule, int count) {
    return QStringLiteral("%1 (%2人)").arg(rule).arg(count);
}

} // namespace

TFormSeasonCards::TFormSeasonCards(AppContext &context, QWidget *parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("FormSeasonCards"));
    setWindowTitle(QStringLiteral("挨拶状の選択"));
    SpinSeason = new QSpinBox(this);
    SpinSeason->setObjectName(QStringLiteral("SpinSeason"));
    SpinSeason->setRange(1900, 2999);
    SpinSeason->setSuffix(QStringLiteral("年"));
    const auto check = [this](const char *name, bool ticked) {
        auto *box = new QCheckBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(ticked);
        connect(box, &QCheckBox::toggled, this, &TFormSeasonCards::Recount);
        return box;
    };
    // Ticked as the book is marked without the window: sent or received last season.
    ChkSentLast = check("ChkSentLast", true);
    ChkReceivedLast = check("ChkReceivedLast", true);
    ChkOpenReplies = check("ChkOpenReplies", false);
    ChkListed = check("ChkListed", true);
    ChkListed->setText(QStringLiteral("一覧に表示中の顧客だけ (分類・読みの絞り込み)"));
    LabelChosen = new QLabel(this);
    LabelChosen->setObjectName(QStringLiteral("LabelChosen"));
    ListMourners = new QListWidget(this);
    ListMourners->setObjectName(QStringLiteral("ListMourners"));
    BtnReplace = NewWindowButton(this, "BtnReplace", QStringLiteral("置き換える"));
    BtnAdd = NewWindowButton(this, "BtnAdd", QStringLiteral("追加する"));
    QPushButton *btnClose = NewWindowButton(this, "BtnClose", QStringLiteral("閉じる"));
    chart_ = new SeasonChart(context.GetDatabase(), context.SharedUserQuery(), this);

    auto *rules = new QGroupBox(QStringLiteral("年賀状を出す相手"), this);
    auto *rulesLayout = new QVBoxLayout(rules);
    auto *seasonRow = new QFormLayout;
    seasonRow->addRow(QStringLiteral("年賀状の年"), SpinSeason);
    rulesLayout->addLayout(seasonRow);
    for (QCheckBox *box : {ChkSentLast, ChkReceivedLast, ChkOpenReplies, ChkListed})
        rulesLayout->addWidget(box);
    rulesLayout->addWidget(LabelChosen);
    auto *mourners = new QGroupBox(QStringLiteral("喪中 (寒中見舞いの相手)"), this);
    auto *mournersLayout = new QVBoxLayout(mourners);
    mournersLayout->addWidget(ListMourners);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("印刷の印を"), this));
    buttons->addWidget(BtnReplace);
    buttons->addWidget(BtnAdd);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto *left = new QVBoxLayout;
    left->addWidget(rules);
    left->addWidget(mourners, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 2);
    top->addWidget(chart_, 5);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(SpinSeason, &QSpinBox::valueChanged, this, &TFormSeasonCards::Recount);
    connect(SpinSeason, &QSpinBox::valueChanged, chart_, &SeasonChart::ShowSeasons);
    connect(BtnReplace, &QPushButton::clicked, this, [this] { MarkChosen(MarkMode::Replace); });
    connect(BtnAdd, &QPushButton::clicked, this, [this] { MarkChosen(MarkMode::Add); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSeasonCards::Run() {
    const QSignalBlocker blocker(SpinSeason);
    SpinSeason->setValue(*CardSeason(kNewYearCardKind, Clock::Today()));
    Recount();
    chart_->ShowSeasons(SpinSeason->value());
    exec();
}

SeasonRules TFormSeasonCards::TickedRules() const {
    SeasonRules rules;
    rules.sentLastSeason = ChkSentLast->isChecked();
    rules.receivedLastSeason = ChkReceivedLast->isChecked();
    rules.openReplies = ChkOpenReplies->isChecked();
    return rules;
}

void TFormSeasonCards::Recount() {
    std::optional<QSet<int>> among;
    const std::vector<int> listed = context_.ListedUserIds();
    if (ChkListed->isChecked())
        among = QSet<int>(listed.begin(), listed.end());
    QStringList mourners;
    try {
        choice_ =
            ChooseSeasonCards(context_.GetDatabase(), SpinSeason->value(), TickedRules(), among);
        for (const CustomerRecord &record : LoadCustomerRecords(
                 context_.SharedUserQuery(),
                 std::vector<int>(choice_.mourners.begin(), choice_.mourners.end())))
            mourners << record.name;
    } catch (const EngineError &error) {
        choice_ = {};
        prompt().Error(error.message());
    }
    ChkSentLast->setText(Counted(QStringLiteral("前の年に年賀状を出した"), choice_.sentLastSeason));
    ChkReceivedLast->setText(
        Counted(QStringLiteral("前の年に年賀状を受け取った"), choice_.receivedLastSeason));
    ChkOpenReplies->setText(
        Counted(QStringLiteral("今年受け取って返礼がまだ"), choice_.openReplies));
    LabelChosen->setText(QStringLiteral("選ばれる顧客: %1人 (喪中の %2人を除く)")
                             .arg(choice_.chosen.size())
                             .arg(choice_.mourners.size()));
    ListMourners->clear();
    ListMourners->addItems(mourners);
    BtnReplace->setEnabled(choice_.season != 0);
    BtnAdd->setEnabled(!choice_.chosen.isEmpty());
}

void TFormSeasonCards::MarkChosen(MarkMode mode) {
    if (mode == MarkMode::Replace &&
        !prompt().Confirm(QStringLiteral("選ばれた%1人に印を付け、ほかの顧客の印はすべて外します。"
                                         "よろしいですか？")
                              .arg(choice_.chosen.size()),
                          QStringLiteral("確認"), Prompt::Answer::No))
        return;
    int marked = 0;
    try {
        marked = MarkChosenCustomers(context_.GetDatabase(), choice_, mode);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    context_.RefreshList();
    prompt().Message(QStringLiteral("%1人に印刷の印を付けました").arg(marked));
}
