#include "records/EditPanel.h"

#include "core/Clock.h"
#include "core/DomainWords.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "records/EntryGuard.h"
#include "records/FormMemo.h"
#include "records/PictureStore.h"
#include "store/TableEngine.h"
#include "widgets/ImageButton.h"
#include "widgets/PictureBox.h"
#include "widgets/ShiftJisInput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int MemoMaxLength = 10000;
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

QPushButton *NewButton(QWidget *parent, const char *name, const QString &caption) {
    QPushButton *button = NewWindowButton(parent, name, caption);
    // Reached with Tab and pressed with Space; Enter moves between fields only.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The lookup and mail buttons beside the address fields.
QPushButton *NewFieldButton(QWidget *parent, const char *name, const QString &caption) {
    QPushButton *button = NewButton(parent, name, caption);
    button->setFixedWidth(52);
    return button;
}

QLabel *NewLabel(QWidget *parent, const QString &text) {
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

const QDate NoBirthday(100, 1, 1);

// What the user can act on first, the engine's own words (without the statement) after.
QString SaveFailureText(const QString &file, const QString &engineMessage) {
    return QStringLiteral("顧客データを保存できませんでした。\n%1\n\n"
                          "ファイルが読み取り専用か、ほかのプログラムが使用中か、ディスクが"
                          "いっぱいでないか確かめて下さい。入力した内容は保存されていません。"
                          "\n\n詳細: %2")
        .arg(file, engineMessage.section(u'\n', 0, 0));
}

QString AgeText(const QDate &birthday) {
    return birthday.isValid() ? QString::number(CalcAge(birthday, Clock::Today())) : QString();
}

} // namespace

EditPanel::EditPanel(AppContext &context, QWidget *parent) : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("EditPanel"));
    BuildControls();
    GuardEntries();
    ConnectChanges();
    formMemo_ = new TFormMemo(this);
    EnableEditPanel(false);
    CBPrintCtrl->setEnabled(false);
}

void EditPanel::BuildControls() {
    EditKana = NewEdit(this, "EditKana", 40, HalfWidthKatakana);
    EditMakeday = NewEdit(this, "EditMakeday", 0, InputOff);
    EditMakeday->setReadOnly(true);
    EditMakeday->setFocusPolicy(Qt::NoFocus);
    EditName = NewEdit(this, "EditName", 40, Hiragana);
    QFont nameFont = EditName->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(19);
    EditName->setFont(nameFont);
    CBNameTitle = NewCombo(this, "CBNameTitle", true);
    CBNameTitle->addItems(HonorificChoices());
    CBNameTitle->setInputMethodHints(Hiragana);
    CBPrintCtrl = NewCombo(this, "CBPrintCtrl", false);
    CBPrintCtrl->addItems(PrintControlChoices());
    ChbPrint = new QCheckBox(QStringLiteral("印刷する"), this);
    ChbPrint->setObjectName(QStringLiteral("ChbPrint"));
    BtnDel = NewButton(this, "BtnDel", QStringLiteral("削除"));

    auto *head = new QGridLayout;
    head->setHorizontalSpacing(4);
    head->setVerticalSpacing(3);
    head->addWidget(NewLabel(this, QStringLiteral("ﾌﾘｶﾞﾅ")), 0, 0);
    head->addWidget(EditKana, 0, 1, 1, 2);
    head->addWidget(NewLabel(this, QStringLiteral("登録日")), 0, 3);
    head->addWidget(EditMakeday, 0, 4);
    head->addWidget(NewLabel(this, QStringLiteral("名前")), 1, 0);
    head->addWidget(EditName, 1, 1, 1, 2);
    head->addWidget(NewLabel(this, QStringLiteral("敬称")), 1, 3);
    head->addWidget(CBNameTitle, 1, 4);
    head->addWidget(ChbPrint, 2, 1);
    auto *printCtrlRow = new QHBoxLayout;
    printCtrlRow->addStretch(1);
    printCtrlRow->addWidget(new QLabel(QStringLiteral("印刷ｺﾝﾄﾛｰﾙ"), this));
    printCtrlRow->addWidget(CBPrintCtrl);
    head->addLayout(printCtrlRow, 2, 2);
    head->addWidget(BtnDel, 2, 4);
    head->setColumnStretch(1, 1);
    head->setColumnStretch(2, 1);
    EditMakeday->setFixedWidth(96);
    CBNameTitle->setFixedWidth(96);

    TCUseType = new QTabWidget(this);
    TCUseType->setObjectName(QStringLiteral("TCUseType"));
    TCUseType->addTab(BuildPersonalPage(), UseTypeCaption(UseType::Personal));
    TCUseType->addTab(BuildCompanyPage(), UseTypeCaption(UseType::Company));

    CBClass = NewCombo(this, "CBClass", false);
    CBClass2 = NewCombo(this, "CBClass2", false);
    DTBirthday = new QDateEdit(this);
    DTBirthday->setObjectName(QStringLiteral("DTBirthday"));
    DTBirthday->setCalendarPopup(true);
    DTBirthday->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    // The earliest date stands for "no birthday" and shows as a blank box.
    DTBirthday->setMinimumDate(NoBirthday);
    DTBirthday->setSpecialValueText(QStringLiteral(" "));
    DTBirthday->setToolTip(QStringLiteral("Delete キーで生年月日を空にします"));
    EditAge = NewEdit(this, "EditAge", 0, InputOff);
    EditAge->setReadOnly(true);
    EditAge->setFocusPolicy(Qt::NoFocus);
    CBSex = NewCombo(this, "CBSex", true);
    CBSex->addItems(
        {QString(), QStringLiteral("男性"), QStringLiteral("女性"), QStringLiteral("不明")});
    CBSex->lineEdit()->setMaxLength(20);
    BtnEtc = new QPushButton(QStringLiteral("備考"), this);
    BtnEtc->setObjectName(QStringLiteral("BtnEtc"));
    BtnEtc->setAutoDefault(false);
    BtnEtc->setFocusPolicy(Qt::TabFocus);
    MemoEtc = new GuardedPlainTextEdit(this);
    MemoEtc->setObjectName(QStringLiteral("MemoEtc"));
    MemoEtc->SetMaxLength(MemoMaxLength);
    MemoEtc->setInputMethodHints(Hiragana);
    MemoEtc->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MemoEtc->setTabChangesFocus(true);

    auto *sideColumn = new QWidget(this);
    sideColumn->setFixedWidth(214);
    auto *side = new QGridLayout(sideColumn);
    side->setContentsMargins(0, 0, 0, 0);
    side->setHorizontalSpacing(4);
    side->setVerticalSpacing(3);
    side->addWidget(NewLabel(this, QStringLiteral("分類１")), 0, 0);
    side->addWidget(CBClass, 0, 1, 1, 3);
    side->addWidget(NewLabel(this, QStringLiteral("分類２")), 1, 0);
    side->addWidget(CBClass2, 1, 1, 1, 3);
    side->addWidget(NewLabel(this, QStringLiteral("生年月日")), 2, 0);
    side->addWidget(DTBirthday, 2, 1, 1, 3);
    side->addWidget(NewLabel(this, QStringLiteral("年齢")), 3, 0);
    side->addWidget(EditAge, 3, 1);
    side->addWidget(NewLabel(this, QStringLiteral("性別")), 3, 2);
    side->addWidget(CBSex, 3, 3);
    side->addWidget(BtnEtc, 4, 0, Qt::AlignTop);
    side->addWidget(MemoEtc, 4, 1, 1, 3);
    side->setRowStretch(4, 1);
    side->setColumnStretch(1, 1);
    side->setColumnStretch(3, 1);
    EditAge->setMinimumWidth(36);

    auto *middle = new QHBoxLayout;
    middle->setSpacing(6);
    middle->addWidget(TCUseType, 1);
    middle->addWidget(sideColumn);

    auto *joint = new QGridLayout;
    joint->setHorizontalSpacing(4);
    joint->setVerticalSpacing(3);
    joint->addWidget(new QLabel(QStringLiteral("連名"), this), 0, 0);
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i + 1);
        ChbRen[i] = new QCheckBox(this);
        ChbRen[i]->setObjectName(QStringLiteral("ChbRen") + n);
        EditRen[i] = NewEdit(this, "", 0, Hiragana);
        EditRen[i]->setObjectName(QStringLiteral("EditRen") + n);
        CBRenTitle[i] = NewCombo(this, "", true);
        CBRenTitle[i]->setObjectName(QStringLiteral("CBRenTitle") + n);
        CBRenTitle[i]->addItems(HonorificChoices());
        CBRenTitle[i]->setInputMethodHints(Hiragana);
        CBRenTitle[i]->setFixedWidth(80);
        const int row = i / 2;
        const int column = 1 + (i % 2) * 3;
        joint->addWidget(ChbRen[i], row, column);
        joint->addWidget(EditRen[i], row, column + 1);
        joint->addWidget(CBRenTitle[i], row, column + 2);
    }
    joint->setColumnStretch(2, 1);
    joint->setColumnStretch(5, 1);
    joint->addWidget(new QLabel(QStringLiteral("差込"), this), 2, 0);
    auto *inserts = new QHBoxLayout;
    inserts->setSpacing(4);
    for (int i = 0; i < 4; ++i) {
        Sashi[i] = NewEdit(this, "", 0, Hiragana);
        Sashi[i]->setObjectName(QStringLiteral("Sashi") + QString::number(i + 1));
        inserts->addWidget(new QLabel(QString(QChar(0xFF11 + i)), this));
        inserts->addWidget(Sashi[i], 1);
    }
    joint->addLayout(inserts, 2, 1, 1, 6);

    GroupBox2 = new QGroupBox(QStringLiteral("履歴"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    ListViewHistory = new QTreeWidget(GroupBox2);
    ListViewHistory->setObjectName(QStringLiteral("ListViewHistory"));
    ListViewHistory->setColumnCount(4);
    ListViewHistory->setHeaderLabels(
        {QStringLiteral("日付"), QStringLiteral("項目"), QStringLiteral("内容"), QString()});
    ListViewHistory->setRootIsDecorated(false);
    ListViewHistory->setUniformRowHeights(true);
    ListViewHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    ListViewHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewHistory->setAllColumnsShowFocus(true);
    ListViewHistory->header()->setSectionsClickable(true);
    ListViewHistory->header()->setStretchLastSection(false);
    ListViewHistory->setColumnWidth(0, 80);
    ListViewHistory->setColumnWidth(1, 100);
    ListViewHistory->setColumnWidth(2, 200);
    ListViewHistory->setColumnHidden(3, true);
    BtnAddHistory = NewButton(GroupBox2, "BtnAddHistory", QStringLiteral("登録"));
    BtnEditHistory = NewButton(GroupBox2, "BtnEditHistory", QStringLiteral("編集"));
    BtnDelHistory = NewButton(GroupBox2, "BtnDelHistory", QStringLiteral("削除"));
    BtlHisSave = NewButton(GroupBox2, "BtlHisSave", QStringLiteral("CSV保存"));
    auto *historyButtons = new QVBoxLayout;
    historyButtons->setSpacing(3);
    for (QPushButton *button : {BtnAddHistory, BtnEditHistory, BtnDelHistory, BtlHisSave})
        historyButtons->addWidget(button);
    historyButtons->addStretch(1);
    auto *historyLayout = new QHBoxLayout(GroupBox2);
    historyLayout->setContentsMargins(6, 4, 6, 6);
    historyLayout->addWidget(ListViewHistory, 1);
    historyLayout->addLayout(historyButtons);

    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addLayout(head);
    left->addLayout(middle, 3);
    left->addLayout(joint);
    left->addWidget(GroupBox2, 2);

    auto *main = new QHBoxLayout(this);
    main->setContentsMargins(6, 6, 6, 4);
    main->setSpacing(8);
    main->addLayout(left, 1);
    main->addWidget(BuildPicturesColumn());
}

namespace {

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

} // namespace

QWidget *EditPanel::BuildPersonalPage() {
    auto *page = new QWidget;
    const ContactFields f =
        NewContactFields(page, {"SSB_Zip", "EditZip", "SSB_Address", "EditAddress1", "EditAddress2",
                                "EditTel1", "EditTel2", "SSB_Sendmail01", "EditMail1",
                                "ShineSpeedButton1", "EditMail2", "EditFax"});
    SSB_Zip = f.zipButton;
    EditZip = f.zip;
    SSB_Address = f.addressButton;
    EditAddress1 = f.address1;
    EditAddress2 = f.address2;
    EditTel1 = f.tel1;
    EditTel2 = f.tel2;
    SSB_Sendmail01 = f.mail1Button;
    EditMail1 = f.mail1;
    ShineSpeedButton1 = f.mail2Button;
    EditMail2 = f.mail2;
    EditFax = f.fax;
    AddContactRows(page, NewPageGrid(page), 0, f);
    return page;
}

QWidget *EditPanel::BuildCompanyPage() {
    auto *page = new QWidget;
    EditOffice = NewEdit(page, "EditOffice", 50, Hiragana);
    EditOfficeKana = NewEdit(page, "EditOfficeKana", 70, HalfWidthKatakana);
    EditOfficePost = NewEdit(page, "EditOfficePost", 40, Hiragana);
    EditOfficeExecutive = NewEdit(page, "EditOfficeExecutive", 40, Hiragana);
    const ContactFields f = NewContactFields(
        page, {"BtnZipOf", "EditOfficeZip", "BtnAddressOf", "EditOfficeAddress1",
               "EditOfficeAddress2", "EditOfficeTel1", "EditOfficeTel2", "BtnSendmail03",
               "EditOfficeMail1", "BtnSendmail04", "EditOfficeMail2", "EditOfficeFax"});
    BtnZipOf = f.zipButton;
    EditOfficeZip = f.zip;
    BtnAddressOf = f.addressButton;
    EditOfficeAddress1 = f.address1;
    EditOfficeAddress2 = f.address2;
    EditOfficeTel1 = f.tel1;
    EditOfficeTel2 = f.tel2;
    BtnSendmail03 = f.mail1Button;
    EditOfficeMail1 = f.mail1;
    BtnSendmail04 = f.mail2Button;
    EditOfficeMail2 = f.mail2;
    EditOfficeFax = f.fax;

    QGridLayout *grid = NewPageGrid(page);
    grid->addWidget(NewLabel(page, QStringLiteral("会社名")), 0, 0);
    grid->addWidget(EditOffice, 0, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("ﾌﾘｶﾞﾅ")), 1, 0);
    grid->addWidget(EditOfficeKana, 1, 1, 1, 3);
    grid->addWidget(NewLabel(page, QStringLiteral("部署")), 2, 0);
    grid->addWidget(EditOfficePost, 2, 1);
    grid->addWidget(NewLabel(page, QStringLiteral("役職")), 2, 2);
    grid->addWidget(EditOfficeExecutive, 2, 3);
    AddContactRows(page, grid, 3, f);
    return page;
}

QWidget *EditPanel::BuildPicturesColumn() {
    auto *column = new QWidget(this);
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
        load = NewButton(group, loadName, QStringLiteral("読み込み"));
        remove = NewButton(group, deleteName, QStringLiteral("削除"));
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
                 GroupBox1, Image1, BtnLoadImg1, BtnDelImg1);
    pictureGroup("GroupBox4", QStringLiteral("画像2"), "Image2", "BtnLoadImg2", "BtnDelimg2",
                 GroupBox4, Image2, BtnLoadImg2, BtnDelimg2);
    BtnSendMail = NewButton(column, "BtnSendMail", QStringLiteral("選択中の基本情報をメール送信"));
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox4);
    layout->addStretch(1);
    layout->addWidget(BtnSendMail);
    return column;
}

QList<QLineEdit *> EditPanel::TextEdits() const {
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

QList<QComboBox *> EditPanel::ComboBoxes() const {
    QList<QComboBox *> combos{CBNameTitle, CBPrintCtrl, CBClass, CBClass2, CBSex};
    for (QComboBox *combo : CBRenTitle)
        combos << combo;
    return combos;
}

void EditPanel::GuardEntries() {
    for (QLineEdit *edit : TextEdits()) {
        if (edit == EditKana || edit == EditOfficeKana)
            GuardReading(edit);
        else
            GuardEntry(edit);
        edit->installEventFilter(this);
    }
    for (QComboBox *combo : ComboBoxes()) {
        GuardEntry(combo);
        combo->installEventFilter(this);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    DTBirthday->installEventFilter(this);
    GuardEntry(MemoEtc);
}

void EditPanel::ConnectChanges() {
    for (QLineEdit *edit : TextEdits())
        if (edit != EditMakeday)
            connect(edit, &QLineEdit::textChanged, this, &EditPanel::EditChange);
    for (QComboBox *combo : ComboBoxes()) {
        if (combo->isEditable())
            connect(combo, &QComboBox::currentTextChanged, this, &EditPanel::EditChange);
        else
            connect(combo, &QComboBox::currentIndexChanged, this, &EditPanel::EditChange);
    }
    connect(DTBirthday, &QDateEdit::dateChanged, this, &EditPanel::EditChange);
    connect(MemoEtc, &QPlainTextEdit::textChanged, this, &EditPanel::EditChange);
    connect(TCUseType, &QTabWidget::currentChanged, this, &EditPanel::EditChange);
    connect(ChbPrint, &QCheckBox::clicked, this, &EditPanel::EditChange);
    for (QCheckBox *check : ChbRen)
        connect(check, &QCheckBox::clicked, this, &EditPanel::EditChange);
    connect(BtnEtc, &QPushButton::clicked, this, &EditPanel::BtnEtcClick);
}

bool EditPanel::LoadCustomer(int userId) {
    const std::optional<CustomerRecord> record =
        LoadCustomerRecord(context_.SharedUserQuery(), userId);
    if (!record)
        return false;
    loaded_ = *record;
    ShowRecord(*record);
    // Changes to this customer that cannot be stored are told again, even if the last one's were.
    saveFailureShown_ = false;
    return true;
}

void EditPanel::ShowRecord(const CustomerRecord &r) {
    EditMakeday->setText(r.makeDay.isValid() ? ShortDateText(r.makeDay) : QString());
    ShowStoredText(EditKana, r.kana);
    ShowStoredText(EditName, r.name);
    ShowStoredText(EditZip, r.zip);
    ShowStoredText(EditAddress1, r.address1);
    ShowStoredText(EditAddress2, r.address2);
    ShowStoredText(EditOffice, r.office);
    ShowStoredText(EditFax, r.faxNo);
    ShowStoredText(EditTel1, r.telNo1);
    ShowStoredText(EditTel2, r.telNo2);
    ShowStoredText(EditMail1, r.mail1);
    ShowStoredText(EditMail2, r.mail2);
    ShowStoredText(EditOfficeKana, r.officeKana);
    ShowStoredText(EditOfficeZip, r.officeZip);
    ShowStoredText(EditOfficeAddress1, r.officeAddress1);
    ShowStoredText(EditOfficeAddress2, r.officeAddress2);
    ShowStoredText(EditOfficeTel1, r.officeTel1);
    ShowStoredText(EditOfficeTel2, r.officeTel2);
    ShowStoredText(EditOfficeMail1, r.officeMail1);
    ShowStoredText(EditOfficeMail2, r.officeMail2);
    ShowStoredText(EditOfficeFax, r.officeFax);
    ShowStoredText(EditOfficePost, r.officePost);
    ShowStoredText(EditOfficeExecutive, r.officeExecutive);
    CBNameTitle->setCurrentText(r.nameTitle.isEmpty() ? kHonorificSama : r.nameTitle);
    CBSex->setCurrentText(r.sex);
    if (r.birthDay.isValid() && r.birthDay >= DTBirthday->minimumDate()) {
        DTBirthday->setDate(r.birthDay);
        EditAge->setText(AgeText(r.birthDay));
    } else {
        DTBirthday->setDate(NoBirthday);
        EditAge->clear();
    }
    ChbPrint->setChecked(r.print);
    MemoEtc->setPlainText(r.note);
    for (int i = 0; i < 4; ++i) {
        ChbRen[i]->setChecked(r.checkRen[i]);
        ShowStoredText(EditRen[i], r.renmei[i]);
        CBRenTitle[i]->setCurrentText(r.renNameTitle[i].isEmpty() ? kHonorificSama
                                                                  : r.renNameTitle[i]);
        ShowStoredText(Sashi[i], r.sashikomi[i]);
    }
    CBClass->setCurrentIndex(r.classId);
    CBClass2->setCurrentIndex(r.classId2);
    // A use type this program does not know (from other data) shows the personal page.
    TCUseType->setCurrentIndex(r.useType == 1 ? 1 : 0);
    CBPrintCtrl->setEnabled(TCUseType->currentIndex() == 1);
    CBPrintCtrl->setCurrentIndex(r.printCtrl);
    ShowPictures(r.img1, r.img2);
}

void EditPanel::ShowPictures(const QString &img1, const QString &img2) {
    Image1->Clear();
    Image2->Clear();
    const QString folder = PictureStore::PictureFolder(context_.GetDataPath());
    if (!img1.isEmpty() && QFileInfo::exists(folder + img1))
        Image1->LoadFile(folder + img1);
    if (!img2.isEmpty() && QFileInfo::exists(folder + img2))
        Image2->LoadFile(folder + img2);
}

CustomerRecord EditPanel::CurrentRecord() const {
    CustomerRecord r = loaded_;
    r.kana = EditKana->text();
    r.name = EditName->text();
    r.nameTitle = CBNameTitle->currentText();
    r.zip = EditZip->text();
    r.address1 = EditAddress1->text();
    r.address2 = EditAddress2->text();
    r.telNo1 = EditTel1->text();
    r.telNo2 = EditTel2->text();
    r.faxNo = EditFax->text();
    r.mail1 = EditMail1->text();
    r.mail2 = EditMail2->text();
    r.birthDay = DTBirthday->date() == NoBirthday ? QDate() : DTBirthday->date();
    // A box that shows no entry (an id it does not list) keeps the stored id.
    if (CBClass->currentIndex() >= 0)
        r.classId = CBClass->currentIndex();
    if (CBClass2->currentIndex() >= 0)
        r.classId2 = CBClass2->currentIndex();
    if (CBPrintCtrl->currentIndex() >= 0)
        r.printCtrl = CBPrintCtrl->currentIndex();
    r.note = MemoEtc->toPlainText();
    r.print = ChbPrint->isChecked();
    r.office = EditOffice->text();
    r.officeKana = EditOfficeKana->text();
    r.officeZip = EditOfficeZip->text();
    r.officeAddress1 = EditOfficeAddress1->text();
    r.officeAddress2 = EditOfficeAddress2->text();
    r.officeTel1 = EditOfficeTel1->text();
    r.officeTel2 = EditOfficeTel2->text();
    r.officeMail1 = EditOfficeMail1->text();
    r.officeMail2 = EditOfficeMail2->text();
    r.officeFax = EditOfficeFax->text();
    r.officePost = EditOfficePost->text();
    r.officeExecutive = EditOfficeExecutive->text();
    // An unknown stored use type stays as it is until the user picks a page.
    const int shownPage = r.useType == 1 ? 1 : 0;
    if (TCUseType->currentIndex() != shownPage)
        r.useType = TCUseType->currentIndex();
    r.sex = CBSex->currentText();
    for (int i = 0; i < 4; ++i) {
        r.checkRen[i] = ChbRen[i]->isChecked();
        r.renmei[i] = EditRen[i]->text();
        r.renNameTitle[i] = CBRenTitle[i]->currentText();
        r.sashikomi[i] = Sashi[i]->text();
    }
    return r;
}

void EditPanel::EditChange() {
    if (saving_)
        return;
    const ListSelection selection = context_.CurrentSelection();
    if (selection.kind == ListSelection::One) {
        SaveCustomer(selection.userId);
        CBPrintCtrl->setEnabled(TCUseType->currentIndex() == 1);
    } else {
        CBPrintCtrl->setEnabled(false);
    }
}

void EditPanel::SaveCustomer(int userId) {
    if (context_.CurrentSelection().kind == ListSelection::None || !EditName->isEnabled())
        return;
    saving_ = true;
    CustomerRecord record = CurrentRecord();
    record.userId = userId;
    EditAge->setText(AgeText(record.birthDay));
    QString failure;
    try {
        if (!SaveCustomerRecord(context_.SharedUserQuery(), record))
            failure = QStringLiteral(
                "この顧客データはほかのプログラムで削除されたため、保存できませんでした。");
    } catch (const EngineError &error) {
        failure = SaveFailureText(context_.SharedUserQuery().DatabaseFilePath(), error.message());
    }
    saving_ = false;
    if (failure.isEmpty()) {
        saveFailureShown_ = false;
        emit Saved(userId, record.print, record.name);
        return;
    }
    // Every keystroke saves; a change that cannot be stored is reported once, until a save
    // succeeds again or another customer is loaded.
    if (!saveFailureShown_) {
        saveFailureShown_ = true;
        prompt().Error(failure);
    }
}

bool EditPanel::MayDropUnsavedChange(const QString &question) {
    if (!saveFailureShown_)
        return true;
    SaveCustomer(loaded_.userId);
    if (!saveFailureShown_)
        return true;
    if (!prompt().Confirm(QStringLiteral("入力した内容を保存できていません。\r\n") + question))
        return false;
    saveFailureShown_ = false;
    return true;
}

void EditPanel::ClearEditPanel() {
    const bool wasSaving = saving_;
    saving_ = true;
    for (QLineEdit *edit : TextEdits())
        edit->clear();
    MemoEtc->clear();
    DTBirthday->setDate(NoBirthday);
    CBSex->setCurrentText(QString());
    ListViewHistory->clear();
    ChbPrint->setChecked(false);
    for (QCheckBox *check : ChbRen)
        check->setChecked(false);
    Image1->Clear();
    Image2->Clear();
    loaded_ = CustomerRecord();
    saveFailureShown_ = false;
    saving_ = wasSaving;
}

void EditPanel::EnableEditPanel(bool on) {
    QList<QWidget *> controls{EditKana,
                              EditName,
                              EditZip,
                              EditAddress1,
                              EditAddress2,
                              DTBirthday,
                              EditAge,
                              EditOffice,
                              EditFax,
                              EditTel1,
                              EditTel2,
                              EditMail1,
                              EditMail2,
                              MemoEtc,
                              CBClass,
                              CBClass2,
                              ListViewHistory,
                              EditOfficeZip,
                              EditOfficeAddress1,
                              EditOfficeAddress2,
                              EditOfficeTel1,
                              EditOfficeTel2,
                              EditOfficeMail1,
                              EditOfficeMail2,
                              EditOfficeKana,
                              EditOfficeExecutive,
                              EditOfficePost,
                              EditOfficeFax,
                              CBNameTitle,
                              CBSex,
                              ChbPrint,
                              BtnDel};
    for (int i = 0; i < 4; ++i)
        controls << ChbRen[i] << EditRen[i] << CBRenTitle[i] << Sashi[i];
    for (QWidget *control : controls)
        control->setEnabled(on);
}

void EditPanel::LoadHistory(int userId) {
    std::vector<HistoryRow> rows;
    QString problem;
    try {
        rows = LoadHistoryRows(context_.SharedHistoryQuery(), userId);
    } catch (const HistoryDateError &error) {
        rows = error.RowsSoFar();
        problem = error.message();
    } catch (const EngineError &error) {
        problem = error.message();
    }
    ShowHistoryRows(rows);
    if (!problem.isEmpty())
        prompt().Error(problem);
}

void EditPanel::ShowHistoryRows(const std::vector<HistoryRow> &rows) {
    ListViewHistory->clear();
    QList<QTreeWidgetItem *> items;
    for (const HistoryRow &row : rows)
        items << new QTreeWidgetItem(
            QStringList{row.date, row.title, row.contents, QString::number(row.historyId)});
    ListViewHistory->addTopLevelItems(items);
}

std::vector<HistoryRow> EditPanel::HistoryRowsShown() const {
    std::vector<HistoryRow> rows;
    for (int i = 0; i < ListViewHistory->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = ListViewHistory->topLevelItem(i);
        rows.push_back({item->text(0), item->text(1), item->text(2), item->text(3).toInt()});
    }
    return rows;
}

std::optional<int> EditPanel::SelectedHistoryId() const {
    const QTreeWidgetItem *item = ListViewHistory->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    return item->text(3).toInt();
}

void EditPanel::BtnEtcClick() {
    if (context_.CurrentSelection().kind != ListSelection::One)
        return;
    formMemo_->EditMemo(MemoEtc);
}

bool EditPanel::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (watched == DTBirthday &&
            (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)) {
            DTBirthday->setDate(NoBirthday);
            return true;
        }
        // The blank that stands for no birthday takes no digits, so typing starts over a date.
        if (watched == DTBirthday && DTBirthday->date() == NoBirthday && key->text().size() == 1 &&
            key->text()[0].isDigit()) {
            DTBirthday->setDate(QDate(2000, 1, 1));
            DTBirthday->setSelectedSection(QDateTimeEdit::YearSection);
        }
        // A full section already moves on to the next, so the "/" typed after it would skip one.
        if (watched == DTBirthday && key->text() == QStringLiteral("/")) {
            const QLineEdit *text = DTBirthday->findChild<QLineEdit *>();
            if (text && text->text().mid(text->cursorPosition() - 1, 1) == key->text())
                return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier && watched->isWidgetType())
            return MoveFocusOnEnter(static_cast<QWidget *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

bool EditPanel::MoveFocusOnEnter(QWidget *field) {
    if (auto *combo = qobject_cast<QComboBox *>(field->parentWidget()))
        field = combo;
    if (field == MemoEtc)
        return false;
    if (field == CBNameTitle && TCUseType->currentIndex() == 0) {
        EditZip->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (field == CBPrintCtrl && TCUseType->currentIndex() == 1) {
        EditOffice->setFocus(Qt::TabFocusReason);
        return true;
    }
    for (QWidget *next = field->nextInFocusChain(); next && next != field;
         next = next->nextInFocusChain()) {
        if (next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) &&
            !next->focusProxy() && next->window() == window() &&
            !qobject_cast<QPushButton *>(next)) {
            next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return true;
}
