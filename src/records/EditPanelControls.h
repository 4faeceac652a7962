#pragma once

#include <QDate>
#include <QList>
#include <array>

class AppContext;
class GuardedPlainTextEdit;
class GreetingBox;
class HistoryBox;
class PictureBox;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QString;
class QTabWidget;
class QWidget;

// The earliest date of the birthday box stands for "no birthday" and shows as a blank box; the
// birthdays it takes run from the next day, 1900/01/01, to today.
inline const QDate NoBirthday(1899, 12, 31);

// Where the calendar of an empty birthday opens, and where typing into it starts.
QDate PlausibleBirthday(const QDate &today);
// The month the birthday calendar opens on for the date the box shows.
QDate CalendarOpeningDate(const QDate &shown, const QDate &today);
// Why a typed birthday cannot be taken; empty when it can, or when nothing is typed.
QString BirthdayFault(const QString &typed, const QDate &today);

// A button of the editor: reached with Tab and pressed with Space; Enter moves between fields.
QPushButton *NewEditorButton(QWidget *parent, const char *name, const QString &caption);

// The controls of the customer editor, laid out on their panel.
struct EditPanelControls {
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
    HistoryBox *History;                   // GroupBox2
    GreetingBox *Greetings;
    QGroupBox *GroupBox1;
    PictureBox *Image1;
    QPushButton *BtnLoadImg1;
    QPushButton *BtnDelImg1;
    QGroupBox *GroupBox4;
    PictureBox *Image2;
    QPushButton *BtnLoadImg2;
    QPushButton *BtnDelimg2;
    QPushButton *BtnSendMail;

    // The one-line fields and the combo boxes of the record, in their order.
    QList<QLineEdit *> TextEdits() const;
    QList<QComboBox *> ComboBoxes() const;
};

// Builds the controls on `panel`, in their focus order.
EditPanelControls BuildEditPanelControls(QWidget *panel, AppContext &context);
