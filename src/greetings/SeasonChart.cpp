#include "greetings/SeasonChart.h"

#include "platform/Prompt.h"
#include "store/CustomerRecord.h"
#include "store/EngineError.h"
#include "store/TableEngine.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

QString BarCaption(SeasonChart::Bar bar) {
    switch (bar) {
    case SeasonChart::Sent:
        return QStringLiteral("年賀状 出した");
    case SeasonChart::Received:
        return QStringLiteral("年賀状 受け取った");
    case SeasonChart::OpenReply:
        return QStringLiteral("返礼まだ");
    case SeasonChart::Mourning:
        return QStringLiteral("喪中");
    }
    return {};
}

int CountOf(const SeasonCount &count, SeasonChart::Bar bar) {
    switch (bar) {
    case SeasonChart::Sent:
        return count.Of(GreetingKind::NewYearSent);
    case SeasonChart::Received:
        return count.Of(GreetingKind::NewYearReceived);
    case SeasonChart::OpenReply:
        return count.openReplies;
    case SeasonChart::Mourning:
        return count.Of(GreetingKind::MourningReceived);
    }
    return 0;
}

constexpr std::array kBars = {SeasonChart::Sent, SeasonChart::Received, SeasonChart::OpenReply,
                              SeasonChart::Mourning};

} // namespace

SeasonChart::SeasonChart(Database &database, Query &userQuery, QWidget *parent)
    : QWidget(parent), database_(database), userQuery_(userQuery) {
    series_ = new QBarSeries(this);
    for (const Bar bar : kBars) {
        auto *set = new QBarSet(BarCaption(bar), series_);
        series_->append(set);
        connect(set, &QBarSet::clicked, this, [this, bar](int index) { ListBar(bar, index); });
    }
    auto *chart = new QChart;
    chart->addSeries(series_);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    view_ = new QChartView(chart, this);
    view_->setObjectName(QStringLiteral("ChartSeasons"));
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setMinimumSize(460, 280);
    caption_ = new QLabel(QStringLiteral("棒をクリックすると顧客が表示されます"), this);
    caption_->setWordWrap(true);
    customers_ = new QListWidget(this);
    customers_->setObjectName(QStringLiteral("ListBarCustomers"));
    auto *side = new QVBoxLayout;
    side->addWidget(caption_);
    side->addWidget(customers_, 1);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 3);
    layout->addLayout(side, 1);
}

void SeasonChart::ShowSeasons(int newestSeason) {
    oldestSeason_ = newestSeason - kSeasons + 1;
    std::vector<SeasonCount> counts;
    try {
        counts = GreetingTable(database_).SeasonCounts(oldestSeason_, newestSeason);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
    }
    // Oldest on the left, as time reads.
    std::reverse(counts.begin(), counts.end());
    QChart *chart = view_->chart();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    QStringList seasons;
    int highest = 0;
    const QList<QBarSet *> sets = series_->barSets();
    for (QBarSet *set : sets)
        set->remove(0, set->count());
    for (const SeasonCount &count : counts) {
        seasons << QString::number(count.season);
        for (std::size_t i = 0; i < kBars.size(); ++i) {
            const int value = CountOf(count, kBars[i]);
            sets[qsizetype(i)]->append(value);
            highest = std::max(highest, value);
        }
    }
    auto *seasonAxis = new QBarCategoryAxis(chart);
    seasonAxis->append(seasons);
    auto *countAxis = new QValueAxis(chart);
    countAxis->setRange(0, std::max(highest, 1));
    countAxis->applyNiceNumbers();
    countAxis->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(seasonAxis, Qt::AlignBottom);
    chart->addAxis(countAxis, Qt::AlignLeft);
    series_->attachAxis(seasonAxis);
    series_->attachAxis(countAxis);
    customers_->clear();
}

void SeasonChart::ListBar(Bar bar, int index) {
    const int season = oldestSeason_ + index;
    QStringList names;
    try {
        GreetingTable table(database_);
        const QList<int> ids =
            bar == Sent       ? table.CustomersWith(season, GreetingKind::NewYearSent)
            : bar == Received ? table.CustomersWith(season, GreetingKind::NewYearReceived)
            : bar == Mourning ? table.CustomersWith(season, GreetingKind::MourningReceived)
                              : table.CustomersWithOpenReply(season);
        for (const CustomerRecord &record :
             LoadCustomerRecords(userQuery_, std::vector<int>(ids.begin(), ids.end())))
            names << record.name;
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    caption_->setText(
        QStringLiteral("%1年 %2: %3人").arg(season).arg(BarCaption(bar)).arg(names.size()));
    customers_->clear();
    customers_->addItems(names);
}
