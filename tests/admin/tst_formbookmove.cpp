#include "../common/TestContext.h"

#include "admin/FormBookMove.h"
#include "store/BookCopy.h"
#include "store/PictureStorage.h"

#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

class TestFormBookMove : public QObject {
    Q_OBJECT

private slots:
    // キャンセル in the progress window, at the last step (the picture), stops the move to the
    // server: its database holds nothing of it, and the user is told so rather than of a failure.
    void cancellingLeavesTheServerEmpty() {
        if (TestServerUri().isEmpty())
            QSKIP("PELLOR3_TEST_SERVER is not set");
        TestEnv env;
        for (const char *name : {"青木", "井上"})
            env.AddCustomer(name, "ｱ");
        const int pictured = env.AddCustomer("上田", "ｳ");
        env.Run(QString("update Usertbl set img1 = '%1' where UserId = %2")
                    .arg(PictureStorage(env.db(), env.dbPath()).Write(pictured, 0, "BM"))
                    .arg(pictured));
        TestServerDatabase server;
        TestContext context(env);
        TFormBookMove form(context);
        form.findChild<QLineEdit *>("EditServerUri")->setText(server.uri());
        int cancels = 0;
        QTimer canceller;
        connect(&canceller, &QTimer::timeout, [&] {
            auto *window = form.findChild<QProgressDialog *>("ProgressWindow");
            if (window && window->maximum() > 0 && window->value() == window->maximum()) {
                window->cancel();
                ++cancels;
                canceller.stop();
            }
        });
        canceller.start(0);
        form.findChild<QPushButton *>("BtnStart")->click();
        QCOMPARE(cancels, 1);
        QCOMPARE(env.prompt().Texts("message"),
                 QStringList{"コピーを取り消しました。コピー先の台帳は元のまま（空）です。"});
        QVERIFY(env.prompt().Texts("error").isEmpty());
        Database book;
        book.OpenServer(server.uri());
        QCOMPARE(CountBook(book, PictureStorage(book, env.dbPath())),
                 (BookCounts{0, 0, 24, 0, 0, 0}));
    }
};

QTEST_MAIN(TestFormBookMove)
#include "tst_formbookmove.moc"
