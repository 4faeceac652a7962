#include "exchange/CsvExport.h"

#include "core/Clock.h"
#include "core/ShiftJis.h"
#include "core/TextHelpers.h"
#include "platform/Prompt.h"
#include "store/ClassTable.h"
#include "store/CustomerExport.h"
#include "store/ExchangeColumns.h"
#include "store/TableEngine.h"

#include <QDate>
#include <QDir>
#include <QFile>
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

// A spreadsheet takes a value starting with one of these for a formula.
template <typename Text> bool StartsLikeFormula(const Text &value) {
    if (value.isEmpty())
        return false;
    const auto first = Code(value.front());
    return first == '=' || first == '+' || first == '-' || first == '@';
}

// Line breaks would end the line early, so they are removed; anything else the import would
// misread is enclosed in double quotes, a double quote doubled. With `guardFormulas`, what a
// spreadsheet would take for a formula gets an apostrophe before it, which the import removes.
QString Item(const QString &value, bool guardFormulas) {
    if (guardFormulas && StartsLikeFormula(value))
        return Item(u'\'' + value, false);
    if (IsPlainItem(QStringView(value)))
        return value;
    QString single = WithoutLineBreaks(value);
    if (IsPlainItem(QStringView(single)))
        return single;
    return u'"' + single.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString ItemOf(const ExportColumn &column, const QString &value, const QStringList &classNames1,
               const QStringList &classNames2, const QDate &today, bool guardFormulas) {
    switch (column.value) {
    case ExportValue::Text:
        return Item(value, guardFormulas);
    case ExportValue::Date: {
        const QDate date = TableDate(value);
        return date.isValid() ? ShortDateText(date) : QString();
    }
    case ExportValue::Age: {
        const QDate birthday = TableDate(value);
        return birthday.isValid() ? QString::number(CalcAge(birthday, today)) : QString();
    }
    case ExportValue::ClassName1:
        return Item(classNames1.value(value.toInt()), guardFormulas);
    case ExportValue::ClassName2:
        return Item(classNames2.value(value.toInt()), guardFormulas);
    }
    return {};
}

// Writes the lines as UTF-8 straight from the table's texts. Dates, ages and class names repeat
// across a long list, so each distinct table value of theirs is formatted only once.
class ExportLineWriter {
public:
    ExportLineWriter(const std::vector<const ExportColumn *> &columns,
                     const QStringList &classNames1, const QStringList &classNames2,
                     const QDate &today, bool guardFormulas)
        : columns_(columns), classNames1_(classNames1), classNames2_(classNames2), today_(today),
          guardFormulas_(guardFormulas) {}

    // Per column its item and ",", then CR LF, after the lines written before.
    void AppendLine(std::span<const QByteArrayView> values) {
        for (size_t i = 0; i < columns_.size(); ++i) {
            AppendItem(*columns_[i], values[i]);
            lines_ += ',';
        }
        lines_ += "\r\n";
    }
    const std::string &Lines() const { return lines_; }

private:
    struct TextHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    using FormattedItems = std::unordered_map<std::string, std::string, TextHash, std::equal_to<>>;

    QString Text(QByteArrayView value) const {
        return value.isNull() ? QString() : QString::fromUtf8(value);
    }

    void AppendItem(const ExportColumn &column, QByteArrayView value) {
        if (column.value == ExportValue::Text) {
            if (IsPlainItem(value) && !(guardFormulas_ && StartsLikeFormula(value)))
                lines_.append(value.data(), size_t(value.size()));
            else
                lines_ += Item(Text(value), guardFormulas_).toStdString();
            return;
        }
        FormattedItems &formatted = formatted_[size_t(column.value)];
        const std::string_view key(value.data(), size_t(value.size()));
        auto at = formatted.find(key);
        if (at == formatted.end())
            at = formatted
                     .emplace(std::string(key), ItemOf(column, Text(value), classNames1_,
                                                       classNames2_, today_, guardFormulas_)
                                                    .toStdString())
                     .first;
        lines_ += at->second;
    }

    const std::vector<const ExportColumn *> &columns_;
    const QStringList &classNames1_;
    const QStringList &classNames2_;
    const QDate today_;
    const bool guardFormulas_;
    std::array<FormattedItems, size_t(ExportValue::ClassName2) + 1> formatted_;
    // Appends of a standard string stay inline, which counts over a long export.
    std::string lines_;
};

} // namespace

QString CsvItem(const QString &value, bool guardFormulas) {
    return Item(value, guardFormulas);
}

QString WithoutLineBreaks(const QString &value) {
    QString single = value;
    single.remove(u'\r');
    single.remove(u'\n');
    return single;
}

std::vector<const ExportColumn *> TickedColumns(const ExportOptions &options) {
    std::vector<const ExportColumn *> columns;
    const auto all = ExportColumns();
    for (size_t i = 0; i < all.size(); ++i)
        if (i < options.ticked.size() && options.ticked[i])
            columns.push_back(&all[i]);
    if (options.lossless)
        for (const ExportColumn &column : LosslessExportColumns())
            columns.push_back(&column);
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

std::optional<QByteArray> BuildCsvExport(Database &database, const std::vector<int> &listed,
                                         const ExportOptions &options,
                                         const std::function<bool(int, int)> &progress,
                                         int *customers) {
    const std::vector<const ExportColumn *> columns = TickedColumns(options);
    QStringList names;
    for (const ExportColumn *column : columns)
        names << column->Column();
    Query classQuery(database);
    const QStringList classNames1 = ReadClassNamesById(classQuery, ClassAxis::First);
    const QStringList classNames2 = ReadClassNamesById(classQuery, ClassAxis::Second);
    ExportLineWriter writer(columns, classNames1, classNames2, Clock::Today(),
                            options.guardFormulas);
    // Where each listed customer's line lies among the lines, written in table order; a customer
    // deleted since the list was built has none.
    struct Span {
        size_t from = 0, size = 0;
    };
    std::vector<Span> lines(listed.size());
    int found = 0;
    const bool read = VisitListedCustomers(
        database, listed, names,
        [&writer, &lines, &found](size_t position, std::span<const QByteArrayView> values) {
            const size_t from = writer.Lines().size();
            writer.AppendLine(values);
            lines[position] = {from, writer.Lines().size() - from};
            ++found;
        },
        progress);
    if (!read)
        return std::nullopt;
    if (customers)
        *customers = found;

    std::string text;
    if (options.header)
        text = ExportHeaderLine(columns).toStdString() + "\r\n";
    text.reserve(text.size() + writer.Lines().size());
    for (const Span &line : lines)
        text.append(writer.Lines(), line.from, line.size);
    // One conversion of the whole file rather than one per item.
    return EncodeExportText(QString::fromStdString(text), options.encoding);
}

QString ExportedMessage(int customers, const QString &path) {
    return QStringLiteral("%1件をエクスポートしました。\r\n%2")
        .arg(customers)
        .arg(QDir::toNativeSeparators(path));
}

bool WritePrivateExportFile(const QString &path, const QByteArray &bytes, QString *error) {
    // Customers' addresses are for the user alone, also where an older file was readable.
    return TextFile::WriteFileAtomically(path, bytes, error) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

bool WriteExportFile(const QString &path, const QByteArray &bytes) {
    QString error;
    if (WritePrivateExportFile(path, bytes, &error))
        return true;
    prompt().Error(error);
    return false;
}
