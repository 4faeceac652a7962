#pragma once

#include "store/CustomerRecord.h"
#include "store/HistoryTable.h"

#include <QWidget>
#include <array>
#include <optional>

class AppContext;
class GuardedPlainTextEdit;
class PictureBox;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TFormMemo;

// The editor of the customer selected in the list. There is no save button: every change of a
// field writes the whole row at once. The controls are public, as the other windows read and
// write them (a write counts as a change and is saved like typing).
//
// Buttons whose work lives elsewhere are connected by the main window: the history buttons
// (BtnAddHistory, BtnEditHistory, BtnDelHistory, BtlHisSave and the header of ListViewHistory),
// the pictures (BtnLoadImg1, BtnDelImg1, BtnLoadImg2, BtnDelimg2, Image1/Image2 Clicked), the
// postal lookups (SSB_Zip, SSB_Address, BtnZipOf, BtnAddressOf), the mail links (SSB_Sendmail01,
// ShineSpeedButton1, BtnSendmail03, BtnSendmail04, BtnSendMail) and BtnDel.
class EditPanel : public QWidget {
    Q_OBJECT

public:
    // Saving needs exactly one selected list row; pictures are read from the data folder's
    // picture folder.
    explicit EditPanel(AppContext &context, QWidget *parent = nullptr);

    // Fills the editor from the stored row. False (editor unchanged) when the row is gone.
    // Throws EngineError.
    bool LoadCustomer(int userId);
    // Fills the history box; problems are reported to the user.
    void LoadHistory(int userId);
    // The history box's rows in display order, and showing rows in a new order.
    std::vector<HistoryRow> HistoryRowsShown() const;
    void ShowHistoryRows(const std::vector<HistoryRow> &rows);
    // HistoryId of the selected history row.
    std::optional<int> SelectedHistoryId() const;
    // Writes the editor to the row; problems are reported to the user.
    void SaveCustomer(int userId);
    void ClearEditPanel();
    void EnableEditPanel(bool on);
    // Clears both picture boxes and shows the picture files the row names, when they exist.
    void ShowPictures(const QString &img1, const QString &img2);

    // The row as the editor shows it now.
    CustomerRecord CurrentRecord() const;
    int ShownUserId() const { return loaded_.userId; }
    // Stores the shown customer once more when its last change could not be stored; when that
    // fails too, the user is asked whether the change may be lost (`question`). True when
    // nothing unsaved is left or the user lets it go.
    bool MayDropUnsavedChange(const QString &question);
    TFormMemo *FormMemo() const { return formMemo_; }

    QLineEdit *EditKana;
    QLineEdit *EditMakeday;
    QLineEdit *EditName;
    QComboBox *CBNameTitle;
    QComboBox *CBPrintCtrl;
    QCheckBox *ChbPrint;
    QPushButton *BtnDel;
    QTabWidget *TCUseType;
    QLineEdit *EditZip;
    QLineEdit *EditAddress1;
    QLineEdit *EditAddress2;
    QLineEdit *EditTel1;
    QLineEdit *EditTel2;
    QLineEdit *EditMail1;
    QLineEdit *EditMail2;
    QLineEdit *EditFax;
    QPushButton *SSB_Zip;
    QPushButton *SSB_Address;
    QPushButton *SSB_Sendmail01;
    QPushButton *ShineSpeedButton1;
    QLineEdit *EditOffice;
    QLineEdit *EditOfficeKana;
    QLineEdit *EditOfficeZip;
    QLineEdit *EditOfficeAddress1;
    QLineEdit *EditOfficeAddress2;
    QLineEdit *EditOfficeTel1;
    QLineEdit *EditOfficeTel2;
    QLineEdit *EditOfficeMail1;
    QLineEdit *EditOfficeMail2;
    QLineEdit *EditOfficeFax;
    QLineEdit *EditOfficePost;
    QLineEdit *EditOfficeExecutive;
    QPushButton *BtnZipOf;
    QPushButton *BtnAddressOf;
    QPushButton *BtnSendmail03;
    QPushButton *BtnSendmail04;
    QComboBox *CBClass;
    QComboBox *CBClass2;
    QDateEdit *DTBirthday;
    QLineEdit *EditAge;
    QComboBox *CBSex;
    QPushButton *BtnEtc;
    GuardedPlainTextEdit *MemoEtc;
    std::array<QCheckBox *, 4> ChbRen;     // ChbRen1 ... ChbRen4
    std::array<QLineEdit *, 4> EditRen;    // EditRen1 ... EditRen4
    std::array<QComboBox *, 4> CBRenTitle; // CBRenTitle1 ... CBRenTitle4
    std::array<QLineEdit *, 4> Sashi;      // Sashi1 ... Sashi4
    QGroupBox *GroupBox2;
    QTreeWidget *ListViewHistory;
    QPushButton *BtnAddHistory;
    QPushButton *BtnEditHistory;
    QPushButton *BtnDelHistory;
    QPushButton *BtlHisSave;
    QGroupBox *GroupBox1;
    PictureBox *Image1;
    QPushButton *BtnLoadImg1;
    QPushButton *BtnDelImg1;
    QGroupBox *GroupBox4;
    PictureBox *Image2;
    QPushButton *BtnLoadImg2;
    QPushButton *BtnDelimg2;
    QPushButton *BtnSendMail;

signals:
    // A change was stored; the list shows the row's new mark and name.
    void Saved(int userId, bool print, const QString &name);

public slots:
    void EditChange();
    void BtnEtcClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    QWidget *BuildPersonalPage();
    QWidget *BuildCompanyPage();
    QWidget *BuildPicturesColumn();
    void ConnectChanges();
    void GuardEntries();
    QList<QLineEdit *> TextEdits() const;
    QList<QComboBox *> ComboBoxes() const;
    void ShowRecord(const CustomerRecord &record);
    // Enter leaves a field for the next one; false when the key stays with the field.
    bool MoveFocusOnEnter(QWidget *field);

    AppContext &context_;
    CustomerRecord loaded_;
    TFormMemo *formMemo_;
    bool saving_ = false;
    bool saveFailureShown_ = false;
};
