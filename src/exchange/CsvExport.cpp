#include "exchange/CsvExport.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "exchange/CsvText.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/ClassTable.h"
#include "store/CustomerExport.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

#include <QFileInfo>
#include <algorithm>

namespace {

QDate TableDate(const QString &value) {
    return QDate::fromString(value.left(10), Qt::ISODate);
}

// Line breaks would end the line early, and a "," or double quote would shift the columns
// after it.
QString Item(const QString &value) {
    static const QString special = QStringLiteral("\r\n,\"");
    if (std::none_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); }))
        return value;
    QString single = value;
    single.remove(u'\r');
    single.remove(u'\n');
    return QuoteCsvValue(single);
}

QString ItemOf(const ExportColumn &column, const QString &value, const QStringList &classNames1,
               const QStringList &classNames2, const QDate &today) {
    switch (column.value) {
    case ExportValue::Text:
        return Item(value);
    case ExportValue::Date: {
        const QDate date = TableDate(value);
        return date.isValid() ? ShortDateText(date) : QString();
    }
    case ExportValue::Age: {
        const QDate birthday = TableDate(value);
        return birthday.isValid() ? QString::number(CalcAge(birthday, today)) : QString();
    }
    case ExportValue::ClassName1:
        return Item(classNames1.value(value.toInt()));
    case ExportValue::ClassName2:
        return Item(classNames2.value(value.toInt()));
    }
    return {};
}

} // namespace

std::vector<const ExportColumn *> TickedColumns(const ExportOptions &options) {
    std::vector<const ExportColumn *> columns;
    const auto all = ExportColumns();
    for (size_t i = 0; i < all.size(); ++i)
        if (i < options.ticked.size() && options.ticked[i])
            columns.push_back(&all[i]);
    return columns;
}

QString ExportLine(const std::vector<const ExportColumn *> &columns, const QStringList &values,
                   const QStringList &classNames1, const QStringList &classNames2,
                   const QDate &today) {
    QString line;
    for (size_t i = 0; i < columns.size(); ++i)
        line +=
            ItemOf(*columns[i], values.value(qsizetype(i)), classNames1, classNames2, today) + u',';
    return line;
}

QString ExportHeaderLine(const std::vector<const ExportColumn *> &columns) {
    QString line;
    for (const ExportColumn *column : columns)
        line += column->Header() + u',';
    return line;
}

QByteArray EncodeExportText(const QString &text, TextFile::TextEncoding encoding) {
    if (encoding == TextFile::TextEncoding::Utf8)
        return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
    return ShiftJis::Encode(text);
}

std::optional<QByteArray> BuildCsvExport(AppContext &context, const ExportOptions &options,
                                         const std::function<bool(int, int)> &progress) {
    const std::vector<const ExportColumn *> columns = TickedColumns(options);
    QStringList names;
    for (const ExportColumn *column : columns)
        names << column->Column();
    const QStringList classNames1 =
        ReadClassNamesById(context.SharedClassQuery(), ClassAxis::First);
    const QStringList classNames2 =
        ReadClassNamesById(context.SharedClassQuery(), ClassAxis::Second);
    const std::optional<std::vector<QStringList>> rows =
        ReadListedCustomers(context.GetDatabase(), context.ListedUserIds(), names, progress);
    if (!rows)
        return std::nullopt;

    const QDate today = Clock::Today();
    const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    if (options.header)
        text += ExportHeaderLine(columns) + lineEnd;
    for (const QStringList &row : *rows)
        text += ExportLine(columns, row, classNames1, classNames2, today) + lineEnd;
    return EncodeExportText(text, options.encoding);
}

QString AskExportPath(AppContext &context, const QString &caption, const QString &proposedPath,
                      const QString &filter) {
    QString path = context.GetPrompt().SaveFile(caption, proposedPath, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return path;
}

bool WriteExportFile(AppContext &context, const QString &path, const QByteArray &bytes) {
    QString error;
    if (TextFile::WriteFileAtomically(path, bytes, &error))
        return true;
    context.GetPrompt().Error(error);
    return false;
}
