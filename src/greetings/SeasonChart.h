#pragma once

#include "store/GreetingTable.h"

#include <QWidget>

class Database;
class QBarSeries;
class QChartView;
class QLabel;
class QListWidget;
class Query;

// The seasons at a glance: New Year cards sent, received, received and not yet answered, and
// mourning notices received, of the last ten seasons up to one; a click on a bar lists the
// customers behind it.
class SeasonChart : public QWidget {
    Q_OBJECT

public:
    // The bars that the chart shows, in series order.
    enum Bar { Sent, Received, OpenReply, Mourning };
    static constexpr int kSeasons = 10;

    SeasonChart(Database &database, Query &userQuery, QWidget *parent = nullptr);

    // Draws the ten seasons up to `newestSeason`; problems are reported to the user.
    void ShowSeasons(int newestSeason);
    // Lists the customers of a bar (`index` from the oldest season shown).
    void ListBar(Bar bar, int index);

    QBarSeries *Series() const { return series_; }
    QListWidget *Customers() const { return customers_; }
    QLabel *Caption() const { return caption_; }

private:
    Database &database_;
    Query &userQuery_;
    int oldestSeason_ = 0;
    QBarSeries *series_;
    QChartView *view_;
    QLabel *caption_;
    QListWidget *customers_;
};
