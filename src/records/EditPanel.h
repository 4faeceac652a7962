#pragma once

#include "records/ClassNames.h"
#include "records/EditPanelControls.h"
#include "store/CustomerRecord.h"
#include "store/HistoryTable.h"

#include <QImage>
#include <QWidget>
#include <optional>

class TFormMemo;
class QCalendarWidget;
class TFormSearchZip;

// The editor of the customer selected in the list. There is no save button: every change of a
// field writes the whole row at once.
//
// Buttons whose work lives elsewhere are told by signals: the history buttons and the header
// of the history list, a click on a picture, the postal lookups, the mail links and BtnDel.
class EditPanel : public QWidget {
    Q_OBJECT

public:
    // Saving needs exactly one selected list row; pictures are read from the data folder's
    // picture folder.
    explicit EditPanel(AppContext &context, QWidget *parent = nullptr);
    ~EditPanel() override;

    // Shows the stored row with its history, ready for editing. A row gone or unreadable
    // (reported) leaves the editor empty and disabled; false then.
    bool ShowCustomer(int userId);
    // Empties and disables the editor.
    void Clear();
    // The row as the editor shows it now.
    CustomerRecord ShownRecord() const;
    int ShownUserId() const { return loaded_.userId; }
    // Stores the shown customer once more when its last change could not be stored; when that
    // fails too, the user is asked whether the change may be lost (`question`). True when
    // nothing unsaved is left or the user lets it go.
    bool MayDropUnsavedChange(const QString &question);
    // Stores the shown customer's change that could not be stored before (the server was
    // gone), under the version rule of every save.
    void StorePendingChange();

    // Shows the shown customer as another PC stored it, unless this PC holds a change of it
    // not yet stored; a customer deleted elsewhere is reported and the editor emptied.
    void ShowStoredChange();

    // Fills the history box; problems are reported to the user.
    void LoadHistory(int userId);
    // The history box's rows in display order, and showing rows in a new order.
    std::vector<HistoryRow> HistoryRowsShown() const;
    void ShowHistoryRows(const std::vector<HistoryRow> &rows);
    // The selected history row, with the version it was listed at.
    std::optional<HistoryRow> SelectedHistory() const;

    // The postal lookups for the address page shown; the chosen entry is stored as typing is.
    void LookUpAddressByZip(TFormSearchZip &form);
    void LookUpZipByAddress(TFormSearchZip &form);

    // The editor's class boxes, for loading and renaming class names.
    void AddClassBoxes(ClassBoxes &boxes) const;

signals:
    // A change was stored; the list shows the row as it now is.
    void Saved(const CustomerRecord &record);
    void DeleteClicked();
    void AddHistoryClicked();
    void EditHistoryClicked();
    void DeleteHistoryClicked();
    void SaveHistoryClicked();
    void HistoryColumnClicked(int column);
    void PictureClicked(const QImage &picture);
    void ZipLookupClicked();
    void AddressLookupClicked();
    void MailLinkClicked(const QString &address);
    void SendBasicDataClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Any change of a field stores the shown customer.
    void EditChange();
    void BtnEtcClick();
    void ConnectChanges();
    void ConnectButtons();
    void GuardEntries();
    // Fills the editor from the stored row. False (editor unchanged) when the row is gone.
    // Throws EngineError.
    bool LoadCustomer(int userId);
    void ShowRecord(const CustomerRecord &record);
    // Clears both picture boxes and shows the picture files the row names, when they exist.
    void ShowPictures(const QString &img1, const QString &img2);
    // Writes the editor to the row; problems are reported to the user.
    void SaveCustomer(int userId);
    // Stores `record` while its row is the version the editor read; after another PC's change
    // the two are folded, the user choosing where both changed a field. `record` is what was
    // stored. Throws EngineError.
    SaveOutcome StoreUnderVersionRule(CustomerRecord &record);
    // After a save; a row folded with another PC's change is shown as stored.
    SaveOutcome Stored(CustomerRecord &record, bool folded);
    bool ShownRecordDiffersFrom(const CustomerRecord &record) const;
    // Shows the row without moving the cursor of the field being typed in.
    void ShowKeepingCursor(const CustomerRecord &record);
    void ReportDeletedElsewhere();
    void ClearFields();
    void EnableEditPanel(bool on);
    // The picture buttons of slot 0 (picture 1) and slot 1 (picture 2).
    void LoadPictureClick(int slot);
    void DeletePictureClick(int slot);
    PictureBox &PictureOf(int slot) const;
    // The zip edit and the first address edit of the page shown.
    QLineEdit *ShownZipEdit() const;
    QLineEdit *ShownAddress1Edit() const;
    // Enter leaves a field for the next one; false when the key stays with the field.
    bool MoveFocusOnEnter(QWidget *field);
    // A typed day the month does not have, or a birthday outside 1900 to today, is refused.
    void RefuseImpossibleBirthday();

    AppContext &context_;
    QCalendarWidget *birthdayCalendar_ = nullptr;
    EditPanelControls ui_;
    CustomerRecord loaded_;
    TFormMemo *formMemo_;
    bool saving_ = false;
    bool saveFailureShown_ = false;
};
