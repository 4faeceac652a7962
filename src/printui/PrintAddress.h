#pragma once

// "宛名印刷": the address print window. The user picks the paper, the writing and the font,
// places the frames of the face on a preview of the paper and prints the marked customers.
//
// What the composition of a face and the print run plug into:
// - SetFaceDrawer: draws one face (white background, then the texts) on a painter whose
//   origin is the face's top left, at the given resolutions. The preview calls it with the
//   preview's resolutions; the preview shows the drawing with its white made transparent.
// - SetPrintRunner: called by "印刷" once the rows to print are known, the paper checked and
//   the printer set up (dialog accepted, orientation and job title set). It begins the job,
//   draws every face (one page per card, or a grid per label sheet: PlaceLabel) and ends it.
// - SetAddressCheck: the problems of the rows about to be printed; when there are any, the
//   user sees them before the printer dialog and may go back.

#include "print/AddressCheck.h"
#include "print/FaceSettings.h"
#include "print/PaperSheets.h"
#include "print/PrintAdjust.h"
#include "print/PrintFrames.h"
#include "print/PrintList.h"
#include "print/PrintRun.h"

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
    using PrintRunner = std::function<void(QPrinter &printer, const PrintRunRequest &request)>;
    // Nothing when the user stopped the check.
    using AddressCheck =
        std::function<std::optional<QList<AddressProblem>>(const PrintRunRequest &request)>;

    // The context gives the book, the data folder, the listed customers (read at every opening)
    // and the prompt service; it must outlive the window.
    explicit TPrintAddress(AppContext &context, QWidget *parent = nullptr);
    ~TPrintAddress() override;

    void SetFaceDrawer(FaceDrawer drawer) { faceDrawer_ = std::move(drawer); }
    void SetPrintRunner(PrintRunner runner) { printRunner_ = std::move(runner); }
    void SetAddressCheck(AddressCheck check) { addressCheck_ = std::move(check); }
    // The sender windows: reloaded at every opening, and "印刷項目設定".
    void SetSenderHooks(std::function<void()> reloadSenderData,
                        std::function<void()> showSenderPrintConfig);

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
    FaceDrawer faceDrawer_;
    PrintRunner printRunner_;
    AddressCheck addressCheck_;
    std::function<void()> reloadSenderData_;
    std::function<void()> showSenderPrintConfig_;
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
