#include "records/EditPanelControls.h"

#include "core/Clock.h"
#include "core/DomainWords.h"
#include "records/FormMemo.h"
#include "records/GreetingBox.h"
#include "records/HistoryBox.h"
#include "widgets/ImageButton.h"
#include "widgets/PictureBox.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

QDate PlausibleBirthday(const QDate &today) {
    return QDate(today.year() - 40, today.month(), 1);
}

QDate CalendarOpeningDate(const QDate &shown, const QDate &today) {
    return shown == NoBirthday ? PlausibleBirthday(today) : shown;
}

QString BirthdayFault(const QString &typed, const QDate &today) {
    if (typed.trimmed().isEmpty())
        return {};
    const QDate date = QDate::fromString(typed.trimmed(), QStringLiteral("yyyy/M/d"));
    if (!date.isValid())
        return QStringLiteral("「%1」という日付はありません。").arg(typed.trimmed());
    if (date <= NoBirthday || date > today)
        return QStringLiteral("生年月日は1900/01/01から今日までの日付で入力して下さい。");
    return {};
}

QPushButton *NewEditorButton(QWidget *parent, const char *name, const QString &caption) {
    QPushButton *button = NewWindowButton(parent, name, caption);
    // Reached with Tab and pressed with Space; Enter moves between fields only.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

namespace {

constexpr int PictureSide = 183;

// Input-method states the fields ask for when focused. Qt has no hint for a kana mode, so the
// Japanese fields leave the input method free and the others ask for Latin input.
constexpr Qt::InputMethodHints HalfWidthKatakana = Qt::ImhNone;
constexpr Qt::InputMethodHints Hiragana = Qt::ImhNone;
constexpr Qt::InputMethodHints InputOff =
    Qt::ImhLatinOnly | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText;

QLineEdit *NewEdit(QWidget *parent, const char *name, int maxLength, Qt::InputMethodHints hints) {
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setInputMethodHints(hints);
    return edit;
}

QComboBox *NewCombo(QWidget *parent, const char *name, bool editable) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

// The lookup and mail buttons beside the address fields.
QPushButton *NewFieldButton(QWidget *parent, const char *name, const QString &caption) {
    QPushButton *button = NewEditorButton(parent, name, caption);
    button->setFixedWidth(52);
    return button;
}

QLabel *NewLabel(QWidget *parent, const QString &text) {
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// The address, phone, mail and fax fields that the personal and the company page both hold.
struct ContactFields {
    QPushButton *zipButton;
    QLineEdit *zip;
    QPushButton *addressButton;
    QLineEdit *address1;
    QLineEdit *address2;
    QLineEdit *tel1;
    QLineEdit *tel2;
    QPushButton *mail1Button;
    QLineEdit *mail1;
    QPushButton *mail2Button;
    QLineEdit *mail2;
    QLineEdit *fax;
};

// Object names of ContactFields in their order.
using ContactNames = std::array<const char *, 12>;

// A postal code edit wide enough to show a whole code.
QLineEdit *NewZipEdit(QWidget *page, const char *name) {
    QLineEdit *edit = NewEdit(page, name, 8, InputOff);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000-0000")) + 16);
    return edit;
}

ContactFields NewContactFields(QWidget *page, const ContactNames &names) {
    return {NewFieldButton(page, names[0], QStringLiteral("〒")),
            NewZipEdit(page, names[1]),
            NewFieldButton(page, names[2], QStringLiteral("住所1")),
            NewEdit(page, names[3], 60, Hiragana),
            NewEdit(page, names[4], 60, Hiragana),
            NewEdit(page, names[5], 13, InputOff),
            NewEdit(page, names[6], 13, InputOff),
            NewFieldButton(page, names[7], QStringLiteral("ﾒｰﾙ1")),
            NewEdit(page, names[8], 40, InputOff),
            NewFieldButton(page, names[9], QStringLiteral("ﾒｰﾙ2")),
            NewEdit(page, names[10], 40, InputOff),
            NewEdit(page, names[11], 13, InputOff)};
}

QGridLayout *NewPageGrid(QWidget *page) {
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    return grid;
}

// Lays out the contact rows from `row` on, with the free space below them.
void AddContactRows(QWidget *page, QGridLayout *grid, int row, const ContactFields &f) {
    grid->addWidget(f.zipButton, row, 0);
    grid->addWidget(f.zip, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("( XXX-XXXX　形式で入力）"), page), row, 2, 1, 2);
    grid->addWidget(f.addressButton, row + 1, 0);
    grid->addWidget(f.address1, row + 1, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("住所2")), row + 2, 0);
    grid->addWidget(f.address2, row + 2, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("電話１")), row + 3, 0);
    grid->addWidget(f.tel1, row + 3, 1);
    grid->addWidget(NewLabel(page, QStringLiteral("電話２")), row + 3, 2);
    grid->addWidget(f.tel2, row + 3, 3);
    grid->addWidget(f.mail1Button, row + 4, 0);
    grid->addWidget(f.mail1, row + 4, 1, 1, 3);
    grid->addWidget(f.mail2Button, row + 5, 0);
    grid->addWidget(f.mail2, row + 5, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("FAX")), row + 6, 0);
    grid->addWidget(f.fax, row + 6, 1);
    grid->setRowStretch(row + 7, 1);
}

QWidget *BuildPersonalPage(EditPanelControls &c) {
    auto *page = new QWidget;
    const ContactFields f =
        NewContactFields(page, {"SSB_Zip", "EditZip", "SSB_Address", "EditAddress1", "EditAddress2",
                                "EditTel1", "EditTel2", "SSB_Sendmail01", "EditMail1",
                                "ShineSpeedButton1", "EditMail2", "EditFax"});
    c.SSB_Zip = f.zipButton;
    c.EditZip = f.zip;
    c.SSB_Address = f.addressButton;
    c.EditAddress1 = f.address1;
    c.EditAddress2 = f.address2;
    c.EditTel1 = f.tel1;
    c.EditTel2 = f.tel2;
    c.SSB_Sendmail01 = f.mail1Button;
    c.EditMail1 = f.mail1;
    c.ShineSpeedButton1 = f.mail2Button;
    c.EditMail2 = f.mail2;
    c.EditFax = f.fax;
    AddContactRows(page, NewPageGrid(page), 0, f);
    return page;
}

QWidget *BuildCompanyPage(EditPanelControls &c) {
    auto *page = new QWidget;
    c.EditOffice = NewEdit(page, "EditOffice", 50, Hiragana);
    c.EditOfficeKana = NewEdit(page, "EditOfficeKana", 70, HalfWidthKatakana);
    c.EditOfficePost = NewEdit(page, "EditOfficePost", 40, Hiragana);
    c.EditOfficeExecutive = NewEdit(page, "EditOfficeExecutive", 40, Hiragana);
    const ContactFields f = NewContactFields(
        page, {"BtnZipOf", "EditOfficeZip", "BtnAddressOf", "EditOfficeAddress1",
               "EditOfficeAddress2", "EditOfficeTel1", "EditOfficeTel2", "BtnSendmail03",
               "EditOfficeMail1", "BtnSendmail04", "EditOfficeMail2", "EditOfficeFax"});
    c.BtnZipOf = f.zipButton;
    c.EditOfficeZip = f.zip;
    c.BtnAddressOf = f.addressButton;
    c.EditOfficeAddress1 = f.address1;
    c.EditOfficeAddress2 = f.address2;
    c.EditOfficeTel1 = f.tel1;
    c.EditOfficeTel2 = f.tel2;
    c.BtnSendmail03 = f.mail1Button;
    c.EditOfficeMail1 = f.mail1;
    c.BtnSendmail04 = f.mail2Button;
    c.EditOfficeMail2 = f.mail2;
    c.EditOfficeFax = f.fax;

    QGridLayout *grid = NewPageGrid(page);
    grid->addWidget(NewLabel(page, QStringLiteral("会社名")), 0, 0);
    grid->addWidget(c.EditOffice, 0, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("ﾌﾘｶﾞﾅ")), 1, 0);
    grid->addWidget(c.EditOfficeKana, 1, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("部署")), 2, 0);
    grid->addWidget(c.EditOfficePost, 2, 1);
    grid->addWidget(NewLabel(page, QStringLiteral("役職")), 2, 2);
    grid->addWidget(c.EditOfficeExecutive, 2, 3);
    AddContactRows(page, grid, 3, f);
    return page;
}

QWidget *BuildPicturesColumn(QWidget *panel, EditPanelControls &c) {
    auto *column = new QWidget(panel);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    const auto pictureGroup = [column](const char *groupName, const QString &caption,
                                       const char *boxName, const char *loadName,
                                       const char *deleteName, QGroupBox *&group, PictureBox *&box,
                                       QPushButton *&load, QPushButton *&remove) {
        group = new QGroupBox(caption, column);
        group->setObjectName(QLatin1String(groupName));
        auto *frame = new QFrame(group);
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        frame->setBackgroundRole(QPalette::Base);
        frame->setAutoFillBackground(true);
        box = new PictureBox(frame);
        box->setObjectName(QLatin1String(boxName));
        box->setFixedSize(PictureSide, PictureSide);
        auto *framed = new QVBoxLayout(frame);
        framed->setContentsMargins(1, 1, 1, 1);
        framed->addWidget(box);
        load = NewEditorButton(group, loadName, QStringLiteral("読み込み"));
        remove = NewEditorButton(group, deleteName, QStringLiteral("削除"));
        auto *buttons = new QHBoxLayout;
        buttons->setSpacing(4);
        buttons->addWidget(load);
        buttons->addWidget(remove);
        auto *inner = new QVBoxLayout(group);
        inner->setContentsMargins(5, 4, 5, 5);
        inner->setSpacing(4);
        inner->addWidget(frame, 0, Qt::AlignHCenter);
        inner->addLayout(buttons);
    };
    pictureGroup("GroupBox1", QStringLiteral("画像1"), "Image1", "BtnLoadImg1", "BtnDelImg1",
                 c.GroupBox1, c.Image1, c.BtnLoadImg1, c.BtnDelImg1);
    pictureGroup("GroupBox4", QStringLiteral("画像2"), "Image2", "BtnLoadImg2", "BtnDelimg2",
                 c.GroupBox4, c.Image2, c.BtnLoadImg2, c.BtnDelimg2);
    c.BtnSendMail =
        NewEditorButton(column, "BtnSendMail", QStringLiteral("選択中の基本情報をメール送信"));
    layout->addWidget(c.GroupBox1);
    layout->addWidget(c.GroupBox4);
    layout->addStretch(1);
    layout->addWidget(c.BtnSendMail);
    return column;
}

} // namespace

EditPanelControls BuildEditPanelControls(QWidget *panel, AppContext &context) {
    EditPanelControls c;
    c.EditKana = NewEdit(panel, "EditKana", 40, HalfWidthKatakana);
    c.EditMakeday = NewEdit(panel, "EditMakeday", 0, InputOff);
    c.EditMakeday->setReadOnly(true);
    c.EditMakeday->setFocusPolicy(Qt::NoFocus);
    c.EditName = NewEdit(panel, "EditName", 40, Hiragana);
    QFont nameFont = c.EditName->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(19);
    c.EditName->setFont(nameFont);
    c.CBNameTitle = NewCombo(panel, "CBNameTitle", true);
    c.CBNameTitle->addItems(HonorificChoices());
    c.CBNameTitle->setInputMethodHints(Hiragana);
    c.CBPrintCtrl = NewCombo(panel, "CBPrintCtrl", false);
    c.CBPrintCtrl->addItems(PrintControlChoices());
    c.ChbPrint = new QCheckBox(QStringLiteral("印刷する"), panel);
    c.ChbPrint->setObjectName(QStringLiteral("ChbPrint"));
    c.BtnDel = NewEditorButton(panel, "BtnDel", QStringLiteral("削除"));

    auto *head = new QGridLayout;
    head->setHorizontalSpacing(4);
    head->setVerticalSpacing(3);
    head->addWidget(NewLabel(panel, QStringLiteral("ﾌﾘｶﾞﾅ")), 0, 0);
    head->addWidget(c.EditKana, 0, 1, 1, 2);
    head->addWidget(NewLabel(panel, QStringLiteral("登録日")), 0, 3);
    head->addWidget(c.EditMakeday, 0, 4);
    head->addWidget(NewLabel(panel, QStringLiteral("名前")), 1, 0);
    head->addWidget(c.EditName, 1, 1, 1, 2);
    head->addWidget(NewLabel(panel, QStringLiteral("敬称")), 1, 3);
    head->addWidget(c.CBNameTitle, 1, 4);
    head->addWidget(c.ChbPrint, 2, 1);
    auto *printCtrlRow = new QHBoxLayout;
    printCtrlRow->addStretch(1);
    printCtrlRow->addWidget(new QLabel(QStringLiteral("印刷ｺﾝﾄﾛｰﾙ"), panel));
    printCtrlRow->addWidget(c.CBPrintCtrl);
    head->addLayout(printCtrlRow, 2, 2);
    head->addWidget(c.BtnDel, 2, 4);
    head->setColumnStretch(1, 1);
    head->setColumnStretch(2, 1);
    c.EditMakeday->setFixedWidth(96);
    c.CBNameTitle->setFixedWidth(96);

    c.TCUseType = new QTabWidget(panel);
    c.TCUseType->setObjectName(QStringLiteral("TCUseType"));
    c.TCUseType->addTab(BuildPersonalPage(c), UseTypeCaption(UseType::Personal));
    c.TCUseType->addTab(BuildCompanyPage(c), UseTypeCaption(UseType::Company));

    c.CBClass = NewCombo(panel, "CBClass", false);
    c.CBClass2 = NewCombo(panel, "CBClass2", false);
    c.DTBirthday = new QDateEdit(panel);
    c.DTBirthday->setObjectName(QStringLiteral("DTBirthday"));
    c.DTBirthday->setCalendarPopup(true);
    c.DTBirthday->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    c.DTBirthday->setDateRange(NoBirthday, Clock::Today());
    c.DTBirthday->setSpecialValueText(QStringLiteral(" "));
    c.DTBirthday->setToolTip(QStringLiteral("Delete キーで生年月日を空にします"));
    c.EditAge = NewEdit(panel, "EditAge", 0, InputOff);
    c.EditAge->setReadOnly(true);
    c.EditAge->setFocusPolicy(Qt::NoFocus);
    c.CBSex = NewCombo(panel, "CBSex", true);
    c.CBSex->addItems(
        {QString(), QStringLiteral("男性"), QStringLiteral("女性"), QStringLiteral("不明")});
    c.CBSex->lineEdit()->setMaxLength(20);
    c.BtnEtc = new QPushButton(QStringLiteral("備考"), panel);
    c.BtnEtc->setObjectName(QStringLiteral("BtnEtc"));
    c.BtnEtc->setAutoDefault(false);
    c.BtnEtc->setFocusPolicy(Qt::TabFocus);
    c.MemoEtc = new GuardedPlainTextEdit(panel);
    c.MemoEtc->setObjectName(QStringLiteral("MemoEtc"));
    c.MemoEtc->SetMaxLength(MemoMaxLength);
    c.MemoEtc->setInputMethodHints(Hiragana);
    c.MemoEtc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    c.MemoEtc->setTabChangesFocus(true);

    auto *sideColumn = new QWidget(panel);
    sideColumn->setFixedWidth(214);
    auto *side = new QGridLayout(sideColumn);
    side->setContentsMargins(0, 0, 0, 0);
    side->setHorizontalSpacing(4);
    side->setVerticalSpacing(3);
    side->addWidget(NewLabel(panel, QStringLiteral("分類１")), 0, 0);
    side->addWidget(c.CBClass, 0, 1, 1, 3);
    side->addWidget(NewLabel(panel, QStringLiteral("分類２")), 1, 0);
    side->addWidget(c.CBClass2, 1, 1, 1, 3);
    side->addWidget(NewLabel(panel, QStringLiteral("生年月日")), 2, 0);
    side->addWidget(c.DTBirthday, 2, 1, 1, 3);
    side->addWidget(NewLabel(panel, QStringLiteral("年齢")), 3, 0);
    side->addWidget(c.EditAge, 3, 1);
    side->addWidget(NewLabel(panel, QStringLiteral("性別")), 3, 2);
    side->addWidget(c.CBSex, 3, 3);
    side->addWidget(c.BtnEtc, 4, 0, Qt::AlignTop);
    side->addWidget(c.MemoEtc, 4, 1, 1, 3);
    side->setRowStretch(4, 1);
    side->setColumnStretch(1, 1);
    side->setColumnStretch(3, 1);
    c.EditAge->setMinimumWidth(36);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(6);
    middle->addWidget(c.TCUseType, 1);
    middle->addWidget(sideColumn);

    auto *joint = new QGridLayout;
    joint->setHorizontalSpacing(4);
    joint->setVerticalSpacing(3);
    joint->addWidget(new QLabel(QStringLiteral("連名"), panel), 0, 0);
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        c.ChbRen[i] = new QCheckBox(panel);
        c.ChbRen[i]->setObjectName(QStringLiteral("ChbRen") + n);
        c.EditRen[i] = NewEdit(panel, "", 0, Hiragana);
        c.EditRen[i]->setObjectName(QStringLiteral("EditRen") + n);
        c.CBRenTitle[i] = NewCombo(panel, "", true);
        c.CBRenTitle[i]->setObjectName(QStringLiteral("CBRenTitle") + n);
        c.CBRenTitle[i]->addItems(HonorificChoices());
        c.CBRenTitle[i]->setInputMethodHints(Hiragana);
        c.CBRenTitle[i]->setFixedWidth(80);
        const int row = i / 2;
        const int column = 1 + (i % 2) * 3;
        joint->addWidget(c.ChbRen[i], row, column);
        joint->addWidget(c.EditRen[i], row, column + 1);
        joint->addWidget(c.CBRenTitle[i], row, column + 2);
    }
    joint->setColumnStretch(2, 1);
    joint->setColumnStretch(5, 1);
    joint->addWidget(new QLabel(QStringLiteral("差込"), panel), 2, 0);
    auto *inserts = new QHBoxLayout;
    inserts->setSpacing(4);
    for (int i = 0; i < 4; ++i) {
        c.Sashi[i] = NewEdit(panel, "", 0, Hiragana);
        c.Sashi[i]->setObjectName(QStringLiteral("Sashi") + QString::number(i + 1));
        inserts->addWidget(new QLabel(QString(QChar(0xFF11 + i)), panel));
        inserts->addWidget(c.Sashi[i], 1);
    }
    joint->addLayout(inserts, 2, 1, 1, 6);

    c.History = new HistoryBox(context, panel);
    c.Greetings = new GreetingBox(context, panel);
    auto *lower = new QHBoxLayout;
    lower->setSpacing(8);
    lower->addWidget(c.History, 1);
    lower->addWidget(c.Greetings, 2);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addLayout(head);
    left->addLayout(middle, 3);
    left->addLayout(joint);
    left->addLayout(lower, 2);

    auto *main = new QHBoxLayout(panel);
    main->setContentsMargins(6, 6, 6, 4);
    main->setSpacing(8);
    main->addLayout(left, 1);
    main->addWidget(BuildPicturesColumn(panel, c));
    return c;
}

QList<QLineEdit *> EditPanelControls::TextEdits() const {
    QList<QLineEdit *> edits{EditKana,
                             EditMakeday,
                             EditName,
                             EditZip,
                             EditAddress1,
                             EditAddress2,
                             EditTel1,
                             EditTel2,
                             EditMail1,
                             EditMail2,
                             EditFax,
                             EditOffice,
                             EditOfficeKana,
                             EditOfficeZip,
                             EditOfficeAddress1,
                             EditOfficeAddress2,
                             EditOfficeTel1,
                             EditOfficeTel2,
                             EditOfficeMail1,
                             EditOfficeMail2,
                             EditOfficeFax,
                             EditOfficePost,
                             EditOfficeExecutive,
                             EditAge};
    for (int i = 0; i < 4; ++i)
        edits << EditRen[i] << Sashi[i];
    return edits;
}

QList<QComboBox *> EditPanelControls::ComboBoxes() const {
    QList<QComboBox *> combos{CBNameTitle, CBPrintCtrl, CBClass, CBClass2, CBSex};
    for (QComboBox *combo : CBRenTitle)
        combos << combo;
    return combos;
}