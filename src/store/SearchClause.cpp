#include "store/SearchClause.h"

#include "core/Clock.h"
#include "core/DomainWords.h"
#include "core/ShiftJis.h"
#include "core/SqlText.h"
#include "core/TextHelpers.h"

#include <QDate>

namespace {

const QString Contains = QStringLiteral("を含むﾃﾞｰﾀ");
const QString StartsWith = QStringLiteral("で始まるﾃﾞｰﾀ");
const QString EndsWith = QStringLiteral("で終わるﾃﾞｰﾀ");
const QString NotSame = QStringLiteral("でないﾃﾞｰﾀ");
const QString NotContains = QStringLiteral("を含まないﾃﾞｰﾀ");
const QString After = QStringLiteral("以降のﾃﾞｰﾀ");
const QString Before = QStringLiteral("以前のﾃﾞｰﾀ");
const QString InMonth = QStringLiteral("月のﾃﾞｰﾀ");
const QString Older = QStringLiteral("よりも大きいﾃﾞｰﾀ");
const QString Younger = QStringLiteral("よりも小さいﾃﾞｰﾀ");
const QString OfUse = QStringLiteral("のﾃﾞｰﾀ");

const QStringList TextSix = {Contains, StartsWith, EndsWith, SameOperator, NotSame, NotContains};

QList<SearchField> MakeFields() {
    using K = SearchKind;
    using C = SearchChoices;
    using M = SearchInputMode;
    const QStringList dateOps = {After, SameOperator, Before};
    const QStringList birthdayOps = dateOps + QStringList{InMonth};
    const QStringList ageOps = {Older, SameOperator, Younger};
    const QStringList sameOrNot = {SameOperator, NotSame};
    const QStringList containOrNot = {Contains, NotContains};
    const auto field = [](const char16_t *entry, const char *column, K kind, C choices,
                          const QStringList &operators, M mode) {
        return SearchField{QString::fromUtf16(entry),
                           *column ? QString::fromLatin1(column) + u' ' : QString(),
                           kind,
                           choices,
                           operators,
                           mode};
    };
    const auto text = [&](const char16_t *entry, const char *column, M mode) {
        return field(entry, column, K::Text, C::Unentered, TextSix, mode);
    };
    return {
        text(u"ﾌﾘｶﾞﾅ", "Kana", M::HalfWidthKatakana),
        text(u"名前", "Name", M::Hiragana),
        text(u"郵便番号", "Zip", M::Off),
        text(u"住所１", "Address1", M::Hiragana),
        text(u"住所２", "Address2", M::Hiragana),
        text(u"ＦＡＸ", "Faxno", M::Off),
        text(u"電話１", "Telno_1", M::Off),
        text(u"電話２", "Telno_2", M::Off),
        text(u"メール１", "Mail_1", M::Off),
        text(u"メール２", "Mail_2", M::Off),
        text(u"会社名", "Office", M::Hiragana),
        text(u"会社名フリガナ", "OfficeKana", M::Hiragana),
        text(u"会社郵便番号", "OfficeZip", M::Off),
        text(u"会社住所１", "OfficeAddress1", M::Hiragana),
        text(u"会社住所２", "OfficeAddress2", M::Hiragana),
        text(u"会社ＦＡＸ", "OfficeFax", M::Off),
        text(u"会社電話１", "OfficeTel_1", M::Off),
        text(u"会社電話２", "OfficeTel_2", M::Off),
        text(u"会社メール１", "OfficeMail_1", M::Off),
        text(u"会社メール２", "OfficeMail_2", M::Off),
        text(u"部署", "OfficePost", M::Hiragana),
        text(u"役職", "OfficeExecutive", M::Hiragana),
        field(u"生年月日", "BirthDay", K::Date, C::Unentered, birthdayOps, M::Off),
        field(u"年齢", "BirthDay", K::Age, C::None, ageOps, M::Off),
        field(u"性別", "Sex", K::Text, C::Sex, TextSix, M::Hiragana),
        field(u"分類１", "Class", K::Class, C::ClassAxis1, sameOrNot, M::Unchanged),
        field(u"分類２", "Class2", K::Class, C::ClassAxis2, sameOrNot, M::Unchanged),
        field(u"備考", "", K::Memo, C::EmptyOnly, containOrNot, M::Hiragana),
        field(u"印刷", "", K::PrintFlag, C::PrintFlag, sameOrNot, M::Hiragana),
        field(u"履歴", "", K::History, C::None, containOrNot, M::Hiragana),
        field(u"作成日", "MakeDay", K::Date, C::None, dateOps, M::Unchanged),
        field(u"用途", "", K::UseType, C::UseType, {OfUse}, M::Unchanged),
        text(u"連名１", "Renmei1", M::Unchanged),
        text(u"連名２", "Renmei2", M::Unchanged),
        text(u"連名３", "Renmei3", M::Unchanged),
        text(u"連名４", "Renmei4", M::Unchanged),
        text(u"差込１", "Sashikomi1", M::Unchanged),
        text(u"差込２", "Sashikomi2", M::Unchanged),
        text(u"差込３", "Sashikomi3", M::Unchanged),
        text(u"差込４", "Sashikomi4", M::Unchanged),
    };
}

// A LIKE pattern around `value`: "%" and "_" typed by the user match themselves. The ESCAPE
// clause is written only when the value holds one, so plain values keep their plain statement.
QString LikePattern(const QString &value, bool anyBefore, bool anyAfter) {
    const bool needsEscape = value.contains(u'%') || value.contains(u'_');
    QString escaped = value;
    if (needsEscape) {
        escaped.replace(u'\\', QStringLiteral("\\\\"));
        escaped.replace(u'%', QStringLiteral("\\%"));
        escaped.replace(u'_', QStringLiteral("\\_"));
    }
    const QString pattern = QuoteSql((anyBefore ? QStringLiteral("%") : QString()) + escaped +
                                     (anyAfter ? QStringLiteral("%") : QString()));
    return needsEscape ? pattern + QStringLiteral(" ESCAPE '\\'") : pattern;
}

// Readings are held as half-width katakana, so a reading typed in hiragana or full-width
// katakana is looked for in that form.
bool IsReadingColumn(const QString &column) {
    const QString name = column.trimmed();
    return name == u"Kana" || name == u"OfficeKana";
}

QString TextCondition(const QString &column, const QString &op, const QString &typed) {
    const QString value = IsReadingColumn(column) ? ToHalfWidthKatakana(typed) : typed;
    if (op == Contains)
        return column + QStringLiteral("LIKE ") + LikePattern(value, true, true);
    if (op == StartsWith)
        return column + QStringLiteral("LIKE ") + LikePattern(value, false, true);
    if (op == EndsWith)
        return column + QStringLiteral("LIKE ") + LikePattern(value, true, false);
    if (op == SameOperator)
        return column + u'=' + QuoteSql(value);
    if (op == NotSame)
        return value.isEmpty() ? column + QStringLiteral(" IS NOT NULL")
                               : column + QStringLiteral("!=") + QuoteSql(value) +
                                     QStringLiteral(" OR ") + column + QStringLiteral(" IS NULL");
    if (op == NotContains)
        return column + QStringLiteral("NOT LIKE ") + LikePattern(value, true, true) +
               QStringLiteral(" OR ") + column + QStringLiteral(" IS NULL");
    return {};
}

// A date as the statements compare it; a value that is no date compares with "NULL".
QString DateValue(const QDate &date) {
    return date.isValid() ? SqlDate(date) : QStringLiteral("\"NULL\"");
}

bool IsBirthday(const QString &column) {
    return column.trimmed().compare(QStringLiteral("Birthday"), Qt::CaseInsensitive) == 0;
}

QString DateCondition(const QString &column, const QString &op, const QString &value) {
    if (op == InMonth)
        return QStringLiteral("EXTRACT(MONTH FROM ") + column + QStringLiteral(") = ") +
               QuoteSql(value);
    const QDate parsed = ParseShortDate(value);
    // Any comparison of the birthday with a value that is no date asks for the customers
    // without one.
    if (!parsed.isValid() && IsBirthday(column) &&
        (op == After || op == SameOperator || op == Before))
        return QStringLiteral("Birthday IS NULL");
    const QString date = DateValue(parsed);
    if (op == After)
        return column + QStringLiteral("> ") + date;
    if (op == SameOperator)
        return column + QStringLiteral("= ") + date;
    if (op == Before)
        return column + QStringLiteral("< ") + date;
    return {};
}

// The date of a yyyymmdd number; a 29 February the year lacks is taken as 28 February.
QDate DateOfNumber(int number) {
    const int year = number / 10000, month = number / 100 % 100, day = number % 100;
    if (month == 2 && day == 29 && !QDate::isLeapYear(year))
        return QDate(year, 2, 28);
    return QDate(year, month, day);
}

QString AgeCondition(const QString &column, const QString &op, const QString &value) {
    bool ok = false;
    const int age = value.trimmed().toInt(&ok);
    if (!ok || age < 0 || age > 999)
        throw SearchInputError(QStringLiteral("年齢には0から999までの整数を入力して下さい"));
    const QDate today = Clock::Today();
    const int n = today.year() * 10000 + today.month() * 100 + today.day() - age * 10000;
    if (op == Older)
        return column + QStringLiteral("< ") + DateValue(DateOfNumber(n - 10000).addDays(1));
    if (op == SameOperator)
        return u'(' + column + QStringLiteral("> ") + DateValue(DateOfNumber(n - 10000)) +
               QStringLiteral(") and (") + column + QStringLiteral("< ") +
               DateValue(DateOfNumber(n).addDays(1)) + u')';
    if (op == Younger)
        return column + QStringLiteral("> ") + DateValue(DateOfNumber(n));
    return {};
}

// Adds the word of a memo or history row to the words it is searched for or against.
void AddWord(SearchWords &words, const QString &op, const QString &value) {
    if (op == Contains)
        words.contain << value;
    else if (op == NotContains)
        words.notContain << value;
}

// The value as the book holds it: text is stored with the cross-mapped characters (wave dash,
// minus sign) in their code page 932 form, so a value pasted in the other form finds it too.
QString StoredFormOf(const SearchRow &row) {
    return row.value == UnenteredValue ? QString() : ShiftJis::NormalizeCrossMapping(row.value);
}

QString FullWidthDigit(int n) {
    return QChar(char16_t(0xFF10 + n));
}

} // namespace

const QList<SearchField> &SearchFields() {
    static const QList<SearchField> fields = MakeFields();
    return fields;
}

QStringList SearchValueChoices(int fieldPosition, const QStringList &classNames1,
                               const QStringList &classNames2) {
    switch (SearchFields().value(fieldPosition).choices) {
    case SearchChoices::Unentered:
        return {QString(), UnenteredValue};
    case SearchChoices::Sex:
        return {QString(), QStringLiteral("男性"), QStringLiteral("女性"), QStringLiteral("不明")};
    case SearchChoices::ClassAxis1:
        return classNames1;
    case SearchChoices::ClassAxis2:
        return classNames2;
    case SearchChoices::EmptyOnly:
        return {QString()};
    case SearchChoices::PrintFlag:
        return {QStringLiteral("印刷する"), QStringLiteral("印刷しない")};
    case SearchChoices::UseType:
        return {UseTypeCaption(UseType::Personal), UseTypeCaption(UseType::Company)};
    case SearchChoices::None:
        break;
    }
    return {};
}

SearchInputError::SearchInputError(const QString &message)
    : std::runtime_error(message.toStdString()), message_(message) {}

QString BuildRowCondition(const SearchRow &row) {
    const SearchField &field = SearchFields().at(row.field);
    const QString op = field.operators.value(row.operatorIndex);
    if (op.isEmpty())
        return {};
    const QString value = StoredFormOf(row);
    if (value.size() > MaxSearchValueLength)
        throw SearchInputError(
            QStringLiteral("値が長すぎます（%1文字まで）").arg(MaxSearchValueLength));
    switch (field.kind) {
    case SearchKind::Text:
        return TextCondition(field.column, op, value);
    case SearchKind::Date:
        return DateCondition(field.column, op, value);
    case SearchKind::Age:
        return AgeCondition(field.column, op, value);
    case SearchKind::Class:
        return field.column + (op == SameOperator ? QStringLiteral("=") : QStringLiteral("!=")) +
               QString::number(row.valueIndex);
    case SearchKind::PrintFlag:
        return (row.valueIndex == 0) == (op == SameOperator) ? QStringLiteral("Print ='1'")
                                                             : QStringLiteral("Print ='0'");
    case SearchKind::UseType:
        return row.valueIndex == 0 ? QStringLiteral("UseType ='0'")
                                   : QStringLiteral("UseType ='1'");
    case SearchKind::Memo:
    case SearchKind::History:
        return {}; // words, not conditions: see BuildSearchClause
    }
    return {};
}

SearchProducts BuildSearchClause(const SearchRows &rows) {
    SearchProducts products;
    bool anyLaterRow = false;
    for (int n = 1; n < SearchRowCount; ++n)
        anyLaterRow = anyLaterRow || rows[n].inUse;
    for (int n = 0; n < SearchRowCount; ++n) {
        const SearchRow &row = rows[n];
        if (n > 0 && !row.inUse)
            continue;
        const SearchField &field = SearchFields().at(row.field);
        if (field.kind == SearchKind::Memo || field.kind == SearchKind::History) {
            AddWord(field.kind == SearchKind::Memo ? products.MemoWords : products.HistoryWords,
                    field.operators.value(row.operatorIndex), StoredFormOf(row));
            continue;
        }
        QString condition;
        try {
            condition = BuildRowCondition(row);
        } catch (const SearchInputError &error) {
            throw SearchInputError(QStringLiteral("検索条件") + FullWidthDigit(n + 1) +
                                   QStringLiteral("の") + error.message());
        }
        if (condition.isEmpty())
            continue;
        if (!anyLaterRow) {
            products.SearchClause = condition;
        } else {
            if (!products.SearchClause.isEmpty())
                products.SearchClause += QStringLiteral(" AND ");
            products.SearchClause += u'(' + condition + u')';
        }
    }
    return products;
}

void AddGreetingCondition(SearchProducts &products, const GreetingCondition &condition) {
    const QString term =
        QStringLiteral("UserId %1 (select UserId from greetingtbl where Season = %2 and Kind = %3)")
            .arg(condition.present ? QStringLiteral("in") : QStringLiteral("not in"))
            .arg(condition.season)
            .arg(CodeOf(condition.kind));
    products.SearchClause = products.SearchClause.isEmpty()
                                ? term
                                : u'(' + products.SearchClause + QStringLiteral(") AND ") + term;
}
