#include "exchange/EstimateExport.h"

#include "core/TextHelpers.h"
#include "exchange/CsvExport.h"

#include <QHash>
#include <algorithm>

namespace {

const QHash<QString, QString> &ColumnOfChoice() {
    static const QHash<QString, QString> columns{
        {QStringLiteral("名前"), QStringLiteral("Name")},
        {QStringLiteral("会社名"), QStringLiteral("Office")},
        {QStringLiteral("会社郵便番号"), QStringLiteral("OfficeZip")},
        {QStringLiteral("個人郵便番号"), QStringLiteral("Zip")},
        {QStringLiteral("会社住所１"), QStringLiteral("OfficeAddress1")},
        {QStringLiteral("個人住所１"), QStringLiteral("Address1")},
        {QStringLiteral("会社住所２"), QStringLiteral("OfficeAddress2")},
        {QStringLiteral("個人住所２"), QStringLiteral("Address2")},
        {QStringLiteral("会社電話１"), QStringLiteral("OfficeTel_1")},
        {QStringLiteral("会社電話２"), QStringLiteral("OfficeTel_2")},
        {QStringLiteral("個人電話１"), QStringLiteral("TelNo_1")},
        {QStringLiteral("個人電話２"), QStringLiteral("TelNo_2")},
        {QStringLiteral("会社ＦＡＸ"), QStringLiteral("OfficeFax")},
        {QStringLiteral("個人ＦＡＸ"), QStringLiteral("FaxNo")},
    };
    return columns;
}

} // namespace

const QList<QStringList> &EstimateChoices() {
    static const QString none = QStringLiteral("エクスポートしない");
    static const QList<QStringList> choices{
        {none, QStringLiteral("名前"), QStringLiteral("会社名")},
        {none, QStringLiteral("会社郵便番号"), QStringLiteral("個人郵便番号")},
        {none, QStringLiteral("会社住所１"), QStringLiteral("個人住所１")},
        {none, QStringLiteral("会社住所２"), QStringLiteral("個人住所２")},
        {none, QStringLiteral("会社電話１"), QStringLiteral("会社電話２"),
         QStringLiteral("個人電話１"), QStringLiteral("個人電話２")},
        {none, QStringLiteral("会社ＦＡＸ"), QStringLiteral("個人ＦＡＸ")},
    };
    return choices;
}

const QStringList &EstimateColumns() {
    static const QStringList columns = [] {
        QStringList list = ColumnOfChoice().values();
        list.sort();
        return list;
    }();
    return columns;
}

QString ValueForChoice(const QString &choice, const QStringList &customer) {
    const QString column = ColumnOfChoice().value(choice);
    return column.isEmpty() ? QString() : customer.value(EstimateColumns().indexOf(column));
}

QString EstimateLine(const QStringList &choices, const QStringList &customer) {
    QStringList values;
    for (const QString &choice : choices)
        values << QuoteCsvValue(WithoutLineBreaks(ValueForChoice(choice, customer)));
    // A customer without any of the chosen values has no line.
    if (std::all_of(values.begin(), values.end(), [](const QString &v) { return v.isEmpty(); }))
        return {};
    return values.join(u',');
}
