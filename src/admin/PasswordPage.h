#pragma once

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLineEdit;

// "パスワード設定", the page of the settings window that switches the start-up password on or
// off. The window loads it when shown, asks Accept when "設定" is pressed (false keeps the
// window open and saves nothing), closes and then calls Save.
class TPasswordPage : public QWidget {
    Q_OBJECT

public:
    explicit TPasswordPage(const QString &dbPath, QWidget *parent = nullptr);

    void Load();
    bool Accept();
    void Save();
    // Whether "設定" may be pressed: unticked, or two equal, non-empty entries.
    bool OkAllowed() const;

signals:
    void OkConditionChanged();

private:
    QCheckBox *CB_PassUse;
    QWidget *Panel1;
    QLineEdit *Edt_Pass1;
    QLineEdit *Edt_Pass2;
    void UpdatePasswordPage();
    // Switching a password off or changing it needs the current one; false when it was not
    // given (the user was told).
    bool CurrentPasswordGiven();
    // Writes the marker; false after telling the user why it could not be written.
    bool SaveMarker(bool on);

    QString dbPath_;
    QStringList markerLines_;
};
