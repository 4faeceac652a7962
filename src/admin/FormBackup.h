#pragma once

#include "admin/Backup.h"

#include <QDialog>

class AppContext;
class QCheckBox;
class QPushButton;
class QTreeWidget;

// "バックアップ": lists the backups of the data folder's "Backup/" and says what to do with them.
class TFormBackup : public QDialog {
    Q_OBJECT

public:
    enum class Choice { Restore, Make, RestoreFromFolder, SaveToFolder, MoveBook, Close };

    explicit TFormBackup(QWidget *parent = nullptr);

    // The main window's backup button: shows the window and does what it was closed for.
    // True when a backup was restored, so the class names and the list must be reloaded.
    bool BtnBackupClick(AppContext &context);

public slots:
    void BtnOkClick();
    void BtnDelClick();
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTreeWidget *ListViewFileList;
    QCheckBox *CB_AutoBackup;
    QPushButton *BtnOk;
    QPushButton *BtnMake;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *BtnCancel;
    QPushButton *BtnDel;
    QPushButton *BtnMoveBook;
    void FormShow();
    void CloseWith(Choice choice);
    // The caption of the selected row; empty when none.
    QString SelectedEntry() const;
    bool Restore(AppContext &context, const QString &source);
    // A new backup of `kind` in `root`; its folder's name, empty after telling why it failed.
    QString MakeBackup(AppContext &context, const QString &root, Backup::Kind kind,
                       bool tellDone = true);

    QString root_;
    QString dataPath_;
    Choice choice_ = Choice::Close;
    bool AllowClose = true;
};
