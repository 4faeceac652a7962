#include "store/TableEngine.h"

#include "store/PostgresEngine.h"
#include "store/Schema.h"
#include "store/SqliteEngine.h"

#include <QDir>
#include <QLoggingCategory>
#include <QUrl>
#include <algorithm>

// Statements reach the log only when asked for (QT_LOGGING_RULES="pellor3.sql.debug=true"), so
// typed search values stay out of a terminal by default.
Q_LOGGING_CATEGORY(SqlLog, "pellor3.sql", QtInfoMsg)

Database::~Database() {
    Close();
}

void Database::Open(const QString &tableFolder, bool create) {
    Close();
    path_ = QDir(tableFolder).filePath(QString::fromLatin1(FileName));
    serverUri_.clear();
    engine_ = SqliteEngine::Open(path_, create ? SqliteEngine::OpenMode::Create
                                               : SqliteEngine::OpenMode::Existing);
}

void Database::OpenServer(const QString &uri, bool create) {
    Close();
    engine_ = PostgresEngine::Connect(uri);
    path_.clear();
    serverUri_ = uri;
    QStringList missing;
    for (const QString &table : Schema::TableNames())
        if (!engine_->HasTable(table))
            missing << table;
    if (missing.isEmpty())
        return;
    if (create && missing.size() == Schema::TableNames().size()) {
        Transaction transaction(*this);
        Schema::CreateTables(*this);
        transaction.Commit();
        return;
    }
    const QString where = Location();
    Close();
    serverUri_.clear();
    throw EngineError(missing.size() == Schema::TableNames().size()
                          ? QStringLiteral("%1 には顧客データがありません。").arg(where)
                          : QStringLiteral("%1 の顧客データに表 %2 がありません。")
                                .arg(where, missing.join(QStringLiteral("、"))));
}

void Database::Close() {
    for (Query *query : queries_)
        query->Close();
    engine_.reset();
    readVersions_.clear();
}

std::optional<int> Database::ReadVersion(int userId) const {
    if (const auto at = readVersions_.find(userId); at != readVersions_.end())
        return *at;
    return std::nullopt;
}

QString Database::Location() const {
    if (!IsOnServer())
        return QDir::toNativeSeparators(path_);
    return QUrl(serverUri_).toDisplayString(QUrl::RemovePassword);
}

Engine &Database::GetEngine() {
    if (!engine_)
        throw EngineError(QStringLiteral("テーブルが開かれていません"));
    return *engine_;
}

void Database::Begin() {
    GetEngine().Begin();
}

void Database::WaitUntilUnused() {
    GetEngine().WaitUntilUnused();
}

void Database::Commit() {
    GetEngine().Commit();
}

void Database::Rollback() {
    if (engine_)
        engine_->Rollback();
}

Transaction::~Transaction() {
    if (open_)
        database_.Rollback();
}

void Transaction::Commit() {
    database_.Commit();
    open_ = false;
}

void Database::Register(Query *query) {
    queries_.push_back(query);
}

void Database::Unregister(Query *query) {
    std::erase(queries_, query);
}

Query::Query(Database &database, QString text) : database_(database), text_(std::move(text)) {
    database_.Register(this);
}

Query::~Query() {
    Close();
    database_.Unregister(this);
}

void Query::SetText(const QString &text) {
    Close();
    text_ = text;
}

void Query::SetMemo(const QString &memo) {
    memo_ = memo;
    memoSet_ = true;
}

void Query::SetBytes(const QString &parameter, const QByteArray &bytes) {
    bytes_.insert(parameter, bytes);
}

void Query::Close() {
    statement_.reset();
    atEnd_ = true;
    rowCount_ = -1;
    fields_.clear();
}

void Query::Open() {
    Close();
    qCDebug(SqlLog).noquote() << text_;
    Engine &engine = database_.GetEngine();
    translated_ = TranslateStatement(text_, engine.Target()).value(0);
    statement_ = engine.Prepare(translated_);
    const int columns = statement_->ColumnCount();
    if (columns == 0) {
        Close();
        throw EngineError(QStringLiteral("結果を返さない文です: %1").arg(text_));
    }
    for (int i = 0; i < columns; ++i) {
        const QString name = statement_->ColumnName(i).toLower();
        if (!fields_.contains(name))
            fields_.insert(name, i);
    }
    atEnd_ = false;
    Step();
}

void Query::Step() {
    try {
        atEnd_ = !statement_->Step();
    } catch (const EngineError &) {
        Close();
        throw;
    }
}

void Query::Next() {
    if (statement_ && !atEnd_)
        Step();
}

void Query::First() {
    if (!statement_)
        return;
    statement_->Reset();
    atEnd_ = false;
    Step();
}

int Query::RowCount() {
    if (!statement_)
        return 0;
    if (rowCount_ < 0) {
        const std::unique_ptr<EngineStatement> count = database_.GetEngine().Prepare(
            QStringLiteral("select count(*) from (%1) as counted").arg(translated_));
        rowCount_ = count->Step() ? int(count->Integer(0)) : 0;
    }
    return rowCount_;
}

int Query::Execute() {
    Close();
    qCDebug(SqlLog).noquote() << text_;
    Engine &engine = database_.GetEngine();
    int changed = 0;
    for (const QString &sql : TranslateStatement(text_, engine.Target())) {
        const std::unique_ptr<EngineStatement> statement = engine.Prepare(sql);
        const int memoIndex = statement->ParameterIndex(QStringLiteral(":MEMOETC"));
        if (memoIndex > 0) {
            if (memoSet_ && !memo_.isEmpty())
                statement->BindText(memoIndex, memo_.toUtf8());
            else
                statement->BindNull(memoIndex);
        }
        for (auto bytes = bytes_.cbegin(); bytes != bytes_.cend(); ++bytes)
            if (const int index = statement->ParameterIndex(bytes.key()); index > 0)
                statement->BindBlob(index, bytes.value());
        try {
            statement->Step();
        } catch (const EngineError &error) {
            throw EngineError(error.message() + QStringLiteral("\n") + text_, error.detail());
        }
        changed += engine.ChangedRows();
    }
    if (changed > 0)
        engine.AnnounceChange();
    return changed;
}

int Query::Execute(const QString &text) {
    SetText(text);
    return Execute();
}

qint64 Query::LastInsertId() const {
    return database_.GetEngine().LastInsertId();
}

int Query::FieldIndex(const QString &name) const {
    return statement_ ? fields_.value(name.toLower(), -1) : -1;
}

bool Query::IsNull(const QString &name) const {
    const int i = FieldIndex(name);
    return i < 0 || atEnd_ || statement_->Type(i) == EngineStatement::FieldType::Null;
}

QString Query::AsString(const QString &name) const {
    return AsString(FieldIndex(name));
}

QString Query::AsString(int field) const {
    if (field < 0 || !statement_ || atEnd_)
        return {};
    // NULL reads as a null view; asking the type first would cost as much again on long lists.
    const QByteArrayView text = statement_->Text(field);
    return text.isNull() ? QString() : QString::fromUtf8(text);
}

int Query::AsInteger(const QString &name) const {
    return AsInteger(FieldIndex(name));
}

int Query::AsInteger(int field) const {
    if (field < 0 || !statement_ || atEnd_)
        return 0;
    switch (statement_->Type(field)) {
    case EngineStatement::FieldType::Null:
        return 0;
    case EngineStatement::FieldType::Text: {
        bool ok = false;
        const int value = AsString(field).trimmed().toInt(&ok);
        return ok ? value : 0;
    }
    default:
        return int(statement_->Integer(field));
    }
}

QDate Query::AsDate(const QString &name) const {
    const QString text = AsString(name).trimmed();
    if (text.isEmpty())
        return {};
    QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (!date.isValid())
        date = QDate::fromString(text, QStringLiteral("yyyy/MM/dd"));
    return date;
}

QByteArray Query::AsBytes(const QString &name) const {
    const int field = FieldIndex(name);
    if (field < 0 || atEnd_ || statement_->Type(field) == EngineStatement::FieldType::Null)
        return {};
    return statement_->Blob(field).toByteArray();
}

QStringList Query::FieldNames() const {
    QStringList names;
    if (statement_)
        for (int i = 0; i < statement_->ColumnCount(); ++i)
            names << statement_->ColumnName(i);
    return names;
}
