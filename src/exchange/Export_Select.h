#pragma once

#include <QDialog>

class AppContext;
class ImageButton;
class QPushButton;
class TFormExport;
class Tmitsumori;

// "エクスポート方法の選択": the plain CSV export or the file for the estimate program. Owns the
// two export windows.
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

private:
    AppContext &context_;
    TFormExport *formExport_;
    Tmitsumori *mitsumori_;
    ImageButton *PNGButtonCSV;
    ImageButton *PNGButtonMitsu;
    QPushButton *BtnGreetings;
    QPushButton *Btn_Cancel;
};
