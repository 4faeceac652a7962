#include "../common/TestContext.h"

#include "core/Clock.h"
#include "greetings/FormSeasonCards.h"
#include "greetings/SeasonChart.h"
#include "store/CustomerRecord.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// Five customers by reading, a season 2027 being written in December 2026: あ sent a card
// last season, い received one and is in mourning now, う sent one this season unanswered, え
// has no record and is marked already, お sent last season and is not listed.
struct Book {
    OwningTestContext context;
    QMap<QString, int> ids;

    Book() {
        Clock::SetFixed(QDateTime(QDate(2026, 12, 10), QTime(10, 0)));
        for (const QString name : {"あ", "い", "う", "え", "お"})
            ids[name] = context.env.AddCustomer(name, name, name == QStringLiteral("え"));
        GreetingTable table(context.GetDatabase());
        const QDate day(2026, 1, 1);
        table.Set({ids["あ"], 2026, GreetingKind::NewYearSent, day, {}});
        table.Set({ids["い"], 2026, GreetingKind::NewYearReceived, day, {}});
        table.Set({ids["い"], 2027, GreetingKind::MourningReceived, day, QStringLiteral("父")});
        table.Set({ids["う"], 2027, GreetingKind::NewYearReceived, day, {}});
        table.Set({ids["お"], 2026, GreetingKind::NewYearSent, day, {}});
        context.listed = {ids["あ"], ids["い"], ids["う"], ids["え"]};
    }

    QStringList Marked() {
        const std::vector<int> all(ids.begin(), ids.end());
        QStringList names;
        for (const CustomerRecord &record :
             LoadCustomerRecords(context.SharedUserQuery(), all, WhichCustomers::Marked))
            names << record.name;
        names.sort();
        return names;
    }
};

template <typename T> T *Child(QObject &parent, const char *name) {
    T *child = parent.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(child);
    return child;
}

} // namespace

class TestFormSeasonCards : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Clock::Reset(); }

    // The rules ticked, counted before anything changes, then the marks the button leaves.
    void countsThenMarks_data() {
        QTest::addColumn<bool>("openReplies");
        QTest::addColumn<bool>("listedOnly");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("agree");
        QTest::addColumn<QString>("sentLabel");
        QTest::addColumn<QString>("chosenLabel");
        QTest::addColumn<QStringList>("marked");
        QTest::newRow("add, the default rules")
            << false << true << "BtnAdd" << true << "前の年に年賀状を出した (1人)"
            << "選ばれる顧客: 1人 (喪中の 1人を除く)" << QStringList{"あ", "え"};
        QTest::newRow("replace, with the replies owed")
            << true << true << "BtnReplace" << true << "前の年に年賀状を出した (1人)"
            << "選ばれる顧客: 2人 (喪中の 1人を除く)" << QStringList{"あ", "う"};
        QTest::newRow("replace, the whole book")
            << false << false << "BtnReplace" << true << "前の年に年賀状を出した (2人)"
            << "選ばれる顧客: 2人 (喪中の 1人を除く)" << QStringList{"あ", "お"};
        QTest::newRow("replace refused")
            << false << true << "BtnReplace" << false << "前の年に年賀状を出した (1人)"
            << "選ばれる顧客: 1人 (喪中の 1人を除く)" << QStringList{"え"};
    }
    void countsThenMarks() {
        QFETCH(bool, openReplies);
        QFETCH(bool, listedOnly);
        QFETCH(QString, button);
        QFETCH(bool, agree);
        QFETCH(QString, sentLabel);
        QFETCH(QString, chosenLabel);
        QFETCH(QStringList, marked);
        Book book;
        TFormSeasonCards form(book.context);
        QTimer::singleShot(0, &form, &QDialog::reject);
        form.Run();
        QCOMPARE(form.Choice().season, 2027);
        Child<QCheckBox>(form, "ChkOpenReplies")->setChecked(openReplies);
        Child<QCheckBox>(form, "ChkListed")->setChecked(listedOnly);
        QCOMPARE(Child<QCheckBox>(form, "ChkSentLast")->text(), sentLabel);
        QCOMPARE(Child<QCheckBox>(form, "ChkOpenReplies")->text(),
                 QStringLiteral("今年受け取って返礼がまだ (1人)"));
        QCOMPARE(Child<QLabel>(form, "LabelChosen")->text(), chosenLabel);
        QListWidget *mourners = Child<QListWidget>(form, "ListMourners");
        QCOMPARE(mourners->count(), 1);
        QCOMPARE(mourners->item(0)->text(), QStringLiteral("い"));
        QCOMPARE(book.Marked(), QStringList{"え"});

        book.context.env.prompt().PushAnswer(agree ? Prompt::Answer::Yes : Prompt::Answer::No);
        Child<QPushButton>(form, button.toLatin1().constData())->click();
        QCOMPARE(book.Marked(), marked);
        QCOMPARE(book.context.refreshes, agree ? 1 : 0);
    }

    // A click on a bar lists the customers behind it, in reading order.
    void barClickListsItsCustomers_data() {
        QTest::addColumn<int>("bar");
        QTest::addColumn<int>("season");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("sent last season")
            << int(SeasonChart::Sent) << 2026 << QStringList{"あ", "お"};
        QTest::newRow("received last season")
            << int(SeasonChart::Received) << 2026 << QStringList{"い"};
        QTest::newRow("reply owed") << int(SeasonChart::OpenReply) << 2027 << QStringList{"う"};
        QTest::newRow("mourning") << int(SeasonChart::Mourning) << 2027 << QStringList{"い"};
        QTest::newRow("an empty season") << int(SeasonChart::Sent) << 2018 << QStringList{};
    }
    void barClickListsItsCustomers() {
        QFETCH(int, bar);
        QFETCH(int, season);
        QFETCH(QStringList, names);
        Book book;
        SeasonChart chart(book.context.GetDatabase(), book.context.SharedUserQuery());
        chart.ShowSeasons(2027);
        QBarSet *set = chart.Series()->barSets().at(bar);
        QCOMPARE(set->count(), SeasonChart::kSeasons);
        const int index = season - 2018;
        QCOMPARE(int(set->at(index)), names.size());
        emit set->clicked(index);
        QStringList listed;
        for (int row = 0; row < chart.Customers()->count(); ++row)
            listed << chart.Customers()->item(row)->text();
        QCOMPARE(listed, names);
        QVERIFY(chart.Caption()->text().startsWith(QString::number(season)));
    }
};

QTEST_MAIN(TestFormSeasonCards)
#include "tst_formseasoncards.moc"
