#pragma once

#include "greetings/SeasonCards.h"

#include <QDialog>

class AppContext;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class SeasonChart;

// "挨拶状の選択": which customers get this season's New Year card. The rules ticked are counted
// before anything changes, mourners are listed apart, and the choice replaces or adds to the
// print marks; beside it the chart of the last ten seasons.
class TFormSeasonCards : public QDialog {
    Q_OBJECT

public:
    explicit TFormSeasonCards(AppContext &context, QWidget *parent = nullptr);

    // The season of a New Year card printed today, counted afresh, shown modally.
    void Run();
    // Counts the rules for the season shown; problems are reported to the user.
    void Recount();
    // Marks the chosen customers for printing, every other one unmarked with Replace after the
    // user agrees, and rebuilds the list.
    void MarkChosen(MarkMode mode);

    const SeasonChoice &Choice() const { return choice_; }
    SeasonChart *Chart() const { return chart_; }

private:
    SeasonRules TickedRules() const;

    AppContext &context_;
    SeasonChoice choice_;
    QSpinBox *SpinSeason;
    QCheckBox *ChkSentLast;
    QCheckBox *ChkReceivedLast;
    QCheckBox *ChkOpenReplies;
    QCheckBox *ChkListed;
    QLabel *LabelChosen;
    QListWidget *ListMourners;
    QPushButton *BtnReplace;
    QPushButton *BtnAdd;
    SeasonChart *chart_;
};
