#pragma once

#include "platform/Prompt.h"
#include "store/TableEngine.h"

#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// The PostgreSQL server the tests may use, from PELLOR3_TEST_SERVER (a connection URI to a
// database of a login that may create databases); empty when there is none.
QString TestServerUri();

// A database of its own on the test server, empty, dropped again at the end.
class TestServerDatabase {
public:
    TestServerDatabase();
    ~TestServerDatabase();
    TestServerDatabase(const TestServerDatabase &) = delete;
    TestServerDatabase &operator=(const TestServerDatabase &) = delete;
    QString uri() const { return uri_; }

private:
    QString name_;
    QString uri_;
};

// A fresh installation in a temporary folder for one test: registry file, data folder with the
// four tables, scripted prompt, and the clock fixed to 2024-05-15 10:00. On the server engine
// the book is a fresh database of its own on the test server; the settings stay in the folder.
class TestEnv {
public:
    // The engine of a TestEnv made without one: SQLite, and PostgreSQL in the server pass of
    // PELLOR3_ENGINES_TEST_MAIN.
    static SqlTarget DefaultEngine();
    explicit TestEnv(SqlTarget engine = DefaultEngine());
    ~TestEnv();
    bool onServer() const { return server_ != nullptr; }

    // The installation folder (DataFolder, ends in "/").
    QString root() const { return root_; }
    // The data folder (ends in "/").
    QString dataPath() const { return root_ + QStringLiteral("Data/"); }
    // The table folder (ends in "/").
    QString dbPath() const { return root_ + QStringLiteral("Data/DB/"); }

    Database &db() { return database_; }
    ScriptedPrompt &prompt() { return *prompt_; }

    // Opens `other` on this test's book as a second PC does: the same file, or the same server
    // database.
    void OpenAsAnotherPc(Database &other);
    // Runs a statement (in the program's dialect) and returns the number of rows changed.
    int Run(const QString &statement);
    // Inserts a customer with the given name and reading (and print flag) and returns its id.
    int AddCustomer(const QString &name, const QString &kana, bool print = false);
    // The first field of the first row of a select, as text.
    QString Scalar(const QString &statement);

private:
    QTemporaryDir dir_;
    QString root_;
    std::unique_ptr<TestServerDatabase> server_;
    Database database_;
    ScriptedPrompt *prompt_ = nullptr;
};

// Runs the test's functions on the local book, then again with every TestEnv on the server;
// without a test server the second pass is one skipped case saying why.
int RunOnEveryEngine(QObject &test, int argc, char **argv);

#define PELLOR3_ENGINES_TEST_MAIN(TestObject)                                                      \
    int main(int argc, char **argv) {                                                              \
        QCoreApplication app(argc, argv);                                                          \
        TestObject test;                                                                           \
        return RunOnEveryEngine(test, argc, argv);                                                 \
    }
