#pragma once

#include "platform/Prompt.h"
#include "store/TableEngine.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh installation in a temporary folder for one test: registry file, data folder with the
// four tables, scripted prompt, and the clock fixed to 2024-05-15 10:00.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();

    // The installation folder (DataFolder, ends in "/").
    QString root() const { return root_; }
    // The data folder (ends in "/").
    QString dataPath() const { return root_ + QStringLiteral("Data/"); }
    // The table folder (ends in "/").
    QString dbPath() const { return root_ + QStringLiteral("Data/DB/"); }

    Database &db() { return database_; }
    ScriptedPrompt &prompt() { return *prompt_; }

    // Runs a statement (in the program's dialect) and returns the number of rows changed.
    int Run(const QString &statement);
    // Inserts a customer with the given name and reading (and print flag) and returns its id.
    int AddCustomer(const QString &name, const QString &kana, bool print = false);
    // The first field of the first row of a select, as text.
    QString Scalar(const QString &statement);

private:
    QTemporaryDir dir_;
    QString root_;
    Database database_;
    ScriptedPrompt *prompt_ = nullptr;
};
