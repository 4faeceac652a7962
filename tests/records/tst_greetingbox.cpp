#include "../common/TestContext.h"

#include "core/Clock.h"
#include "records/GreetingBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {
// Season 2027 is being written in December 2026.
const QDateTime kToday(QDate(2026, 12, 10), QTime(10, 0));
constexpr int kThisSeason = 2027;

QStringList Stored(TestEnv &env, int userId) {
    QStringList events;
    for (const GreetingEvent &event : GreetingTable(env.db()).CustomerEvents(userId))
        events << QStringLiteral("%1/%2/%3/%4")
                      .arg(event.season)
                      .arg(CodeOf(event.kind))
                      .arg(event.day.toString(Qt::ISODate), event.note);
    return events;
}
} // namespace

class TestGreetingBox : public QObject {
    Q_OBJECT
private slots:
    // A cell toggled by the space key or a click stores the row dated today, and toggled
    // again removes it.
    void toggleStoresAndClears_data() {
        QTest::addColumn<int>("season");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("byKey");
        QTest::newRow("new year sent, key") << kThisSeason << 1 << true;
        QTest::newRow("summer received, click") << kThisSeason << 8 << false;
        QTest::newRow("mourning, tenth season, key") << kThisSeason - 9 << 3 << true;
        QTest::newRow("winter sent, last season, click") << kThisSeason - 1 << 5 << false;
    }
    void toggleStoresAndClears() {
        QFETCH(int, season);
        QFETCH(int, kind);
        QFETCH(bool, byKey);
        OwningTestContext context;
        Clock::SetFixed(kToday);
        const int userId = context.env.AddCustomer(QStringLiteral("山田太郎"), "ﾔﾏﾀﾞﾀﾛｳ");
        GreetingBox box(context);
        box.ShowCustomer(userId);
        QTableWidget *grid = box.Grid();
        QVERIFY(box.isEnabled());
        QVERIFY(grid->rowCount() >= 10);
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QString::number(kThisSeason));
        const int row = kThisSeason - season;
        const auto toggle = [&] {
            if (byKey) {
                grid->setCurrentCell(row, kind - 1);
                QTest::keyClick(grid, Qt::Key_Space);
            } else {
                QTableWidgetItem *cell = grid->item(row, kind - 1);
                cell->setCheckState(cell->checkState() == Qt::Checked ? Qt::Unchecked
                                                                      : Qt::Checked);
            }
        };
        toggle();
        QCOMPARE(Stored(context.env, userId),
                 QStringList{QStringLiteral("%1/%2/2026-12-10/").arg(season).arg(kind)});
        QCOMPARE(grid->item(row, kind - 1)->checkState(), Qt::Checked);
        toggle();
        QCOMPARE(Stored(context.env, userId), QStringList{});
    }

    // The mourning cell holds who died; typing it records the notice, unchecking removes both.
    void mourningNoteIsTypedIntoItsCell() {
        OwningTestContext context;
        Clock::SetFixed(kToday);
        const int userId = context.env.AddCustomer(QStringLiteral("佐藤花子"), "ｻﾄｳﾊﾅｺ");
        GreetingBox box(context);
        box.ShowCustomer(userId);
        QTableWidgetItem *cell = box.Grid()->item(0, CodeOf(GreetingKind::MourningReceived) - 1);
        // Typed as every field is: FilterKey's characters do not come in.
        box.Grid()->setCurrentItem(cell);
        box.Grid()->editItem(cell);
        auto *edit = box.Grid()->findChild<QLineEdit *>("EditGreetingNote");
        QVERIFY(edit);
        QTest::keyClicks(edit, "a,'b");
        QCOMPARE(edit->text(), QStringLiteral("ab"));
        box.Grid()->closePersistentEditor(cell);
        cell->setText(QStringLiteral("祖父 一郎"));
        QCOMPARE(Stored(context.env, userId), QStringList{"2027/3/2026-12-10/祖父 一郎"});
        QCOMPARE(cell->checkState(), Qt::Checked);
        box.ShowCustomer(userId);
        cell = box.Grid()->item(0, CodeOf(GreetingKind::MourningReceived) - 1);
        QCOMPARE(cell->toolTip(), QStringLiteral("祖父 一郎"));
        cell->setCheckState(Qt::Unchecked);
        QCOMPARE(Stored(context.env, userId), QStringList{});
        QCOMPARE(cell->text(), QString());
    }

    // Every stored season has its row, older ones come ten at a time, and without a customer
    // nothing can be toggled.
    void seasonsReachBackAsFarAsTheRecord() {
        OwningTestContext context;
        Clock::SetFixed(kToday);
        const int userId = context.env.AddCustomer(QStringLiteral("鈴木"), "ｽｽﾞｷ");
        GreetingTable(context.GetDatabase())
            .Set({userId, 1999, GreetingKind::NewYearReceived, QDate(1999, 1, 2), {}});
        GreetingBox box(context);
        box.ShowCustomer(userId);
        QTableWidget *grid = box.Grid();
        QCOMPARE(grid->rowCount(), kThisSeason - 1999 + 1);
        QCOMPARE(grid->item(grid->rowCount() - 1, 1)->checkState(), Qt::Checked);
        box.findChild<QPushButton *>("BtnGreetingOlder")->click();
        QCOMPARE(grid->rowCount(), kThisSeason - 1989 + 1);
        box.Clear();
        QVERIFY(!box.isEnabled());
        QCOMPARE(grid->rowCount(), 0);
    }
};

QTEST_MAIN(TestGreetingBox)
#include "tst_greetingbox.moc"
