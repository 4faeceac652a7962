#pragma once

#include "printui/SenderForm.h"

#include <QDialog>
#include <array>

class QPushButton;

// "自社情報確認": shows the sender data read-only; only what is printed can be changed. The
// address print window composes each card's sender block from this window's choices.
class TFPrintSenderCfg : public QDialog {
    Q_OBJECT
public:
    // `dataPath` is the data folder, ending in "/".
    explicit TFPrintSenderCfg(const QString &dataPath, QWidget *parent = nullptr);
    ~TFPrintSenderCfg() override;

    // Reads the sender data from the settings file (creating an empty file when there is none)
    // and remembers the print choices as they are at opening.
    void FormShow();
    // The sender record of one card from the data and the current print choices; the record's
    // font sizes are kept.
    void ComposeSenderPrintData(TPrintSenderData &record) const;

    const TSenderBuff &SenderBuff() const { return senderBuff_; }
    const SenderFormWidgets &Fields() const { return fields_; }

public slots:
    void RegistButtonClick();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QString dataPath_;
    SenderFormWidgets fields_;
    TSenderBuff senderBuff_;
    TSenderBuff atOpening_;
    QPushButton *RegistButton = nullptr;
    QPushButton *CancelButton = nullptr;
};
