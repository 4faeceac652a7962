#pragma once

#include "app/DataFolder.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "records/EditPanel.h"
#include "store/ListStatement.h"
#include "store/TableEngine.h"

#include <QStringList>
#include <QWidget>
#include <vector>

class CustomerListModel;
class ImageButton;
class IndexTabBar;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class TFormEditClass;
class TFormSearch;
class TFormSelectPrint;

// Whether the lines of usertbl.DM ask for the start-up password: the 8th character of line 12
// is the digit zero.
bool PasswordMarkerIsOn(const QStringList &markerLines);

// "Brisko Pellor3": the toolbar, the customer list with its filters, and the editor of the
// selected customer. It owns the tables and the three query objects every window uses.
class TFormMain : public QWidget, public AppContext {
    Q_OBJECT

private:
    Database database_;

public:
    explicit TFormMain(QWidget *parent = nullptr);
    ~TFormMain() override;

    QString GetDataPath() const override { return dataPath_; }
    QString GetDbPath() const override { return dbPath_; }
    Database &GetDatabase() override { return database_; }
    Query &SharedUserQuery() override { return UserQuery; }
    Query &SharedHistoryQuery() override { return HistoryQuery; }
    Query &SharedClassQuery() override { return ClassQuery; }

    Query UserQuery{database_};
    Query HistoryQuery{database_};
    Query ClassQuery{database_};

    // Rebuilds the list from the class filters, the reading tab and the search; selects the
    // first row.
    void RefreshList() override;
    // The statement of the last rebuild.
    const QString &LastListStatement() const { return lastListStatement_; }
    void LoadClassNames();
    // Restores the window if minimised and brings it to the front.
    void Raise();

    // The list's rows and selection.
    int ListRowCount() const;
    std::vector<int> ListedUserIds() const override;
    std::vector<int> SelectedUserIds() const;
    ListSelection CurrentSelection() const override;
    // Selects the row of `userId` alone (which loads it); false when it is not listed.
    bool SelectUserId(int userId);
    void ClearListSelection();
    // Filter changes from code, which do not rebuild the list.
    void ResetClassFiltersSilently();
    void SelectIndexTabSilently(int index);

    EditPanel *Editor() const { return editor_; }
    CustomerListModel *ListModel() const { return listModel_; }
    TFormEditClass *FormEditClass() const { return formEditClass_; }
    TFormSelectPrint *FormSelectPrint() const { return formSelectPrint_; }
    TFormSearch *FormSearch() const { return formSearch_; }

    QWidget *PanelTopMenu;
    QWidget *PanelMainListView;
    QWidget *PanelEdit;
    QWidget *Panel1;
    QGroupBox *GroupBoxShowKind;
    QComboBox *CBPrClass;
    QComboBox *CBPrClass2;
    QLabel *LabelDbNum;
    QTableView *ListViewMain;
    IndexTabBar *TabControlClass3;
    QMenu *PopupMenu1;
    QAction *N2; // 印刷をオンにする
    QAction *N1; // 印刷をオフにする
    QAction *N7; // 削除する

    ImageButton *PNGButtonAddData;
    ImageButton *PNGButtonEditClass;
    ImageButton *PNGButtonMyData;
    ImageButton *PNGButtonPrint;
    ImageButton *PNGButtonImport;
    ImageButton *PNGButtonExport;
    ImageButton *PNGButtonBackup;
    ImageButton *PNGButtonConfig;
    ImageButton *PNGButtonSendmail;
    ImageButton *PNGButtonZip;
    ImageButton *PNGButtonFormat;

    // Never shown; the toolbar clicks them and their clicked signals carry the work.
    QPushButton *BtnEditClass;
    QPushButton *PrintDM;
    QPushButton *BtnPrintChart;
    QPushButton *BtnAdddata;
    QPushButton *BtnMyData;
    QPushButton *BtnImport;
    QPushButton *BtnExport;
    QPushButton *BtnBackup;
    QPushButton *Button1;

signals:
    // The print choice asked for the phone list.
    void PhoneListPrintRequested();
    // Bulk mail may start: settings complete and customers listed.
    void SendMailRequested();
    // The class names of both axes in class id order, after every load or edit.
    void ClassNamesLoaded(const QStringList &names1, const QStringList &names2);

public slots:
    void FormShow();
    void IBtnPrintClick();
    void ImgBtnSendmailClick();
    void BtnEditClassClick();
    void ApplyIndexTab();
    void ListViewMainSelectItem();
    void ListViewMainContextPopup(const QPoint &position);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    bool MayClose();
    void BuildToolbar();
    void BuildListPanel();
    void BuildEditPanel();
    void LoadSelectedCustomer(int userId);
    void UpdateListedRow(int userId, bool print, const QString &name);
    void AnnounceClassNames();

    QString dataPath_;
    QString dbPath_;
    bool returningToUnsaved_ = false;
    EditPanel *editor_;
    CustomerListModel *listModel_;
    TFormEditClass *formEditClass_;
    TFormSelectPrint *formSelectPrint_;
    TFormSearch *formSearch_;
    // The search the tab "検索" lists: the last one the search window could build.
    ListFilters search_;
    QString lastListStatement_;
    bool shown_ = false;
};
