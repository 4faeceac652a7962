#pragma once

#include "print/PaperSheets.h"

#include <QList>
#include <QWidget>
#include <optional>

class AppContext;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabBar;
class QTableWidget;
class TFormAddPaper;

// The label tab of the address print window ("TabSheet2"): a tab per maker, the maker's sheets
// of paper.cfg, the label to start printing on with a map of the sheet, and "登録" and "削除"
// of the user's own sheets.
class LabelSheetTab : public QWidget {
    Q_OBJECT

public:
    // The context must outlive the tab.
    explicit LabelSheetTab(AppContext &context, QWidget *parent = nullptr);

    // While the window opens, an unreadable paper file or an unusable sheet is not reported.
    void SetOpening(bool opening) { opening_ = opening; }
    // The current maker's sheets read afresh, none selected; false when the file could not be
    // read, then told to the user when `reportFailure`.
    bool ReloadPaperList(bool reportFailure);
    // Without a selected sheet, the first one (of the first maker's list when none is listed).
    void SelectFirstSheetIfNone(bool reportFailure);
    // A maker tab and a row of its list, as stored; no row when it is not listed.
    void SelectStoredSheet(int maker, int row);

    int MakerIndex() const;
    // -1 when no sheet is selected.
    int SelectedSheetRow() const;
    // The last usable sheet selected.
    const std::optional<SheetGeometry> &Sheet() const { return sheet_; }
    // The selected sheet for a print run; nothing, with the user told, when there is none or
    // it is unusable.
    std::optional<SheetGeometry> SheetToPrint();
    // From 0.
    int FirstLabel() const;

public slots:
    void TCMakerChange();
    void ListViewPaperSelectItem();
    void Button4Click();
    void Button3Click();

signals:
    // A row of the list was selected; `usable` when Sheet() now holds its geometry.
    void SheetSelected(bool usable);

private:
    void SelectPaperRow(int row);
    void RefreshSheetMap();

    AppContext &context_;
    QString paperFile_;
    bool opening_ = false;
    QList<LabelSheet> listedSheets_;
    std::optional<SheetGeometry> sheet_;

    QTabBar *TCMaker = nullptr;
    QTableWidget *ListViewPaper = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QSpinBox *SpinFirstLabel = nullptr;
    QLabel *ImageSheetMap = nullptr;
    TFormAddPaper *FormAddPaper = nullptr;
};
