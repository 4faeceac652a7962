#include "exchange/CsvExport.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/AppContext.h"
#include "platform/Prompt.h"
#include "store/ClassTable.h"
#include "store/CustomerExport.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

#include <QDate>
#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

QDate TableDate(const QString &value) {
    return QDate::fromString(value.left(10), Qt::ISODate);
}

// A "," or double quote would shift the columns after it, a tab or other control character
// splits the value on import, and the import drops the blanks that start a line.
char16_t Code(QChar c) {
    return c.unicode();
}
unsigned char Code(char c) {
    return static_cast<unsigned char>(c);
}

template <typename Text> bool IsPlainItem(const Text &value) {
    const auto special = [](auto c) {
        const auto code = Code(c);
        return code == ',' || code == '"' || code < 0x20;
    };
    return (value.isEmpty() || Code(value.front()) != ' ') &&
           std::none_of(value.begin(), value.end(), special);
}

// Line breaks would end the line early, so they are removed; anything else the import would
// misread is enclosed in double quotes, a double quote doubled.
QString Item(const QString &value) {
    if (IsPlainItem(QStringView(value)))
        return value;
    QString single = value;
    single.remove(u'\r');
    single.remove(u'\n');
    if (IsPlainItem(QStringView(single)))
        return single;
    return u'"' + single.replace(u'"', QStringLiteral("\"\"")) + u'"';
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

// Writes the lines as UTF-8 straight from the table's texts. Dates, ages and class names repeat
// across a long list, so each distinct table value of theirs is formatted only once.
class ExportLineWriter {
public:
    ExportLineWriter(const std::vector<const ExportColumn *> &columns,
                     const QStringList &classNames1, const QStringList &classNames2,
                     const QDate &today)
        : columns_(columns), classNames1_(classNames1), classNames2_(classNames2), today_(today) {}

    // Per column its item and ",", then CR LF.
    QByteArray Line(std::span<const QByteArrayView> values) {
        line_.resize(0); // keeps the buffer for the next line
        for (size_t i = 0; i < columns_.size(); ++i) {
            AppendItem(*columns_[i], values[i]);
            line_ += ',';
        }
        line_ += "\r\n";
        return QByteArray(line_.constData(), line_.size());
    }

private:
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    using FormattedItems = std::unordered_map<std::string, QByteArray, TextHash, std::equal_to<>>;

    QString Text(QByteArrayView value) const {
        return value.isNull() ? QString() : QString::fromUtf8(value);
    }

    void AppendItem(const ExportColumn &column, QByteArrayView value) {
        if (column.value == ExportValue::Text) {
            if (IsPlainItem(value))
                line_ += value;
            else
                line_ += Item(Text(value)).toUtf8();
            return;
        }
        FormattedItems &formatted = formatted_[size_t(column.value)];
        const std::string_view key(value.data(), size_t(value.size()));
        auto at = formatted.find(key);
        if (at == formatted.end())
            at = formatted
                     .emplace(
                         std::string(key),
                         ItemOf(column, Text(value), classNames1_, classNames2_, today_).toUtf8())
                     .first;
        line_ += at->second;
    }

    const std::vector<const ExportColumn *> &columns_;
    const QStringList &classNames1_;
    const QStringList &classNames2_;
    const QDate today_;
    std::array<FormattedItems, size_t(ExportValue::ClassName2) + 1> formatted_;
    QByteArray line_;
};

} // namespace

std::vector<const ExportColumn *> TickedColumns(const ExportOptions &options) {
    std::vector<const ExportColumn *> columns;
    const auto all = ExportColumns();
    for (size_t i = 0; i < all.size(); ++i)
        if (i < options.ticked.size() && options.ticked[i])
            columns.push_back(&all[i]);
    return columns;
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
    ExportLineWriter writer(columns, classNames1, classNames2, Clock::Today());
    // Lines by list position; a customer deleted since the list was built keeps an empty one.
    const std::vector<int> listed = context.ListedUserIds();
    std::vector<QByteArray> lines(listed.size());
    const bool read = VisitListedCustomers(
        context.GetDatabase(), listed, names,
        [&writer, &lines](size_t position, std::span<const QByteArrayView> values) {
            lines[position] = writer.Line(values);
        },
        progress);
    if (!read)
        return std::nullopt;

    QByteArray text;
    if (options.header)
        text += ExportHeaderLine(columns).toUtf8() + "\r\n";
    qsizetype size = text.size();
    for (const QByteArray &line : lines)
        size += line.size();
    text.reserve(size);
    for (const QByteArray &line : lines)
        text += line;
    // One conversion of the whole file rather than one per item.
    return EncodeExportText(QString::fromUtf8(text), options.encoding);
}

bool WriteExportFile(const QString &path, const QByteArray &bytes) {
    QString error;
    if (TextFile::WriteFileAtomically(path, bytes, &error))
        return true;
    prompt().Error(error);
    return false;
}
