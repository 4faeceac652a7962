#pragma once

#include "exchange/CsvExport.h"

#include <QDialog>
#include <vector>

class AppContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

// "エクスポート": which columns the CSV export writes, whether a header line comes first and the
// text encoding. The choices last for the whole run.
class TFormExport : public QDialog {
    Q_OBJECT

public:
    explicit TFormExport(AppContext &context, QWidget *parent = nullptr);

    ExportOptions Options() const;
    bool AllowClose() const { return allowClose_; }

public slots:
    void BtnExportClick();
    void BtnCancelClick();
    void reject() override;
    void done(int result) override;

private:
    void TickAllColumns(bool ticked);

    AppContext &context_;
    QGroupBox *GroupBox1;
    QGroupBox *GroupBox2;
    std::vector<QCheckBox *> columnChecks_; // in ExportColumns() order
    QCheckBox *ChbMidashi;
    QCheckBox *ChbAllItems;
    QCheckBox *ChbNoFormula;
    QPushButton *BtnSelectAll;
    QPushButton *BtnClearAll;
    QComboBox *CBEncoding;
    QPushButton *BtnExport;
    QPushButton *BtnCancel;
    bool allowClose_ = false;
};
