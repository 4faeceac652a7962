#pragma once

#include "printui/SenderForm.h"

#include <QDialog>
#include <memory>

class QPushButton;
class TFormSearchZip;

// "自社情報編集": the user edits the sender data and its print choices (section SENDER of
// "conf.ini" in the data folder).
class TFormMyData : public QDialog {
    Q_OBJECT
public:
    // `dataPath` is the data folder, ending in "/".
    explicit TFormMyData(const QString &dataPath = {}, QWidget *parent = nullptr);
    ~TFormMyData() override;

    // Loads every control from the settings file.
    void FormShow();

    const SenderFormWidgets &Fields() const { return fields_; }

public slots:
    void Button1Click();
    void Button2Click();
    void BtnZipClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString dataPath_;
    SenderFormWidgets fields_;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *BtnZip = nullptr;
    // Made at the first lookup, without a parent, so its buttons are not among this window's.
    std::unique_ptr<TFormSearchZip> searchZip_;
};
