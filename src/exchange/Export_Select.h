#pragma once

#include "contacts/VCard.h"

#include <QDialog>

class AppContext;
class ImageButton;
class QComboBox;
class QPushButton;
class TFormExport;
class Tmitsumori;

// "エクスポート方法の選択": the plain CSV export, the file for the estimate program, or the
// phone's contacts file (vCard). Owns the two export windows.
class TExport_Select : public QDialog {
    Q_OBJECT

public:
    explicit TExport_Select(AppContext &context, QWidget *parent = nullptr);

    TFormExport *FormExport() const { return formExport_; }
    Tmitsumori *Mitsumori() const { return mitsumori_; }

public slots:
    void Btn_NormalClick();
    void Btn_MitsumoriClick();
    void Btn_CancelClick();
    // "挨拶状の記録": the whole greeting record as a CSV file.
    void BtnGreetingsClick();
    // The CSV export of the listed customers: column choice, file, progress.
    void RunCsvExport();
    // The listed customers as a vCard file in the chosen version and reading script.
    void BtnVCardClick();
    VCard::WriteOptions VCardChoice() const;

private:
    AppContext &context_;
    TFormExport *formExport_;
    Tmitsumori *mitsumori_;
    ImageButton *PNGButtonCSV;
    ImageButton *PNGButtonMitsu;
    QPushButton *BtnGreetings;
    QComboBox *CBVCardVersion;
    QComboBox *CBVCardReading;
    QPushButton *BtnVCard;
    QPushButton *Btn_Cancel;
};
