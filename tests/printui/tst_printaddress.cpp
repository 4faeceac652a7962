#include "../common/TestContext.h"
#include "../common/TestEnv.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "print/PaperSheets.h"
#include "print/PrintSettings.h"
#include "printui/LabelSheetTab.h"
#include "printui/PrintAddress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <functional>

namespace {

struct DrawCall {
    int dpiX = 0;
    int dpiY = 0;
    int gap = 0;
    QString name;
    FaceSettings face;
};

} // namespace

class TestPrintAddress : public QObject {
    Q_OBJECT

private slots:
    void init() {
        env_ = std::make_unique<TestEnv>();
        ids_.clear();
        ids_ << env_->AddCustomer("青木 一郎", "ｱｵｷ", true);
        ids_ << env_->AddCustomer("伊藤 二郎", "ｲﾄｳ", false);
        ids_ << env_->AddCustomer("上田 三郎", "ｳｴﾀﾞ", true);
    }
    void cleanup() {
        window_.reset();
        context_.reset();
        env_.reset();
    }

    // The sender data is read at every opening; "印刷項目設定" turns the sender's printing on.
    void senderWindowsAtOpeningAndPrintConfig() {
        Open();
        QCOMPARE(senderReloads_, 1);
        window_->findChild<QPushButton *>("ButtonPrintConfig")->click();
        QCOMPARE(senderConfigsShown_, 1);
        QVERIFY(window_->findChild<QCheckBox *>("CheckBoxPrintSender")->isChecked());
        window_->hide();
        window_->show();
        QCOMPARE(senderReloads_, 2);
    }

    void opensWithTheMarkedCustomersAndPreviewsTheFirst() {
        Open();
        QCOMPARE(window_->windowTitle(), QString("宛名印刷"));
        auto *list = window_->findChild<QTableView *>("ListViewPrint");
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->headerData(1, Qt::Horizontal).toString(), QString("氏名"));
        QVERIFY(!draws_.isEmpty());
        const DrawCall &last = draws_.last();
        QCOMPARE(last.name, QString("青木 一郎"));
        // A 100 x 148 mm postcard on a 304 x 450 pixel preview.
        QCOMPARE(last.dpiX, 77);
        QCOMPARE(last.dpiY, 77);
        QCOMPARE(last.gap, 1);
        QCOMPARE(last.face.PaperMm, QSizeF(100, 148));
        QCOMPARE(last.face.PictureHeight, 450);
        QCOMPARE(last.face.PreviewPixelsPerMm, 3.04);
        QVERIFY(last.face.Vertical);
        QVERIFY(last.face.FaceName.startsWith("@"));
        QCOMPARE(last.face.Frames, DefaultFrames(3, true));
        QCOMPARE(window_->PaperKindNumber(), 3);
        QVERIFY(env_->prompt().calls().empty());
    }

    void sortingKeepsTheSelectedCustomer() {
        Open();
        auto *list = window_->findChild<QTableView *>("ListViewPrint");
        list->selectRow(1);
        QCOMPARE(draws_.last().name, QString("上田 三郎"));
        window_->ListViewPrintColumnClick(1);
        QCOMPARE(list->model()->index(0, 1).data().toString(), QString("上田 三郎"));
        QCOMPARE(list->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), 0);
        window_->ListViewPrintColumnClick(1);
        QCOMPARE(list->model()->index(0, 1).data().toString(), QString("青木 一郎"));
        QCOMPARE(list->selectionModel()->selectedRows().first().row(), 1);
    }

    void fontListOffersInstalledJapaneseFacesByDirection() {
        Open();
        auto *fonts = window_->findChild<QListWidget *>("ListBoxFont");
        QVERIFY(fonts->count() > 0);
        QCOMPARE(fonts->currentItem()->text(), QString("@IPAPGothic"));
        for (int i = 0; i < fonts->count(); ++i)
            QVERIFY(fonts->item(i)->text().startsWith("@"));
        Radio("RadioButtonYoko")->setChecked(true);
        QCOMPARE(fonts->currentItem()->text(), QString("IPAPGothic"));
        for (int i = 0; i < fonts->count(); ++i)
            QVERIFY(!fonts->item(i)->text().contains("@"));
    }

    void storedFontThatIsNotInstalledFallsBackToAnInstalledFace_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QString>("selected");
        QTest::newRow("installed") << "IPAexMincho" << false << "IPAexMincho";
        QTest::newRow("installed, vertical") << "@IPAexMincho" << true << "@IPAexMincho";
        QTest::newRow("Mincho not installed") << "ＭＳ 明朝" << false << "IPAMincho";
        QTest::newRow("vertical Gothic not installed")
            << "@ＭＳ Ｐゴシック" << true << "@IPAPGothic";
    }
    void storedFontThatIsNotInstalledFallsBackToAnInstalledFace() {
        QFETCH(QString, stored);
        QFETCH(bool, vertical);
        QFETCH(QString, selected);
        IniFile ini(env_->dataPath() + "conf.ini");
        ini.Load();
        ini.WriteString(kPrintConfSection, "FONT", stored);
        ini.WriteBool(kPrintConfSection, "VERTICAL", vertical);
        QVERIFY(ini.Save());
        Open();
        QCOMPARE(window_->CurrentFaceSettings().FaceName, selected);
    }

    void paperKindsPlaceTheirDefaultFramesForTheDirection() {
        Open();
        Radio("RadioButtonYoko")->setChecked(true);
        QCOMPARE(window_->Frames(), DefaultFrames(3, false));
        window_->findChild<QAbstractButton *>("SBTyou3")->click();
        QCOMPARE(window_->PaperKindNumber(), 5);
        QCOMPARE(window_->Frames(), DefaultFrames(5, false));
        QCOMPARE(window_->findChild<QWidget *>("PanelPreview")->size(), QSize(230, 450));
        QCOMPARE(draws_.last().face.PaperMm, QSizeF(120, 235));
        // Envelopes keep their frames when the direction changes.
        Radio("RadioButtonTate")->setChecked(true);
        QCOMPARE(window_->Frames(), DefaultFrames(5, false));
        window_->findChild<QAbstractButton *>("SpeedButtonPaper1")->click();
        QCOMPARE(window_->Frames(), DefaultFrames(1, true));
    }

    void labelTabForcesHorizontalWritingWithoutSender() {
        Open();
        window_->findChild<QCheckBox *>("CheckBoxPrintSender")->setChecked(true);
        QVERIFY(Shape("ShapeSender")->isVisible());
        Tabs()->setCurrentIndex(1);
        QVERIFY(Radio("RadioButtonYoko")->isChecked());
        QVERIFY(!window_->findChild<QCheckBox *>("CheckBoxPrintSender")->isChecked());
        QVERIFY(!Shape("ShapeSender")->isVisible());
        QVERIFY(!Shape("UnderPostCodeShape")->isVisible());
        auto *papers = window_->findChild<QTableWidget *>("ListViewPaper");
        QCOMPARE(window_->findChild<QTabBar *>("TCMaker")->currentIndex(), 1);
        QCOMPARE(papers->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(papers->item(0, 0)->text(), QString("ELM005 8面"));
        const FaceSettings face = window_->CurrentFaceSettings();
        QVERIFY(face.LabelTab);
        QVERIFY(!face.PrintSender);
        QCOMPARE(face.PaperMm, QSizeF(98, 68));
        QCOMPARE(window_->findChild<QWidget *>("PanelPreview")->size(), QSize(304, 211));
        // The frames follow the label's size.
        QCOMPARE(window_->Frames(), LabelTabFrames(QSize(304, 211)));
    }

    void framesAreDraggedInsideThePreviewOnly() {
        Open();
        QWidget *panel = window_->findChild<QWidget *>("PanelPreview");
        const QRect before = window_->Frames()[int(PrintFrame::Address)];
        Drag(Shape("ShapeAddress"), before.center(), before.center() + QPoint(500, -500));
        const QRect moved = window_->Frames()[int(PrintFrame::Address)];
        QCOMPARE(moved.size(), before.size());
        QCOMPARE(moved.top(), 0);
        QCOMPARE(moved.left() + moved.width(), panel->width() + kFrameOverhang);
        QCOMPARE(Shape("ShapeAddress")->geometry(), moved);
        QVERIFY(window_->findChild<QWidget *>("ShapeSquRightButtom")->isVisible());
    }

    void postalFramesResizeOnlyOnTheLabelTab() {
        Open();
        const QRect postal = window_->Frames()[int(PrintFrame::UpperPostCode)];
        Press(Shape("UpperPostCodeShape"), postal.center());
        Release(Shape("UpperPostCodeShape"), postal.center());
        auto *square = window_->findChild<QWidget *>("ShapeSquRightButtom");
        Drag(square, Corner(postal), Corner(postal) + QPoint(30, 30));
        QCOMPARE(window_->Frames()[int(PrintFrame::UpperPostCode)], postal);

        const QRect name = window_->Frames()[int(PrintFrame::Name)];
        Press(Shape("ShapeName"), name.center());
        Release(Shape("ShapeName"), name.center());
        Drag(square, Corner(name), QPoint(name.left() + 3, name.top() + 3));
        QCOMPARE(window_->Frames()[int(PrintFrame::Name)],
                 QRect(name.topLeft(), QSize(kMinFrameSize, kMinFrameSize)));

        Tabs()->setCurrentIndex(1);
        const QRect labelPostal = window_->Frames()[int(PrintFrame::UpperPostCode)];
        Press(Shape("UpperPostCodeShape"), labelPostal.center());
        Release(Shape("UpperPostCodeShape"), labelPostal.center());
        Drag(square, Corner(labelPostal), Corner(labelPostal) + QPoint(20, 10));
        QCOMPARE(window_->Frames()[int(PrintFrame::UpperPostCode)].size(),
                 labelPostal.size() + QSize(20, 10));
    }

    void closingSavesAndOpeningRestoresTheChoices() {
        Open();
        Radio("RadioButtonYoko")->setChecked(true);
        window_->findChild<QAbstractButton *>("SBKaku3")->click();
        window_->findChild<QCheckBox *>("CBCostom")->setChecked(true);
        auto *fonts = window_->findChild<QListWidget *>("ListBoxFont");
        fonts->setCurrentItem(fonts->findItems("IPAexMincho", Qt::MatchExactly).first());
        const QRect address = window_->Frames()[int(PrintFrame::Address)];
        Drag(Shape("ShapeAddress"), address.center(), address.center() + QPoint(-7, 9));
        const FrameSet frames = window_->Frames();
        window_->findChild<QPushButton *>("ButtonCancel")->click();
        QVERIFY(!window_->isVisible());

        IniFile ini(env_->dataPath() + "conf.ini");
        QVERIFY(ini.Load());
        QCOMPARE(ini.ReadString(kPrintConfSection, "POSTCARD_INDEX"), QString("10"));
        QCOMPARE(ini.ReadString(kPrintConfSection, "FONT"), QString("IPAexMincho"));
        QCOMPARE(ini.ReadString(kPrintConfSection, "P_MAKER"), QString("1"));

        Open();
        QCOMPARE(window_->PaperKindNumber(), 10);
        QCOMPARE(window_->Frames(), frames);
        const FaceSettings face = window_->CurrentFaceSettings();
        // 角形3号 is 216 x 277 mm (was wrongly 227 mm high).
        QCOMPARE(face.PaperMm, QSizeF(216, 277));
        QVERIFY(!face.Vertical);
        QVERIFY(face.PrintCostom);
        QCOMPARE(face.FaceName, QString("IPAexMincho"));
    }

    // The numerals and the printer adjustment reach the face and the run, and are kept.
    void numeralsAndAdjustmentReachTheRunAndAreKept() {
        Open();
        Radio("RadioButtonKanjiCounted")->setChecked(true);
        QVERIFY(draws_.last().face.CountedNumerals);
        QTimer::singleShot(0, window_.get(), [this] {
            auto *adjust = window_->findChild<QDialog *>("FormPrintAdjust");
            adjust->findChild<QDoubleSpinBox *>("SpinAdjustRight")->setValue(0.3);
            adjust->findChild<QDoubleSpinBox *>("SpinAdjustDown")->setValue(-1.2);
            adjust->findChild<QPushButton *>("ButtonAdjustClose")->click();
        });
        window_->findChild<QPushButton *>("ButtonAdjust")->click();
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(runs_.size(), 1);
        QCOMPARE(runs_[0].OffsetMm, QPointF(0.3, -1.2));
        window_->findChild<QPushButton *>("ButtonCancel")->click();

        IniFile ini(env_->dataPath() + "conf.ini");
        QVERIFY(ini.Load());
        QCOMPARE(ini.ReadString(kPrintConfSection, "KANJI_COUNTED"), QString("1"));
        // Kept for the printer the window prints with (the common entry where there is none).
        QCOMPARE(ReadPrintSettings(ini).Offsets.For(window_->Printer().printerName(), 3),
                 QPoint(3, -12));
        Open();
        QVERIFY(Radio("RadioButtonKanjiCounted")->isChecked());
    }

    // A partly used sheet: the first label goes to the run, and the sheet's miniature marks it.
    void runStartsAtTheChosenLabel() {
        Open();
        Tabs()->setCurrentIndex(1);
        auto *first = window_->findChild<QSpinBox *>("SpinFirstLabel");
        QCOMPARE(first->maximum(), 8); // ELM005 8面
        first->setValue(4);
        const QImage map = window_->findChild<QLabel *>("ImageSheetMap")->pixmap().toImage();
        int red = 0;
        for (int y = 0; y < map.height(); ++y)
            for (int x = 0; x < map.width(); ++x)
                red += map.pixel(x, y) == QColor(Qt::red).rgb();
        QVERIFY(red > 0);
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(runs_.size(), 1);
        QCOMPARE(runs_[0].FirstLabel, 3);
    }

    void labelChoiceIsRestored() {
        Open();
        Tabs()->setCurrentIndex(1);
        window_->findChild<QTabBar *>("TCMaker")->setCurrentIndex(2);
        window_->findChild<QTableWidget *>("ListViewPaper")->selectRow(1);
        QCOMPARE(window_->CurrentFaceSettings().PaperMm, QSizeF(48.3, 25.4));
        window_->findChild<QPushButton *>("ButtonCancel")->click();
        Open();
        QCOMPARE(Tabs()->currentIndex(), 1);
        QCOMPARE(window_->findChild<QTabBar *>("TCMaker")->currentIndex(), 2);
        QCOMPARE(window_->CurrentFaceSettings().PaperMm, QSizeF(48.3, 25.4));
        QCOMPARE(window_->findChild<QWidget *>("PanelPreview")->size(), QSize(304, 160));
    }

    void unusableConfValuesFallBack() {
        QVERIFY(TextFile::WriteLines(env_->dataPath() + "conf.ini",
                                     {"[PRINT_CONF]", "TYPE=7", "POSTCARD_INDEX=abc",
                                      "ADD_LEFT=900", "ADD_TOP=-4", "NAM_WID=0"}));
        Open();
        QCOMPARE(Tabs()->currentIndex(), 0);
        QCOMPARE(window_->PaperKindNumber(), 3);
        const QRect address = window_->Frames()[int(PrintFrame::Address)];
        QCOMPARE(address.top(), 120);
        QCOMPARE(address.left() + address.width(), 304 + kFrameOverhang);
        QCOMPARE(window_->Frames()[int(PrintFrame::Name)].width(), 81);
    }

    void printRunGetsTheMarkedRowsOnly() {
        Open();
        auto *list = window_->findChild<QTableView *>("ListViewPrint");
        list->selectRow(0);
        window_->N1Click();
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(runs_.size(), 1);
        QCOMPARE(runs_[0].Rows.size(), 1);
        QCOMPARE(runs_[0].Rows[0].Customer.name, QString("上田 三郎"));
        QVERIFY(!runs_[0].Sheet);
        QCOMPARE(window_->Printer().docName(), QString("印刷"));

        env_->prompt().PushPrinterSetup(false);
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(runs_.size(), 1);

        list->selectRow(1);
        window_->N1Click();
        env_->prompt().Clear();
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(env_->prompt().Texts("warning"), QStringList{"印刷対象がありません。"});
        QCOMPARE(runs_.size(), 1);
    }

    // One face of the row in the preview, marked or not, to hold against the card.
    void sampleRunPrintsTheRowShown() {
        Open();
        auto *list = window_->findChild<QTableView *>("ListViewPrint");
        list->clearSelection();
        window_->findChild<QPushButton *>("ButtonPrintSample")->click();
        QCOMPARE(env_->prompt().Texts("warning").size(), 1);
        QVERIFY(runs_.isEmpty());
        list->selectRow(1);
        window_->N1Click();
        window_->findChild<QPushButton *>("ButtonPrintSample")->click();
        QCOMPARE(runs_.size(), 1);
        QCOMPARE(runs_[0].Rows.size(), 1);
        QCOMPARE(runs_[0].Rows[0].Customer.name, draws_.last().name);
    }

    void labelRunTakesTheSheetAndItsDirection() {
        QVERIFY(AppendToPaperFile(
            {"*ヒサゴ,横10面", "1'", "50'", "40'", "10'", "10'", "10'", "10'", "5'", "4'"}));
        Open();
        Tabs()->setCurrentIndex(1);
        auto *papers = window_->findChild<QTableWidget *>("ListViewPaper");
        papers->selectRow(papers->rowCount() - 1);
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(runs_.size(), 1);
        QVERIFY(runs_[0].Sheet);
        QCOMPARE(runs_[0].Sheet->Columns, 5);
        QCOMPARE(runs_[0].Face.PaperMm, QSizeF(50, 40));
        QCOMPARE(window_->Printer().pageLayout().orientation(), QPageLayout::Landscape);
    }

    void brokenSheetIsNeverPrinted() {
        QVERIFY(AppendToPaperFile(
            {"*ヒサゴ,壊れた", "0'", "50'", "40'", "10'", "10'", "10'", "10'", "0'", "x'"}));
        Open();
        Tabs()->setCurrentIndex(1);
        auto *papers = window_->findChild<QTableWidget *>("ListViewPaper");
        const QSizeF before = window_->CurrentFaceSettings().PaperMm;
        papers->selectRow(papers->rowCount() - 1);
        QCOMPARE(env_->prompt().Texts("error"), QStringList{kBadSheetMessage});
        QCOMPARE(window_->CurrentFaceSettings().PaperMm, before);
        env_->prompt().Clear();
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(env_->prompt().Texts("error"), QStringList{kBadSheetMessage});
        QVERIFY(runs_.isEmpty());
    }

    void missingPaperFileLeavesTheListEmpty() {
        QVERIFY(QFile::remove(env_->dataPath() + kPaperFileName));
        Open();
        Tabs()->setCurrentIndex(1);
        QCOMPARE(window_->findChild<QTableWidget *>("ListViewPaper")->rowCount(), 0);
        QCOMPARE(env_->prompt().Texts("error").size(), 1);
        env_->prompt().Clear();
        window_->findChild<QPushButton *>("ButtonPrint")->click();
        QCOMPARE(env_->prompt().Texts("warning"), QStringList{"印刷用紙が選択されていません。"});
        QVERIFY(runs_.isEmpty());
    }

    void onlyOwnSheetsAreDeleted() {
        NewSheetInput in{{"50", "40", "10", "10", "10", "10", "2", "3"}, "自作", false};
        QCOMPARE(AddOriginalSheet(env_->dataPath() + kPaperFileName, in), AddSheetResult::Added);
        Open();
        Tabs()->setCurrentIndex(1);
        auto *makers = window_->findChild<QTabBar *>("TCMaker");
        auto *papers = window_->findChild<QTableWidget *>("ListViewPaper");
        QVERIFY(!window_->findChild<QPushButton *>("Button3")->isEnabled());
        papers->selectRow(0);
        env_->prompt().Clear();
        window_->findChild<LabelSheetTab *>()->Button3Click();
        QCOMPARE(env_->prompt().Texts("warning"),
                 QStringList{"オリジナル欄以外のラベルは削除できません"});
        QCOMPARE(papers->rowCount(), 12);

        makers->setCurrentIndex(0);
        QVERIFY(window_->findChild<QPushButton *>("Button3")->isEnabled());
        QCOMPARE(papers->rowCount(), 1);
        env_->prompt().Clear();
        window_->findChild<LabelSheetTab *>()->Button3Click();
        QCOMPARE(env_->prompt().Texts("warning"), QStringList{"削除するラベルを選択して下さい"});
        papers->selectRow(0);
        env_->prompt().PushAnswer(Prompt::Answer::No);
        window_->findChild<LabelSheetTab *>()->Button3Click();
        QCOMPARE(papers->rowCount(), 1);
        papers->selectRow(0);
        window_->findChild<LabelSheetTab *>()->Button3Click();
        QCOMPARE(env_->prompt().Texts("confirm").last(), QString("自作を削除しますか？"));
        QCOMPARE(papers->rowCount(), 0);
    }

    void manualFontSizesReachTheFace() {
        Open();
        QCOMPARE(draws_.last().face.FontSizes, FontSizeOffsets());
        QVERIFY(!window_->findChild<QPushButton *>("BtnWarituke")->isEnabled());
        auto *warituke = window_->findChild<QDialog *>("FormWarituke");
        warituke->findChild<QComboBox *>("CBAtenaName")->setCurrentText("+ 3");
        Radio("RBWaritukeManual")->setChecked(true);
        QVERIFY(window_->findChild<QPushButton *>("BtnWarituke")->isEnabled());
        QCOMPARE(draws_.last().face.FontSizes.RecipientName, 3);
        Radio("RBWaritukeAuto")->setChecked(true);
        QCOMPARE(draws_.last().face.FontSizes.RecipientName, 0);
        Radio("RBWaritukeManual")->setChecked(true);
        QCOMPARE(draws_.last().face.FontSizes.RecipientName, 3);
    }

    // The face and the printable area land where the frames put the paper's millimetres: a
    // square the face draws 10 mm from the paper's far corner, the red rectangle at the margins
    // the printer has for that paper.
    void previewShowsFaceAndMarginsToScale_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("New Year card") << "SpeedButtonPaper3";
        QTest::newRow("長形3号(横)") << "SBTyou3Y";
        QTest::newRow("角形2号") << "SBKaku2";
        QTest::newRow("角形3号") << "SBKaku3";
    }
    void previewShowsFaceAndMarginsToScale() {
        QFETCH(QString, button);
        Open();
        window_->findChild<QAbstractButton *>(button)->click();
        const QSizeF paper = window_->CurrentFaceSettings().PaperMm;
        QWidget *panel = window_->findChild<QWidget *>("PanelPreview");
        const double perMm = panel->width() / paper.width();
        const QImage shown = panel->grab().toImage();
        // The millimetres covered by the pixels of one colour, each edge within 0.8 mm.
        const auto covers = [&](const std::function<bool(QColor)> &colour, const QRectF &mm) {
            QRect found;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    if (colour(shown.pixelColor(x, y)))
                        found |= QRect(x, y, 1, 1);
            const QRectF got(QPointF(found.topLeft()) / perMm, QSizeF(found.size()) / perMm);
            return qAbs(got.left() - mm.left()) < 0.8 && qAbs(got.top() - mm.top()) < 0.8 &&
                   qAbs(got.right() - mm.right()) < 0.8 && qAbs(got.bottom() - mm.bottom()) < 0.8;
        };
        QVERIFY(covers([](QColor c) { return c.value() < 20; },
                       QRectF(paper.width() - 15, paper.height() - 15, 5, 5)));
        QPrinter printer(QPrinter::HighResolution);
        PrintRunRequest run;
        run.Face.PaperMm = paper;
        SetPaperOf(printer, run);
        QVERIFY(covers([](QColor c) { return c.red() > 200 && c.green() < 30 && c.blue() < 30; },
                       printer.pageLayout().paintRect(QPageLayout::Millimeter)));
    }

    void printerGetsThePaperOfTheFaces_data() {
        QTest::addColumn<QSizeF>("faceMm");
        QTest::addColumn<bool>("labelSheet");
        QTest::addColumn<QSizeF>("pageMm");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("postcard") << QSizeF(100, 148) << false << QSizeF(100, 148) << false;
        QTest::newRow("face wider than high")
            << QSizeF(235, 120) << false << QSizeF(120, 235) << true;
        QTest::newRow("landscape sheet") << QSizeF(297, 210) << true << QSizeF(210, 297) << true;
        QTest::newRow("portrait sheet") << QSizeF(210, 297) << true << QSizeF(210, 297) << false;
    }
    void printerGetsThePaperOfTheFaces() {
        QFETCH(QSizeF, faceMm);
        QFETCH(bool, labelSheet);
        QFETCH(QSizeF, pageMm);
        QFETCH(bool, landscape);
        PrintRunRequest request;
        request.Face.PaperMm = faceMm;
        if (labelSheet) {
            request.Sheet = SheetGeometry{};
            request.Sheet->SheetMm = faceMm;
            request.Sheet->Landscape = faceMm.width() > faceMm.height();
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        SetPaperOf(printer, request);
        const QSizeF size = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
        QVERIFY(qAbs(size.width() - pageMm.width()) < 1 &&
                qAbs(size.height() - pageMm.height()) < 1);
        QCOMPARE(printer.pageLayout().orientation() == QPageLayout::Landscape, landscape);
    }

private:
    void Open() {
        context_ = std::make_unique<TestContext>(*env_);
        context_->listed = {ids_.begin(), ids_.end()};
        PrintAddressServices services;
        // A black square 5 mm wide, 10 mm from the paper's far corner.
        services.drawFace = [this](QPainter &painter, const FaceSettings &face, int dpiX, int dpiY,
                                   int gap, const PrintRow &row) {
            draws_.append({dpiX, dpiY, gap, row.Customer.name, face});
            const QSizeF corner = (face.PaperMm - QSizeF(15, 15)) * dpiX / 25.4;
            painter.fillRect(
                QRectF(corner.width(), corner.height(), 5 * dpiX / 25.4, 5 * dpiY / 25.4),
                Qt::black);
        };
        services.runPrint = [this](QPrinter &, const PrintRunRequest &request, QWidget &) {
            runs_.append(request);
        };
        services.checkAddresses = [](const PrintRunRequest &, QWidget &) {
            return std::optional<QList<AddressProblem>>(QList<AddressProblem>());
        };
        services.reloadSenderData = [this] { ++senderReloads_; };
        services.showSenderPrintConfig = [this] { ++senderConfigsShown_; };
        window_ = std::make_unique<TPrintAddress>(*context_, std::move(services));
        draws_.clear();
        runs_.clear();
        senderReloads_ = 0;
        senderConfigsShown_ = 0;
        window_->show();
    }
    bool AppendToPaperFile(const QStringList &added) {
        const QString path = env_->dataPath() + kPaperFileName;
        QStringList lines;
        return TextFile::ReadLines(path, lines) && TextFile::WriteLines(path, lines + added);
    }
    QTabWidget *Tabs() { return window_->findChild<QTabWidget *>("PCPrintType"); }
    QRadioButton *Radio(const char *name) { return window_->findChild<QRadioButton *>(name); }
    QWidget *Shape(const char *name) { return window_->findChild<QWidget *>(name); }
    static QPoint Corner(const QRect &r) { return {r.left() + r.width(), r.top() + r.height()}; }

    // Mouse events at positions of the preview panel.
    void Send(QWidget *target, QEvent::Type type, const QPoint &panelPos, Qt::MouseButtons held) {
        QWidget *panel = window_->findChild<QWidget *>("PanelPreview");
        const QPoint global = panel->mapToGlobal(panelPos);
        QMouseEvent event(type, target->mapFromGlobal(global), global, Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    void Press(QWidget *target, const QPoint &at) {
        Send(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
    }
    void Release(QWidget *target, const QPoint &at) {
        Send(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    void Drag(QWidget *target, const QPoint &from, const QPoint &to) {
        Press(target, from);
        Send(target, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        Send(target, QEvent::MouseMove, to, Qt::LeftButton);
        Release(target, to);
    }

    std::unique_ptr<TestEnv> env_;
    std::unique_ptr<TestContext> context_;
    std::unique_ptr<TPrintAddress> window_;
    QList<int> ids_;
    QList<DrawCall> draws_;
    QList<PrintRunRequest> runs_;
    int senderReloads_ = 0;
    int senderConfigsShown_ = 0;
};

QTEST_MAIN(TestPrintAddress)
#include "tst_printaddress.moc"
