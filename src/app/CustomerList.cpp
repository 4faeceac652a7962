#include "app/CustomerList.h"

#include "core/ShiftJis.h"

#include <QHash>

namespace {

// Hiragana, full-width and half-width katakana of each sound, per index tab 1 to 11.
const QStringList &KanaRows() {
    static const QStringList rows{QStringLiteral("あアｱいイｲうウｳえエｴおオｵ"),
                                  QStringLiteral("かカｶきキｷくクｸけケｹこコｺ"),
                                  QStringLiteral("さサｻしシｼすスｽせセｾそソｿ"),
                                  QStringLiteral("たタﾀちチﾁつツﾂてテﾃとトﾄ"),
                                  QStringLiteral("なナﾅにニﾆぬヌﾇねネﾈのノﾉ"),
                                  QStringLiteral("はハﾊひヒﾋふフﾌへヘﾍほホﾎ"),
                                  QStringLiteral("まマﾏみミﾐむムﾑめメﾒもモﾓ"),
                                  QStringLiteral("やヤﾔゆユﾕよヨﾖ"),
                                  QStringLiteral("らラﾗりリﾘるルﾙれレﾚろロﾛ"),
                                  QStringLiteral("わワﾜをヲｦ"),
                                  QStringLiteral("んンﾝ")};
    return rows;
}

QString AlphaNumericPrefixes() {
    QString prefixes = QStringLiteral("123456789");
    for (char16_t c = u'A'; c <= u'Z'; ++c)
        prefixes += QChar(c);
    return prefixes + u'0';
}

// Voiced full-width kana that a new reading's tab also takes (the clauses do not list them).
const QStringList &VoicedKana() {
    static const QStringList voiced{QString(),
                                    QString(),
                                    QStringLiteral("ガがギぎグぐゲげゴご"),
                                    QStringLiteral("ザざジじズずゼぜゾぞ"),
                                    QStringLiteral("ダだヂぢヅづデでドど"),
                                    QString(),
                                    QStringLiteral("バばビびブぶベべボぼ")};
    return voiced;
}

const QHash<QString, int> &TabOfFirstCharacter() {
    static const QHash<QString, int> tabs = [] {
        QHash<QString, int> map;
        for (int index = 1; index <= 11; ++index) {
            for (QChar c : KanaRows()[index - 1])
                map.insert(QString(c), index);
            for (QChar c : VoicedKana().value(index))
                map.insert(QString(c), index);
        }
        for (QChar c : AlphaNumericPrefixes())
            map.insert(QString(c), 12);
        return map;
    }();
    return tabs;
}

} // namespace

QString KanaClause(int index) {
    QString prefixes;
    if (index >= 1 && index <= 11)
        prefixes = KanaRows()[index - 1];
    else if (index == 12)
        prefixes = AlphaNumericPrefixes();
    QStringList terms;
    for (QChar c : prefixes)
        terms << QStringLiteral("Kana LIKE '") + c + QStringLiteral("%'");
    return terms.join(QStringLiteral(" OR "));
}

int KanaTabIndex(const QString &reading) {
    const QByteArray bytes = ShiftJis::Encode(reading);
    if (bytes.isEmpty())
        return 0;
    const qsizetype length =
        ShiftJis::IsLeadByte(static_cast<unsigned char>(bytes[0])) && bytes.size() > 1 ? 2 : 1;
    QString first = ShiftJis::Decode(bytes.left(length));
    if (first.size() == 1 && first[0].unicode() < 0x80)
        first = first.toUpper();
    return TabOfFirstCharacter().value(first, 0);
}

QString BuildListStatement(const ListFilters &filters) {
    QString statement = QStringLiteral("select * from Usertbl");
    bool any = false;
    if (filters.classId >= 0) {
        statement += QStringLiteral(" where (class = ") + QString::number(filters.classId) + u')';
        any = true;
    }
    if (filters.classId2 >= 0) {
        statement += any ? QStringLiteral(" and (") : QStringLiteral(" where  (");
        statement += QStringLiteral("class2 = ") + QString::number(filters.classId2) + u')';
        any = true;
    }
    for (const QString &clause : {KanaClause(filters.readingIndex), filters.searchClause}) {
        if (clause.isEmpty())
            continue;
        statement += any ? QStringLiteral(" and ") : QStringLiteral(" where  ");
        statement += u'(' + clause + u')';
        any = true;
    }
    return statement + QStringLiteral(" order by Kana");
}

QString ListColumnsStatement(const QString &listStatement) {
    static const QString everything = QStringLiteral("select * from Usertbl");
    if (!listStatement.startsWith(everything))
        return listStatement;
    return QStringLiteral("select UserId, Name, Print from Usertbl") +
           listStatement.mid(everything.size());
}

QString CountLabelText(int shown, int total) {
    return QStringLiteral("%1/%2件該当").arg(shown).arg(total);
}

QString PrintMarkText(PrintMark mark) {
    switch (mark) {
    case PrintMark::On:
        return QStringLiteral("〇");
    case PrintMark::Off:
        return QStringLiteral("Ｘ");
    case PrintMark::OffEdited:
        return QStringLiteral("×");
    }
    return {};
}

CustomerListModel::CustomerListModel(QObject *parent) : QAbstractTableModel(parent) {}

int CustomerListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CustomerListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CustomerListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListRow &row = rows_[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case MarkColumn:
            return PrintMarkText(row.mark);
        case NameColumn:
            return row.name;
        case IdColumn:
            return QString::number(row.userId);
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == MarkColumn)
        return int(Qt::AlignCenter);
    return {};
}

QVariant CustomerListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == MarkColumn)
        return QStringLiteral("印刷");
    if (section == NameColumn)
        return QStringLiteral("名前");
    return QString();
}

void CustomerListModel::SetRows(std::vector<ListRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void CustomerListModel::UpdateRow(int row, bool print, const QString &name) {
    if (row < 0 || row >= rowCount())
        return;
    rows_[row].mark = print ? PrintMark::On : PrintMark::OffEdited;
    rows_[row].name = name;
    emit dataChanged(index(row, MarkColumn), index(row, NameColumn));
}

int CustomerListModel::RowOf(int userId) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].userId == userId)
            return static_cast<int>(i);
    return -1;
}
