#pragma once

#include "exchange/CsvImport.h"

#include <QDialog>

class AppContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class ImageButton;
class QPushButton;
class QTableWidget;

// "インポート": assigns customer fields to the columns of a CSV file while paging through its
// lines, then adds one customer per line. Given `findExisting`, it offers what becomes of a
// line matching a customer already in the book (CBExisting: added, left out, or filling that
// customer's empty fields) and counts each at the end.
class TFormImport : public QDialog {
    Q_OBJECT

public:
    explicit TFormImport(AppContext &context, QWidget *parent = nullptr,
                         ExistingCustomerFinder findExisting = {});

    // The whole import as the main window's import button runs it: file, mapping, insert, list.
    void RunImport();
    // Reads a file into FileLines and starts a fresh mapping; false after telling the user why
    // the file cannot be used.
    bool LoadFile(const QString &path);
    // Adds a customer for each card of a vCard file and tells the outcome counts.
    void ImportVCardFile(const QString &path);
    // Stores the rows built by "インポートする" and rebuilds the list.
    void ImportAccepted();

public slots:
    void SGMainSelectCell(int row);
    void SBAddContentClick();
    void SBDelContentClick();
    void SBPrevClick();
    void SBNextClick();
    void BtnImportClick();
    void CBEncodingChange(int index);
    void ChbHeaderClick();

private:
    void FormShow();
    void ShowLine(int line);
    void SetAssignment(int row, const QString &field);
    void AssignByHeader(const QStringList &assignments);
    QStringList Assignments() const;

    AppContext &context_;
    ExistingCustomerFinder findExisting_;
    ImportFile file_;
    int currentLine_ = 0;
    int selectedRow_ = 0;
    ImportPlan plan_;

    QTableWidget *SGMain;
    QListWidget *ListBoxContents;
    ImageButton *SBAddContent;
    ImageButton *SBDelContent;
    QPushButton *SBPrev;
    QPushButton *SBNext;
    QLabel *Label3;
    QLabel *LabelEncoding;
    QComboBox *CBEncoding;
    QCheckBox *ChbHeader;
    QComboBox *CBExisting;
    QPushButton *BtnImport;
    QPushButton *BtnCancel;
};
