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

class BookChanges;
class IndexTabBar;
class MainListPanel;
class IniFile;
class QLabel;
class QPushButton;
class QSplitter;
class QThread;
class QTimer;
class TFormEditClass;
class TFormSearch;
class TFormSelectPrint;

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
    void LoadClassNames();
    // Restores the window if minimised and brings it to the front.
    void Raise();
    // False when the start-up password was not given, so no data was shown.
    bool DataShown() const;

    // The list's rows and selection.
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
    MainListPanel *ListPanel() const { return listPanel_; }

signals:
    // The toolbar's work done by other windows.
    void AddDataRequested();
    void MyDataRequested();
    void AddressPrintRequested();
    void CustomerCardsPrintRequested();
    void PhoneListPrintRequested();
    void SeasonCardsRequested();
    void ImportRequested();
    void ExportChoiceRequested();
    void CsvExportRequested();
    void BackupRequested();
    void SettingsRequested();
    void ZipUpdateRequested();
    void FormatRequested();
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
    // Another PC's stored changes, as the server announces them: the editor shows them unless
    // this PC holds a change of the customer not stored yet, the list in place.
    void ShowOtherPcsChanges();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    bool MayClose();
    void BuildToolbar();
    void BuildEditPanel();
    ClassBoxes AllClassBoxes() const;
    void AnnounceClassNames();
    void RestoreWindowSize(const IniFile &settings);
    ListFilters ShownFilters() const;
    void ListenToOtherPcs();
    // A broken server connection is told once, in the bar; the book is opened again after a
    // growing wait, then the list is read anew and what the editor could not store is stored.
    void ServerConnectionLost();
    // Asks the server in a thread of its own: one that is switched off answers nothing for the
    // whole connect time limit, and the window must stay usable meanwhile.
    void Reconnect();
    void ReconnectIfAnswered(bool answered);
    void KeepWindowLayout();

    QWidget *PanelTopMenu;
    QSplitter *SplitterMain;
    QWidget *PanelEdit;
    IndexTabBar *TabControlClass3;
    // Never shown; the print choice clicks them and their clicked signals carry the work.
    QPushButton *PrintDM;
    QPushButton *BtnPrintChart;

    QString dataPath_;
    QString dbPath_;
    bool returningToUnsaved_ = false;
    MainListPanel *listPanel_;
    EditPanel *editor_;
    TFormEditClass *formEditClass_;
    TFormSelectPrint *formSelectPrint_;
    TFormSearch *formSearch_;
    // The search the tab "検索" lists: the last one the search window could build.
    ListFilters search_;
    bool shown_ = false;
    // The user chose 終了 when the server could not be reached: nothing more is asked or shown.
    bool ending_ = false;
    int keptListWidth_ = 0;
    QLabel *BarConnection;
    BookChanges *bookChanges_ = nullptr;
    QTimer *otherPcsChanged_;
    QTimer *reconnect_;
    QThread *reconnectTry_ = nullptr;
    int reconnectWaitSeconds_ = 0;
};
