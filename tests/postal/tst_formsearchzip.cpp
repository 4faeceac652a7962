#include "core/TextFile.h"
#include "platform/Prompt.h"
#include "postal/FormSearchZip.h"
#include "postal/ZipLookup.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

// The address page of the editor as the lookups see it.
struct AddressPage {
    QLineEdit zip;
    QLineEdit address1;
    QLineEdit address2;
};

class TestFormSearchZip : public QObject {
    Q_OBJECT

private slots:
    void init();

    void choosingARowFillsCodeAndFirstAddressLine_data();
    void choosingARowFillsCodeAndFirstAddressLine();
    void okWithoutSelectionKeepsTheWindowOpen();
    void cancelChangesNothing();
    void aRowIsTaken_data();
    void aRowIsTaken();
    void nothingHappensWithoutSelectedCustomer_data();
    void nothingHappensWithoutSelectedCustomer();
    void failuresLeaveTheEditsAlone_data();
    void failuresLeaveTheEditsAlone();

private:
    using Lookup = void (*)(TFormSearchZip &, const ZipLookupTarget &);

    ZipLookupTarget Target(bool customerSelected = true) {
        return {dataDir_->path(), customerSelected, &page_->zip, &page_->address1};
    }
    // Runs the lookup; `act` runs once the search window is up (it must close it).
    bool RunWithWindow(Lookup lookup, const std::function<void()> &act);
    void Click(const char *button) {
        form_->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    }
    QTreeView *List() { return form_->findChild<QTreeView *>(QStringLiteral("ListView1")); }

    std::unique_ptr<QTemporaryDir> dataDir_;
    std::unique_ptr<TFormSearchZip> form_;
    std::unique_ptr<AddressPage> page_;
    ScriptedPrompt *prompt_ = nullptr;
};

void TestFormSearchZip::init() {
    dataDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(dataDir_->path()).mkpath(QStringLiteral("zip")));
    QVERIFY(TextFile::WriteLines(ZipFilePath(dataDir_->path()),
                                 {QStringLiteral("1000001,東京都千代田区千代田"),
                                  QStringLiteral("1000002,東京都千代田区皇居外苑"),
                                  QStringLiteral("1000003,東京都千代田区一ツ橋")}));
    auto prompt = std::make_unique<ScriptedPrompt>();
    prompt_ = prompt.get();
    Prompt::Install(std::move(prompt));
    form_ = std::make_unique<TFormSearchZip>();
    page_ = std::make_unique<AddressPage>();
    page_->zip.setText(QStringLiteral("100"));
    page_->address1.setText(QStringLiteral("千代田区"));
    page_->address2.setText(QStringLiteral("ビル３階"));
}

bool TestFormSearchZip::RunWithWindow(Lookup lookup, const std::function<void()> &act) {
    bool shown = false;
    QTimer::singleShot(0, form_.get(), [&] {
        shown = form_->isVisible();
        if (shown)
            act();
        // A failed check inside `act` must not leave the test waiting on the window.
        form_->reject();
    });
    lookup(*form_, Target());
    return shown;
}

void TestFormSearchZip::choosingARowFillsCodeAndFirstAddressLine_data() {
    QTest::addColumn<Lookup>("lookup");
    QTest::addColumn<QString>("keyCaption");
    QTest::newRow("by code") << Lookup(LookUpAddressByZip) << "検索キー:100";
    QTest::newRow("by address") << Lookup(LookUpZipByAddress) << "検索キー：千代田区";
}

void TestFormSearchZip::choosingARowFillsCodeAndFirstAddressLine() {
    QFETCH(Lookup, lookup);
    QFETCH(QString, keyCaption);
    QSignalSpy zipChanged(&page_->zip, &QLineEdit::textChanged);
    QSignalSpy addressChanged(&page_->address1, &QLineEdit::textChanged);

    QVERIFY(RunWithWindow(lookup, [&] {
        QCOMPARE(form_->windowTitle(), QStringLiteral("郵便番号検索"));
        QCOMPARE(form_->findChild<QLabel *>(QStringLiteral("Label1"))->text(), keyCaption);
        QAbstractItemModel *rows = List()->model();
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->headerData(0, Qt::Horizontal).toString(), QStringLiteral("〒"));
        QCOMPARE(rows->index(2, 0).data().toString(), QStringLiteral("100-0003"));
        List()->setCurrentIndex(rows->index(1, 0));
        Click("Button1");
    }));
    QCOMPARE(page_->zip.text(), QStringLiteral("100-0002"));
    QCOMPARE(page_->address1.text(), QStringLiteral("東京都千代田区皇居外苑"));
    QCOMPARE(page_->address2.text(), QStringLiteral("ビル３階"));
    // The editor saves on these signals, as it does for typing.
    QCOMPARE(zipChanged.size(), 1);
    QCOMPARE(addressChanged.size(), 1);
    QVERIFY(prompt_->calls().empty());
}

void TestFormSearchZip::okWithoutSelectionKeepsTheWindowOpen() {
    bool stillOpen = false;
    QVERIFY(RunWithWindow(LookUpAddressByZip, [&] {
        Click("Button1");
        stillOpen = form_->isVisible();
        Click("Button2");
    }));
    QVERIFY(stillOpen);
    QCOMPARE(prompt_->Texts(), QStringList{QStringLiteral("リストから住所を選択して下さい。")});
    QCOMPARE(page_->zip.text(), QStringLiteral("100"));
    QCOMPARE(page_->address1.text(), QStringLiteral("千代田区"));
}

void TestFormSearchZip::cancelChangesNothing() {
    QVERIFY(RunWithWindow(LookUpZipByAddress, [&] {
        List()->setCurrentIndex(List()->model()->index(0, 0));
        Click("Button2");
    }));
    QCOMPARE(page_->zip.text(), QStringLiteral("100"));
    QCOMPARE(page_->address1.text(), QStringLiteral("千代田区"));

    // The next search starts with a fresh list.
    page_->zip.setText(QStringLiteral("1000003"));
    QVERIFY(RunWithWindow(LookUpAddressByZip, [&] {
        QCOMPARE(List()->model()->rowCount(), 1);
        Click("Button2");
    }));
}

void TestFormSearchZip::aRowIsTaken_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("OK on the only row found") << "ok";
    QTest::newRow("double-click") << "double-click";
    QTest::newRow("Enter") << "enter";
}

void TestFormSearchZip::aRowIsTaken() {
    QFETCH(QString, how);
    page_->zip.setText(how == "ok" ? QStringLiteral("1000003") : QStringLiteral("100"));
    QVERIFY(RunWithWindow(LookUpAddressByZip, [&] {
        if (how == "ok") {
            Click("Button1");
            return;
        }
        const QModelIndex row = List()->model()->index(2, 1);
        List()->setCurrentIndex(row);
        if (how == "enter")
            QTest::keyClick(List(), Qt::Key_Return);
        else {
            const QPoint at = List()->visualRect(row).center();
            QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
        }
    }));
    QCOMPARE(page_->zip.text(), QStringLiteral("100-0003"));
    QCOMPARE(page_->address1.text(), QStringLiteral("東京都千代田区一ツ橋"));
    QVERIFY(prompt_->calls().empty());
}

void TestFormSearchZip::nothingHappensWithoutSelectedCustomer_data() {
    QTest::addColumn<Lookup>("lookup");
    QTest::newRow("by code") << Lookup(LookUpAddressByZip);
    QTest::newRow("by address") << Lookup(LookUpZipByAddress);
}

void TestFormSearchZip::nothingHappensWithoutSelectedCustomer() {
    QFETCH(Lookup, lookup);
    QVERIFY(QFile::remove(ZipFilePath(dataDir_->path())));
    bool shown = false;
    QTimer::singleShot(0, form_.get(), [&] {
        shown = form_->isVisible();
        form_->reject();
    });
    lookup(*form_, Target(false));
    QCoreApplication::processEvents();
    QVERIFY(!shown);
    QVERIFY(prompt_->calls().empty());
    QCOMPARE(page_->zip.text(), QStringLiteral("100"));
    QCOMPARE(page_->address1.text(), QStringLiteral("千代田区"));
}

void TestFormSearchZip::failuresLeaveTheEditsAlone_data() {
    QTest::addColumn<Lookup>("lookup");
    QTest::addColumn<QString>("zip");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("removeFile");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");

    const QString missing = QStringLiteral("zip.dat」を開けませんでした。");
    QTest::newRow("code not found") << Lookup(LookUpAddressByZip) << "999-9999"
                                    << "x" << false << "message"
                                    << "郵便番号が不明です";
    QTest::newRow("code too short") << Lookup(LookUpAddressByZip) << "1-0"
                                    << "x" << true << "message"
                                    << "郵便番号が不明です";
    QTest::newRow("address not found") << Lookup(LookUpZipByAddress) << "100"
                                       << "大阪府" << false << "message"
                                       << "住所が不明です";
    QTest::newRow("address empty") << Lookup(LookUpZipByAddress) << "100"
                                   << "" << true << "message"
                                   << "住所が不明です";
    QTest::newRow("code, file missing") << Lookup(LookUpAddressByZip) << "100"
                                        << "x" << true << "error" << missing;
    QTest::newRow("address, file missing") << Lookup(LookUpZipByAddress) << "100"
                                           << "x" << true << "error" << missing;
}

void TestFormSearchZip::failuresLeaveTheEditsAlone() {
    QFETCH(Lookup, lookup);
    QFETCH(QString, zip);
    QFETCH(QString, address);
    QFETCH(bool, removeFile);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    if (removeFile)
        QVERIFY(QFile::remove(ZipFilePath(dataDir_->path())));
    page_->zip.setText(zip);
    page_->address1.setText(address);

    bool shown = false;
    QTimer::singleShot(0, form_.get(), [&] {
        shown = form_->isVisible();
        form_->reject();
    });
    lookup(*form_, Target());
    QCoreApplication::processEvents();
    QVERIFY(!shown);
    QCOMPARE(prompt_->calls().size(), size_t(1));
    QCOMPARE(prompt_->calls().front().kind, kind);
    QVERIFY2(prompt_->calls().front().text.contains(text),
             qPrintable(prompt_->calls().front().text));
    QCOMPARE(page_->zip.text(), zip);
    QCOMPARE(page_->address1.text(), address);
}

QTEST_MAIN(TestFormSearchZip)
#include "tst_formsearchzip.moc"
