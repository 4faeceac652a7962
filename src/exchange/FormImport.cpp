#include "exchange/FormImport.h"

#include "exchange/GreetingCsv.h"
#include "exchange/HeadlessExchange.h"

#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/ClassTable.h"
#include "store/EngineError.h"
#include "store/ExchangeColumns.h"
#include "widgets/ImageButton.h"
#include "widgets/ProgressWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int InitialRows = 8;
// A sample cell shows the start of a long field only.
constexpr int SampleCellLength = 200;

// Puts the chosen field on the selected row, to the left.
void PaintAssignGlyph(QPainter &p, const QColor &) {
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(26, 16), QPointF(7, 16));
    p.drawPolyline(QPolygonF({QPointF(14, 9), QPointF(7, 16), QPointF(14, 23)}));
}

void PaintClearGlyph(QPainter &p, const QColor &) {
    p.setPen(QPen(Qt::white, 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 9), QPointF(23, 23));
    p.drawLine(QPointF(23, 9), QPointF(9, 23));
}

} // namespace

TFormImport::TFormImport(AppContext &context, QWidget *parent, ExistingCustomerFinder findExisting)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context), findExisting_(std::move(findExisting)),
      SGMain(new QTableWidget(InitialRows, 2, this)), ListBoxContents(new QListWidget(this)),
      SBAddContent(NewWindowTileButton(PaintAssignGlyph, QColor(0x34, 0x6a, 0xcc),
                                       QStringLiteral("追加"), "SBAddContent", QSize(64, 62),
                                       this)),
      SBDelContent(NewWindowTileButton(PaintClearGlyph, QColor(0xc0, 0x4a, 0x3a),
                                       QStringLiteral("解除"), "SBDelContent", QSize(64, 62),
                                       this)),
      SBPrev(NewWindowButton(this, "SBPrev", QStringLiteral("←"))),
      SBNext(NewWindowButton(this, "SBNext", QStringLiteral("→"))),
      Label3(new QLabel(QStringLiteral("0/0"), this)),
      LabelEncoding(new QLabel(QStringLiteral("文字コード"), this)),
      CBEncoding(new QComboBox(this)),
      ChbHeader(new QCheckBox(QStringLiteral("1行目は見出し"), this)),
      CBExisting(new QComboBox(this)),
      BtnImport(NewWindowButton(this, "BtnImport", QStringLiteral("インポートする"))),
      BtnCancel(NewWindowButton(this, "BtnCancel", QStringLiteral("キャンセル"))) {
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("インポート"));
    SGMain->setObjectName(QStringLiteral("SGMain"));
    SGMain->horizontalHeader()->hide();
    SGMain->verticalHeader()->hide();
    SGMain->horizontalHeader()->setDefaultSectionSize(100);
    SGMain->horizontalHeader()->setStretchLastSection(true);
    SGMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGMain->setSelectionMode(QAbstractItemView::SingleSelection);
    SGMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGMain->setTabKeyNavigation(false);
    SGMain->setMinimumSize(260, 300);
    ListBoxContents->setObjectName(QStringLiteral("ListBoxContents"));
    for (const ImportField &field : ImportFields())
        ListBoxContents->addItem(field.Caption());
    Label3->setObjectName(QStringLiteral("Label3"));
    LabelEncoding->setObjectName(QStringLiteral("LabelEncoding"));
    LabelEncoding->setBuddy(CBEncoding);
    CBEncoding->setObjectName(QStringLiteral("CBEncoding"));
    CBEncoding->addItems({EncodingName(TextFile::TextEncoding::ShiftJis),
                          EncodingName(TextFile::TextEncoding::Utf8)});
    ChbHeader->setObjectName(QStringLiteral("ChbHeader"));

    auto *label1 = new QLabel(QStringLiteral("項目対応表(&C)"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setBuddy(SGMain);
    auto *label2 = new QLabel(QStringLiteral("項目選択(&S)"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setBuddy(ListBoxContents);

    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(SBAddContent);
    middle->addWidget(SBDelContent);
    middle->addStretch(1);
    auto *grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(label2, 0, 2);
    grid->addWidget(SGMain, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(ListBoxContents, 1, 2);
    auto *paging = new QHBoxLayout;
    paging->addWidget(SBPrev);
    paging->addWidget(Label3);
    paging->addWidget(SBNext);
    paging->addStretch(1);
    paging->addWidget(ChbHeader);
    paging->addWidget(LabelEncoding);
    paging->addWidget(CBEncoding);
    CBExisting->setObjectName(QStringLiteral("CBExisting"));
    CBExisting->addItems({QStringLiteral("追加する"), QStringLiteral("登録しない"),
                          QStringLiteral("登録済みの顧客の空欄を補う")});
    auto *labelExisting = new QLabel(QStringLiteral("登録済みの顧客と一致した行(&M)"), this);
    labelExisting->setBuddy(CBExisting);
    labelExisting->setVisible(bool(findExisting_));
    CBExisting->setVisible(bool(findExisting_));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(labelExisting);
    buttons->addWidget(CBExisting);
    buttons->addStretch(1);
    buttons->addWidget(BtnImport);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(paging);
    layout->addLayout(buttons);

    connect(SGMain, &QTableWidget::currentCellChanged, this,
            [this](int row) { SGMainSelectCell(row); });
    connect(SBAddContent, &ImageButton::clicked, this, &TFormImport::SBAddContentClick);
    connect(SBDelContent, &ImageButton::clicked, this, &TFormImport::SBDelContentClick);
    connect(SBPrev, &QPushButton::clicked, this, &TFormImport::SBPrevClick);
    connect(SBNext, &QPushButton::clicked, this, &TFormImport::SBNextClick);
    connect(CBEncoding, &QComboBox::activated, this, &TFormImport::CBEncodingChange);
    connect(ChbHeader, &QCheckBox::clicked, this, &TFormImport::ChbHeaderClick);
    connect(BtnImport, &QPushButton::clicked, this, &TFormImport::BtnImportClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormImport::RunImport() {
    const QString path =
        prompt().OpenFile(QStringLiteral("インポート"), QString(),
                          QStringLiteral("CSVファイル (*.csv *.CSV);;vCardファイル (*.vcf *.VCF)"));
    if (path.endsWith(QStringLiteral(".vcf"), Qt::CaseInsensitive)) {
        ImportVCardFile(path);
        return;
    }
    if (path.isEmpty() || !LoadFile(path))
        return;
    // A file of the greeting record needs no column mapping.
    if (IsGreetingFile(file_)) {
        GreetingImport outcome;
        QString error;
        if (ImportGreetingRecords(context_.GetDatabase(), file_, outcome, error))
            prompt().Message(GreetingImportMessage(outcome));
        else
            prompt().Error(error);
        return;
    }
    if (exec() != QDialog::Accepted) {
        context_.RefreshList();
        return;
    }
    ImportAccepted();
}

void TFormImport::ImportVCardFile(const QString &path) {
    // A long list of refused cards is cut so the message still fits the screen.
    constexpr int ShownLines = 20;
    QStringList lines;
    QString error;
    int status = 1;
    try {
        status = ImportVCardsHeadless(
            context_.GetDatabase(), context_.GetDataPath(), path,
            [&lines](const QString &line) { lines << line; }, &error);
    } catch (const EngineError &refusal) {
        error = refusal.message();
    }
    context_.RefreshList();
    if (lines.size() > ShownLines)
        lines = lines.mid(0, ShownLines - 1)
                << QStringLiteral("ほか %1 行").arg(lines.size() - ShownLines + 1) << lines.last();
    if (status == 1)
        prompt().Error((lines << error).join(QStringLiteral("\r\n")));
    else
        prompt().Message(lines.join(QStringLiteral("\r\n")));
}

bool TFormImport::LoadFile(const QString &path) {
    QString error;
    std::optional<ImportFile> file = ReadImportFile(path, error);
    if (!file) {
        prompt().Error(error);
        return false;
    }
    file_ = std::move(*file);
    FormShow();
    return true;
}

void TFormImport::FormShow() {
    plan_ = {};
    SGMain->clearContents();
    SGMain->setRowCount(InitialRows);
    ListBoxContents->setCurrentRow(0);
    selectedRow_ = 0;
    currentLine_ = 0;
    CBEncoding->setCurrentIndex(file_.encoding == TextFile::TextEncoding::Utf8 ? 1 : 0);
    ShowLine(0);
    const std::optional<QStringList> header =
        HeaderAssignments(SampleFields(file_.lines.value(0), file_.separator));
    ChbHeader->setChecked(header.has_value());
    if (header)
        AssignByHeader(*header);
}

void TFormImport::AssignByHeader(const QStringList &assignments) {
    for (int row = 0; row < SGMain->rowCount(); ++row)
        SetAssignment(row, assignments.value(row));
}

void TFormImport::ChbHeaderClick() {
    if (!ChbHeader->isChecked())
        return;
    if (const std::optional<QStringList> header =
            HeaderAssignments(SampleFields(file_.lines.value(0), file_.separator)))
        AssignByHeader(*header);
}

void TFormImport::CBEncodingChange(int index) {
    const auto encoding =
        index == 1 ? TextFile::TextEncoding::Utf8 : TextFile::TextEncoding::ShiftJis;
    if (encoding == file_.encoding)
        return;
    QString error;
    if (!ReadImportFileAs(file_, encoding, error)) {
        prompt().Error(error);
        CBEncoding->setCurrentIndex(file_.encoding == TextFile::TextEncoding::Utf8 ? 1 : 0);
        return;
    }
    FormShow();
}

void TFormImport::ShowLine(int line) {
    const QStringList fields = SampleFields(file_.lines.value(line), file_.separator);
    if (!fields.isEmpty())
        SGMain->setRowCount(int(fields.size()));
    for (int i = 0; i < fields.size(); ++i) {
        QString sample = fields[i];
        if (sample.size() > SampleCellLength)
            sample = sample.left(SampleCellLength) + QStringLiteral("…");
        SGMain->setItem(i, 0, new QTableWidgetItem(sample));
    }
    Label3->setText(
        QStringLiteral("%1/%2").arg(file_.lines.isEmpty() ? 0 : line + 1).arg(file_.lines.size()));
}

void TFormImport::SetAssignment(int row, const QString &field) {
    SGMain->setItem(row, 1, new QTableWidgetItem(field));
}

QStringList TFormImport::Assignments() const {
    QStringList assignments;
    for (int row = 0; row < SGMain->rowCount(); ++row)
        assignments << (SGMain->item(row, 1) ? SGMain->item(row, 1)->text() : QString());
    return assignments;
}

void TFormImport::SGMainSelectCell(int row) {
    if (row >= 0)
        selectedRow_ = row;
}

void TFormImport::SBAddContentClick() {
    const QListWidgetItem *chosen = ListBoxContents->currentItem();
    if (!chosen) {
        prompt().Message(QStringLiteral("追加する項目を選択して下さい"));
        return;
    }
    const QStringList assignments = Assignments();
    for (int row = 0; row < assignments.size(); ++row)
        if (assignments[row] == chosen->text())
            SetAssignment(row, QString());
    if (selectedRow_ < SGMain->rowCount())
        SetAssignment(selectedRow_, chosen->text());
}

void TFormImport::SBDelContentClick() {
    if (selectedRow_ < SGMain->rowCount())
        SetAssignment(selectedRow_, QString());
}

void TFormImport::SBPrevClick() {
    if (file_.lines.isEmpty())
        return;
    currentLine_ = currentLine_ == 0 ? int(file_.lines.size()) - 1 : currentLine_ - 1;
    ShowLine(currentLine_);
}

void TFormImport::SBNextClick() {
    if (file_.lines.isEmpty())
        return;
    currentLine_ = currentLine_ + 1 >= file_.lines.size() ? 0 : currentLine_ + 1;
    ShowLine(currentLine_);
}

void TFormImport::BtnImportClick() {
    ImportSettings settings{ChbHeader->isChecked(),
                            ReadClassNamesById(context_.SharedClassQuery(), ClassAxis::First),
                            ReadClassNamesById(context_.SharedClassQuery(), ClassAxis::Second)};
    ImportPlan plan = BuildImportPlan(file_, Assignments(), settings);
    if (!plan.unrepresentable.isEmpty()) {
        const qsizetype shown = std::min<qsizetype>(plan.unrepresentable.size(), 20);
        QString lines = plan.unrepresentable.first(shown).join(QStringLiteral("\r\n"));
        if (plan.unrepresentable.size() > shown)
            lines += QStringLiteral("\r\nほか%1行").arg(plan.unrepresentable.size() - shown);
        prompt().Error(QStringLiteral("次の行には、この顧客台帳に保存できない文字があります。\r\n"
                                      "何も登録していません。文字を直すか、その項目の割り当てを"
                                      "解除してください。\r\n\r\n") +
                       lines);
        return;
    }
    plan_ = std::move(plan);
    accept();
}

void TFormImport::ImportAccepted() {
    ImportOutcome outcome;
    const auto choice = findExisting_ ? ExistingCustomerChoice(CBExisting->currentIndex())
                                      : ExistingCustomerChoice::AddAnyway;
    try {
        const FindExistingCustomer existing = choice == ExistingCustomerChoice::AddAnyway
                                                  ? FindExistingCustomer()
                                                  : findExisting_(context_.GetDatabase());
        ProgressWindow progress(QStringLiteral("インポートしています…"), QStringLiteral("処理中"),
                                parentWidget(), ProgressWindow::AtOnce);
        outcome = InsertImportRows(
            context_.GetDatabase(), plan_, prompt(),
            [&](int done, int total) { return progress.Report(done, total); }, choice, existing);
    } catch (const EngineError &error) {
        prompt().Error(error.message());
        return;
    }
    const ImportPlan plan = std::move(plan_);
    plan_ = {};
    if (outcome.kind == ImportOutcome::Cancelled) {
        prompt().Message(QStringLiteral("インポートを中止しました。何も登録していません。"));
        return;
    }
    if (choice != ExistingCustomerChoice::AddAnyway)
        prompt().Message(ExistingCustomerCountsMessage(outcome));
    if (const QString message = ImportNotesMessage(plan, outcome.stored); !message.isEmpty())
        prompt().Message(message);
    context_.RefreshList();
}
