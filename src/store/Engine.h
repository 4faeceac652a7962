#pragma once

#include "store/EngineError.h"
#include "store/SqlDialect.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>

// One prepared statement of an engine. Parameters and columns count as the engine's SQL does:
// parameters from 1, columns from 0. Every failure throws EngineError.
class EngineStatement {
public:
    enum class FieldType { Null, Integer, Real, Text, Blob };

    virtual ~EngineStatement() = default;

    // The position of a named parameter (":MEMOETC"), 0 when the statement has none.
    virtual int ParameterIndex(const QString &name) const = 0;
    virtual void BindText(int parameter, QByteArrayView utf8) = 0;
    virtual void BindInteger(int parameter, qint64 value) = 0;
    virtual void BindNull(int parameter) = 0;
    // Bytes stored as they are (a picture), never read as text.
    virtual void BindBlob(int parameter, QByteArrayView bytes) = 0;

    // Runs on to the next row: true when one stands ready, false when the statement is done.
    virtual bool Step() = 0;
    // Back before the first row, every parameter unbound.
    virtual void Reset() = 0;

    virtual int ColumnCount() const = 0;
    virtual QString ColumnName(int column) const = 0;
    virtual FieldType Type(int column) const = 0;
    virtual qint64 Integer(int column) const = 0;
    // The field of the current row as UTF-8, valid until the next step; a null view for NULL.
    virtual QByteArrayView Text(int column) const = 0;
    // The bytes of a blob field of the current row, valid until the next step; empty for NULL.
    virtual QByteArrayView Blob(int column) const = 0;
};

// An open customer book in one database engine. Closing the engine closes the book.
class Engine {
public:
    virtual ~Engine() = default;

    // The dialect TranslateStatement writes for this engine.
    virtual SqlTarget Target() const = 0;

    // The message of a refused statement ends with the statement.
    virtual std::unique_ptr<EngineStatement> Prepare(const QString &statement) = 0;

    virtual void Begin() = 0;
    virtual void Commit() = 0;
    // Does nothing outside a transaction, and never throws.
    virtual void Rollback() = 0;

    // Waits, as long as a statement would, until no other program reads or writes the book;
    // throws EngineError when one still does.
    virtual void WaitUntilUnused() = 0;

    // Tells the other PCs on a shared book that a change was stored, once the open transaction
    // (if any) commits; a local book has no one to tell.
    virtual void AnnounceChange() {}
    // The names of the other PCs connected to a shared book; none for a local book.
    virtual QStringList OtherPcs() { return {}; }
    // False once the connection to a server book broke; a local book is always at hand.
    virtual bool IsConnected() const { return true; }

    virtual qint64 LastInsertId() const = 0;
    // Rows changed by the statement that ran last.
    virtual int ChangedRows() const = 0;

    virtual bool HasTable(const QString &name) = 0;
    virtual bool HasColumn(const QString &table, const QString &column) = 0;
    // Which one-time repairs of the schema upgrade the book has had (0 for none).
    virtual int UserVersion() = 0;
    virtual void SetUserVersion(int version) = 0;
    // Whether every page of the book reads undamaged.
    virtual bool IsIntact() = 0;
    // Writes a consistent copy of the book to the file `targetPath` (replaced when it exists),
    // even while statements of this engine are between steps.
    virtual void CopyTo(const QString &targetPath) = 0;
};
