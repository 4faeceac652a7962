#pragma once

// "宛名印刷": the address print window. The user picks the paper, the writing and the font,
// places the frames of the face on a preview of the paper and prints the marked customers.
// The composition of a face and the print run come with PrintAddressServices.

#include "print/FaceSettings.h"
#include "print/PrintAdjust.h"
#include "print/PrintFrames.h"
#include "print/PrintList.h"
#include "print/PrintRun.h"
#include "printui/PrintAddressServices.h"

#include <QDialog>
#include <QPrinter>

class AppContext;
class FramePlacementPreview;
class LabelSheetTab;
class QButtonGroup;
class QCheckBox;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
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
    const FrameSet &Frames() const;
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
    void LabelSheetSelected(bool usable);
    void Button2Click();
    void ButtonAdjustClick();
    void TestPrintClick();
    void ButtonPrintClick();
    void ButtonPrintSampleClick();
    void ButtonCancelClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QWidget *BuildPostcardTab();
    void ApplyShapeVisibility();
    void ReselectPaperKind();
    void ChangeDirection(bool vertical);
    void EnterLabelTab();
    // The label tab's sheet into the request; false, with the user told, when there is none.
    bool ChooseSheet(PrintRunRequest &request);
    // Checks, sets up the printer and prints these rows; the offset follows the printer chosen.
    void PrintRows(const QList<PrintRow> &rows, int firstLabel, const QString &documentName);
    int SelectedPrintRow() const;
    QList<int> SelectedPrintRows() const;
    bool IsLabelTab() const;

    AppContext &context_;
    QString dataPath_;
    const PrintAddressServices services_;
    QPrinter printer_;

    // Window state.
    int paperKind_ = kDefaultPaperKind;
    QSizeF paperMm_{100, 148};
    int pictureKind_ = kDefaultPaperKind;
    PrintAdjustments offsets_;
    bool opening_ = false;
    bool sortAscending_ = false;

    FramePlacementPreview *preview_ = nullptr;
    // Postcards and envelopes, labels.
    QTabWidget *PCPrintType = nullptr;
    LabelSheetTab *labelTab_ = nullptr;
    QButtonGroup *paperButtons_ = nullptr;
    QRadioButton *RadioButtonTate = nullptr;
    QRadioButton *RadioButtonYoko = nullptr;
    QRadioButton *RadioButtonKanjiDigits = nullptr;
    QRadioButton *RadioButtonKanjiCounted = nullptr;
    QCheckBox *CheckBoxPrintSender = nullptr;
    QPushButton *ButtonPrintConfig = nullptr;

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
    QPushButton *ButtonPrintSample = nullptr;
    QPushButton *ButtonCancel = nullptr;

    TFormWarituke *FormWarituke = nullptr;
    TFormPrintCheck *FormPrintCheck = nullptr;
    TFormPrintAdjust *FormPrintAdjust = nullptr;
};
