#include "store/PostgresEngine.h"

#include "store/SqlDialect.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <QUrl>
#include <cerrno>
#include <libpq-fe.h>
#include <poll.h>

namespace {

// Type numbers of the server's catalogue (pg_type) that read as numbers or bytes.
constexpr Oid BooleanType = 16, ByteaType = 17, Int8Type = 20, Int2Type = 21, Int4Type = 23,
              ObjectIdType = 26, Float4Type = 700, Float8Type = 701, NumericType = 1700;

// How long a lock is waited for before the book counts as in use, as on SQLite.
constexpr int WaitMilliseconds = 3000;

EngineFailure FailureOf(QByteArrayView state) {
    if (state == "55P03" || state == "40P01" || state == "40001" || state == "55006")
        return EngineFailure::InUse;
    if (state == "53100")
        return EngineFailure::DiskFull;
    if (state == "42501")
        return EngineFailure::NoPermission;
    if (state.startsWith("08") || state.startsWith("57P"))
        return EngineFailure::NoServer;
    if (state.startsWith("58"))
        return EngineFailure::Unreadable;
    if (state == "XX001" || state == "XX002")
        return EngineFailure::Damaged;
    return EngineFailure::Other;
}

// Where the connection went, as the user names the server.
QString ServerName(PGconn *conn) {
    const QString host = QString::fromLocal8Bit(conn ? PQhost(conn) : nullptr);
    const QString port = QString::fromLocal8Bit(conn ? PQport(conn) : nullptr);
    return QStringLiteral("サーバー %1、ポート %2")
        .arg(host.isEmpty() ? QStringLiteral("localhost") : host,
             port.isEmpty() ? QStringLiteral("5432") : port);
}

// The word of `statement` at `from` and where it ends; words of letters, digits and "_".
QStringView WordAt(const QString &statement, qsizetype &from) {
    while (from < statement.size() && statement.at(from).isSpace())
        ++from;
    const qsizetype start = from;
    while (from < statement.size() &&
           (statement.at(from).isLetterOrNumber() || statement.at(from) == u'_'))
        ++from;
    return QStringView(statement).mid(start, from - start);
}

QStringView FirstWord(const QString &statement) {
    qsizetype from = 0;
    return WordAt(statement, from);
}

bool ReadsOnly(const QString &statement) {
    const QStringView word = FirstWord(statement);
    return word.compare(u"select", Qt::CaseInsensitive) == 0 ||
           word.compare(u"with", Qt::CaseInsensitive) == 0 ||
           word.compare(u"values", Qt::CaseInsensitive) == 0;
}

// The table an INSERT writes, empty for any other statement.
QString InsertedTable(const QString &statement) {
    qsizetype from = 0;
    if (WordAt(statement, from).compare(u"insert", Qt::CaseInsensitive) != 0 ||
        WordAt(statement, from).compare(u"into", Qt::CaseInsensitive) != 0)
        return {};
    return WordAt(statement, from).toString();
}

bool ChangesSchema(const QString &statement) {
    const QStringView word = FirstWord(statement);
    return word.compare(u"create", Qt::CaseInsensitive) == 0 ||
           word.compare(u"drop", Qt::CaseInsensitive) == 0 ||
           word.compare(u"alter", Qt::CaseInsensitive) == 0;
}

// The server writes an integer as plain decimal digits; read by hand, a long list spares the
// general conversion. Nullopt for any other text, and for more digits than always fit.
std::optional<qint64> PlainDecimal(QByteArrayView text) {
    const bool negative = text.startsWith('-');
    const QByteArrayView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        number = number * 10 + (digit - '0');
    }
    return negative ? -number : number;
}

} // namespace

void PostgresEngine::ResultDeleter::operator()(PGresult *result) const {
    PQclear(result);
}

// One statement of the server. It is sent with its first Step, as one round trip; run again
// after Reset it is prepared on the server once and then only executed. Every result is read
// whole, so a statement between steps never holds the connection from the next one.
class PostgresStatement final : public EngineStatement {
public:
    PostgresStatement(PostgresEngine &engine, NumberedStatement numbered, bool returnsKey)
        : engine_(engine), text_(numbered.text.toUtf8()), names_(std::move(numbered.names)),
          values_(size_t(names_.size())), binary_(values_.size()), returnsKey_(returnsKey) {}
    ~PostgresStatement() override {
        if (!serverName_.isEmpty() && session_ == engine_.session_)
            engine_.Release(serverName_);
    }
    PostgresStatement(const PostgresStatement &) = delete;
    PostgresStatement &operator=(const PostgresStatement &) = delete;

    int ParameterIndex(const QString &name) const override {
        return name == u"?" ? 0 : int(names_.indexOf(name) + 1);
    }
    void BindText(int parameter, QByteArrayView utf8) override {
        Bind(parameter, utf8.toByteArray(), false);
    }
    void BindInteger(int parameter, qint64 value) override {
        Bind(parameter, QByteArray::number(value), false);
    }
    void BindNull(int parameter) override { Bind(parameter, std::nullopt, false); }
    // Sent in the binary format, which for bytea is the bytes themselves.
    void BindBlob(int parameter, QByteArrayView bytes) override {
        Bind(parameter, bytes.isNull() ? QByteArray("") : bytes.toByteArray(), true);
    }

    bool Step() override {
        if (!result_)
            Execute();
        ++row_;
        return row_ < Rows();
    }
    void Reset() override {
        result_.reset();
        rows_ = 0;
        row_ = -1;
        std::fill(values_.begin(), values_.end(), std::nullopt);
        std::fill(binary_.begin(), binary_.end(), 0);
    }

    int ColumnCount() const override { return returnsKey_ ? 0 : PQnfields(Shape()); }
    QString ColumnName(int column) const override {
        return QString::fromUtf8(PQfname(Shape(), column));
    }
    FieldType Type(int column) const override {
        if (!OnRow() || PQgetisnull(result_.get(), row_, column))
            return FieldType::Null;
        switch (PQftype(result_.get(), column)) {
        case BooleanType:
        case Int2Type:
        case Int4Type:
        case Int8Type:
        case ObjectIdType:
            return FieldType::Integer;
        case Float4Type:
        case Float8Type:
        case NumericType:
            return FieldType::Real;
        case ByteaType:
            return FieldType::Blob;
        default:
            return FieldType::Text;
        }
    }
    qint64 Integer(int column) const override {
        if (!OnRow())
            return 0;
        const QByteArrayView value(PQgetvalue(result_.get(), row_, column));
        if (const std::optional<qint64> number = PlainDecimal(value))
            return *number;
        bool whole = false;
        const qint64 number = value.toLongLong(&whole);
        return whole ? number : value == "t" ? 1 : qint64(value.toDouble());
    }
    QByteArrayView Text(int column) const override {
        if (!OnRow() || PQgetisnull(result_.get(), row_, column))
            return {};
        return QByteArrayView(PQgetvalue(result_.get(), row_, column),
                              PQgetlength(result_.get(), row_, column));
    }
    QByteArrayView Blob(int column) const override {
        // Fields arrive as text, bytea in its hex form (the session asks for it).
        const QByteArrayView text = Text(column);
        blob_ = text.startsWith("\\x") ? QByteArray::fromHex(text.sliced(2).toByteArray())
                                       : text.toByteArray();
        return blob_;
    }

private:
    void Bind(int parameter, std::optional<QByteArray> value, bool binary) {
        if (parameter < 1 || parameter > int(values_.size()))
            return;
        values_[size_t(parameter - 1)] = std::move(value);
        binary_[size_t(parameter - 1)] = binary ? 1 : 0;
    }
    int Rows() const { return rows_; }
    bool OnRow() const { return result_ && row_ >= 0 && row_ < Rows(); }

    // The columns of the result, known before the first step: a select without parameters is
    // run at once, any other statement described by the server.
    const PGresult *Shape() const {
        if (result_)
            return result_.get();
        if (!shape_) {
            if (names_.isEmpty() && ReadsOnly(QString::fromUtf8(text_))) {
                try {
                    const_cast<PostgresStatement *>(this)->Execute();
                } catch (const EngineError &failure) {
                    throw WithStatement(failure);
                }
                return result_.get();
            }
            engine_.Reconnect();
            PGconn *conn = engine_.conn_;
            const PostgresEngine::Result parsed(
                PQprepare(conn, "", text_.constData(), int(names_.size()), nullptr));
            if (PQresultStatus(parsed.get()) != PGRES_COMMAND_OK)
                throw WithStatement(engine_.Failure(parsed.get()));
            shape_.reset(PQdescribePrepared(conn, ""));
            if (PQresultStatus(shape_.get()) != PGRES_COMMAND_OK)
                throw WithStatement(engine_.Failure(std::exchange(shape_, {}).get()));
        }
        return shape_.get();
    }

    EngineError WithStatement(const EngineError &failure) const {
        return EngineError(failure.message() + u'\n' + QString::fromUtf8(text_), failure.detail());
    }

    void Execute() {
        std::vector<const char *> values;
        std::vector<int> lengths;
        values.reserve(values_.size());
        lengths.reserve(values_.size());
        for (const std::optional<QByteArray> &value : values_) {
            values.push_back(value ? value->constData() : nullptr);
            lengths.push_back(value ? int(value->size()) : 0);
        }
        engine_.Reconnect();
        if (session_ != engine_.session_) {
            serverName_.clear();
            session_ = engine_.session_;
        }
        PGconn *conn = engine_.conn_;
        const int count = int(values.size());
        PostgresEngine::Result result;
        if (!executed_) {
            result.reset(PQexecParams(conn, text_.constData(), count, nullptr, values.data(),
                                      lengths.data(), binary_.data(), 0));
        } else {
            if (serverName_.isEmpty()) {
                const QByteArray name = "pellor3_" + QByteArray::number(++engine_.statementNames_);
                const PostgresEngine::Result prepared(
                    PQprepare(conn, name.constData(), text_.constData(), count, nullptr));
                if (PQresultStatus(prepared.get()) != PGRES_COMMAND_OK)
                    throw WithStatement(engine_.Failure(prepared.get()));
                serverName_ = name;
            }
            result.reset(PQexecPrepared(conn, serverName_.constData(), count, values.data(),
                                        lengths.data(), binary_.data(), 0));
        }
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw engine_.Failure(result.get());
        executed_ = true;
        engine_.Succeeded();
        engine_.changedRows_ = QByteArrayView(PQcmdTuples(result.get())).toInt();
        if (const int rows = PQntuples(result.get()); returnsKey_ && rows > 0)
            engine_.lastInsertId_ =
                QByteArrayView(PQgetvalue(result.get(), rows - 1, 0)).toLongLong();
        rows_ = returnsKey_ ? 0 : PQntuples(result.get());
        result_ = std::move(result);
        row_ = -1;
    }

    PostgresEngine &engine_;
    const QByteArray text_;
    const QStringList names_;
    std::vector<std::optional<QByteArray>> values_;
    // 1 where the parameter travels in the binary format, as libpq takes it.
    std::vector<int> binary_;
    const bool returnsKey_;
    QByteArray serverName_;
    int session_ = engine_.session_;
    bool executed_ = false;
    PostgresEngine::Result result_;
    mutable PostgresEngine::Result shape_;
    int rows_ = 0;
    int row_ = -1;
    mutable QByteArray blob_;
};

namespace {

// The last SQLSTATE in the words of a connection made with verbose errors ("FATAL:  28P01: …"):
// the reason of the last try, whatever language the server speaks.
QByteArray SqlStateIn(QByteArrayView message) {
    static const QRegularExpression state(QStringLiteral(":  ([0-9A-Z]{5}): "));
    QByteArray last;
    for (const QRegularExpressionMatch &match :
         state.globalMatch(QString::fromUtf8(message.toByteArray())))
        last = match.captured(1).toLatin1();
    return last;
}

bool RequiresSsl(PGconn *conn) {
    bool required = false;
    PQconninfoOption *options = PQconninfo(conn);
    for (PQconninfoOption *option = options; option && option->keyword; ++option)
        if (QByteArrayView(option->keyword) == "sslmode" && option->val)
            required = QByteArrayView(option->val) != "disable" &&
                       QByteArrayView(option->val) != "allow" &&
                       QByteArrayView(option->val) != "prefer";
    PQconninfoFree(options);
    return required;
}

// Connects as PQconnectdbParams does, within `seconds` in all, with the server's errors in
// their verbose form, which carries the SQLSTATE.
PGconn *ConnectWithin(const char *const *keys, const char *const *values, int seconds) {
    PGconn *conn = PQconnectStartParams(keys, values, 1);
    if (!conn || PQstatus(conn) == CONNECTION_BAD)
        return conn;
    PQsetErrorVerbosity(conn, PQERRORS_VERBOSE);
    const QDeadlineTimer deadline(seconds * 1000);
    PostgresPollingStatusType state = PGRES_POLLING_WRITING;
    while (state != PGRES_POLLING_OK && state != PGRES_POLLING_FAILED) {
        pollfd socket{PQsocket(conn), short(state == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        const int ready = ::poll(&socket, 1, int(deadline.remainingTime()));
        if (ready == 0 || (ready < 0 && errno != EINTR))
            break;
        state = PQconnectPoll(conn);
    }
    if (state == PGRES_POLLING_OK)
        PQsetErrorVerbosity(conn, PQERRORS_DEFAULT);
    return conn;
}

// The client library's words without the source locations of the verbose form, nor the tabs it
// indents its hints with.
QString Words(PGconn *conn, bool timedOut) {
    if (!conn)
        return QStringLiteral("out of memory");
    if (timedOut)
        return QStringLiteral("timeout expired");
    QStringList lines;
    for (const QString &line : QString::fromLocal8Bit(PQerrorMessage(conn)).split(u'\n'))
        if (const QString words = line.trimmed();
            !words.isEmpty() && !words.startsWith(QLatin1String("LOCATION:")))
            lines << words;
    return lines.join(u'\n');
}

// The URI's own settings win over the ones before it; the encoding is always ours.
struct ConnectionSettings {
    explicit ConnectionSettings(const QString &uri) : target(uri.toUtf8()) {}

    const QByteArray timeout = QByteArray::number(PostgresEngine::ConnectSeconds);
    const QByteArray target;
    const char *const keys[9] = {
        "connect_timeout",  "keepalives_idle",  "keepalives_interval",
        "keepalives_count", "tcp_user_timeout", "fallback_application_name",
        "dbname",           "client_encoding",  nullptr};
    const char *const values[9] = {timeout.constData(), "30",   "10",   "3", "30000", "pellor3",
                                   target.constData(),  "UTF8", nullptr};
};

} // namespace

ConnectRefusal ConnectRefusalOf(QByteArrayView sqlState, QByteArrayView message, bool sslRequired,
                                bool passwordMissing) {
    if (passwordMissing)
        return ConnectRefusal::NoPassword;
    if (sqlState == "3D000")
        return ConnectRefusal::NoDatabase;
    if (sqlState == "28P01")
        return ConnectRefusal::WrongPassword;
    if (sqlState == "28000") {
        // pg_hba.conf names the unencrypted connection it turned away.
        const bool unencrypted = message.contains("no encryption") || message.contains("SSL off");
        return unencrypted && !sslRequired ? ConnectRefusal::SslRequired
                                           : ConnectRefusal::NotPermitted;
    }
    if (sqlState.isEmpty())
        return message.contains("SSL") ? ConnectRefusal::SslRefused : ConnectRefusal::Unreachable;
    if (sqlState.startsWith("08") || sqlState.startsWith("57P"))
        return ConnectRefusal::Unreachable;
    return ConnectRefusal::Other;
}

bool PostgresEngine::Answers(const QString &uri) {
    const ConnectionSettings settings(uri);
    return PQpingParams(settings.keys, settings.values, 1) == PQPING_OK;
}

std::unique_ptr<PostgresEngine> PostgresEngine::Connect(const QString &uri) {
    if (!uri.startsWith(QLatin1String("postgresql://")) &&
        !uri.startsWith(QLatin1String("postgres://")))
        throw EngineError(QStringLiteral("顧客データのサーバーは postgresql://利用者@ホスト:ポート/"
                                         "データベース の形で指定して下さい: %1")
                              .arg(uri));
    const ConnectionSettings settings(uri);
    PGconn *conn = ConnectWithin(settings.keys, settings.values, ConnectSeconds);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        const bool timedOut = conn && PQstatus(conn) != CONNECTION_BAD;
        const QString words = Words(conn, timedOut);
        const QByteArray utf8 = words.toUtf8();
        const ConnectRefusal refusal =
            !conn || timedOut ? ConnectRefusal::Unreachable
                              : ConnectRefusalOf(SqlStateIn(utf8), utf8, RequiresSsl(conn),
                                                 PQconnectionNeedsPassword(conn) != 0);
        const QString detail = ServerName(conn) + u'\n' + words;
        const ServerRefusal failure(refusal, EngineFailureText(EngineFailure::NoServer, detail),
                                    detail);
        PQfinish(conn);
        throw failure;
    }
    std::unique_ptr<PostgresEngine> engine(new PostgresEngine(conn));
    engine->StartSession();
    return engine;
}

void PostgresEngine::StartSession() {
    // Literals are quoted by doubling single quotes alone, which is safe only while backslashes
    // stay ordinary characters; dates read back as ISO text. No statement of the program runs
    // for minutes, so a server that takes that long is stuck.
    Run(QByteArray("SET standard_conforming_strings = on; SET DateStyle = ISO; "
                   "SET bytea_output = hex; SET client_min_messages = warning; SET "
                   "statement_timeout = '5min'; "
                   "SET lock_timeout = " +
                   QByteArray::number(WaitMilliseconds))
            .constData());
}

void PostgresEngine::Reconnect() {
    if (PQstatus(conn_) == CONNECTION_OK || inTransaction_)
        return;
    PQreset(conn_);
    if (PQstatus(conn_) != CONNECTION_OK)
        throw EngineError(EngineFailure::NoServer,
                          ServerName(conn_) + u'\n' +
                              QString::fromLocal8Bit(PQerrorMessage(conn_)).trimmed());
    ++session_;
    released_.clear();
    transactionEndedBy_.reset();
    StartSession();
}

PostgresEngine::~PostgresEngine() {
    PQfinish(conn_);
}

PostgresEngine::Result PostgresEngine::Run(const char *statement,
                                           const QList<QByteArray> &parameters) {
    Reconnect();
    std::vector<const char *> values;
    for (const QByteArray &parameter : parameters)
        values.push_back(parameter.constData());
    Result result(parameters.isEmpty() ? PQexec(conn_, statement)
                                       : PQexecParams(conn_, statement, int(values.size()), nullptr,
                                                      values.data(), nullptr, nullptr, 0));
    const ExecStatusType status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw Failure(result.get());
    Succeeded();
    return result;
}

void PostgresEngine::Succeeded() {
    // ROLLBACK TO SAVEPOINT brings a transaction back after its failure.
    if (transactionEndedBy_ && PQtransactionStatus(conn_) != PQTRANS_INERROR)
        transactionEndedBy_.reset();
}

EngineError PostgresEngine::Failure(const PGresult *result) {
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    // After the first failure the server refuses the rest of the transaction; the first one
    // is what the user needs to hear.
    if (transactionEndedBy_ && QByteArrayView(state) == "25P02")
        return *transactionEndedBy_;
    const EngineError failure =
        state ? EngineError(FailureOf(state),
                            QString::fromUtf8(PQresultErrorMessage(result)).trimmed())
              : EngineError(EngineFailure::NoServer,
                            ServerName(conn_) + u'\n' +
                                QString::fromLocal8Bit(PQerrorMessage(conn_)).trimmed());
    if (PQtransactionStatus(conn_) == PQTRANS_INERROR && !transactionEndedBy_)
        transactionEndedBy_ = failure;
    return failure;
}

std::unique_ptr<EngineStatement> PostgresEngine::Prepare(const QString &statement) {
    if (ChangesSchema(statement))
        serialKeys_.clear();
    NumberedStatement numbered = NumberParameters(statement);
    // The server has no "last inserted row": an insert returns the key it was given.
    const QString table = InsertedTable(statement);
    const QString key = table.isEmpty() ? QString() : SerialKey(table);
    if (!key.isEmpty())
        numbered.text += QStringLiteral(" RETURNING ") + key;
    return std::make_unique<PostgresStatement>(*this, std::move(numbered), !key.isEmpty());
}

QString PostgresEngine::SerialKey(const QString &table) {
    const QString name = table.toLower();
    if (const auto known = serialKeys_.constFind(name); known != serialKeys_.constEnd())
        return *known;
    const Result result =
        Run("select attname from pg_attribute where attrelid = to_regclass($1) and attnum > 0 "
            "and not attisdropped and pg_get_serial_sequence($1, attname) is not null",
            {name.toUtf8()});
    const QString key =
        PQntuples(result.get()) > 0 ? QString::fromUtf8(PQgetvalue(result.get(), 0, 0)) : QString();
    serialKeys_.insert(name, key);
    return key;
}

void PostgresEngine::Release(const QByteArray &statementName) {
    released_ << statementName;
    if (released_.size() < 32 || PQtransactionStatus(conn_) == PQTRANS_INERROR)
        return;
    QByteArray deallocate;
    for (const QByteArray &name : std::exchange(released_, {}))
        deallocate += "DEALLOCATE " + name + ';';
    PQclear(PQexec(conn_, deallocate.constData()));
}

void PostgresEngine::Begin() {
    Run("BEGIN");
    inTransaction_ = true;
    transactionEndedBy_.reset();
}

void PostgresEngine::Commit() {
    const auto ended = qScopeGuard([this] {
        inTransaction_ = false;
        transactionEndedBy_.reset();
    });
    // A transaction the server refused part of, or lost with its connection, stores nothing;
    // a new connection must not take COMMIT for success.
    const bool lost = PQstatus(conn_) != CONNECTION_OK;
    if (lost || PQtransactionStatus(conn_) == PQTRANS_INERROR) {
        const EngineError cause =
            transactionEndedBy_ ? *transactionEndedBy_
            : lost              ? EngineError(EngineFailure::NoServer,
                                              ServerName(conn_) + u'\n' +
                                                  QString::fromLocal8Bit(PQerrorMessage(conn_)).trimmed())
                                : EngineError(EngineFailure::Other, QString());
        Rollback();
        throw EngineError(cause.message() +
                              QStringLiteral("\nこの処理で書き込んだ内容は保存されていません。"),
                          cause.detail());
    }
    Result result;
    try {
        result = Run("COMMIT");
    } catch (const EngineError &error) {
        // The connection may have gone after the server stored the transaction, or before.
        throw EngineError(
            error.message() +
                QStringLiteral("\nこの処理で書き込んだ内容は保存されていない可能性があります。"),
            error.detail());
    }
    if (QByteArrayView(PQcmdStatus(result.get())) == "ROLLBACK")
        throw EngineError(EngineFailure::Other,
                          QStringLiteral("この処理で書き込んだ内容は保存されていません。"));
}

void PostgresEngine::Rollback() {
    transactionEndedBy_.reset();
    inTransaction_ = false;
    if (PQtransactionStatus(conn_) != PQTRANS_IDLE)
        PQclear(PQexec(conn_, "ROLLBACK"));
}

void PostgresEngine::WaitUntilUnused() {
    for (int waited = 0;; waited += 100) {
        const Result others =
            Run("select count(*) from pg_stat_activity where datname = current_database() and "
                "pid <> pg_backend_pid() and backend_type = 'client backend'");
        const int count = QByteArrayView(PQgetvalue(others.get(), 0, 0)).toInt();
        if (count == 0)
            return;
        if (waited >= WaitMilliseconds)
            throw EngineError(
                EngineFailure::InUse,
                QStringLiteral("%1: ほかに %2 件の接続がこのデータベースを使っています。")
                    .arg(ServerName(conn_))
                    .arg(count));
        QThread::msleep(100);
    }
}

void PostgresEngine::JoinOffice(const QString &pcName) {
    // The server keeps only ASCII in the name: other letters travel percent-encoded.
    Run("select set_config('application_name', $1, false)", {QUrl::toPercentEncoding(pcName, " ")});
    Run("LISTEN pellor3_book");
}

void PostgresEngine::AnnounceChange() {
    Run("select pg_notify('pellor3_book', '')");
}

bool PostgresEngine::IsConnected() const {
    return PQstatus(conn_) == CONNECTION_OK;
}

QStringList PostgresEngine::OtherPcs() {
    const Result others =
        Run("select distinct application_name from pg_stat_activity where datname = "
            "current_database() and pid <> pg_backend_pid() and backend_type = 'client backend' "
            "order by 1");
    QStringList names;
    for (int row = 0; row < PQntuples(others.get()); ++row)
        names << QString::fromUtf8(
            QByteArray::fromPercentEncoding(PQgetvalue(others.get(), row, 0)));
    return names;
}

bool PostgresEngine::HasTable(const QString &name) {
    return PQntuples(Run("select 1 from information_schema.tables where table_schema = "
                         "current_schema() and table_name = lower($1)",
                         {name.toUtf8()})
                         .get()) > 0;
}

bool PostgresEngine::HasColumn(const QString &table, const QString &column) {
    return PQntuples(Run("select 1 from information_schema.columns where table_schema = "
                         "current_schema() and table_name = lower($1) and column_name = lower($2)",
                         {table.toUtf8(), column.toUtf8()})
                         .get()) > 0;
}

// The version is the customer table's comment, so the book carries it in every dump.
int PostgresEngine::UserVersion() {
    const Result comment = Run("select obj_description(to_regclass('usertbl'), 'pg_class')");
    const QByteArrayView text(PQgetvalue(comment.get(), 0, 0));
    return text.startsWith("pellor3 user_version ") ? text.sliced(21).toInt() : 0;
}

void PostgresEngine::SetUserVersion(int version) {
    Run(QByteArray("COMMENT ON TABLE usertbl IS 'pellor3 user_version " +
                   QByteArray::number(version) + '\'')
            .constData());
}

bool PostgresEngine::IsIntact() {
    try {
        Run("select 1");
        return true;
    } catch (const EngineError &) {
        return false;
    }
}

void PostgresEngine::CopyTo(const QString &targetPath) {
    throw EngineError(
        QStringLiteral("顧客データはサーバー上にあるため、ファイル %1 には写せません。"
                       "サーバーのバックアップを使って下さい。")
            .arg(targetPath));
}
