#pragma once

// "宛名印刷": the address print window. The user picks the paper, the writing and the font,
// places the frames of the face on a preview of the paper and prints the marked customers.
// The composition of a face and the print run come with PrintAddressServices.

#include "print/FaceSettings.h"
#include "print/PaperSheets.h"
#include "print/PrintAdjust.h"
#include "print/PrintFrames.h"
#include "print/PrintList.h"
#include "print/PrintRun.h"
#include "printui/PrintAddressServices.h"

#include <QDialog>
#include <QImage>
#include <QPrinter>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class AppContext;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QPainter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabBar;
class QTabWidget;
class QTableView;
class QTableWidget;
class TFormAddPaper;
class TFormPrintAdjust;
class TFormPrintCheck;
class TFormWarituke;

class TPrintAddress : public QDialog {
    Q_OBJECT

public:
    // The context gives the book, the data folder, the listed customers (read at every opening)
    // and the prompt service; it must outlive the window. Every service must be given.
    TPrintAddress(AppContext &context, PrintAddressServices services, QWidget *parent = nullptr);
    ~TPrintAddress() override;

    FaceSettings CurrentFaceSettings() const;
    QPrinter &Printer() { return printer_; }
    const FrameSet &Frames() const { return frames_; }
    int PaperKindNumber() const { return paperKind_; }

    void FormShow();
    void LoadPrintSettings();
    void SavePrintSettings();
    void FillFontList();
    void RefreshPreview();

public slots:
    void PaperButtonClick(int kind);
    void PCPrintTypeChange(int index);
    void RadioButtonTateClick();
    void RadioButtonYokoClick();
    void CBCostomClick();
    void CheckBoxPrintSenderClick();
    void ButtonPrintConfigClick();
    void RBWaritukeAutoClick();
    void RBWaritukeManualClick();
    void BtnWaritukeClick();
    void ListViewPrintSelectItem();
    void ListViewPrintColumnClick(int column);
    void N1Click();
    void N2Click();
    void ListBoxFontClick();
    void TCMakerChange();
    void ListViewPaperSelectItem();
    void Button4Click();
    void Button3Click();
    void Button2Click();
    void ButtonAdjustClick();
    void TestPrintClick();
    void ButtonPrintClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildPreview();
    QWidget *BuildPostcardTab();
    QWidget *BuildLabelTab();
    void ApplyFrames();
    void ApplyShapeVisibility();
    void SetPanelSize(const QSize &size);
    void ReloadPicture();
    void HideSquares();
    void ShowSquares();
    void ReselectPaperKind();
    void ChangeDirection(bool vertical);
    void EnterLabelTab();
    bool ReloadPaperList(bool reportFailure);
    void SelectPaperRow(int row);
    void SelectSheet();
    void RefreshSheetMap();
    // The label tab's sheet into the request; false, with the user told, when there is none.
    bool ChooseSheet(PrintRunRequest &request);
    int SelectedPaperRow() const;
    int SelectedPrintRow() const;
    QList<int> SelectedPrintRows() const;
    bool IsLabelTab() const;
    std::optional<PrintFrame> FrameOfShape(QObject *shape) const;
    void ShapeMouseDown(PrintFrame frame, const QPoint &panelPos);
    void ShapeMouseMove(const QPoint &panelPos);
    void SquareMouseDown(FrameCorner corner);
    void SquareMouseMove(const QPoint &panelPos);
    void MouseUp();

    AppContext &context_;
    QString dataPath_;
    const PrintAddressServices services_;
    QPrinter printer_;

    // Window state.
    int paperKind_ = kDefaultPaperKind;
    QSizeF paperMm_{100, 148};
    int pictureKind_ = kDefaultPaperKind;
    FrameSet frames_;
    PrintOffsets offsets_{};
    QList<LabelSheet> listedSheets_;
    std::optional<SheetGeometry> sheet_;
    bool opening_ = false;
    std::optional<PrintFrame> selectedFrame_;
    bool moving_ = false;
    bool resizing_ = false;
    FrameCorner resizeCorner_ = FrameCorner::LeftTop;
    QPoint lastMouse_;
    bool sortAscending_ = false;
    QImage overlay_;

    // Preview.
    QWidget *PanelPreview = nullptr;
    QLabel *ImagePreview = nullptr;
    QWidget *DrawTextImage = nullptr;
    std::array<QWidget *, kFrameCount> shapes_{};
    std::array<QWidget *, 4> squares_{};

    // Postcards and envelopes, labels.
    QTabWidget *PCPrintType = nullptr;
    QButtonGroup *paperButtons_ = nullptr;
    QRadioButton *RadioButtonTate = nullptr;
    QRadioButton *RadioButtonYoko = nullptr;
    QRadioButton *RadioButtonKanjiDigits = nullptr;
    QRadioButton *RadioButtonKanjiCounted = nullptr;
    QCheckBox *CheckBoxPrintSender = nullptr;
    QPushButton *ButtonPrintConfig = nullptr;
    QTabBar *TCMaker = nullptr;
    QTableWidget *ListViewPaper = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QSpinBox *SpinFirstLabel = nullptr;
    QLabel *ImageSheetMap = nullptr;

    QCheckBox *CBCostom = nullptr;
    QRadioButton *RBWaritukeAuto = nullptr;
    QRadioButton *RBWaritukeManual = nullptr;
    QPushButton *BtnWarituke = nullptr;
    QListWidget *ListBoxFont = nullptr;
    QTableView *ListViewPrint = nullptr;
    PrintListModel *printRows_ = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *ButtonAdjust = nullptr;
    QPushButton *ButtonPrint = nullptr;
    QPushButton *ButtonCancel = nullptr;

    TFormWarituke *FormWarituke = nullptr;
    TFormAddPaper *FormAddPaper = nullptr;
    TFormPrintCheck *FormPrintCheck = nullptr;
    TFormPrintAdjust *FormPrintAdjust = nullptr;
};
