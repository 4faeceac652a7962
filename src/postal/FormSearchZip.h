#pragma once

#include "platform/ZipData.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class ZipRowModel;

// "郵便番号検索": lists the entries a lookup found; OK writes the chosen one into the edits of
// the address page. Created once and reused.
class TFormSearchZip : public QDialog {
    Q_OBJECT

public:
    explicit TFormSearchZip(QWidget *parent = nullptr);

    // Fills the list and shows the window modally; OK writes into the two edits.
    void ShowRows(const QString &keyCaption, const QList<ZipRow> &rows, QLineEdit *zipEdit,
                  QLineEdit *address1Edit);

public slots:
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *Label1;
    QTreeView *ListView1;
    QPushButton *Button1;
    QPushButton *Button2;
    ZipRowModel *rows_;
    QPointer<QLineEdit> zipEdit_;
    QPointer<QLineEdit> address1Edit_;
};
