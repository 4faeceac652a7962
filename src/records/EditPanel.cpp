#include "records/EditPanel.h"

#include "core/Clock.h"
#include "core/DomainWords.h"
#include "core/PostalCode.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "postal/ZipLookup.h"
#include "records/CustomerConflict.h"
#include "records/EntryGuard.h"
#include "records/FormMemo.h"
#include "records/GreetingBox.h"
#include "records/HistoryBox.h"
#include "records/PictureStore.h"
#include "store/TableEngine.h"
#include "widgets/PictureBox.h"
#include "widgets/ShiftJisInput.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <algorithm>

namespace {

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

EditPanel::EditPanel(AppContext &context, QWidget *parent)
    : QWidget(parent), context_(context), ui_(BuildEditPanelControls(this, context)) {
    setObjectName(QStringLiteral("EditPanel"));
    GuardEntries();
    ConnectChanges();
    ConnectButtons();
    formMemo_ = new TFormMemo(this);
    EnableEditPanel(false);
    ui_.CBPrintCtrl->setEnabled(false);
}

EditPanel::~EditPanel() {
    // The fields still signal while they are taken down (a birthday box losing the focus fixes
    // up its date), when nothing of the editor is left to save them.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
}

void EditPanel::GuardEntries() {
    for (QLineEdit *edit : ui_.TextEdits()) {
        if (edit == ui_.EditKana || edit == ui_.EditOfficeKana)
            GuardReading(edit);
        else
            GuardEntry(edit);
        edit->installEventFilter(this);
    }
    for (QComboBox *combo : ui_.ComboBoxes()) {
        GuardEntry(combo);
        combo->installEventFilter(this);
        if (combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }
    // Made before the box is watched: making it sends the box events.
    birthdayCalendar_ = ui_.DTBirthday->calendarWidget();
    birthdayCalendar_->installEventFilter(this);
    ui_.DTBirthday->installEventFilter(this);
    GuardEntry(ui_.MemoEtc);
}

void EditPanel::ConnectChanges() {
    for (QLineEdit *edit : ui_.TextEdits())
        if (edit != ui_.EditMakeday)
            connect(edit, &QLineEdit::textChanged, this, &EditPanel::EditChange);
    for (QComboBox *combo : ui_.ComboBoxes()) {
        if (combo->isEditable())
            connect(combo, &QComboBox::currentTextChanged, this, &EditPanel::EditChange);
        else
            connect(combo, &QComboBox::currentIndexChanged, this, &EditPanel::EditChange);
    }
    connect(ui_.DTBirthday, &QDateEdit::dateChanged, this, &EditPanel::EditChange);
    connect(ui_.MemoEtc, &QPlainTextEdit::textChanged, this, &EditPanel::EditChange);
    connect(ui_.TCUseType, &QTabWidget::currentChanged, this, &EditPanel::EditChange);
    connect(ui_.ChbPrint, &QCheckBox::clicked, this, &EditPanel::EditChange);
    for (QCheckBox *check : ui_.ChbRen)
        connect(check, &QCheckBox::clicked, this, &EditPanel::EditChange);
    connect(ui_.BtnEtc, &QPushButton::clicked, this, &EditPanel::BtnEtcClick);
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
    ui_.EditMakeday->setText(r.makeDay.isValid() ? ShortDateText(r.makeDay) : QString());
    ShowStoredText(ui_.EditKana, r.kana);
    ShowStoredText(ui_.EditName, r.name);
    ShowStoredText(ui_.EditZip, r.zip);
    ShowStoredText(ui_.EditAddress1, r.address1);
    ShowStoredText(ui_.EditAddress2, r.address2);
    ShowStoredText(ui_.EditOffice, r.office);
    ShowStoredText(ui_.EditFax, r.faxNo);
    ShowStoredText(ui_.EditTel1, r.telNo1);
    ShowStoredText(ui_.EditTel2, r.telNo2);
    ShowStoredText(ui_.EditMail1, r.mail1);
    ShowStoredText(ui_.EditMail2, r.mail2);
    ShowStoredText(ui_.EditOfficeKana, r.officeKana);
    ShowStoredText(ui_.EditOfficeZip, r.officeZip);
    ShowStoredText(ui_.EditOfficeAddress1, r.officeAddress1);
    ShowStoredText(ui_.EditOfficeAddress2, r.officeAddress2);
    ShowStoredText(ui_.EditOfficeTel1, r.officeTel1);
    ShowStoredText(ui_.EditOfficeTel2, r.officeTel2);
    ShowStoredText(ui_.EditOfficeMail1, r.officeMail1);
    ShowStoredText(ui_.EditOfficeMail2, r.officeMail2);
    ShowStoredText(ui_.EditOfficeFax, r.officeFax);
    ShowStoredText(ui_.EditOfficePost, r.officePost);
    ShowStoredText(ui_.EditOfficeExecutive, r.officeExecutive);
    ui_.CBNameTitle->setCurrentText(r.nameTitle.isEmpty() ? kHonorificSama : r.nameTitle);
    ui_.CBSex->setCurrentText(r.sex);
    ui_.DTBirthday->setMaximumDate(Clock::Today());
    if (r.birthDay.isValid() && r.birthDay >= ui_.DTBirthday->minimumDate()) {
        ui_.DTBirthday->setDate(r.birthDay);
        ui_.EditAge->setText(AgeText(r.birthDay));
    } else {
        ui_.DTBirthday->setDate(NoBirthday);
        ui_.EditAge->clear();
    }
    ui_.ChbPrint->setChecked(r.print);
    ui_.MemoEtc->setPlainText(r.note);
    for (int i = 0; i < 4; ++i) {
        ui_.ChbRen[i]->setChecked(r.checkRen[i]);
        ShowStoredText(ui_.EditRen[i], r.renmei[i]);
        ui_.CBRenTitle[i]->setCurrentText(r.renNameTitle[i].isEmpty() ? kHonorificSama
                                                                      : r.renNameTitle[i]);
        ShowStoredText(ui_.Sashi[i], r.sashikomi[i]);
    }
    ui_.CBClass->setCurrentIndex(r.classId);
    ui_.CBClass2->setCurrentIndex(r.classId2);
    // A use type this program does not know (from other data) shows the personal page.
    ui_.TCUseType->setCurrentIndex(r.useType == 1 ? 1 : 0);
    ui_.CBPrintCtrl->setEnabled(ui_.TCUseType->currentIndex() == 1);
    ui_.CBPrintCtrl->setCurrentIndex(r.printCtrl);
    ShowPictures(r.img1, r.img2);
}

void EditPanel::ShowPictures(const QString &img1, const QString &img2) {
    Query &userQuery = context_.SharedUserQuery();
    ui_.Image1->SetPicture(PictureStore::ReadPicture(userQuery, context_.GetDataPath(), img1));
    ui_.Image2->SetPicture(PictureStore::ReadPicture(userQuery, context_.GetDataPath(), img2));
}

CustomerRecord EditPanel::ShownRecord() const {
    CustomerRecord r = loaded_;
    r.kana = ui_.EditKana->text();
    r.name = ui_.EditName->text();
    r.nameTitle = ui_.CBNameTitle->currentText();
    r.zip = ui_.EditZip->text();
    r.address1 = ui_.EditAddress1->text();
    r.address2 = ui_.EditAddress2->text();
    r.telNo1 = ui_.EditTel1->text();
    r.telNo2 = ui_.EditTel2->text();
    r.faxNo = ui_.EditFax->text();
    r.mail1 = ui_.EditMail1->text();
    r.mail2 = ui_.EditMail2->text();
    r.birthDay = ui_.DTBirthday->date() == NoBirthday ? QDate() : ui_.DTBirthday->date();
    // A box that shows no entry (an id it does not list) keeps the stored id.
    if (ui_.CBClass->currentIndex() >= 0)
        r.classId = ui_.CBClass->currentIndex();
    if (ui_.CBClass2->currentIndex() >= 0)
        r.classId2 = ui_.CBClass2->currentIndex();
    if (ui_.CBPrintCtrl->currentIndex() >= 0)
        r.printCtrl = ui_.CBPrintCtrl->currentIndex();
    r.note = ui_.MemoEtc->toPlainText();
    r.print = ui_.ChbPrint->isChecked();
    r.office = ui_.EditOffice->text();
    r.officeKana = ui_.EditOfficeKana->text();
    r.officeZip = ui_.EditOfficeZip->text();
    r.officeAddress1 = ui_.EditOfficeAddress1->text();
    r.officeAddress2 = ui_.EditOfficeAddress2->text();
    r.officeTel1 = ui_.EditOfficeTel1->text();
    r.officeTel2 = ui_.EditOfficeTel2->text();
    r.officeMail1 = ui_.EditOfficeMail1->text();
    r.officeMail2 = ui_.EditOfficeMail2->text();
    r.officeFax = ui_.EditOfficeFax->text();
    r.officePost = ui_.EditOfficePost->text();
    r.officeExecutive = ui_.EditOfficeExecutive->text();
    // An unknown stored use type stays as it is until the user picks a page.
    const int shownPage = r.useType == 1 ? 1 : 0;
    if (ui_.TCUseType->currentIndex() != shownPage)
        r.useType = ui_.TCUseType->currentIndex();
    r.sex = ui_.CBSex->currentText();
    for (int i = 0; i < 4; ++i) {
        r.checkRen[i] = ui_.ChbRen[i]->isChecked();
        r.renmei[i] = ui_.EditRen[i]->text();
        r.renNameTitle[i] = ui_.CBRenTitle[i]->currentText();
        r.sashikomi[i] = ui_.Sashi[i]->text();
    }
    return r;
}

void EditPanel::EditChange() {
    if (saving_)
        return;
    const ListSelection selection = context_.CurrentSelection();
    if (selection.kind == ListSelection::One) {
        SaveCustomer(selection.userId);
        ui_.CBPrintCtrl->setEnabled(ui_.TCUseType->currentIndex() == 1);
    } else {
        ui_.CBPrintCtrl->setEnabled(false);
    }
}

void EditPanel::SaveCustomer(int userId) {
    if (context_.CurrentSelection().kind == ListSelection::None || !ui_.EditName->isEnabled())
        return;
    saving_ = true;
    CustomerRecord record = ShownRecord();
    record.userId = userId;
    record.zip = NormalisedPostalCode(record.zip).value_or(record.zip);
    record.officeZip = NormalisedPostalCode(record.officeZip).value_or(record.officeZip);
    ui_.EditAge->setText(AgeText(record.birthDay));
    QString failure;
    try {
        switch (StoreUnderVersionRule(record)) {
        case SaveOutcome::Saved:
            break;
        case SaveOutcome::Gone:
            saving_ = false;
            ReportDeletedElsewhere();
            return;
        case SaveOutcome::Changed:
            failure = ChangedElsewhereText();
            break;
        }
    } catch (const EngineError &error) {
        failure = SaveFailureText(context_.GetDatabase().Location(), error.message());
    }
    saving_ = false;
    if (failure.isEmpty()) {
        saveFailureShown_ = false;
        emit Saved(record);
        return;
    }
    // Every keystroke saves; a change that cannot be stored is reported once, until a save
    // succeeds again or another customer is loaded. A lost server connection is the main
    // window's bar to tell; the change waits on screen until the book is back.
    if (Database &book = context_.GetDatabase();
        book.IsOnServer() && (!book.IsOpen() || !book.GetEngine().IsConnected())) {
        saveFailureShown_ = true;
        return;
    }
    if (!saveFailureShown_) {
        saveFailureShown_ = true;
        prompt().Error(failure);
    }
}

SaveOutcome EditPanel::StoreUnderVersionRule(CustomerRecord &record) {
    Query &userQuery = context_.SharedUserQuery();
    CustomerRecord base = loaded_;
    record.rowVersion = base.rowVersion;
    // Another change landing while the user chooses is folded the same way, a few times.
    constexpr int attempts = 3;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (const SaveOutcome outcome = SaveCustomerRecord(userQuery, record);
            outcome != SaveOutcome::Changed)
            return outcome == SaveOutcome::Saved ? Stored(record, attempt > 0) : outcome;
        const std::optional<CustomerRecord> theirs = LoadCustomerRecord(userQuery, record.userId);
        if (!theirs)
            return SaveOutcome::Gone;
        const ConcurrentChange change = FoldConcurrentChange(base, record, *theirs);
        record = change.conflicts.empty()
                     ? change.merged
                     : ResolveConflicts(
                           change, *theirs,
                           prompt().ChooseVersions(ChangedElsewhereText() + QStringLiteral("。"),
                                                   change.versions));
        base = *theirs;
    }
    return SaveOutcome::Changed;
}

SaveOutcome EditPanel::Stored(CustomerRecord &record, bool folded) {
    ++record.rowVersion;
    loaded_ = record;
    if (folded && ShownRecordDiffersFrom(record))
        ShowKeepingCursor(record);
    return SaveOutcome::Saved;
}

bool EditPanel::ShownRecordDiffersFrom(const CustomerRecord &record) const {
    const CustomerRecord shown = ShownRecord();
    for (const StoredField &field : StoredFields())
        if (field.text(shown) != field.text(record))
            return true;
    return shown.img1 != record.img1 || shown.img2 != record.img2;
}

void EditPanel::ShowKeepingCursor(const CustomerRecord &record) {
    const bool wasSaving = saving_;
    saving_ = true;
    auto *line = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    const int cursor = line ? line->cursorPosition() : 0;
    const int memoCursor = ui_.MemoEtc->textCursor().position();
    ShowRecord(record);
    if (line)
        line->setCursorPosition(cursor);
    if (ui_.MemoEtc->hasFocus()) {
        QTextCursor memo = ui_.MemoEtc->textCursor();
        memo.setPosition(std::min(memoCursor, int(ui_.MemoEtc->toPlainText().size())));
        ui_.MemoEtc->setTextCursor(memo);
    }
    saving_ = wasSaving;
}

void EditPanel::ReportDeletedElsewhere() {
    ClearFields();
    EnableEditPanel(false);
    prompt().Error(QStringLiteral("他のパソコンでこの顧客が削除されたため、入力した内容は保存"
                                  "できませんでした。"));
    QMetaObject::invokeMethod(
        this, [this] { context_.RefreshList(); }, Qt::QueuedConnection);
}

void EditPanel::ShowStoredChange() {
    // Every key is stored at once, so only a change that could not be stored is unsaved; it
    // stays on screen and the next save folds the two.
    if (!ui_.EditName->isEnabled() || saving_ || saveFailureShown_)
        return;
    const int userId = loaded_.userId;
    std::optional<CustomerRecord> stored;
    try {
        stored = LoadCustomerRecord(context_.SharedUserQuery(), userId);
    } catch (const EngineError &) {
        // The connection's own report says why; the editor keeps what it shows.
        return;
    }
    if (!stored) {
        Clear();
        prompt().Message(QStringLiteral("表示していた顧客は他のパソコンで削除されました。"));
        return;
    }
    // History entries and greetings are rows of their own: the customer's version says nothing
    // of them.
    ui_.History->ShowStoredHistory(userId);
    ui_.Greetings->ShowStoredRecord();
    if (stored->rowVersion == loaded_.rowVersion)
        return;
    loaded_ = *stored;
    ShowKeepingCursor(*stored);
}

void EditPanel::StorePendingChange() {
    if (saveFailureShown_ && ui_.EditName->isEnabled())
        SaveCustomer(loaded_.userId);
}

bool EditPanel::MayDropUnsavedChange(const QString &question) {
    if (!saveFailureShown_)
        return true;
    SaveCustomer(loaded_.userId);
    if (!saveFailureShown_)
        return true;
    if (!prompt().Confirm(QStringLiteral("入力した内容を保存できていません。\r\n") + question,
                          QStringLiteral("確認"), Prompt::Answer::No))
        return false;
    saveFailureShown_ = false;
    return true;
}

void EditPanel::ClearFields() {
    const bool wasSaving = saving_;
    saving_ = true;
    for (QLineEdit *edit : ui_.TextEdits())
        edit->clear();
    ui_.MemoEtc->clear();
    ui_.DTBirthday->setDate(NoBirthday);
    ui_.CBSex->setCurrentText(QString());
    ui_.History->Clear();
    ui_.Greetings->Clear();
    ui_.ChbPrint->setChecked(false);
    for (QCheckBox *check : ui_.ChbRen)
        check->setChecked(false);
    ui_.Image1->Clear();
    ui_.Image2->Clear();
    loaded_ = CustomerRecord();
    saveFailureShown_ = false;
    saving_ = wasSaving;
}

void EditPanel::EnableEditPanel(bool on) {
    // The registration day, history and pictures are the customer's too: disabled, they look
    // so along with the fields.
    QList<QWidget *> controls{ui_.EditKana,
                              ui_.EditMakeday,
                              ui_.EditName,
                              ui_.EditZip,
                              ui_.EditAddress1,
                              ui_.EditAddress2,
                              ui_.DTBirthday,
                              ui_.EditAge,
                              ui_.EditOffice,
                              ui_.EditFax,
                              ui_.EditTel1,
                              ui_.EditTel2,
                              ui_.EditMail1,
                              ui_.EditMail2,
                              ui_.MemoEtc,
                              ui_.CBClass,
                              ui_.CBClass2,
                              ui_.EditOfficeZip,
                              ui_.EditOfficeAddress1,
                              ui_.EditOfficeAddress2,
                              ui_.EditOfficeTel1,
                              ui_.EditOfficeTel2,
                              ui_.EditOfficeMail1,
                              ui_.EditOfficeMail2,
                              ui_.EditOfficeKana,
                              ui_.EditOfficeExecutive,
                              ui_.EditOfficePost,
                              ui_.EditOfficeFax,
                              ui_.CBNameTitle,
                              ui_.CBSex,
                              ui_.ChbPrint,
                              ui_.BtnDel,
                              ui_.History,
                              ui_.GroupBox1,
                              ui_.GroupBox4};
    for (int i = 0; i < 4; ++i)
        controls << ui_.ChbRen[i] << ui_.EditRen[i] << ui_.CBRenTitle[i] << ui_.Sashi[i];
    for (QWidget *control : controls)
        control->setEnabled(on);
}

void EditPanel::BtnEtcClick() {
    if (context_.CurrentSelection().kind != ListSelection::One)
        return;
    formMemo_->EditMemo(ui_.MemoEtc);
}

void EditPanel::RefuseImpossibleBirthday() {
    const QString fault = BirthdayFault(ui_.DTBirthday->text(), Clock::Today());
    if (fault.isEmpty())
        return;
    // The birthday the customer had comes back before the box turns the text into a date nobody
    // typed.
    ui_.DTBirthday->setDate(loaded_.birthDay.isValid() ? loaded_.birthDay : NoBirthday);
    prompt().Error(fault);
}

bool EditPanel::eventFilter(QObject *watched, QEvent *event) {
    if (watched == birthdayCalendar_ && event->type() == QEvent::Show) {
        const QDate start = CalendarOpeningDate(ui_.DTBirthday->date(), Clock::Today());
        birthdayCalendar_->setCurrentPage(start.year(), start.month());
    }
    if (watched == ui_.DTBirthday && event->type() == QEvent::FocusOut)
        RefuseImpossibleBirthday();
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (watched == ui_.DTBirthday &&
            (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace)) {
            ui_.DTBirthday->setDate(NoBirthday);
            return true;
        }
        // The blank that stands for no birthday takes no digits, so typing starts over a date.
        if (watched == ui_.DTBirthday && ui_.DTBirthday->date() == NoBirthday &&
            key->text().size() == 1 && key->text()[0].isDigit()) {
            ui_.DTBirthday->setDate(PlausibleBirthday(Clock::Today()));
            ui_.DTBirthday->setSelectedSection(QDateTimeEdit::YearSection);
        }
        // The box would turn a day the month does not have into its last day while it is typed,
        // and silently drop the digit that makes a day after today.
        if (watched == ui_.DTBirthday && key->text().size() == 1 && key->text()[0].isDigit() &&
            ui_.DTBirthday->currentSection() == QDateTimeEdit::DaySection) {
            const QLineEdit *text = ui_.DTBirthday->findChild<QLineEdit *>();
            const qsizetype from =
                text->hasSelectedText() ? text->selectionStart() : text->cursorPosition();
            const QString typed = text->text().left(from) + key->text() +
                                  text->text().mid(from + text->selectedText().size());
            if (const QString fault = BirthdayFault(typed, Clock::Today());
                typed.size() == 10 && !fault.isEmpty()) {
                prompt().Error(fault);
                return true;
            }
        }
        // A full section already moves on to the next, so the "/" typed after it would skip one.
        if (watched == ui_.DTBirthday && key->text() == QStringLiteral("/")) {
            const QLineEdit *text = ui_.DTBirthday->findChild<QLineEdit *>();
            if (text && text->text().mid(text->cursorPosition() - 1, 1) == key->text())
                return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            watched == ui_.DTBirthday)
            RefuseImpossibleBirthday();
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier && watched->isWidgetType())
            return MoveFocusOnEnter(static_cast<QWidget *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

bool EditPanel::MoveFocusOnEnter(QWidget *field) {
    if (auto *combo = qobject_cast<QComboBox *>(field->parentWidget()))
        field = combo;
    if (field == ui_.MemoEtc)
        return false;
    if (field == ui_.CBNameTitle && ui_.TCUseType->currentIndex() == 0) {
        ui_.EditZip->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (field == ui_.CBPrintCtrl && ui_.TCUseType->currentIndex() == 1) {
        ui_.EditOffice->setFocus(Qt::TabFocusReason);
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

void EditPanel::ConnectButtons() {
    connect(ui_.BtnDel, &QPushButton::clicked, this, &EditPanel::DeleteClicked);
    connect(ui_.History, &HistoryBox::AddClicked, this, &EditPanel::AddHistoryClicked);
    connect(ui_.History, &HistoryBox::EditClicked, this, &EditPanel::EditHistoryClicked);
    connect(ui_.History, &HistoryBox::DeleteClicked, this, &EditPanel::DeleteHistoryClicked);
    connect(ui_.History, &HistoryBox::SaveCsvClicked, this, &EditPanel::SaveHistoryClicked);
    connect(ui_.History, &HistoryBox::ColumnClicked, this, &EditPanel::HistoryColumnClicked);
    for (int slot : {0, 1}) {
        connect(slot == 0 ? ui_.BtnLoadImg1 : ui_.BtnLoadImg2, &QPushButton::clicked, this,
                [this, slot] { LoadPictureClick(slot); });
        connect(slot == 0 ? ui_.BtnDelImg1 : ui_.BtnDelimg2, &QPushButton::clicked, this,
                [this, slot] { DeletePictureClick(slot); });
        connect(&PictureOf(slot), &PictureBox::Clicked, this,
                [this, slot] { emit PictureClicked(PictureOf(slot).Picture()); });
    }
    for (QPushButton *button : {ui_.SSB_Zip, ui_.BtnZipOf})
        connect(button, &QPushButton::clicked, this, &EditPanel::ZipLookupClicked);
    for (QLineEdit *zip : {ui_.EditZip, ui_.EditOfficeZip})
        connect(zip, &QLineEdit::textEdited, this, [this](const QString &text) {
            if (IsWholePostalCode(text))
                emit ZipLookupClicked();
        });
    for (QPushButton *button : {ui_.SSB_Address, ui_.BtnAddressOf})
        connect(button, &QPushButton::clicked, this, &EditPanel::AddressLookupClicked);
    const std::pair<QPushButton *, QLineEdit *> mailLinks[] = {
        {ui_.SSB_Sendmail01, ui_.EditMail1},
        {ui_.ShineSpeedButton1, ui_.EditMail2},
        {ui_.BtnSendmail03, ui_.EditOfficeMail1},
        {ui_.BtnSendmail04, ui_.EditOfficeMail2}};
    for (const auto &[button, address] : mailLinks)
        connect(button, &QPushButton::clicked, this,
                [this, address = address] { emit MailLinkClicked(address->text()); });
    connect(ui_.BtnSendMail, &QPushButton::clicked, this, &EditPanel::SendBasicDataClicked);
}

bool EditPanel::ShowCustomer(int userId) {
    EnableEditPanel(false);
    try {
        // A customer removed by another program meanwhile shows an empty, disabled editor, so
        // nothing of another customer stays on screen and nothing is written for the row.
        if (!LoadCustomer(userId)) {
            ClearFields();
            return false;
        }
    } catch (const EngineError &error) {
        // The selected row must not show the customer that was loaded before.
        ClearFields();
        prompt().Error(error.message());
        return false;
    }
    LoadHistory(userId);
    ui_.Greetings->ShowCustomer(userId);
    EnableEditPanel(true);
    return true;
}

void EditPanel::Clear() {
    ClearFields();
    EnableEditPanel(false);
}

void EditPanel::LoadHistory(int userId) {
    ui_.History->LoadHistory(userId);
}

std::vector<HistoryRow> EditPanel::HistoryRowsShown() const {
    return ui_.History->HistoryRowsShown();
}

void EditPanel::ShowHistoryRows(const std::vector<HistoryRow> &rows) {
    ui_.History->ShowHistoryRows(rows);
}

std::optional<HistoryRow> EditPanel::SelectedHistory() const {
    return ui_.History->SelectedHistory();
}

PictureBox &EditPanel::PictureOf(int slot) const {
    return slot == 0 ? *ui_.Image1 : *ui_.Image2;
}

void EditPanel::LoadPictureClick(int slot) {
    if (const ListSelection selection = context_.CurrentSelection();
        selection.kind == ListSelection::One)
        PictureStore::ChooseAndLoad(context_.SharedUserQuery(), context_.GetDataPath(), slot,
                                    selection.userId, PictureOf(slot));
}

void EditPanel::DeletePictureClick(int slot) {
    if (const ListSelection selection = context_.CurrentSelection();
        selection.kind == ListSelection::One)
        PictureStore::ConfirmAndDelete(context_.SharedUserQuery(), context_.GetDataPath(), slot,
                                       selection.userId, PictureOf(slot));
}

QLineEdit *EditPanel::ShownZipEdit() const {
    return ui_.TCUseType->currentIndex() == 1 ? ui_.EditOfficeZip : ui_.EditZip;
}

QLineEdit *EditPanel::ShownAddress1Edit() const {
    return ui_.TCUseType->currentIndex() == 1 ? ui_.EditOfficeAddress1 : ui_.EditAddress1;
}

void EditPanel::LookUpAddressByZip(TFormSearchZip &form) {
    ::LookUpAddressByZip(form, {context_.GetDataPath(),
                                context_.CurrentSelection().kind == ListSelection::One,
                                ShownZipEdit(), ShownAddress1Edit()});
}

void EditPanel::LookUpZipByAddress(TFormSearchZip &form) {
    ::LookUpZipByAddress(form, {context_.GetDataPath(),
                                context_.CurrentSelection().kind == ListSelection::One,
                                ShownZipEdit(), ShownAddress1Edit()});
}

void EditPanel::AddClassBoxes(ClassBoxes &boxes) const {
    boxes.CBClass = ui_.CBClass;
    boxes.CBClass2 = ui_.CBClass2;
}
