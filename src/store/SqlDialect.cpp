#include "store/SqlDialect.h"

#include "core/SqlText.h"
#include "store/EngineError.h"

#include <QRegularExpression>
#include <vector>

namespace {

enum class Kind { Space, Word, Number, Text, Quoted, Param, Symbol };

struct Token {
    Kind kind;
    QString text;
};

bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

std::vector<Token> Tokenize(const QString &s) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s.at(i);
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && s.at(i).isSpace())
                ++i;
            tokens.push_back({Kind::Space, s.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            ++i;
            while (true) {
                if (i >= n)
                    throw EngineError(QStringLiteral("文字列の終わりがありません: %1").arg(s));
                if (s.at(i) == c) {
                    if (i + 1 < n && s.at(i + 1) == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            tokens.push_back({c == u'\'' ? Kind::Text : Kind::Quoted, s.mid(start, i - start)});
        } else if (c == u':' && i + 1 < n && IsWordChar(s.at(i + 1))) {
            ++i;
            while (i < n && IsWordChar(s.at(i)))
                ++i;
            tokens.push_back({Kind::Param, s.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < n && (s.at(i).isDigit() || s.at(i) == u'.'))
                ++i;
            tokens.push_back({Kind::Number, s.mid(start, i - start)});
        } else if (IsWordChar(c)) {
            while (i < n && IsWordChar(s.at(i)))
                ++i;
            tokens.push_back({Kind::Word, s.mid(start, i - start)});
        } else {
            static const QStringList pairs = {QStringLiteral("!="), QStringLiteral("<>"),
                                              QStringLiteral("<="), QStringLiteral(">=")};
            const QString two = s.mid(i, 2);
            i += pairs.contains(two) ? 2 : 1;
            tokens.push_back({Kind::Symbol, s.mid(start, i - start)});
        }
    }
    return tokens;
}

bool Is(const Token &t, const char *word) {
    return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

QString TranslateQuoted(const QString &token) {
    QString value = token.mid(1, token.size() - 2);
    value.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    if (value.trimmed().compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("NULL");
    static const QRegularExpression date(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"));
    const auto m = date.match(value);
    if (m.hasMatch())
        return QStringLiteral("'%1-%2-%3'")
            .arg(m.captured(3))
            .arg(m.captured(1).toInt(), 2, 10, QLatin1Char('0'))
            .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'));
    return QuoteSql(value);
}

// Index of the next token that is not blank, or tokens.size().
size_t NextSolid(const std::vector<Token> &tokens, size_t i) {
    while (i < tokens.size() && tokens[i].kind == Kind::Space)
        ++i;
    return i;
}

// Column definitions (CREATE TABLE, CREATE INDEX, ALTER TABLE ... ADD) as the server reads
// them. SQLite keeps any integer in 64 bits whatever the declared type, while the server's
// SMALLINT stops at 32767, which the keys in historytbl pass; SQLite compares and orders text
// by its code points, as the server's "C" collation does (and its ILIKE then folds the case of
// Latin letters only, as SQLite's LIKE).
QString ServerDefinition(const QString &definition) {
    const std::vector<Token> tokens = Tokenize(definition);
    QString out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        const size_t next = NextSolid(tokens, i + 1);
        const size_t key = NextSolid(tokens, next + 1);
        const size_t autoincrement = NextSolid(tokens, key + 1);
        if (Is(t, "INTEGER") && autoincrement < tokens.size() && Is(tokens[next], "PRIMARY") &&
            Is(tokens[key], "KEY") && Is(tokens[autoincrement], "AUTOINCREMENT")) {
            out += QStringLiteral("SERIAL PRIMARY KEY");
            i = autoincrement;
        } else if (Is(t, "SMALLINT")) {
            out += QStringLiteral("INTEGER");
        } else if (Is(t, "BLOB")) {
            out += QStringLiteral("BYTEA");
        } else if (Is(t, "VARCHAR") || Is(t, "TEXT")) {
            // SQLite never held a text to its declared length; nor does the server, so that a
            // text the local book took is never refused there.
            if (next < tokens.size() && tokens[next].text == u"(")
                while (i + 1 < tokens.size() && tokens[i].text != u")")
                    ++i;
            out += QStringLiteral("TEXT COLLATE \"C\"");
        } else {
            out += t.text;
        }
    }
    return out;
}

QStringList SplitAlter(const std::vector<Token> &tokens, SqlTarget target) {
    // ALTER TABLE name ADD a T, ADD b T ...
    size_t i = NextSolid(tokens, 0);
    i = NextSolid(tokens, i + 1); // TABLE
    i = NextSolid(tokens, i + 1); // name
    const QString table = i < tokens.size() ? tokens[i].text : QString();
    QStringList statements;
    QString current;
    int depth = 0;
    for (++i; i < tokens.size(); ++i) {
        const Token &t = tokens[i];
        if (t.kind == Kind::Symbol && t.text == u"(")
            ++depth;
        if (t.kind == Kind::Symbol && t.text == u")")
            --depth;
        if ((t.kind == Kind::Symbol && t.text == u"," && depth == 0) ||
            (t.kind == Kind::Symbol && t.text == u";")) {
            statements << current.trimmed();
            current.clear();
            continue;
        }
        current += t.text;
    }
    statements << current.trimmed();
    QStringList columns;
    static const QRegularExpression add(QStringLiteral("^ADD\\s+(COLUMN\\s+)?"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (QString column : statements) {
        if (column.isEmpty())
            continue;
        column.remove(add);
        columns << QStringLiteral("ADD COLUMN ") +
                       (target == SqlTarget::Postgres ? ServerDefinition(column) : column);
    }
    const QString alter = QStringLiteral("ALTER TABLE %1 ").arg(table);
    switch (target) {
    case SqlTarget::Sqlite:
        for (QString &column : columns)
            column.prepend(alter);
        return columns;
    case SqlTarget::Postgres:
        return {alter + columns.join(QStringLiteral(", "))};
    }
    Q_UNREACHABLE();
}

// Appends a keyword that replaced a literal, with a blank on either side where a word would
// otherwise run into it ("Name=''where" must not become "Name=NULLwhere").
void AppendKeyword(QString &out, const QString &keyword, const std::vector<Token> &tokens,
                   size_t next) {
    const auto wordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    if (!out.isEmpty() && wordChar(out.back()))
        out += u' ';
    out += keyword;
    if (next < tokens.size() && !tokens[next].text.isEmpty() && wordChar(tokens[next].text.front()))
        out += u' ';
}

QString DatePart(SqlTarget target, const QString &unit, const QString &column) {
    switch (target) {
    case SqlTarget::Postgres:
        // The cast reads a date stored as ISO text in a text column too.
        return QStringLiteral("CAST(EXTRACT(%1 FROM CAST(%2 AS DATE)) AS INTEGER)")
            .arg(unit == u"YEAR" || unit == u"DAY" ? unit : QStringLiteral("MONTH"), column);
    case SqlTarget::Sqlite: {
        const QString format = unit == u"YEAR"  ? QStringLiteral("%Y")
                               : unit == u"DAY" ? QStringLiteral("%d")
                                                : QStringLiteral("%m");
        return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)").arg(format, column);
    }
    }
    Q_UNREACHABLE();
}

} // namespace

NumberedStatement NumberParameters(const QString &statement) {
    // Runs on every statement sent to the server, so it only steps over literals rather than
    // tokenizing.
    NumberedStatement numbered;
    numbered.text.reserve(statement.size());
    const qsizetype n = statement.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = statement.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype close = statement.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? n : close + 1;
            numbered.text += QStringView(statement).mid(i, end - i);
            i = end - 1;
            continue;
        }
        const bool named = c == u':' && i + 1 < n && IsWordChar(statement.at(i + 1)) &&
                           (i == 0 || statement.at(i - 1) != u':');
        if (c != u'?' && !named) {
            numbered.text += c;
            continue;
        }
        qsizetype end = i + 1;
        while (named && end < n && IsWordChar(statement.at(end)))
            ++end;
        const QString name = statement.mid(i, end - i);
        qsizetype position = named ? numbered.names.indexOf(name) : -1;
        if (position < 0) {
            numbered.names << name;
            position = numbered.names.size() - 1;
        }
        numbered.text += u'$' + QString::number(position + 1);
        i = end - 1;
    }
    return numbered;
}

QStringList TranslateStatement(const QString &statement, SqlTarget target) {
    std::vector<Token> tokens = Tokenize(statement);
    const size_t first = NextSolid(tokens, 0);
    if (first < tokens.size() && Is(tokens[first], "ALTER"))
        return SplitAlter(tokens, target);

    if (target == SqlTarget::Postgres && first < tokens.size() && Is(tokens[first], "CREATE"))
        return {ServerDefinition(statement)};
    const bool isInsert = first < tokens.size() && Is(tokens[first], "INSERT");
    const bool isUpdate = first < tokens.size() && Is(tokens[first], "UPDATE");
    bool inCondition = !isInsert && !isUpdate;

    QString out;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token &t = tokens[i];
        if (Is(t, "WHERE"))
            inCondition = true;
        if (t.kind == Kind::Quoted) {
            const QString value = TranslateQuoted(t.text);
            if (value == u"NULL")
                AppendKeyword(out, value, tokens, i + 1);
            else
                out += value;
            continue;
        }
        if (Is(t, "EXTRACT")) {
            // EXTRACT ( part FROM column )
            const size_t open = NextSolid(tokens, i + 1);
            const size_t part = NextSolid(tokens, open + 1);
            const size_t from = NextSolid(tokens, part + 1);
            const size_t column = NextSolid(tokens, from + 1);
            const size_t close = NextSolid(tokens, column + 1);
            if (close < tokens.size() && tokens[open].text == u"(" && Is(tokens[from], "FROM") &&
                tokens[close].text == u")") {
                out += DatePart(target, tokens[part].text.toUpper(), tokens[column].text);
                i = close;
                continue;
            }
        }
        if (target == SqlTarget::Postgres && Is(t, "LIKE")) {
            // SQLite's LIKE ignores the case of Latin letters and knows no escape character
            // unless one is named; the server's LIKE heeds case and escapes with a backslash.
            out += QStringLiteral("ILIKE");
            const size_t pattern = NextSolid(tokens, i + 1);
            const size_t after = NextSolid(tokens, pattern + 1);
            const bool escapeNamed = after < tokens.size() && Is(tokens[after], "ESCAPE");
            if (pattern < tokens.size() && tokens[pattern].kind == Kind::Text && !escapeNamed) {
                for (size_t k = i + 1; k <= pattern; ++k)
                    out += tokens[k].text;
                out += QStringLiteral(" ESCAPE ''");
                i = pattern;
            }
            continue;
        }
        if (t.kind == Kind::Symbol && (t.text == u"=" || t.text == u"!=" || t.text == u"<>")) {
            const size_t value = NextSolid(tokens, i + 1);
            if (value < tokens.size()) {
                const Token &v = tokens[value];
                const bool emptyText = v.kind == Kind::Text && v.text == u"''";
                const bool nullValue =
                    Is(v, "NULL") || (v.kind == Kind::Quoted && TranslateQuoted(v.text) == u"NULL");
                if (inCondition && (emptyText || nullValue)) {
                    AppendKeyword(out,
                                  t.text == u"=" ? QStringLiteral("IS NULL")
                                                 : QStringLiteral("IS NOT NULL"),
                                  tokens, value + 1);
                    i = value;
                    continue;
                }
            }
        }
        if (t.kind == Kind::Text && t.text == u"''" && !inCondition) {
            AppendKeyword(out, QStringLiteral("NULL"), tokens, i + 1);
            continue;
        }
        if (t.kind == Kind::Symbol && t.text == u";" && NextSolid(tokens, i + 1) == tokens.size())
            continue;
        out += t.text;
    }
    return {out};
}
