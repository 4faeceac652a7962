#include "records/FormHistory.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "records/EntryGuard.h"
#include "store/TableEngine.h"
#include "widgets/KeyFilter.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Widths of Title and Contents in historytbl.
constexpr int TitleBytes = 50;
constexpr int ContentsBytes = 255;

// Enter in a field moves to the next one, as in the editor; on a button it presses it.
class EnterMovesFocus : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(watched, &tab);
        return true;
    }
};

// A value longer than its column is refused with a message naming the field.
bool FitsColumn(const QString &caption, const QString &value, int maxBytes) {
    if (ShiftJis::Encode(value).size() <= maxBytes)
        return true;
    prompt().Error(QStringLiteral("%1が長すぎます。半角%2文字（全角%3文字）以内で入力して下さい")
                       .arg(caption)
                       .arg(maxBytes)
                       .arg(maxBytes / 2));
    return false;
}

} // namespace

TFormHistory::TFormHistory(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(QStringLiteral("■日付"), this)),
      Label2(new QLabel(QStringLiteral("■項目"), this)),
      Label3(new QLabel(QStringLiteral("■内容"), this)), DateTimePicker1(new QDateEdit(this)),
      EditTitle(new QLineEdit(this)), EditContents(new QLineEdit(this)),
      BtnOk(new QPushButton(QStringLiteral("登録"), this)),
      BtnCancel(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormHistory"));
    setWindowTitle(QStringLiteral("履歴"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    EditTitle->setObjectName(QStringLiteral("EditTitle"));
    EditContents->setObjectName(QStringLiteral("EditContents"));
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    EditTitle->setMinimumWidth(300);
    InstallFilterKey(DateTimePicker1);
    GuardEntry(EditTitle, true);
    GuardEntry(EditContents, true);
    auto *enterMovesFocus = new EnterMovesFocus(this);
    for (QWidget *field :
         std::initializer_list<QWidget *>{DateTimePicker1, EditTitle, EditContents})
        field->installEventFilter(enterMovesFocus);

    auto *fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(DateTimePicker1, 0, 1, Qt::AlignLeft);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(EditTitle, 1, 1);
    fields->addWidget(Label3, 2, 0);
    fields->addWidget(EditContents, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &TFormHistory::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

HistoryEntry TFormHistory::Entry() const {
    // Pasting can still bring the characters the key filter refuses.
    return {DateTimePicker1->date(), EditTitle->text(), EditContents->text()};
}

void TFormHistory::BtnOkClick() {
    const HistoryEntry entry = Entry();
    if (FitsColumn(QStringLiteral("項目"), entry.title, TitleBytes) &&
        FitsColumn(QStringLiteral("内容"), entry.contents, ContentsBytes))
        accept();
}

std::optional<HistoryEntry> TFormHistory::Execute(const HistoryEntry &preset,
                                                  const QString &okCaption) {
    DateTimePicker1->setDate(preset.date.isValid() ? preset.date : Clock::Today());
    EditTitle->setText(preset.title);
    EditContents->setText(preset.contents);
    BtnOk->setText(okCaption);
    DateTimePicker1->setFocus();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Entry();
}

bool TFormHistory::AddEntry(Query &historyQuery, int userId) {
    const auto entry = Execute({Clock::Today(), {}, {}}, QStringLiteral("登録"));
    if (!entry)
        return false;
    try {
        InsertHistory(historyQuery, userId, *entry);
        return true;
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}

namespace {

// Both versions of an entry another PC stored while this one edited it.
QString HistoryConflictText(const HistoryEntry &mine, const HistoryEntry &other) {
    return QStringLiteral("他のパソコンでこの履歴が変更されました。\r\n\r\nこのパソコン: %1\r\n"
                          "他のパソコン: %2\r\n\r\nこのパソコンの内容で上書きしますか？")
        .arg(HistoryEntryText(mine), HistoryEntryText(other));
}

} // namespace

bool TFormHistory::EditEntry(Query &historyQuery, std::optional<int> historyId) {
    if (!historyId) {
        prompt().Message(QStringLiteral("編集する履歴を選択して下さい"));
        return false;
    }
    try {
        const auto stored = ReadHistoryEntry(historyQuery, *historyId);
        if (!stored) {
            prompt().Message(QStringLiteral("他のパソコンでこの履歴が削除されました。"));
            return true;
        }
        const auto entry = Execute(*stored, QStringLiteral("更新"));
        if (!entry)
            return false;
        for (int readVersion = stored->rowVersion;;) {
            if (UpdateHistory(historyQuery, *historyId, readVersion, *entry))
                return true;
            const auto other = ReadHistoryEntry(historyQuery, *historyId);
            if (!other) {
                prompt().Message(QStringLiteral("他のパソコンでこの履歴が削除されました。"));
                return true;
            }
            if (!prompt().Confirm(HistoryConflictText(*entry, *other), QStringLiteral("確認"),
                                  Prompt::Answer::No))
                return true;
            readVersion = other->rowVersion;
        }
    } catch (const EngineError &e) {
        prompt().Error(e.message());
        return false;
    }
}
