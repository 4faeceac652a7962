#include "admin/FormBackup.h"

#include "admin/Backup.h"
#include "admin/DataInitialisation.h"
#include "admin/FormBookMove.h"
#include "admin/ServerBackup.h"
#include "core/Clock.h"
#include "platform/AppContext.h"
#include "platform/DesktopShell.h"
#include "platform/Prompt.h"
#include "store/CustomerTable.h"
#include "store/DatabaseCopy.h"
#include "store/SchemaUpgrade.h"
#include "store/TableEngine.h"
#include "widgets/ImageButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString WithSlash(QString path) {
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

// A window that shows how far a long copy has come; it appears only when the copy takes time.
class CopyProgress {
public:
    explicit CopyProgress(QWidget *parent)
        : dialog_(QStringLiteral("コピーしています..."), QString(), 0, 1, parent) {
        dialog_.setWindowTitle(QStringLiteral("バックアップ"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
    }
    Backup::Progress Report() {
        return [this](int done, int total) {
            dialog_.setMaximum(total);
            dialog_.setValue(done);
        };
    }

private:
    QProgressDialog dialog_;
};

QString Failure(const QString &message, const QString &reason) {
    return reason.isEmpty() ? message : message + QStringLiteral("\r\n") + reason;
}

QString DateText(const Backup::Entry &entry) {
    return entry.made.isValid() ? entry.made.toString(QStringLiteral("yyyy/MM/dd")) : entry.name;
}

QString TimeText(const Backup::Entry &entry) {
    return entry.timeKnown ? entry.made.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString CustomersText(int customers) {
    return customers < 0 ? QStringLiteral("不明") : QStringLiteral("%1件").arg(customers);
}

// The customers of the book in use; -1 when it cannot be read. A local book is counted in its
// file, which may be one the engine could not open.
int CurrentCustomers(AppContext &context) {
    if (!context.GetDatabase().IsOnServer())
        return CountCustomers(context.GetDbPath() + QString::fromLatin1(Database::FileName));
    try {
        return CountCustomers(context.SharedUserQuery());
    } catch (const EngineError &) {
        return -1;
    }
}

// "2024/05/15 10:00:00", as a question names a backup.
QString WhenText(const Backup::Entry &entry) {
    return (DateText(entry) + u' ' + TimeText(entry)).trimmed();
}

} // namespace

TFormBackup::TFormBackup(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FormBackup"));
    setWindowTitle(QStringLiteral("バックアップ"));
    ListViewFileList = new QTreeWidget(this);
    ListViewFileList->setObjectName(QStringLiteral("ListViewFileList"));
    ListViewFileList->setHeaderLabels({QStringLiteral("バックアップ作成日"), QStringLiteral("時刻"),
                                       QStringLiteral("種類"), QStringLiteral("顧客数")});
    ListViewFileList->setColumnWidth(0, 200);
    ListViewFileList->setColumnWidth(1, 80);
    ListViewFileList->setColumnWidth(2, 80);
    ListViewFileList->setRootIsDecorated(false);
    ListViewFileList->setMinimumSize(460, 240);
    CB_AutoBackup = new QCheckBox(QStringLiteral("終了時に自動でバックアップする"), this);
    CB_AutoBackup->setObjectName(QStringLiteral("CB_AutoBackup"));
    BtnOk = NewWindowButton(this, "BtnOk", QStringLiteral("復元"));
    BtnMake = NewWindowButton(this, "BtnMake", QStringLiteral("バックアップ作成"));
    Button1 = NewWindowButton(this, "Button1", QStringLiteral("ﾌｧｲﾙから復元"));
    Button2 = NewWindowButton(this, "Button2", QStringLiteral("ﾌｧｲﾙに保存"));
    BtnDel = NewWindowButton(this, "BtnDel", QStringLiteral("バックアップ削除"));
    BtnMoveBook = NewWindowButton(this, "BtnMoveBook", QStringLiteral("台帳の移動"));
    BtnCancel = NewWindowButton(this, "BtnCancel", QStringLiteral("閉じる"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(ListViewFileList, 0, 0, 8, 1);
    int row = 0;
    for (QPushButton *b : {BtnOk, BtnMake, Button1, Button2, BtnDel, BtnMoveBook, BtnCancel})
        layout->addWidget(b, row++, 1);
    layout->addWidget(CB_AutoBackup, 8, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &TFormBackup::BtnOkClick);
    connect(BtnMake, &QPushButton::clicked, this, [this] { CloseWith(Choice::Make); });
    connect(Button1, &QPushButton::clicked, this, [this] { CloseWith(Choice::RestoreFromFolder); });
    connect(Button2, &QPushButton::clicked, this, [this] { CloseWith(Choice::SaveToFolder); });
    connect(BtnMoveBook, &QPushButton::clicked, this, [this] { CloseWith(Choice::MoveBook); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { CloseWith(Choice::Close); });
    connect(BtnDel, &QPushButton::clicked, this, &TFormBackup::BtnDelClick);
    connect(CB_AutoBackup, &QCheckBox::toggled, this, [this](bool on) {
        QString error;
        if (!Backup::SetAutoBackupEnabled(dataPath_, on, &error))
            prompt().Error(error);
    });
}

void TFormBackup::FormShow() {
    ListViewFileList->clear();
    for (const Backup::Entry &entry : Backup::Entries(root_)) {
        auto *row =
            new QTreeWidgetItem({DateText(entry), TimeText(entry), Backup::KindText(entry.kind),
                                 CustomersText(entry.customers)});
        row->setData(0, Qt::UserRole, entry.name);
        row->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        ListViewFileList->addTopLevelItem(row);
    }
    const QSignalBlocker quiet(CB_AutoBackup);
    CB_AutoBackup->setChecked(Backup::AutoBackupEnabled(dataPath_));
}

QString TFormBackup::SelectedEntry() const {
    const QList<QTreeWidgetItem *> selected = ListViewFileList->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(0, Qt::UserRole).toString();
}

void TFormBackup::CloseWith(Choice choice) {
    choice_ = choice;
    AllowClose = true;
    done(QDialog::Accepted);
}

void TFormBackup::reject() {
    CloseWith(Choice::Close);
}

void TFormBackup::closeEvent(QCloseEvent *event) {
    if (!AllowClose)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TFormBackup::BtnOkClick() {
    if (SelectedEntry().isEmpty()) {
        AllowClose = false;
        prompt().Message(QStringLiteral("復元する日付を選択して下さい"));
        return;
    }
    CloseWith(Choice::Restore);
}

void TFormBackup::BtnDelClick() {
    const QString entry = SelectedEntry();
    if (entry.isEmpty()) {
        prompt().Message(QStringLiteral("削除対象を選択して下さい"));
        return;
    }
    if (!prompt().Confirm(WhenText(Backup::Describe(root_ + entry)) +
                              QStringLiteral("のバックアップを削除しますか？"),
                          QStringLiteral("確認"), Prompt::Answer::No))
        return;
    if (!Backup::DeleteBackup(root_ + entry))
        prompt().Error(QStringLiteral("バックアップの削除に失敗しました"));
    FormShow();
}

bool TFormBackup::BtnBackupClick(AppContext &context) {
    dataPath_ = context.GetDataPath();
    root_ = Backup::Root(dataPath_);
    QDir().mkpath(root_);
    QFile::setPermissions(root_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    choice_ = Choice::Close;
    AllowClose = true;
    FormShow();
    exec();
    switch (choice_) {
    case Choice::Restore:
        return Restore(context, root_ + SelectedEntry() + u'/');
    case Choice::Make:
        MakeBackup(context, root_, Backup::Kind::Manual);
        return false;
    case Choice::RestoreFromFolder: {
        const QString folder = prompt()
                                   .ChooseFolder(QStringLiteral("保存フォルダの選択"),
                                                 GetSpecialFolder(DesktopFolderId))
                                   .trimmed();
        if (folder.isEmpty())
            return false;
        if (!QFileInfo::exists(WithSlash(folder) + QStringLiteral("DBDWORK.INI")) &&
            !QFileInfo::exists(WithSlash(folder) + ServerBackup::DumpFileName)) {
            prompt().Message(QApplication::applicationDisplayName() +
                             QStringLiteral(" のバックアップフォルダではありません。"));
            return false;
        }
        return Restore(context, WithSlash(folder));
    }
    case Choice::SaveToFolder: {
        const QString folder = prompt()
                                   .ChooseFolder(QStringLiteral("保存フォルダの選択"),
                                                 GetSpecialFolder(DesktopFolderId))
                                   .trimmed();
        if (!folder.isEmpty())
            MakeBackup(context, WithSlash(folder) + QStringLiteral("Backup/"),
                       Backup::Kind::Manual);
        return false;
    }
    case Choice::MoveBook:
        return TFormBookMove(context, parentWidget()).exec() == QDialog::Accepted;
    case Choice::Close:
        return false;
    }
    return false;
}

bool TFormBackup::Restore(AppContext &context, const QString &source) {
    if (!NoOtherPcConnected(context, QStringLiteral("復元")))
        return false;
    QString error;
    if (!Backup::IsRestorable(source, &error)) {
        prompt().Error(Failure(QStringLiteral("バックアップの読み込みに失敗しました"), error));
        return false;
    }
    const Backup::Entry backup = Backup::Describe(source);
    const int current = CurrentCustomers(context);
    if (!prompt().Confirm(
            QStringLiteral("%1 のバックアップ（顧客 %2）で、現在のデータ（顧客 %3）を"
                           "置き換えます。\r\n置き換える前に、現在のデータを"
                           "バックアップします。\r\nよろしいですか？")
                .arg(WhenText(backup), CustomersText(backup.customers), CustomersText(current)),
            QStringLiteral("確認"), Prompt::Answer::No))
        return false;
    const bool withSettings =
        Backup::HasSettings(source) &&
        prompt().Confirm(
            QStringLiteral("差出人・印刷の設定、メールの設定、ラベル用紙とテンプレートも"
                           "バックアップの内容に戻しますか？\r\n"
                           "「いいえ」を選ぶと顧客データだけを復元します。"),
            QStringLiteral("確認"), Prompt::Answer::No);
    const QString kept = MakeBackup(context, root_, Backup::Kind::BeforeRestore, false);
    if (kept.isEmpty() &&
        !prompt().Confirm(QStringLiteral("現在のデータのバックアップを作成できませんでした。\r\n"
                                         "バックアップせずに復元しますか？"),
                          QStringLiteral("確認"), Prompt::Answer::No))
        return false;
    bool restored = false;
    {
        // Gone before the outcome is told, so no window stands at 0% beside it.
        CopyProgress progress(parentWidget());
        restored = Backup::RestoreFromBackup(context.GetDatabase(), source, context.GetDbPath(),
                                             &error, progress.Report());
    }
    if (!restored) {
        prompt().Error(Failure(QStringLiteral("バックアップの読み込みに失敗しました"), error));
        return false;
    }
    QString message = QStringLiteral("バックアップを読み込みました");
    if (!kept.isEmpty())
        message += QStringLiteral("\r\n復元前のデータは %1 のバックアップとして残してあります。")
                       .arg(WhenText(Backup::Describe(root_ + kept)));
    if (withSettings && !Backup::RestoreSettings(source, context.GetDataPath(), &error))
        prompt().Error(Failure(QStringLiteral("設定ファイルを元に戻せませんでした"), error));
    else if (withSettings)
        message += QStringLiteral("\r\n設定もバックアップの内容に戻しました。");
    prompt().Message(message);
    // A backup from an earlier version is brought to the current form, as a start would.
    if (const QString problem = RunSchemaUpgrade(context.GetDatabase(), context.GetDataPath());
        !problem.isEmpty())
        prompt().Error(problem);
    return true;
}

QString TFormBackup::MakeBackup(AppContext &context, const QString &root, Backup::Kind kind,
                                bool tellDone) {
    const QString target = Backup::NewFolder(root, kind, Clock::Now());
    QString error;
    QStringList leftOut;
    bool made = false;
    {
        CopyProgress progress(parentWidget());
        made =
            Backup::CopyToBackup(context.GetDatabase(), context.GetDataPath(), context.GetDbPath(),
                                 target, &leftOut, &error, progress.Report());
    }
    if (!made) {
        prompt().Error(Failure(QStringLiteral("バックアップの作成に失敗しました"), error));
        return {};
    }
    if (tellDone && leftOut.isEmpty())
        prompt().Message(QStringLiteral("バックアップを作成しました"));
    else if (!leftOut.isEmpty())
        prompt().Warning((tellDone ? QStringLiteral("バックアップを作成しました\r\n") : QString()) +
                         Backup::LeftOutText(leftOut));
    return QFileInfo(target.chopped(1)).fileName();
}
