#include "postal/FormSearchZip.h"

#include "platform/Prompt.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

// The rows of ListView1; a model, because an address search may list most of the country.
class ZipRowModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetRows(const QList<ZipRow> &rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    const ZipRow &Row(int row) const { return rows_.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override {
        return parent.isValid() ? 0 : 2;
    }
    QVariant data(const QModelIndex &index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const ZipRow &row = rows_.at(index.row());
        return index.column() == 0 ? row.code : row.address;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("〒") : QStringLiteral("住所");
    }

private:
    QList<ZipRow> rows_;
};

TFormSearchZip::TFormSearchZip(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(QStringLiteral("検索キー："), this)), ListView1(new QTreeView(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)),
      Button2(new QPushButton(QStringLiteral("キャンセル"), this)), rows_(new ZipRowModel(this)) {
    setObjectName(QStringLiteral("FormSearchZip"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    Label1->setObjectName(QStringLiteral("Label1"));
    ListView1->setObjectName(QStringLiteral("ListView1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));

    // A long key must not widen the window.
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    ListView1->setModel(rows_);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, 100);
    ListView1->setColumnWidth(1, 333);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ListView1);
    layout->addLayout(buttons);
    setFixedSize(480, 360);

    // Enter in the list or a double-click takes the row; Enter does not press a button as well.
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);
    connect(ListView1, &QTreeView::activated, this, &TFormSearchZip::Button1Click);
    connect(ListView1, &QTreeView::doubleClicked, this, &TFormSearchZip::Button1Click);
    connect(Button1, &QPushButton::clicked, this, &TFormSearchZip::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormSearchZip::Button2Click);
}

void TFormSearchZip::ShowRows(const QString &keyCaption, const QList<ZipRow> &rows,
                              QLineEdit *zipEdit, QLineEdit *address1Edit) {
    Label1->setText(keyCaption);
    rows_->SetRows(rows);
    zipEdit_ = zipEdit;
    address1Edit_ = address1Edit;
    if (rows.size() == 1)
        ListView1->setCurrentIndex(rows_->index(0, 0));
    ListView1->setFocus();
    exec();
    rows_->SetRows({});
}

void TFormSearchZip::Button1Click() {
    // A double-click may also activate the row; the first of the two took it.
    if (!isVisible())
        return;
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        prompt().Message(QStringLiteral("リストから住所を選択して下さい。"));
        return;
    }
    const ZipRow &row = rows_->Row(selected.first().row());
    if (zipEdit_)
        zipEdit_->setText(row.code);
    if (address1Edit_)
        address1Edit_->setText(row.address);
    accept();
}

void TFormSearchZip::Button2Click() {
    reject();
}

void TFormSearchZip::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (const QScreen *shown = screen())
        move(shown->availableGeometry().center() - rect().center());
}
